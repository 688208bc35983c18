#pragma once

#include "store/StoreAccess.h"

#include <QString>
#include <QTextStream>

class AppSettings;
class CtlArguments;
class TDMdata;

// Exit status of the tool: 0 success; 1 when a file failed, the run stopped,
// the statement failed or a named PC does not exist; 2 on a usage or
// connection error.
enum CtlExit { CtlSuccess = 0, CtlFailure = 1, CtlUsageOrConnection = 2 };

// What a command runs with: results go to out, failures to err. A run that
// succeeds prints nothing but its results (a scheduled job mails whatever
// it prints): progress goes to progress, which is err when err is a
// terminal or with --verbose, and notes of what was done to verbose, which
// is err with --verbose only; otherwise both go nowhere.
struct CtlContext
{
    QTextStream &out;
    QTextStream &err;
    QTextStream &progress;
    QTextStream &verbose;
    TDMdata &dm;
    const AppSettings &settings;
};

// One command of orvanectl: its name and usage lines, the arguments after
// its name, how it uses the store, and its run.
class CtlCommand
{
public:
    // Reads: the store is opened without writing anything, and only if it
    // is there. Writes: the table check of the start-up runs first.
    using Access = StoreAccess;

    virtual ~CtlCommand() = default;

    virtual QString name() const = 0;
    // The command's lines of the usage text.
    virtual QString usage() const = 0;
    virtual Access access() const = 0;
    // Takes the command's own options and arguments; false on a usage
    // error (with the arguments' message, if any).
    virtual bool parse(CtlArguments &arguments) = 0;
    // Store settings made before the store is opened.
    virtual void prepare(TDMdata &) const { }
    virtual int run(const CtlContext &context) = 0;
};
