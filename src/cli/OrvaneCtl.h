#pragma once

#include "CtlCommand.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

class AppSettings;
class TDMdata;

// The command-line tool: the same settings file and store as the window.
//   orvanectl [--ini FILE] [--data DIR] [--verbose] COMMAND [OPTIONS] [ARGUMENTS]
// The commands are CtlCommand classes (see CtlCommands.h). Results go to
// out, progress and messages to err; the exit status is a CtlExit. The sheet
// and report commands draw with fonts and need a QGuiApplication.
class OrvaneCtl
{
public:
    enum Exit {
        Success = CtlSuccess,
        Failure = CtlFailure,
        UsageOrConnection = CtlUsageOrConnection
    };

    // programFile: the running program, whose folder holds Orvane.INI and
    // PCDB (as for the window).
    OrvaneCtl(const QString &programFile, QTextStream &out, QTextStream &err);

    // Whether err is a terminal, where the import shows its progress even
    // without --verbose.
    void setErrIsTerminal(bool terminal) { m_errIsTerminal = terminal; }

    int run(const QStringList &arguments);

    static QString usage();

private:
    struct Options;

    // Reads the settings file and opens and checks the store.
    int openStore(const Options &options, const CtlCommand &command, AppSettings &settings,
                  TDMdata &dm, QTextStream &verbose);

    QString m_programFile;
    QTextStream &m_out;
    QTextStream &m_err;
    bool m_errIsTerminal = false;
};
