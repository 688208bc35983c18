#pragma once

#include "output/CsvExport.h"

#include <QString>
#include <QStringList>
#include <QTextStream>

class AppSettings;
class TDMdata;

// The command-line tool: the same settings file and store as the window.
//   orvanectl [--ini FILE] [--data DIR] import [--lock-wait SECONDS] FOLDER
//   orvanectl [--ini FILE] [--data DIR] check
//   orvanectl [--ini FILE] [--data DIR] sql [--time-limit SECONDS] "SELECT ..."
//   orvanectl [--ini FILE] [--data DIR] export pc|drive|printer|appli FILE
//   orvanectl [--ini FILE] [--data DIR] sheet --pdf FILE [KEY...]
//   orvanectl [--ini FILE] [--data DIR] report bu-ka|kyoyu [--printers]|appli NAME --pdf FILE
//   orvanectl [--ini FILE] [--data DIR] leases [--within DAYS] [--as-of YYYY/MM/DD]
//   orvanectl [--ini FILE] [--data DIR] dump FILE
//   orvanectl [--ini FILE] [--data DIR] restore FILE
// Results go to out, progress and messages to err. Exit status: 0 success,
// 1 when a file failed, the run stopped, the statement failed or a named PC
// does not exist, 2 on a usage or connection error. The sheet and report
// commands draw with fonts and need a QGuiApplication.
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
    struct Options;

    bool parse(const QStringList &arguments, Options &options, int &exit);
    // Reads the settings file and opens and checks the store.
    int openStore(const Options &options, AppSettings &settings, TDMdata &dm);
    int import(TDMdata &dm, const AppSettings &settings, const Options &options);
    int sql(TDMdata &dm, const Options &options);
    int exportTable(TDMdata &dm, const Options &options);
    int sheet(TDMdata &dm, const Options &options);
    int report(TDMdata &dm, const Options &options);
    int leases(TDMdata &dm, const Options &options);
    int dump(TDMdata &dm, const Options &options);
    // Reports a table written to a file (export, dump).
    int written(const CsvExport::Result &result, const QString &file);
    int restore(TDMdata &dm, const Options &options);

    QString m_programFile;
    QTextStream &m_out;
    QTextStream &m_err;
};
