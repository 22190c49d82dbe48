#include "AdminCli.h"

AdminCli::AdminCli(QTextStream &out, QTextStream &err) : m_out(out), m_err(err) {}

void AdminCli::add(const Command &command)
{
    m_commands.append(command);
}

QString AdminCli::usage() const
{
    QStringList lines;
    for (const Command &c : m_commands)
        lines.append(QStringLiteral("mostrador-admin ") + c.synopsis);
    return QStringLiteral("uso: ") + lines.join(QStringLiteral("\n     "));
}

int AdminCli::run(const QStringList &arguments)
{
    const auto bad = [&](const QString &why) {
        if (!why.isEmpty())
            m_err << why << '\n';
        m_err << usage() << '\n';
        m_err.flush();
        return 2;
    };
    for (const Command &c : m_commands) {
        if (arguments.size() < c.words.size() || arguments.mid(0, c.words.size()) != c.words)
            continue;
        Arguments args;
        const QStringList rest = arguments.mid(c.words.size());
        for (int i = 0; i < rest.size(); ++i) {
            QString name = rest[i];
            QString value;
            bool hasValue = false;
            if (const int eq = int(name.indexOf(u'=')); name.startsWith(QLatin1String("--")) && eq > 0) {
                value = name.mid(eq + 1);
                name = name.left(eq);
                hasValue = true;
            }
            if (c.flags.contains(name) && !hasValue) {
                args.flags.append(name);
            } else if (c.valueOptions.contains(name)) {
                if (!hasValue) {
                    if (i + 1 >= rest.size())
                        return bad(QStringLiteral("Falta el valor de %1").arg(name));
                    value = rest[++i];
                }
                args.values.insert(name, value);
                args.lists[name] << value;
            } else if (!name.startsWith(QLatin1String("--")) && args.positionals.size() < c.positionals.size()) {
                args.positionals.append(rest[i]);
            } else {
                return bad(QStringLiteral("Argumento no reconocido: %1").arg(rest[i]));
            }
        }
        if (args.positionals.size() < c.positionals.size())
            return bad(QStringLiteral("Falta %1").arg(c.positionals.at(args.positionals.size())));
        for (const QString &required : c.requiredOptions)
            if (args.values.value(required).isEmpty())
                return bad(QStringLiteral("Falta %1").arg(required));
        const int code = c.run(args, m_out, m_err);
        m_out.flush();
        m_err.flush();
        return code;
    }
    return bad(arguments.isEmpty() ? QString() : QStringLiteral("Orden no reconocida: %1").arg(arguments.join(u' ')));
}
