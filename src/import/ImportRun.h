#pragma once

#include "CollectorFile.h"
#include "NetworkSelection.h"

#include <QString>

class TDMdata;

// What the import run tells the user, as the caller shows it: the main
// window in its status bar and message boxes, the command-line tool on
// standard error.
class ImportObserver
{
public:
    virtual ~ImportObserver() = default;
    // The progress text of the current file; empty at the end of the run.
    virtual void progress(const QString &text) = 0;
    // A message about one file ("... は空でした", "... の処理中に..."); the
    // run goes on after it.
    virtual void fileMessage(const QString &text) = 0;
    // A file that failed: the message, then the reason and the line (0
    // when no line is to blame). Shown as the message alone unless the
    // observer wants more.
    virtual void fileFailed(const QString &text, const QString &reason, int line)
    {
        Q_UNUSED(reason);
        Q_UNUSED(line);
        fileMessage(text);
    }
    // The error that stopped the run (a file that cannot be opened, read
    // or written, or a store error).
    virtual void fatal(const QString &text) = 0;
};

struct ImportOptions
{
    bool appliDel = true;
    NetworkPair network1 {QString(), QStringLiteral("0.0.0.0")};
    NetworkPair network2 {QString(), QStringLiteral("0.0.0.0")};
};

struct ImportSummary
{
    int files = 0; // names listed
    int imported = 0;
    int failed = 0; // files whose import raised an error
    int empty = 0;
    int skipped = 0; // files without the header line
    bool stopped = false; // the run ended early with a fatal error
    bool folderUnreadable = false; // the folder named could not be listed
};

// The import run over a collector folder: every "*.csv" file in name order
// through CollectorImporter, each file in one store transaction (committed
// also when the file fails, so what the rules wrote before the failure
// stays), then the removal of page-file drive rows and the network
// selection. Refreshing the views is the caller's.
//
// A server connection lost during the run (the server restarted) is
// restored with the same settings, and the interrupted file imported
// again; the run stops with the reason only when the server stays away
// longer than 30 s or the store's lock wait, whichever is longer.
class ImportRun
{
public:
    ImportRun(TDMdata &dm, ImportObserver &observer);

    // The folder with a path separator at its end.
    static QString withSeparator(const QString &folder);

    // Imports the folder's files; an empty folder text (the folder window
    // was cancelled) imports nothing but still ends the run with the
    // store-wide steps.
    ImportSummary run(const QString &folder, const ImportOptions &options);

    // The progress text while the server is being connected again.
    static QString reconnectingText();

private:
    enum class Outcome { Done, Stop, Lost };
    Outcome importOne(class CollectorImporter &importer, const CollectorFile::Entry &file,
                      ImportSummary &summary);
    // After a lost connection: true once the store is back; otherwise the
    // reason is reported as the run's fatal error.
    bool reconnect();

    TDMdata &m_dm;
    ImportObserver &m_observer;
};
