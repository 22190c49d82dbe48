#include "Convert.h"

#include <QLocale>
#include <QMutex>
#include <QRegularExpression>

#include <deque>

#include "HostObject.h"
#include "ScriptError.h"

#include <QDateTime>

#include <charconv>
#include <cmath>
#include <ctime>
#include <cstdio>
#include <cstring>

namespace vbs {

namespace {

QStringList words(const char *s)
{
    return QString::fromUtf8(s).split(QLatin1Char('|'));
}

const LocaleInfo &enUs()
{
    static const LocaleInfo l{
        1033,
        "en-us",
        QLatin1Char('.'),
        QLatin1Char(','),
        LocaleInfo::MDY,
        QStringLiteral("M/d/yyyy"),
        QStringLiteral("dddd, MMMM d, yyyy"),
        true,
        false,
        QStringLiteral("AM"),
        QStringLiteral("PM"),
        words("January|February|March|April|May|June|July|August|September|October|November|December"),
        words("Jan|Feb|Mar|Apr|May|Jun|Jul|Aug|Sep|Oct|Nov|Dec"),
        words("Sunday|Monday|Tuesday|Wednesday|Thursday|Friday|Saturday"),
        words("Sun|Mon|Tue|Wed|Thu|Fri|Sat"),
        QStringLiteral("$"),
        0,
        0};
    return l;
}

const QStringList &spanishMonths()
{
    static const QStringList m =
        words("enero|febrero|marzo|abril|mayo|junio|julio|agosto|septiembre|octubre|noviembre|diciembre");
    return m;
}

std::vector<LocaleInfo> &allLocales()
{
    static std::vector<LocaleInfo> all = [] {
        std::vector<LocaleInfo> v;
        v.push_back(enUs());
        LocaleInfo gb = enUs();
        gb.lcid = 2057;
        gb.name = "en-gb";
        gb.order = LocaleInfo::DMY;
        gb.shortDate = QStringLiteral("dd/MM/yyyy");
        gb.longDate = QStringLiteral("dd MMMM yyyy");
        gb.hour12 = false;
        gb.hourLeadingZero = true;
        gb.currency = QStringLiteral("\u00a3");
        gb.currencyNegative = 1;
        v.push_back(gb);
        LocaleInfo mx{2058,
                      "es-mx",
                      QLatin1Char('.'),
                      QLatin1Char(','),
                      LocaleInfo::DMY,
                      QStringLiteral("dd/MM/yyyy"),
                      QStringLiteral("dddd, dd' de 'MMMM' de 'yyyy"),
                      true,
                      true,
                      QStringLiteral("a.m."),
                      QStringLiteral("p.m."),
                      spanishMonths(),
                      words("ene|feb|mar|abr|may|jun|jul|ago|sep|oct|nov|dic"),
                      words("domingo|lunes|martes|mi\u00e9rcoles|jueves|viernes|s\u00e1bado"),
                      words("dom|lun|mar|mi\u00e9|jue|vie|s\u00e1b"),
                      QStringLiteral("$"),
                      0,
                      1};
        v.push_back(mx);
        LocaleInfo es = mx;
        es.lcid = 3082;
        es.name = "es-es";
        es.decimal = QLatin1Char(',');
        es.group = QLatin1Char('.');
        es.hour12 = false;
        es.longDate = QStringLiteral("dddd, d' de 'MMMM' de 'yyyy");
        es.currency = QStringLiteral("\u20ac");
        es.currencyPositive = 3;
        es.currencyNegative = 8;
        v.push_back(es);
        LocaleInfo esTrad = es;
        esTrad.lcid = 1034;
        esTrad.name = "es";
        v.push_back(esTrad);
        LocaleInfo de{
            1031,
            "de-de",
            QLatin1Char(','),
            QLatin1Char('.'),
            LocaleInfo::DMY,
            QStringLiteral("dd.MM.yyyy"),
            QStringLiteral("dddd, d. MMMM yyyy"),
            false,
            true,
            QString(),
            QString(),
            words("Januar|Februar|M\u00e4rz|April|Mai|Juni|Juli|August|September|Oktober|November|Dezember"),
            words("Jan|Feb|Mrz|Apr|Mai|Jun|Jul|Aug|Sep|Okt|Nov|Dez"),
            words("Sonntag|Montag|Dienstag|Mittwoch|Donnerstag|Freitag|Samstag"),
            words("So|Mo|Di|Mi|Do|Fr|Sa"),
            QStringLiteral("\u20ac"),
            3,
            8};
        v.push_back(de);
        LocaleInfo fr{1036,
                      "fr-fr",
                      QLatin1Char(','),
                      QChar(0xa0),
                      LocaleInfo::DMY,
                      QStringLiteral("dd/MM/yyyy"),
                      QStringLiteral("dddd d MMMM yyyy"),
                      false,
                      true,
                      QString(),
                      QString(),
                      words("janvier|f\u00e9vrier|mars|avril|mai|juin|juillet|ao\u00fbt|septembre|octobre|"
                            "novembre|d\u00e9cembre"),
                      words("janv.|f\u00e9vr.|mars|avr.|mai|juin|juil.|ao\u00fbt|sept.|oct.|nov.|d\u00e9c."),
                      words("dimanche|lundi|mardi|mercredi|jeudi|vendredi|samedi"),
                      words("dim.|lun.|mar.|mer.|jeu.|ven.|sam."),
                      QStringLiteral("\u20ac"),
                      3,
                      8};
        v.push_back(fr);
        LocaleInfo br{
            1046,
            "pt-br",
            QLatin1Char(','),
            QLatin1Char('.'),
            LocaleInfo::DMY,
            QStringLiteral("dd/MM/yyyy"),
            QStringLiteral("dddd, d' de 'MMMM' de 'yyyy"),
            false,
            true,
            QString(),
            QString(),
            words("janeiro|fevereiro|mar\u00e7o|abril|maio|junho|julho|agosto|setembro|outubro|novembro|"
                  "dezembro"),
            words("jan|fev|mar|abr|mai|jun|jul|ago|set|out|nov|dez"),
            words("domingo|segunda-feira|ter\u00e7a-feira|quarta-feira|quinta-feira|sexta-feira|s\u00e1bado"),
            words("dom|seg|ter|qua|qui|sex|s\u00e1b"),
            QStringLiteral("R$"),
            2,
            9};
        v.push_back(br);
        return v;
    }();
    return all;
}

// Per thread, so engines on different threads keep their own SetLocale.
thread_local const LocaleInfo *g_current = nullptr;

// Days from 1970-01-01 of a proleptic Gregorian date.
int64_t daysFromCivil(int64_t y, int m, int d)
{
    y -= m <= 2;
    const int64_t era = (y >= 0 ? y : y - 399) / 400;
    const int64_t yoe = y - era * 400;
    const int64_t doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const int64_t doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + doe - 719468;
}

void civilFromDays(int64_t z, int &y, int &m, int &d)
{
    z += 719468;
    const int64_t era = (z >= 0 ? z : z - 146096) / 146097;
    const int64_t doe = z - era * 146097;
    const int64_t yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const int64_t doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const int64_t mp = (5 * doy + 2) / 153;
    d = int(doy - (153 * mp + 2) / 5 + 1);
    m = int(mp < 10 ? mp + 3 : mp - 9);
    y = int(yoe + era * 400 + (m <= 2));
}

constexpr int64_t kEpochOffset = 25569; // 1970-01-01 as a serial

int daysInMonth(int y, int m)
{
    static const int dm[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
    if (m == 2 && ((y % 4 == 0 && y % 100 != 0) || y % 400 == 0))
        return 29;
    return dm[m - 1];
}

[[noreturn]] void typeMismatch()
{
    raise(13);
}

double checkedDate(double d)
{
    // 1 Jan 100 .. 31 Dec 9999
    if (!(d >= -657434.0 && d < 2958466.0))
        raise(6);
    return d;
}

} // namespace

namespace {

// The locales VBScript knows by short name and LCID (its "Locale ID chart"). Formats come from
// QLocale (`qt`: the Qt name where the chart's short name is not one Qt knows).
struct KnownLocale {
    const char *name;
    int lcid;
    const char *qt;
};
const KnownLocale kKnownLocales[] = {
    {"af", 1078, "af_ZA"}, {"sq", 1052, "sq_AL"}, {"ar-ae", 14337, nullptr}, {"ar-bh", 15361, nullptr},
    {"ar-dz", 5121, nullptr}, {"ar-eg", 3073, nullptr}, {"ar-iq", 2049, nullptr}, {"ar-jo", 11265, nullptr},
    {"ar-kw", 13313, nullptr}, {"ar-lb", 12289, nullptr}, {"ar-ly", 4097, nullptr}, {"ar-ma", 6145, nullptr},
    {"ar-om", 8193, nullptr}, {"ar-qa", 16385, nullptr}, {"ar-sa", 1025, nullptr}, {"ar-sy", 10241, nullptr},
    {"ar-tn", 7169, nullptr}, {"ar-ye", 9217, nullptr}, {"hy", 1067, "hy_AM"}, {"az-az", 1068, "az_Latn_AZ"},
    {"az-az", 2092, "az_Cyrl_AZ"}, {"eu", 1069, "eu_ES"}, {"be", 1059, "be_BY"}, {"bg", 1026, "bg_BG"},
    {"ca", 1027, "ca_ES"}, {"zh-cn", 2052, nullptr}, {"zh-hk", 3076, nullptr}, {"zh-mo", 5124, nullptr},
    {"zh-sg", 4100, nullptr}, {"zh-tw", 1028, nullptr}, {"hr", 1050, "hr_HR"}, {"cs", 1029, "cs_CZ"},
    {"da", 1030, "da_DK"}, {"nl-nl", 1043, nullptr}, {"nl-be", 2067, nullptr}, {"en-au", 3081, nullptr},
    {"en-bz", 10249, nullptr}, {"en-ca", 4105, nullptr}, {"en-cb", 9225, "en_JM"}, {"en-ie", 6153, nullptr},
    {"en-jm", 8201, nullptr}, {"en-nz", 5129, nullptr}, {"en-ph", 13321, nullptr}, {"en-za", 7177, nullptr},
    {"en-tt", 11273, nullptr}, {"en-gb", 2057, nullptr}, {"en-us", 1033, nullptr}, {"et", 1061, "et_EE"},
    {"fa", 1065, "fa_IR"}, {"fi", 1035, "fi_FI"}, {"fo", 1080, "fo_FO"}, {"fr-fr", 1036, nullptr},
    {"fr-be", 2060, nullptr}, {"fr-ca", 3084, nullptr}, {"fr-lu", 5132, nullptr}, {"fr-ch", 4108, nullptr},
    {"gd-ie", 2108, "ga_IE"}, {"gd", 1084, "gd_GB"}, {"de-de", 1031, nullptr}, {"de-at", 3079, nullptr},
    {"de-li", 5127, nullptr}, {"de-lu", 4103, nullptr}, {"de-ch", 2055, nullptr}, {"el", 1032, "el_GR"},
    {"he", 1037, "he_IL"}, {"hi", 1081, "hi_IN"}, {"hu", 1038, "hu_HU"}, {"is", 1039, "is_IS"},
    {"id", 1057, "id_ID"}, {"it-it", 1040, nullptr}, {"it-ch", 2064, nullptr}, {"ja", 1041, "ja_JP"},
    {"ko", 1042, "ko_KR"}, {"lv", 1062, "lv_LV"}, {"lt", 1063, "lt_LT"}, {"mk", 1071, "mk_MK"},
    {"ms-my", 1086, nullptr}, {"ms-bn", 2110, nullptr}, {"mt", 1082, "mt_MT"}, {"mr", 1102, "mr_IN"},
    {"no-no", 1044, "nb_NO"}, {"no-no", 2068, "nn_NO"}, {"pl", 1045, "pl_PL"}, {"pt-pt", 2070, nullptr},
    {"pt-br", 1046, nullptr}, {"rm", 1047, "rm_CH"}, {"ro", 1048, "ro_RO"}, {"ro-mo", 2072, "ro_MD"},
    {"ru", 1049, "ru_RU"}, {"ru-mo", 2073, "ru_MD"}, {"sa", 1103, "sa_IN"}, {"sr-sp", 3098, "sr_Cyrl_RS"},
    {"sr-sp", 2074, "sr_Latn_RS"}, {"tn", 1074, "tn_ZA"}, {"sl", 1060, "sl_SI"}, {"sk", 1051, "sk_SK"},
    {"sb", 1070, "hsb_DE"}, {"es-es", 3082, nullptr}, {"es-es", 1034, nullptr}, {"es-ar", 11274, nullptr},
    {"es-bo", 16394, nullptr}, {"es-cl", 13322, nullptr}, {"es-co", 9226, nullptr}, {"es-cr", 5130, nullptr},
    {"es-do", 7178, nullptr}, {"es-ec", 12298, nullptr}, {"es-gt", 4106, nullptr}, {"es-hn", 18442, nullptr},
    {"es-mx", 2058, nullptr}, {"es-ni", 19466, nullptr}, {"es-pa", 6154, nullptr}, {"es-pe", 10250, nullptr},
    {"es-pr", 20490, nullptr}, {"es-py", 15370, nullptr}, {"es-sv", 17418, nullptr}, {"es-uy", 14346, nullptr},
    {"es-ve", 8202, nullptr}, {"sx", 1072, "st_ZA"}, {"sw", 1089, "sw_KE"}, {"sv-se", 1053, nullptr},
    {"sv-fi", 2077, nullptr}, {"ta", 1097, "ta_IN"}, {"tt", 1092, "tt_RU"}, {"th", 1054, "th_TH"},
    {"tr", 1055, "tr_TR"}, {"ts", 1073, "ts_ZA"}, {"uk", 1058, "uk_UA"}, {"ur", 1056, "ur_PK"},
    {"uz-uz", 2115, "uz_Cyrl_UZ"}, {"uz-uz", 1091, "uz_Latn_UZ"}, {"vi", 1066, "vi_VN"}, {"xh", 1076, "xh_ZA"},
    {"yi", 1085, "yi_001"}, {"zu", 1077, "zu_ZA"},
};

QLocale qtLocaleOf(const KnownLocale &k)
{
    return QLocale(QString::fromLatin1(k.qt ? k.qt : k.name).replace(QLatin1Char('-'), QLatin1Char('_')));
}

// Qt date pattern in the letters formatDate applies (d dd ddd dddd M MM MMM MMMM yy yyyy, 'text').
QString datePattern(QString f, bool shortForm)
{
    if (shortForm && !f.contains(QLatin1String("yyyy")))
        f.replace(QLatin1String("yy"), QLatin1String("yyyy"));
    if (!f.contains(QLatin1String("yyyy")))
        f.replace(QRegularExpression(QStringLiteral("(?<!y)y(?!y)")), QStringLiteral("yyyy"));
    return f;
}

LocaleInfo fromQLocale(const KnownLocale &k)
{
    const QLocale q = qtLocaleOf(k);
    LocaleInfo l = enUs();
    l.lcid = k.lcid;
    l.name = k.name;
    const QString dec = q.decimalPoint(), grp = q.groupSeparator();
    l.decimal = dec.isEmpty() ? QLatin1Char('.') : dec[0];
    l.group = grp.isEmpty() ? QLatin1Char(',') : grp[0];
    l.shortDate = datePattern(q.dateFormat(QLocale::ShortFormat), true);
    l.longDate = datePattern(q.dateFormat(QLocale::LongFormat), false);
    const qsizetype d = l.shortDate.indexOf(QLatin1Char('d')), m = l.shortDate.indexOf(QLatin1Char('M')),
                    y = l.shortDate.indexOf(QLatin1Char('y'));
    l.order = (y >= 0 && y < d && y < m) ? LocaleInfo::YMD : (d >= 0 && d < m ? LocaleInfo::DMY : LocaleInfo::MDY);
    const QString t = q.timeFormat(QLocale::ShortFormat);
    l.hour12 = t.contains(QLatin1String("ap"), Qt::CaseInsensitive);
    l.hourLeadingZero = t.contains(QLatin1String("hh")) || t.contains(QLatin1String("HH"));
    l.am = q.amText();
    l.pm = q.pmText();
    l.months.clear();
    l.monthsAbbr.clear();
    for (int i = 1; i <= 12; ++i) {
        l.months << q.standaloneMonthName(i, QLocale::LongFormat);
        l.monthsAbbr << q.standaloneMonthName(i, QLocale::ShortFormat);
    }
    l.days.clear();
    l.daysAbbr.clear();
    for (int i = 0; i < 7; ++i) { // Sunday first; Qt counts Monday as 1
        const int qd = i == 0 ? 7 : i;
        l.days << q.dayName(qd, QLocale::LongFormat);
        l.daysAbbr << q.dayName(qd, QLocale::ShortFormat);
    }
    l.currency = q.currencySymbol(QLocale::CurrencySymbol);
    // where the symbol goes, read off the locale's own formatting of 1 and -1
    const QString one = q.toCurrencyString(1.0, l.currency, 0);
    const QString minus = q.toCurrencyString(-1.0, l.currency, 0);
    const bool symbolFirst = one.indexOf(l.currency) < one.indexOf(QLatin1Char('1'));
    const bool spaced = one.contains(QLatin1Char(' ')) || one.contains(QChar(0xA0)) || one.contains(QChar(0x202F));
    l.currencyPositive = symbolFirst ? (spaced ? 2 : 0) : (spaced ? 3 : 1);
    if (minus.startsWith(QLatin1Char('(')))
        l.currencyNegative = 0;
    else
        l.currencyNegative = symbolFirst ? (spaced ? 9 : 1) : 8;
    return l;
}

const KnownLocale *knownByName(const QString &n)
{
    for (const KnownLocale &k : kKnownLocales)
        if (n == QLatin1String(k.name))
            return &k;
    return nullptr;
}

// Locales built from QLocale on first use; never freed, so pointers to them stay valid.
const LocaleInfo *builtLocale(const KnownLocale &k)
{
    static QMutex mutex;
    static std::deque<LocaleInfo> built;
    QMutexLocker lock(&mutex);
    for (const LocaleInfo &l : built)
        if (l.lcid == k.lcid)
            return &l;
    built.push_back(fromQLocale(k));
    return &built.back();
}

} // namespace

const LocaleInfo *localeByLcid(int lcid)
{
    // the seven locales checked against Windows keep their Windows forms; the others follow QLocale
    for (const LocaleInfo &l : allLocales())
        if (l.lcid == lcid)
            return &l;
    for (const KnownLocale &k : kKnownLocales)
        if (k.lcid == lcid)
            return builtLocale(k);
    return nullptr;
}

const LocaleInfo *localeByName(const QString &name)
{
    const QString n = name.trimmed().toLower().replace(QLatin1Char('_'), QLatin1Char('-'));
    for (const LocaleInfo &l : allLocales())
        if (n == QLatin1String(l.name))
            return &l;
    if (const KnownLocale *k = knownByName(n))
        return localeByLcid(k->lcid);
    static const struct {
        const char *alias;
        int lcid;
    } aliases[] = {{"en", 1033},
                   {"english", 1033},
                   {"english-us", 1033},
                   {"es-mex", 2058},
                   {"spanish-mexico", 2058},
                   {"mexican", 2058},
                   {"spanish", 3082},
                   {"de", 1031},
                   {"german", 1031},
                   {"fr", 1036},
                   {"french", 1036},
                   {"pt", 1046},
                   {"en-uk", 2057}};
    for (const auto &a : aliases)
        if (n == QLatin1String(a.alias))
            return localeByLcid(a.lcid);
    // a Qt or BCP 47 name for a locale of the chart ("nb_NO", "sr-Latn-RS", "es-419" ...)
    const QLocale q(name.trimmed());
    if (q.language() != QLocale::C) {
        const KnownLocale *languageOnly = nullptr;
        for (const KnownLocale &k : kKnownLocales) {
            const QLocale kq = qtLocaleOf(k);
            if (kq.language() != q.language())
                continue;
            if (kq.territory() == q.territory() && kq.script() == q.script())
                return localeByLcid(k.lcid);
            if (!languageOnly)
                languageOnly = &k;
        }
        if (languageOnly && !n.contains(QLatin1Char('-')))
            return localeByLcid(languageOnly->lcid);
    }
    return nullptr;
}

const LocaleInfo &currentLocale()
{
    return g_current ? *g_current : enUs();
}
void setCurrentLocale(const LocaleInfo *info)
{
    g_current = info;
}

// ---------------------------------------------------------------- numbers

bool parseNumber(QStringView s, double &out)
{
    const LocaleInfo &loc = currentLocale();
    qsizetype i = 0, n = s.size();
    while (i < n && s[i].isSpace())
        ++i;
    while (n > i && s[n - 1].isSpace())
        --n;
    if (i >= n)
        return false;
    if (s[i] == QLatin1Char('&') && i + 1 < n) {
        QChar k = s[i + 1].toUpper();
        int base = k == QLatin1Char('H') ? 16 : (k == QLatin1Char('O') ? 8 : 0);
        if (!base)
            return false;
        uint64_t v = 0;
        qsizetype j = i + 2;
        if (j >= n)
            return false;
        for (; j < n; ++j) {
            const char16_t c = s[j].unicode();
            int dv;
            if (c >= '0' && c <= '9')
                dv = c - '0';
            else if (c >= 'a' && c <= 'f')
                dv = c - 'a' + 10;
            else if (c >= 'A' && c <= 'F')
                dv = c - 'A' + 10;
            else
                return false;
            if (dv >= base)
                return false;
            v = v * uint64_t(base) + uint64_t(dv);
            if (v > 0xFFFFFFFFull)
                return false;
        }
        out = v <= 0xFFFF ? double(int16_t(uint16_t(v))) : double(int32_t(uint32_t(v)));
        return true;
    }
    bool neg = false;
    bool sawCurrency = false;
    auto skipCurrency = [&] {
        if (!loc.currency.isEmpty() && s.mid(i).startsWith(loc.currency)) {
            i += loc.currency.size();
            sawCurrency = true;
            while (i < n && s[i].isSpace())
                ++i;
        }
    };
    skipCurrency();
    if (i < n && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+'))) {
        neg = s[i] == QLatin1Char('-');
        ++i;
        while (i < n && s[i].isSpace())
            ++i;
    }
    if (!sawCurrency)
        skipCurrency();
    if (i < n && n - i >= 1 && loc.currency.size() && s.mid(0, n).endsWith(loc.currency) && !sawCurrency) {
        n -= loc.currency.size();
        while (n > i && s[n - 1].isSpace())
            --n;
    }
    QByteArray buf;
    buf.reserve(n - i + 2);
    bool digits = false;
    bool intPart = true;
    for (; i < n; ++i) {
        const QChar c = s[i];
        if (c.isDigit() && c.unicode() < 128) {
            buf.append(char(c.unicode()));
            digits = true;
        } else if (c == loc.decimal && intPart) {
            buf.append('.');
            intPart = false;
        } else if (c == loc.group && intPart && digits) {
            continue;
        } else if ((c == QLatin1Char('e') || c == QLatin1Char('E') || c == QLatin1Char('d') ||
                    c == QLatin1Char('D')) &&
                   digits) {
            buf.append('e');
            ++i;
            if (i < n && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
                buf.append(char(s[i++].unicode()));
            bool expDigits = false;
            for (; i < n && s[i].isDigit() && s[i].unicode() < 128; ++i) {
                buf.append(char(s[i].unicode()));
                expDigits = true;
            }
            if (!expDigits || i != n)
                return false;
            break;
        } else {
            return false;
        }
    }
    if (!digits)
        return false;
    out = std::strtod(buf.constData(), nullptr);
    if (neg)
        out = -out;
    return std::isfinite(out);
}

double roundHalfEven(double d)
{
    double r = std::nearbyint(d); // default rounding mode is to nearest, ties to even
    return r;
}

namespace {
// printf("%.*f") handed to `use` as characters: digits and magnitude come from scripts, so a text
// longer than the first try is formatted again at its full length.
template <class F> void fixedText(double v, int digits, F &&use)
{
    char first[128];
    const int len = std::snprintf(first, sizeof first, "%.*f", digits, v);
    if (len < 0) {
        use("0", size_t(1));
        return;
    }
    if (size_t(len) < sizeof first) {
        use(static_cast<const char *>(first), size_t(len));
        return;
    }
    std::string out(size_t(len) + 1, '\0');
    std::snprintf(out.data(), out.size(), "%.*f", digits, v);
    use(static_cast<const char *>(out.data()), size_t(len));
}
} // namespace

double roundDecimal(double d, int digits, bool halfEven)
{
    if (!std::isfinite(d))
        return d;
    // Work on the 15-significant-digit decimal form, as VBScript does, so 2.675 is 2.675.
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", d);
    // buf: [-]d.ddddddddddddddde[+-]xx
    const char *p = buf;
    bool neg = false;
    if (*p == '-') {
        neg = true;
        ++p;
    }
    std::string mant;
    mant += p[0];
    mant.append(p + 2, 14);
    const int exp = std::atoi(std::strchr(p, 'e') + 1);
    // value = 0.mant * 10^(exp+1); keep (exp + 1 + digits) digits
    const int keep = exp + 1 + digits;
    if (keep < 0)
        return neg ? -0.0 : 0.0;
    if (keep >= int(mant.size()))
        return d;
    std::string kept = mant.substr(0, keep);
    const char next = mant[keep];
    bool restNonZero = mant.find_first_not_of('0', keep + 1) != std::string::npos;
    bool up;
    if (next > '5' || (next == '5' && restNonZero))
        up = true;
    else if (next < '5')
        up = false;
    else
        up = halfEven ? (!kept.empty() && ((kept.back() - '0') % 2 == 1)) : true;
    // to number
    double v = 0;
    for (char c : kept)
        v = v * 10 + (c - '0');
    if (up)
        v += 1;
    const int scale = digits - 0;
    double result = scale >= 0 ? v / std::pow(10.0, scale) : v * std::pow(10.0, -scale);
    // Re-read through text for the nearest double of the decimal result.
    fixedText(result, digits > 0 ? digits : 0, [&](const char *text, size_t) { result = std::strtod(text, nullptr); });
    return neg ? -result : result;
}

QString formatDouble(double d, int precision)
{
    if (d == 0)
        return QStringLiteral("0");
    char buf[64];
    const auto r = std::to_chars(buf, buf + sizeof buf, d, std::chars_format::general, precision);
    QString s;
    s.reserve(int(r.ptr - buf));
    const QChar dec = currentLocale().decimal;
    for (const char *p = buf; p != r.ptr; ++p) {
        // printf-style "%G": upper-case exponent with at least two digits ("1E-05"), as VBScript prints
        if (*p == 'e')
            s += QLatin1Char('E');
        else if (*p == '.')
            s += dec;
        else
            s += QLatin1Char(*p);
    }
    return s;
}

// ---------------------------------------------------------------- coercions

Value defaultValue(const Value &v)
{
    if (v.type() != VarType::Object)
        return v;
    // a loop, not recursion: a default member may return another object, or the same one again
    Value cur = v;
    for (int hops = 0; hops < 1000; ++hops) {
        HostObject *o = cur.rawObject();
        if (!o)
            raise(91);
        Value out;
        Args none(nullptr, 0);
        if (!o->getDefault(none, out))
            raise(438);
        checkedFromHost(out);
        if (!out.isObject())
            return out;
        cur = std::move(out);
    }
    raise(28);
}

Value toNumeric(const Value &v)
{
    switch (v.type()) {
    case VarType::Empty:
        return Value::integer(0);
    case VarType::Boolean:
        return Value::integer(v.rawBool() ? -1 : 0);
    case VarType::String: {
        double d;
        if (!parseNumber(v.rawString(), d))
            typeMismatch();
        return Value::dbl(d);
    }
    case VarType::Null:
        return v;
    case VarType::Object:
        return toNumeric(defaultValue(v));
    case VarType::Array:
    case VarType::Error:
        typeMismatch();
    default:
        return v;
    }
}

double toDouble(const Value &v)
{
    switch (v.type()) {
    case VarType::Empty:
        return 0;
    case VarType::Null:
        raise(94);
    case VarType::Boolean:
        return v.rawBool() ? -1 : 0;
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
        return double(v.rawInt());
    case VarType::Currency:
        return double(v.rawInt()) / 10000.0;
    case VarType::Single:
    case VarType::Double:
    case VarType::Date:
        return v.rawDouble();
    case VarType::String: {
        double d;
        if (parseNumber(v.rawString(), d))
            return d;
        typeMismatch();
    }
    case VarType::Object:
        return toDouble(defaultValue(v));
    default:
        typeMismatch();
    }
}

int32_t toLong(const Value &v)
{
    if (v.type() == VarType::Integer || v.type() == VarType::Long || v.type() == VarType::Byte)
        return int32_t(v.rawInt());
    if (v.type() == VarType::Boolean)
        return v.rawBool() ? -1 : 0;
    if (v.type() == VarType::Currency) {
        int64_t c = v.rawInt();
        int64_t q = c / 10000, r = c % 10000;
        if (r > 5000 || (r == 5000 && (q & 1)))
            ++q;
        else if (r < -5000 || (r == -5000 && (q & 1)))
            --q;
        if (q < INT32_MIN || q > INT32_MAX)
            raise(6);
        return int32_t(q);
    }
    const double d = roundHalfEven(toDouble(v));
    if (!(d >= -2147483648.0 && d <= 2147483647.0))
        raise(6);
    return int32_t(d);
}

int16_t toInteger(const Value &v)
{
    const int32_t l = toLong(v);
    if (l < -32768 || l > 32767)
        raise(6);
    return int16_t(l);
}

uint8_t toByte(const Value &v)
{
    if (v.type() == VarType::Boolean)
        return v.rawBool() ? 255 : 0; // CByte(True) is 255: True's bits, not -1
    const int32_t l = toLong(v);
    if (l < 0 || l > 255)
        raise(6);
    return uint8_t(l);
}

int64_t toCurrencyRaw(const Value &v)
{
    if (v.type() == VarType::Currency)
        return v.rawInt();
    if (v.isIntegral())
        return int64_t(toLong(v)) * 10000;
    // round on the decimal form so 0.00005 is an exact half, as Currency is a decimal type
    const double d = std::nearbyint(roundDecimal(toDouble(v), 4, true) * 10000.0);
    if (!(d >= -9.2233720368547758e18 && d < 9.2233720368547758e18))
        raise(6);
    return int64_t(d);
}

bool toBool(const Value &v)
{
    switch (v.type()) {
    case VarType::Boolean:
        return v.rawBool();
    case VarType::Empty:
        return false;
    case VarType::Null:
        raise(94);
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
    case VarType::Currency:
        return v.rawInt() != 0;
    case VarType::Single:
    case VarType::Double:
    case VarType::Date:
        return v.rawDouble() != 0;
    case VarType::String: {
        const QString &s = v.rawString();
        const QString t = s.trimmed();
        if (t.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0 ||
            t.compare(QLatin1String("#TRUE#"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0 ||
            t.compare(QLatin1String("#FALSE#"), Qt::CaseInsensitive) == 0)
            return false;
        double d;
        if (parseNumber(s, d))
            return d != 0;
        typeMismatch();
    }
    case VarType::Object:
        return toBool(defaultValue(v));
    default:
        typeMismatch();
    }
}

double toDate(const Value &v)
{
    switch (v.type()) {
    case VarType::Date:
        return v.rawDouble();
    case VarType::String: {
        double d;
        if (parseDate(v.rawString(), d))
            return d;
        if (parseNumber(v.rawString(), d))
            return checkedDate(d);
        typeMismatch();
    }
    case VarType::Null:
        raise(94);
    case VarType::Object:
        return toDate(defaultValue(v));
    default:
        return checkedDate(toDouble(v));
    }
}

QString toString(const Value &v)
{
    switch (v.type()) {
    case VarType::String:
        return v.rawString();
    case VarType::Empty:
        return QString();
    case VarType::Null:
        raise(94);
    case VarType::Boolean:
        return v.rawBool() ? QStringLiteral("True") : QStringLiteral("False");
    case VarType::Byte:
    case VarType::Integer:
    case VarType::Long:
        return QString::number(v.rawInt());
    case VarType::Single:
        return formatDouble(v.rawDouble(), 7);
    case VarType::Double:
        return formatDouble(v.rawDouble(), 15);
    case VarType::Currency: {
        const int64_t c = v.rawInt();
        QString s = QString::number(c / 10000);
        int64_t frac = c % 10000;
        if (c < 0 && c / 10000 == 0)
            s = QStringLiteral("-0");
        if (frac != 0) {
            QString f = QString::number(frac < 0 ? -frac : frac).rightJustified(4, QLatin1Char('0'));
            while (f.endsWith(QLatin1Char('0')))
                f.chop(1);
            s += currentLocale().decimal + f;
        }
        return s;
    }
    case VarType::Date:
        return formatDate(v.rawDouble(), 0);
    case VarType::Error:
        return QStringLiteral("Error ") + QString::number(int32_t(v.rawInt()));
    case VarType::Object:
        return toString(defaultValue(v));
    default:
        typeMismatch();
    }
}

// ---------------------------------------------------------------- dates

bool validDate(int y, int m, int d)
{
    return y >= 100 && y <= 9999 && m >= 1 && m <= 12 && d >= 1 && d <= daysInMonth(y, m);
}

double makeDate(int y, int m, int d)
{
    return double(daysFromCivil(y, m, d) + kEpochOffset);
}

double dateSerial(int y, int m, int d)
{
    if (y >= 0 && y < 30)
        y += 2000;
    else if (y >= 30 && y < 100)
        y += 1900;
    int64_t yy = y + (m - 1 >= 0 ? (m - 1) / 12 : -((12 - m) / 12));
    int mm = ((m - 1) % 12 + 12) % 12 + 1;
    if (yy < 100 || yy > 9999)
        raise(5);
    const double serial = double(daysFromCivil(yy, mm, 1) + kEpochOffset + (d - 1));
    if (serial < -657434.0 || serial > 2958465.0)
        raise(5);
    return serial;
}

double combineDateTime(double datePart, double timePart)
{
    // OLE dates before 1899-12-30 keep the time as a positive fraction away from zero
    if (datePart < 0)
        return datePart - timePart;
    return datePart + timePart;
}

double timeSerial(double h, double m, double s)
{
    const double total = h * 3600 + m * 60 + s;
    const double days = std::floor(total / 86400.0);
    const double rem = (total - days * 86400.0) / 86400.0;
    return combineDateTime(days, rem);
}

DateParts splitDate(double serial)
{
    DateParts p{};
    double dayPart = std::trunc(serial);
    double frac = std::fabs(serial - dayPart);
    int64_t secs = int64_t(std::llround(frac * 86400.0));
    if (secs >= 86400) {
        secs -= 86400;
        dayPart += serial < 0 ? -1 : 1;
    }
    const int64_t days = int64_t(dayPart) - kEpochOffset;
    civilFromDays(days, p.year, p.month, p.day);
    p.hour = int(secs / 3600);
    p.minute = int(secs / 60 % 60);
    p.second = int(secs % 60);
    // 1970-01-01 was a Thursday (5)
    p.weekday = int(((days % 7) + 7 + 4) % 7) + 1;
    return p;
}

double nowSerial()
{
    // clock_gettime + localtime_r: QDateTime::currentDateTime() re-reads the zone file on every call
    timespec ts;
    clock_gettime(CLOCK_REALTIME, &ts);
    tm local;
    localtime_r(&ts.tv_sec, &local);
    return makeDate(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday) +
           (local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec) / 86400.0;
}

namespace {

QString two(int n)
{
    return QString::number(n).rightJustified(2, QLatin1Char('0'));
}

QString applyPattern(const QString &pat, const DateParts &p)
{
    const LocaleInfo &loc = currentLocale();
    QString out;
    for (qsizetype i = 0; i < pat.size();) {
        QChar c = pat[i];
        if (c == QLatin1Char('\'')) {
            qsizetype j = pat.indexOf(QLatin1Char('\''), i + 1);
            if (j < 0)
                j = pat.size();
            out += pat.mid(i + 1, j - i - 1);
            i = j + 1;
            continue;
        }
        qsizetype j = i;
        while (j < pat.size() && pat[j] == c)
            ++j;
        const int run = int(j - i);
        if (c == QLatin1Char('d')) {
            if (run >= 4)
                out += loc.days[p.weekday - 1];
            else if (run == 3)
                out += loc.daysAbbr[p.weekday - 1];
            else
                out += run == 2 ? two(p.day) : QString::number(p.day);
        } else if (c == QLatin1Char('M')) {
            if (run >= 4)
                out += loc.months[p.month - 1];
            else if (run == 3)
                out += loc.monthsAbbr[p.month - 1];
            else
                out += run == 2 ? two(p.month) : QString::number(p.month);
        } else if (c == QLatin1Char('y')) {
            out += run <= 2 ? two(p.year % 100) : QString::number(p.year).rightJustified(4, QLatin1Char('0'));
        } else {
            out += pat.mid(i, run);
        }
        i = j;
    }
    return out;
}

QString timeText(const DateParts &p, bool seconds)
{
    const LocaleInfo &loc = currentLocale();
    QString s;
    if (loc.hour12) {
        int h = p.hour % 12;
        if (h == 0)
            h = 12;
        s = loc.hourLeadingZero ? two(h) : QString::number(h);
    } else {
        s = two(p.hour);
    }
    s += QLatin1Char(':') + two(p.minute);
    if (seconds)
        s += QLatin1Char(':') + two(p.second);
    if (loc.hour12)
        s += QLatin1Char(' ') + (p.hour < 12 ? loc.am : loc.pm);
    return s;
}

} // namespace

QString formatDate(double serial, int namedFormat)
{
    const DateParts p = splitDate(serial);
    const LocaleInfo &loc = currentLocale();
    const bool hasTime = serial != std::trunc(serial);
    const bool hasDate = std::trunc(serial) != 0;
    switch (namedFormat) {
    case 1:
        return applyPattern(loc.longDate, p);
    case 2:
        return applyPattern(loc.shortDate, p);
    case 3:
        return timeText(p, true);
    case 4:
        return two(p.hour) + QLatin1Char(':') + two(p.minute);
    default:
        if (!hasDate) // day 0 prints as a time, midnight included
            return timeText(p, true);
        if (!hasTime)
            return applyPattern(loc.shortDate, p);
        return applyPattern(loc.shortDate, p) + QLatin1Char(' ') + timeText(p, true);
    }
}

namespace {

int monthFromName(QStringView w)
{
    if (w.size() < 3)
        return 0;
    const LocaleInfo &loc = currentLocale();
    auto match = [&](const QStringList &names) {
        for (int i = 0; i < names.size(); ++i) {
            QString n = names[i];
            if (n.endsWith(QLatin1Char('.')))
                n.chop(1);
            if (n.compare(w, Qt::CaseInsensitive) == 0)
                return i + 1;
        }
        return 0;
    };
    if (int m = match(loc.months))
        return m;
    if (int m = match(loc.monthsAbbr))
        return m;
    if (int m = match(enUs().months))
        return m;
    if (int m = match(enUs().monthsAbbr))
        return m;
    // English month name prefixes such as "Sept"
    for (int i = 0; i < 12; ++i)
        if (enUs().months[i].startsWith(w, Qt::CaseInsensitive))
            return i + 1;
    return 0;
}

} // namespace

bool parseDate(QStringView s, double &out, bool literal)
{
    const LocaleInfo &loc = literal ? enUs() : currentLocale();
    struct Tok {
        int kind; // 0 number, 1 word, 2 ':' , 3 other separator
        int value;
        int digits;
        QStringView text;
    };
    Tok toks[24];
    int nt = 0;
    qsizetype i = 0;
    const qsizetype n = s.size();
    while (i < n) {
        const QChar c = s[i];
        if (c.isSpace() || c == QLatin1Char(',')) {
            ++i;
            continue;
        }
        if (nt >= 24)
            return false;
        if (c.isDigit() && c.unicode() < 128) {
            int v = 0, d = 0;
            while (i < n && s[i].isDigit() && s[i].unicode() < 128) {
                if (d < 9)
                    v = v * 10 + (s[i].unicode() - '0');
                ++d;
                ++i;
            }
            toks[nt++] = {0, v, d, {}};
        } else if (c.isLetter()) {
            qsizetype j = i;
            while (j < n && (s[j].isLetter() || s[j] == QLatin1Char('.') ||
                             (s[j] == QLatin1Char(' ') && j + 1 < n && s[j + 1].isLetter() && j > i &&
                              s[j - 1] == QLatin1Char('.'))))
                ++j;
            toks[nt++] = {1, 0, 0, s.mid(i, j - i)};
            i = j;
        } else if (c == QLatin1Char(':')) {
            toks[nt++] = {2, 0, 0, {}};
            ++i;
        } else if (c == QLatin1Char('/') || c == QLatin1Char('-') || c == QLatin1Char('.')) {
            toks[nt++] = {3, 0, 0, {}};
            ++i;
        } else {
            return false;
        }
    }
    if (nt == 0)
        return false;
    // time: number ':' number [':' number] [ampm]
    int hour = -1, minute = 0, second = 0;
    int ampm = 0; // 1 am, 2 pm
    int dateNums[3];
    int dateDigits[3];
    int nd = 0;
    int month = 0;
    for (int k = 0; k < nt; ++k) {
        const Tok &t = toks[k];
        if (t.kind == 0 && k + 1 < nt && toks[k + 1].kind == 2) {
            if (hour >= 0 || k + 2 >= nt || toks[k + 2].kind != 0)
                return false;
            hour = t.value;
            minute = toks[k + 2].value;
            k += 2;
            if (k + 2 < nt && toks[k + 1].kind == 2 && toks[k + 2].kind == 0) {
                second = toks[k + 2].value;
                k += 2;
            }
            continue;
        }
        if (t.kind == 0) {
            if (nd >= 3)
                return false;
            dateDigits[nd] = t.digits;
            dateNums[nd++] = t.value;
            continue;
        }
        if (t.kind == 1) {
            QString w = t.text.toString().toLower();
            w.remove(QLatin1Char(' '));
            if (w == QLatin1String("am") || w == QLatin1String("a.m.") || w == QLatin1String("a") ||
                w == loc.am.toLower().remove(QLatin1Char(' '))) {
                ampm = 1;
                continue;
            }
            if (w == QLatin1String("pm") || w == QLatin1String("p.m.") || w == QLatin1String("p") ||
                w == loc.pm.toLower().remove(QLatin1Char(' '))) {
                ampm = 2;
                continue;
            }
            if (w == QLatin1String("de") || w == QLatin1String("of"))
                continue;
            QStringView wv = t.text;
            while (wv.endsWith(QLatin1Char('.')))
                wv.chop(1);
            const int m = monthFromName(wv);
            if (m && !month) {
                month = m;
                continue;
            }
            // weekday names are allowed and ignored
            bool day = false;
            for (const QString &dn : loc.days)
                if (dn.startsWith(wv, Qt::CaseInsensitive) && wv.size() >= 3)
                    day = true;
            for (const QString &dn : enUs().days)
                if (dn.startsWith(wv, Qt::CaseInsensitive) && wv.size() >= 3)
                    day = true;
            if (!day)
                return false;
            continue;
        }
        if (t.kind == 2)
            return false;
    }
    if (hour >= 0) {
        if (ampm) {
            if (hour < 1 || hour > 12)
                return false;
            hour = hour % 12 + (ampm == 2 ? 12 : 0);
        }
        if (hour > 23 || minute > 59 || second > 59)
            return false;
    } else if (ampm) {
        return false;
    }
    double datePart = 0;
    bool haveDate = false;
    auto fixYear = [](int y, int digits) {
        if (digits <= 2)
            return y < 30 ? 2000 + y : 1900 + y;
        return y;
    };
    const int currentYear = QDate::currentDate().year();
    if (month) {
        if (nd == 2) {
            int d = dateNums[0], y = dateNums[1], yd = dateDigits[1];
            if (dateNums[0] > 31 || dateDigits[0] > 2) {
                y = dateNums[0];
                yd = dateDigits[0];
                d = dateNums[1];
            }
            y = fixYear(y, yd);
            if (!validDate(y, month, d))
                return false;
            datePart = makeDate(y, month, d);
        } else if (nd == 1) {
            if (dateNums[0] <= 31 && dateDigits[0] <= 2) {
                if (!validDate(currentYear, month, dateNums[0]))
                    return false;
                datePart = makeDate(currentYear, month, dateNums[0]);
            } else {
                const int y = fixYear(dateNums[0], dateDigits[0]);
                if (!validDate(y, month, 1))
                    return false;
                datePart = makeDate(y, month, 1);
            }
        } else {
            return false;
        }
        haveDate = true;
    } else if (nd == 3) {
        int a = dateNums[0], b = dateNums[1], c = dateNums[2];
        int y, m, d;
        if (dateDigits[0] > 2 || a > 31) {
            y = fixYear(a, dateDigits[0]);
            m = b;
            d = c;
        } else {
            y = fixYear(c, dateDigits[2]);
            if (loc.order == LocaleInfo::DMY) {
                d = a;
                m = b;
            } else {
                m = a;
                d = b;
            }
            if (!validDate(y, m, d))
                std::swap(m, d);
        }
        if (!validDate(y, m, d))
            return false;
        datePart = makeDate(y, m, d);
        haveDate = true;
    } else if (nd == 2) {
        int a = dateNums[0], b = dateNums[1];
        int m, d, y = currentYear;
        if (b > 31 || dateDigits[1] > 2) { // month/year
            m = a;
            d = 1;
            y = fixYear(b, dateDigits[1]);
        } else if (loc.order == LocaleInfo::DMY) {
            d = a;
            m = b;
        } else {
            m = a;
            d = b;
        }
        if (!validDate(y, m, d))
            std::swap(m, d);
        if (!validDate(y, m, d))
            return false;
        datePart = makeDate(y, m, d);
        haveDate = true;
    } else if (nd != 0) {
        return false;
    }
    if (!haveDate && hour < 0)
        return false;
    const double timePart = hour >= 0 ? (hour * 3600 + minute * 60 + second) / 86400.0 : 0;
    out = combineDateTime(datePart, timePart);
    return true;
}

// ---------------------------------------------------------------- number formats

namespace {

QString groupDigits(const QString &intDigits, QChar sep)
{
    QString out;
    const int n = int(intDigits.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0)
            out += sep;
        out += intDigits[i];
    }
    return out;
}

// Digits of |v| rounded half away from zero to `digits` decimals.
QString fixedDigits(double v, int digits, QString &intPart)
{
    const double r = std::fabs(roundDecimal(v, digits, false));
    QString s;
    fixedText(r, digits, [&](const char *text, size_t n) { s = QString::fromLatin1(text, qsizetype(n)); });
    const qsizetype dot = s.indexOf(QLatin1Char('.'));
    intPart = dot < 0 ? s : s.left(dot);
    return dot < 0 ? QString() : s.mid(dot + 1);
}

QString formatCore(double v, int digits, int leadingDigit, int group, bool &negative)
{
    const LocaleInfo &loc = currentLocale();
    if (digits < 0)
        digits = 2;
    if (digits > 255)
        raise(5);
    QString intPart;
    const QString frac = fixedDigits(v, digits, intPart);
    bool zero = true;
    for (QChar c : QString(intPart + frac))
        if (c != QLatin1Char('0'))
            zero = false;
    negative = v < 0 && !zero;
    const bool useGroup = group != 0;
    QString out;
    if (intPart == QLatin1String("0") && leadingDigit == 0 && digits > 0)
        out = QString();
    else
        out = useGroup ? groupDigits(intPart, loc.group) : intPart;
    if (digits > 0)
        out += loc.decimal + frac;
    return out;
}

} // namespace

QString formatNumber(double v, int digits, int leadingDigit, int parens, int group)
{
    bool neg;
    const QString body = formatCore(v, digits, leadingDigit, group, neg);
    if (!neg)
        return body;
    if (parens == -1 || parens == 1)
        return QLatin1Char('(') + body + QLatin1Char(')');
    return QLatin1Char('-') + body;
}

QString formatCurrency(double v, int digits, int leadingDigit, int parens, int group)
{
    const LocaleInfo &loc = currentLocale();
    bool neg;
    const QString body = formatCore(v, digits, leadingDigit, group, neg);
    QString pos;
    switch (loc.currencyPositive) {
    case 1:
        pos = body + loc.currency;
        break;
    case 2:
        pos = loc.currency + QLatin1Char(' ') + body;
        break;
    case 3:
        pos = body + QLatin1Char(' ') + loc.currency;
        break;
    default:
        pos = loc.currency + body;
    }
    if (!neg)
        return pos;
    if (parens == -1 || parens == 1 || (parens == -2 && loc.currencyNegative == 0))
        return QLatin1Char('(') + pos + QLatin1Char(')');
    if (loc.currencyNegative == 8)
        return QLatin1Char('-') + pos;
    if (loc.currencyNegative == 9)
        return QLatin1Char('-') + pos;
    return QLatin1Char('-') + pos;
}

QString formatPercent(double v, int digits, int leadingDigit, int parens, int group)
{
    return formatNumber(v * 100.0, digits, leadingDigit, parens, group) + QLatin1Char('%');
}

// ---------------------------------------------------------------- ANSI text

namespace {
const char16_t kCp1252High[32] = {0x20AC, 0x81,   0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x8D,   0x017D, 0x8F,
                                  0x90,   0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x9D,   0x017E, 0x0178};
} // namespace

QChar ansiChar(int code)
{
    if (code >= 0x80 && code < 0xA0)
        return QChar(kCp1252High[code - 0x80]);
    return QChar(char16_t(code & 0xFF));
}

int ansiCode(QChar c)
{
    const char16_t u = c.unicode();
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
        return u;
    for (int i = 0; i < 32; ++i)
        if (kCp1252High[i] == u)
            return 0x80 + i;
    return -1;
}

QByteArray toAnsi(const QString &s)
{
    QByteArray out;
    out.reserve(s.size());
    for (QChar c : s) {
        const int code = ansiCode(c);
        out.append(char(code < 0 ? '?' : code));
    }
    return out;
}

QString fromAnsi(const QByteArray &bytes)
{
    QString out;
    out.reserve(bytes.size());
    for (char b : bytes)
        out += ansiChar(uchar(b));
    return out;
}

} // namespace vbs
