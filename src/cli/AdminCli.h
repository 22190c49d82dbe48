#pragma once

#include <QList>
#include <QMap>
#include <QString>
#include <QStringList>
#include <QTextStream>

#include <functional>

// The admin command line as a table of commands: each entry names its words ("db init"),
// the options it takes and what it runs. A command returns the process exit code:
// 0 done, 1 failed (the Spanish message went to stderr), 2 bad arguments.
class AdminCli {
public:
    struct Arguments {
        QStringList flags;             // "--demo"
        QMap<QString, QString> values; // "--connection" -> text (the last one given)
        QMap<QString, QStringList> lists; // every value of an option given more than once ("--param")
        QStringList positionals;       // words after the command that are not options
    };
    struct Command {
        QStringList words;             // {"db", "init"}
        QString synopsis;              // "db init [--demo] --connection CADENA"
        QStringList flags;             // options without a value
        QStringList valueOptions;      // options followed by a value
        QStringList requiredOptions;
        std::function<int(const Arguments &, QTextStream &out, QTextStream &err)> run;
        QStringList positionals = {};  // names of the words it takes, all required ("CLAVE")
    };

    AdminCli(QTextStream &out, QTextStream &err);
    void add(const Command &command);
    int run(const QStringList &arguments); // without the program name
    QString usage() const;

private:
    QList<Command> m_commands;
    QTextStream &m_out;
    QTextStream &m_err;
};
