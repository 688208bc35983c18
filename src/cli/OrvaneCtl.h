#pragma once

#include <QString>
#include <QStringList>
#include <QTextStream>

// The command-line tool: the same settings file and store as the window.
//   orvanectl [--ini FILE] [--data DIR] import FOLDER
//   orvanectl [--ini FILE] [--data DIR] check
//   orvanectl [--ini FILE] [--data DIR] sql "SELECT ..."
//   orvanectl [--ini FILE] [--data DIR] export pc|drive|printer|appli FILE
// Results go to out, progress and messages to err. Exit status: 0 success,
// 1 when a file failed (or the run stopped), 2 on a usage or connection
// error.
class OrvaneCtl
{
public:
    enum Exit { Success = 0, Failure = 1, UsageOrConnection = 2 };

    // programFile: the running program, whose folder holds Orvane.INI and
    // PCDB (as for the window).
    OrvaneCtl(const QString &programFile, QTextStream &out, QTextStream &err);

    int run(const QStringList &arguments);

    static QString usage();

private:
    QString m_programFile;
    QTextStream &m_out;
    QTextStream &m_err;
};
