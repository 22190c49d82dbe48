#include "Convert.h"
#include "Interpreter.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QStringDecoder>
#include <QStringEncoder>
#include <QTemporaryFile>
#include <QUuid>

namespace vbs {

namespace {

bool is(const Name &n, const char *k)
{
    return n.key == QLatin1String(k);
}

void argCount(const Args &a, int lo, int hi)
{
    if (a.size() < lo || a.size() > hi)
        raise(450);
}

bool given(const Args &a, int i)
{
    return i < a.size() && !a.isMissing(i);
}

Value arrayOf(ValueList items)
{
    auto *arr = new ArrayData;
    arr->bounds = {int(items.size()) - 1};
    arr->items = std::move(items);
    return Value::array(arr);
}

// ---------------------------------------------------------------- Scripting.Dictionary

class Dictionary : public HostObject {
public:
    QString typeName() const override { return QStringLiteral("Dictionary"); }

    bool get(const Name &n, Args &a, Value &r) override
    {
        if (is(n, "item")) {
            argCount(a, 1, 1);
            r = item(a[0]);
        } else if (is(n, "exists")) {
            argCount(a, 1, 1);
            r = Value::boolean(m_index.contains(keyOf(a[0])));
        } else if (is(n, "add")) {
            argCount(a, 2, 2);
            const QString k = keyOf(a[0]);
            if (m_index.contains(k))
                raise(457);
            m_index.insert(k, int(m_keys.size()));
            m_keys.push_back(a[0]);
            m_items.push_back(a[1]);
        } else if (is(n, "count")) {
            r = Value::lng(int32_t(m_keys.size()));
        } else if (is(n, "keys")) {
            r = arrayOf(m_keys);
        } else if (is(n, "items")) {
            r = arrayOf(m_items);
        } else if (is(n, "remove")) {
            argCount(a, 1, 1);
            auto it = m_index.find(keyOf(a[0]));
            if (it == m_index.end())
                raise(32811);
            const int pos = it.value();
            m_keys.erase(m_keys.begin() + pos);
            m_items.erase(m_items.begin() + pos);
            reindex();
        } else if (is(n, "removeall")) {
            m_keys.clear();
            m_items.clear();
            m_index.clear();
        } else if (is(n, "comparemode")) {
            r = Value::lng(m_mode);
        } else if (is(n, "hashval")) {
            argCount(a, 1, 1);
            r = Value::lng(int32_t(qHash(keyOf(a[0])) % 1201));
        } else {
            return false;
        }
        return true;
    }

    bool set(const Name &n, Args &a, const Value &v, bool) override
    {
        if (is(n, "item")) {
            argCount(a, 1, 1);
            setItem(a[0], v);
        } else if (is(n, "key")) {
            argCount(a, 1, 1);
            auto it = m_index.find(keyOf(a[0]));
            if (it == m_index.end())
                raise(32811);
            const QString nk = keyOf(v);
            if (m_index.contains(nk))
                raise(457);
            const int pos = it.value();
            m_index.erase(it);
            m_keys[size_t(pos)] = v;
            m_index.insert(nk, pos);
        } else if (is(n, "comparemode")) {
            if (!m_keys.empty())
                raise(5);
            m_mode = toLong(v);
        } else {
            return false;
        }
        return true;
    }

    bool getDefault(Args &a, Value &r) override
    {
        if (a.size() != 1)
            return false;
        r = item(a[0]);
        return true;
    }
    bool setDefault(Args &a, const Value &v) override
    {
        if (a.size() != 1)
            return false;
        setItem(a[0], v);
        return true;
    }
    bool enumerate(ValueList &items) override
    {
        items = m_keys;
        return true;
    }

private:
    QString keyOf(const Value &k) const
    {
        switch (k.type()) {
        case VarType::String:
            return QLatin1Char('s') + (m_mode == 1 ? k.rawString().toLower() : k.rawString());
        case VarType::Object:
            return QLatin1Char('o') + QString::number(quintptr(k.rawObject()));
        case VarType::Empty:
            return QStringLiteral("e");
        case VarType::Null:
            return QStringLiteral("n");
        case VarType::Array:
            raise(13);
        default:
            return QLatin1Char('d') + QString::number(toDouble(k), 'g', 17);
        }
    }
    Value item(const Value &key)
    {
        const QString k = keyOf(key);
        auto it = m_index.constFind(k);
        if (it != m_index.constEnd())
            return m_items[size_t(it.value())];
        // reading a missing key adds it, as Scripting.Dictionary does
        m_index.insert(k, int(m_keys.size()));
        m_keys.push_back(key);
        m_items.emplace_back();
        return Value();
    }
    void setItem(const Value &key, const Value &v)
    {
        const QString k = keyOf(key);
        auto it = m_index.constFind(k);
        if (it != m_index.constEnd()) {
            m_items[size_t(it.value())] = v;
            return;
        }
        m_index.insert(k, int(m_keys.size()));
        m_keys.push_back(key);
        m_items.push_back(v);
    }
    void reindex()
    {
        m_index.clear();
        for (size_t i = 0; i < m_keys.size(); ++i)
            m_index.insert(keyOf(m_keys[i]), int(i));
    }

    ValueList m_keys, m_items;
    QHash<QString, int> m_index;
    int m_mode = 0;
};

// ---------------------------------------------------------------- TextStream

class TextStream : public HostObject {
public:
    TextStream(const QString &path, int mode, bool unicode) : m_mode(mode), m_unicode(unicode)
    {
        m_file.setFileName(path);
    }
    bool open(bool create, bool overwrite)
    {
        QIODevice::OpenMode m;
        if (m_mode == 1) {
            m = QIODevice::ReadOnly;
        } else if (m_mode == 8) {
            m = QIODevice::Append | QIODevice::WriteOnly;
        } else {
            m = QIODevice::WriteOnly | QIODevice::Truncate;
        }
        if (m_mode != 1 && !create && !m_file.exists())
            raise(53);
        if (m_mode == 2 && !overwrite && m_file.exists())
            raise(58);
        if (!m_file.open(m))
            raise(m_file.exists() ? 70 : (m_mode == 1 ? 53 : 76));
        if (m_mode == 1) {
            const QByteArray bytes = m_file.readAll();
            if (m_unicode || bytes.startsWith("\xFF\xFE")) {
                QStringDecoder dec(QStringDecoder::Utf16LE);
                m_text = dec(bytes.startsWith("\xFF\xFE") ? bytes.mid(2) : bytes);
            } else if (bytes.startsWith("\xEF\xBB\xBF")) {
                m_text = QString::fromUtf8(bytes.mid(3));
            } else {
                m_text = fromAnsi(bytes);
            }
        } else if (m_unicode && m_file.size() == 0) {
            m_file.write("\xFF\xFE");
        }
        return true;
    }
    QString typeName() const override { return QStringLiteral("TextStream"); }

    bool get(const Name &n, Args &a, Value &r) override
    {
        if (is(n, "readline")) {
            readable();
            if (m_pos >= m_text.size())
                raise(62);
            qsizetype e = m_pos;
            while (e < m_text.size() && m_text[e] != QLatin1Char('\n') && m_text[e] != QLatin1Char('\r'))
                ++e;
            r = Value(m_text.mid(m_pos, e - m_pos));
            if (e < m_text.size() && m_text[e] == QLatin1Char('\r'))
                ++e;
            if (e < m_text.size() && m_text[e] == QLatin1Char('\n'))
                ++e;
            m_pos = e;
            ++m_line;
        } else if (is(n, "readall")) {
            readable();
            if (m_pos >= m_text.size() && !m_text.isEmpty())
                raise(62);
            r = Value(m_text.mid(m_pos));
            m_pos = m_text.size();
        } else if (is(n, "read")) {
            argCount(a, 1, 1);
            readable();
            const int k = toLong(a[0]);
            if (k < 0)
                raise(5);
            if (m_pos >= m_text.size())
                raise(62);
            r = Value(m_text.mid(m_pos, k));
            m_pos += r.rawString().size();
        } else if (is(n, "skipline")) {
            Value dummy;
            Name rl{-1, QStringLiteral("ReadLine"), QStringLiteral("readline")};
            return get(rl, a, dummy);
        } else if (is(n, "skip")) {
            argCount(a, 1, 1);
            readable();
            const int k = toLong(a[0]);
            if (k < 0)
                raise(5); // a position before the start would be read later
            m_pos = qMin(m_text.size(), m_pos + k);
        } else if (is(n, "atendofstream")) {
            readable();
            r = Value::boolean(m_pos >= m_text.size());
        } else if (is(n, "atendofline")) {
            readable();
            r = Value::boolean(m_pos >= m_text.size() || m_text[m_pos] == QLatin1Char('\r') ||
                               m_text[m_pos] == QLatin1Char('\n'));
        } else if (is(n, "line")) {
            r = Value::lng(m_line);
        } else if (is(n, "column")) {
            r = Value::lng(1);
        } else if (is(n, "write")) {
            argCount(a, 1, 1);
            write(toString(a[0]));
        } else if (is(n, "writeline")) {
            argCount(a, 0, 1);
            write((a.size() ? toString(a[0]) : QString()) + QStringLiteral("\r\n"));
        } else if (is(n, "writeblanklines")) {
            argCount(a, 1, 1);
            const int k = toLong(a[0]);
            if (k < 0)
                raise(5);
            if (k > kMaxStringLength / 2)
                raise(14);
            write(QStringLiteral("\r\n").repeated(k));
        } else if (is(n, "close")) {
            m_file.close();
        } else {
            return false;
        }
        return true;
    }

private:
    void readable()
    {
        if (m_mode != 1 || !m_file.isOpen())
            raise(54);
    }
    void write(const QString &s)
    {
        if (m_mode == 1 || !m_file.isOpen())
            raise(54);
        if (m_unicode) {
            QStringEncoder enc(QStringEncoder::Utf16LE);
            m_file.write(enc(s));
        } else {
            m_file.write(toAnsi(s));
        }
    }

    QFile m_file;
    int m_mode;
    bool m_unicode;
    QString m_text;
    qsizetype m_pos = 0;
    int m_line = 1;
};

// ---------------------------------------------------------------- Scripting.FileSystemObject

class FileSystem : public HostObject {
public:
    QString typeName() const override { return QStringLiteral("FileSystemObject"); }
    bool get(const Name &n, Args &a, Value &r) override
    {
        auto path = [&](int i) { return toString(a[i]); };
        if (is(n, "fileexists")) {
            argCount(a, 1, 1);
            const QFileInfo fi(path(0));
            r = Value::boolean(fi.exists() && fi.isFile());
        } else if (is(n, "folderexists")) {
            argCount(a, 1, 1);
            r = Value::boolean(QFileInfo(path(0)).isDir());
        } else if (is(n, "deletefile")) {
            argCount(a, 1, 2);
            if (!QFileInfo::exists(path(0)))
                raise(53);
            if (!QFile::remove(path(0)))
                raise(70);
        } else if (is(n, "createfolder")) {
            argCount(a, 1, 1);
            if (QFileInfo::exists(path(0)))
                raise(58);
            if (!QDir().mkpath(path(0)))
                raise(76);
        } else if (is(n, "deletefolder")) {
            argCount(a, 1, 2);
            QDir d(path(0));
            if (!d.exists())
                raise(76);
            if (!d.removeRecursively())
                raise(70);
        } else if (is(n, "copyfile") || is(n, "movefile")) {
            argCount(a, 2, 3);
            const QString from = path(0);
            QString to = path(1);
            if (!QFileInfo::exists(from))
                raise(53);
            if (QFileInfo(to).isDir())
                to = QDir(to).filePath(QFileInfo(from).fileName());
            const bool overwrite = is(n, "copyfile") ? (!given(a, 2) || toBool(a[2])) : false;
            if (QFileInfo::exists(to)) {
                if (!overwrite)
                    raise(58);
                QFile::remove(to);
            }
            const bool ok = is(n, "copyfile") ? QFile::copy(from, to) : QFile::rename(from, to);
            if (!ok)
                raise(70);
        } else if (is(n, "opentextfile")) {
            argCount(a, 1, 4);
            const int mode = given(a, 1) ? toLong(a[1]) : 1;
            if (mode != 1 && mode != 2 && mode != 8)
                raise(5);
            const bool create = given(a, 2) && toBool(a[2]);
            const int format = given(a, 3) ? toLong(a[3]) : 0;
            if (mode == 1 && !QFileInfo::exists(path(0)))
                raise(53);
            auto *ts = new TextStream(path(0), mode, format == -1);
            r = Value::object(ts);
            ts->open(create || mode == 1, true);
        } else if (is(n, "createtextfile")) {
            argCount(a, 1, 3);
            const bool overwrite = !given(a, 1) || toBool(a[1]);
            const bool unicode = given(a, 2) && toBool(a[2]);
            auto *ts = new TextStream(path(0), 2, unicode);
            r = Value::object(ts);
            ts->open(true, overwrite);
        } else if (is(n, "getfilename")) {
            r = Value(QFileInfo(path(0)).fileName());
        } else if (is(n, "getbasename")) {
            r = Value(QFileInfo(path(0)).completeBaseName());
        } else if (is(n, "getextensionname")) {
            r = Value(QFileInfo(path(0)).suffix());
        } else if (is(n, "getparentfoldername")) {
            const QString p = path(0);
            const qsizetype k = qMax(p.lastIndexOf(QLatin1Char('/')), p.lastIndexOf(QLatin1Char('\\')));
            r = Value(k < 0 ? QString() : p.left(k));
        } else if (is(n, "getabsolutepathname")) {
            r = Value(QFileInfo(path(0)).absoluteFilePath());
        } else if (is(n, "buildpath")) {
            argCount(a, 2, 2);
            QString p = path(0);
            if (!p.isEmpty() && !p.endsWith(QLatin1Char('/')) && !p.endsWith(QLatin1Char('\\')))
                p += QLatin1Char('/');
            r = Value(p + path(1));
        } else if (is(n, "getspecialfolder")) {
            // 0 Windows, 1 System, 2 Temporary: the path text (the Folder object's default)
            argCount(a, 1, 1);
            const int which = toLong(a[0]);
            if (which < 0 || which > 2)
                raise(5);
            r = Value(which == 2 ? QDir::tempPath() : QDir::rootPath());
        } else if (is(n, "gettempname")) {
            r = Value(QStringLiteral("rad") + QUuid::createUuid().toString(QUuid::Id128).left(5).toUpper() +
                      QStringLiteral(".tmp"));
        } else {
            return false;
        }
        return true;
    }
};

// ---------------------------------------------------------------- VBScript.RegExp

// SubMatches and MatchCollection: a read-only, zero-based list that differs only in its name.
class ReadOnlyList : public HostObject {
public:
    ReadOnlyList(QString typeName, ValueList v) : m_typeName(std::move(typeName)), m_items(std::move(v)) {}
    QString typeName() const override { return m_typeName; }
    bool get(const Name &n, Args &a, Value &r) override
    {
        if (is(n, "count")) {
            r = Value::lng(int32_t(m_items.size()));
            return true;
        }
        if (is(n, "item"))
            return getDefault(a, r);
        return false;
    }
    bool getDefault(Args &a, Value &r) override
    {
        if (a.size() != 1)
            return false;
        const int i = toLong(a[0]);
        if (i < 0 || size_t(i) >= m_items.size())
            raise(5);
        r = m_items[size_t(i)];
        return true;
    }
    bool enumerate(ValueList &items) override
    {
        items = m_items;
        return true;
    }

private:
    QString m_typeName;
    ValueList m_items;
};

class Match : public HostObject {
public:
    Match(QString v, int first, ValueList subs)
        : m_value(std::move(v)), m_first(first), m_subs(std::move(subs))
    {
    }
    QString typeName() const override { return QStringLiteral("IMatch2"); }
    bool get(const Name &n, Args &a, Value &r) override
    {
        if (is(n, "submatches") && a.size() > 0) {
            ReadOnlyList subs(QStringLiteral("ISubMatches"), m_subs);
            return subs.getDefault(a, r);
        }
        if (is(n, "value"))
            r = Value(m_value);
        else if (is(n, "firstindex"))
            r = Value::lng(m_first);
        else if (is(n, "length"))
            r = Value::lng(int32_t(m_value.size()));
        else if (is(n, "submatches"))
            r = Value::object(new ReadOnlyList(QStringLiteral("ISubMatches"), m_subs));
        else
            return false;
        return true;
    }
    bool getDefault(Args &a, Value &r) override
    {
        if (a.size())
            return false;
        r = Value(m_value);
        return true;
    }

private:
    QString m_value;
    int m_first;
    ValueList m_subs;
};

class RegExp : public HostObject {
public:
    QString typeName() const override { return QStringLiteral("IRegExp2"); }
    bool get(const Name &n, Args &a, Value &r) override
    {
        if (is(n, "pattern")) {
            r = Value(m_pattern);
        } else if (is(n, "ignorecase")) {
            r = Value::boolean(m_ignoreCase);
        } else if (is(n, "global")) {
            r = Value::boolean(m_global);
        } else if (is(n, "multiline")) {
            r = Value::boolean(m_multiline);
        } else if (is(n, "test")) {
            argCount(a, 1, 1);
            r = Value::boolean(regex().match(toString(a[0])).hasMatch());
        } else if (is(n, "execute")) {
            argCount(a, 1, 1);
            r = execute(toString(a[0]));
        } else if (is(n, "replace")) {
            argCount(a, 2, 2);
            r = Value(replace(toString(a[0]), toString(a[1])));
        } else {
            return false;
        }
        return true;
    }
    bool set(const Name &n, Args &, const Value &v, bool) override
    {
        if (is(n, "pattern"))
            m_pattern = toString(v);
        else if (is(n, "ignorecase"))
            m_ignoreCase = toBool(v);
        else if (is(n, "global"))
            m_global = toBool(v);
        else if (is(n, "multiline"))
            m_multiline = toBool(v);
        else
            return false;
        m_dirty = true;
        return true;
    }

private:
    const QRegularExpression &regex()
    {
        if (m_dirty) {
            QRegularExpression::PatternOptions o;
            if (m_ignoreCase)
                o |= QRegularExpression::CaseInsensitiveOption;
            if (m_multiline)
                o |= QRegularExpression::MultilineOption;
            m_re = QRegularExpression(m_pattern, o);
            if (!m_re.isValid())
                raise(5017);
            m_dirty = false;
        }
        return m_re;
    }
    Value execute(const QString &s)
    {
        const QRegularExpression &re = regex();
        ValueList matches;
        auto add = [&](const QRegularExpressionMatch &m) {
            ValueList subs;
            for (int i = 1; i <= re.captureCount(); ++i)
                subs.push_back(m.capturedStart(i) < 0 ? Value() : Value(m.captured(i)));
            matches.push_back(
                Value::object(new Match(m.captured(0), int(m.capturedStart(0)), std::move(subs))));
        };
        if (m_global) {
            auto it = re.globalMatch(s);
            while (it.hasNext())
                add(it.next());
        } else {
            const auto m = re.match(s);
            if (m.hasMatch())
                add(m);
        }
        return Value::object(new ReadOnlyList(QStringLiteral("IMatchCollection2"), std::move(matches)));
    }
    QString replace(const QString &s, const QString &repl)
    {
        const QRegularExpression &re = regex();
        QString out;
        qsizetype last = 0;
        auto expand = [&](const QRegularExpressionMatch &m) {
            QString r;
            for (qsizetype i = 0; i < repl.size(); ++i) {
                const QChar c = repl[i];
                if (c == QLatin1Char('$') && i + 1 < repl.size()) {
                    const QChar d = repl[i + 1];
                    if (d == QLatin1Char('$')) {
                        r += QLatin1Char('$');
                        ++i;
                        continue;
                    }
                    if (d == QLatin1Char('&')) {
                        r += m.captured(0);
                        ++i;
                        continue;
                    }
                    if (d == QLatin1Char('`')) {
                        r += s.left(m.capturedStart(0));
                        ++i;
                        continue;
                    }
                    if (d == QLatin1Char('\'')) {
                        r += s.mid(m.capturedEnd(0));
                        ++i;
                        continue;
                    }
                    if (d.isDigit()) {
                        int g = d.digitValue();
                        qsizetype used = 1;
                        if (i + 2 < repl.size() && repl[i + 2].isDigit() &&
                            g * 10 + repl[i + 2].digitValue() <= re.captureCount()) {
                            g = g * 10 + repl[i + 2].digitValue();
                            used = 2;
                        }
                        if (g >= 1 && g <= re.captureCount()) {
                            r += m.captured(g);
                            i += used;
                            continue;
                        }
                    }
                }
                r += c;
            }
            return r;
        };
        auto it = re.globalMatch(s);
        while (it.hasNext()) {
            const auto m = it.next();
            out += QStringView(s).mid(last, m.capturedStart(0) - last);
            out += expand(m);
            last = m.capturedEnd(0);
            if (!m_global)
                break;
        }
        out += QStringView(s).mid(last);
        return out;
    }

    QString m_pattern;
    bool m_ignoreCase = false, m_global = false, m_multiline = false;
    bool m_dirty = true;
    QRegularExpression m_re;
};

} // namespace

HostObjectRef newRegExp()
{
    return HostObjectRef(new RegExp);
}

HostObjectRef createStandardObject(const QString &key)
{
    if (key == QLatin1String("scripting.dictionary"))
        return HostObjectRef(new Dictionary);
    if (key == QLatin1String("scripting.filesystemobject"))
        return HostObjectRef(new FileSystem);
    if (key == QLatin1String("vbscript.regexp"))
        return HostObjectRef(new RegExp);
    return {};
}

} // namespace vbs
