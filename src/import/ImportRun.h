#pragma once

#include "CollectorFile.h"
#include "NetworkSelection.h"

#include <QSet>
#include <QString>

class CollectorImporter;
class ImportPreview;
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
    // Whether the changes are recorded in the history; off only to measure
    // what recording costs (import_bench).
    bool recordHistory = true;
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
// stays) with its history lines, then the removal of page-file drive rows
// and the network selection, recorded in the history as well. Refreshing
// the views is the caller's.
//
// The preview runs the same over the folder without writing anything: not
// the store (its connection refuses writes meanwhile), not the files (NUL
// bytes are replaced in memory only), no claims and no history; what the
// run would change goes to an ImportPreview.
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
    // The preview of run(): the summary of what would happen, the changes
    // in preview.
    ImportSummary preview(const QString &folder, const ImportOptions &options,
                          ImportPreview &preview);

    // The progress text while the server is being connected again.
    static QString reconnectingText();

private:
    enum class Outcome { Done, Stop, Lost };
    ImportSummary execute(const QString &folder, const ImportOptions &options,
                          ImportPreview *preview);
    Outcome importOne(CollectorImporter &importer, const CollectorFile::Entry &file,
                      ImportSummary &summary);
    // After a lost connection: true once the store is back; otherwise the
    // reason is reported as the run's fatal error.
    bool reconnect();
    // The store-wide steps after the files. Throws StoreError.
    void finish(CollectorImporter &importer, const ImportOptions &options);
    void previewFinish(const ImportOptions &options, ImportPreview &preview);
    // The PC keys that more than one of the files names.
    QSet<QString> repeatedKeys(CollectorImporter &importer,
                               const QVector<CollectorFile::Entry> &files);

    TDMdata &m_dm;
    ImportObserver &m_observer;
    QSet<QString> m_imported; // PC keys of the files imported completely
};
