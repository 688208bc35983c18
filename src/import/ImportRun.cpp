#include "ImportRun.h"

#include "CollectorFile.h"
#include "ImportError.h"
#include "ImportFile.h"
#include "ImportPreview.h"
#include "store/PcClaims.h"
#include "store/ReadOnlyScope.h"
#include "store/StoreError.h"
#include "store/StoreReconnector.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QDir>
#include <QSqlRecord>
#include <memory>
#include <optional>

namespace {

// A transaction for one file, unless the caller holds one already.
class FileTransaction
{
public:
    explicit FileTransaction(TDMdata &dm) : m_dm(dm), m_own(!dm.inTransaction())
    {
        if (m_own)
            m_dm.startTransaction();
    }
    ~FileTransaction()
    {
        if (m_own && m_dm.inTransaction()) {
            try {
                m_dm.rollback();
            } catch (const StoreError &) { }
        }
    }
    FileTransaction(const FileTransaction &) = delete;
    FileTransaction &operator=(const FileTransaction &) = delete;

    // Each file's commit is not flushed on its own: the run flushes once
    // at its end.
    void commit()
    {
        if (m_own)
            m_dm.commit(TDMdata::Flush::Later);
    }

private:
    TDMdata &m_dm;
    bool m_own;
};

const QString PageFileDrives = QStringLiteral("DRIVE = 'ページファイル'");

// How long a lost server is waited for at least (or the lock wait, when
// longer).
constexpr int Patience = 30000;

} // namespace

ImportRun::ImportRun(TDMdata &dm, ImportObserver &observer) : m_dm(dm), m_observer(observer) { }

QString ImportRun::withSeparator(const QString &folder)
{
    if (folder.isEmpty() || folder.endsWith(QLatin1Char('/')) || folder.endsWith(QDir::separator()))
        return folder;
    return folder + QLatin1Char('/');
}

ImportSummary ImportRun::run(const QString &folder, const ImportOptions &options)
{
    return execute(folder, options, nullptr);
}

ImportSummary ImportRun::preview(const QString &folder, const ImportOptions &options,
                                 ImportPreview &preview)
{
    return execute(folder, options, &preview);
}

ImportSummary ImportRun::execute(const QString &folder, const ImportOptions &options,
                                 ImportPreview *preview)
{
    ImportSummary summary;
    QVector<CollectorFile::Entry> files;
    // No folder (the folder window was cancelled) lists nothing. A folder
    // that cannot be read is said so, not taken for one without files; the
    // store-wide steps run all the same.
    if (!folder.isEmpty()) {
        try {
            files = CollectorFile::list(folder);
        } catch (const ImportError &e) {
            summary.folderUnreadable = true;
            m_observer.fileMessage(e.message());
        }
    }
    summary.files = int(files.size());
    m_imported.clear();

    try {
        std::optional<ReadOnlyScope> readOnly;
        QSet<QString> keptKeys;
        if (preview)
            readOnly.emplace(m_dm);
        // A new importer after a reconnect: its statements belong to the
        // connection it was made on.
        const auto makeImporter = [&] {
            auto importer = std::make_unique<CollectorImporter>(m_dm);
            importer->setAppliDel(options.appliDel);
            importer->setRecordsHistory(options.recordHistory);
            importer->setNetworks(options.network1, options.network2);
            if (preview) {
                importer->setDryRun(preview);
                importer->setKeptKeys(keptKeys);
            }
            return importer;
        };
        std::unique_ptr<CollectorImporter> importer = makeImporter();
        if (preview) {
            keptKeys = repeatedKeys(*importer, files);
            importer->setKeptKeys(keptKeys);
        }
        // The preview's read-only connection is not made again: a lost
        // server ends the preview.
        const auto reconnected = [&] {
            if (preview) {
                m_observer.fatal(ConnectionLost::text());
                return false;
            }
            if (!reconnect())
                return false;
            importer = makeImporter();
            return true;
        };
        for (qsizetype i = 0; i < files.size(); ++i) {
            const CollectorFile::Entry &file = files.at(i);
            m_observer.progress(
                QStringLiteral(" (%1/%2) %3 読込中").arg(i + 1).arg(files.size()).arg(file.name));
            if (preview)
                preview->setFile(file.name);
            const Outcome outcome = importOne(*importer, file, summary);
            if (outcome == Outcome::Lost) {
                // The file's transaction went with the connection: once the
                // server is back the file is imported again.
                if (!reconnected()) {
                    summary.stopped = true;
                    break;
                }
                --i;
                continue;
            }
            if (outcome == Outcome::Stop) {
                summary.stopped = true;
                break;
            }
        }
        while (!summary.stopped) {
            try {
                if (preview)
                    previewFinish(options, *preview);
                else
                    finish(*importer, options);
                break;
            } catch (const ConnectionLost &) {
                if (!reconnected())
                    summary.stopped = true;
            }
        }
    } catch (const StoreError &e) {
        summary.stopped = true;
        m_observer.fatal(e.message());
    }
    if (!preview)
        m_dm.flush();
    m_observer.progress(QString());
    return summary;
}

bool ImportRun::reconnect()
{
    m_observer.progress(reconnectingText());
    const QString reason = StoreReconnector::waitFor(m_dm, qMax(m_dm.lockWait(), Patience));
    if (reason.isEmpty())
        return true;
    m_observer.fatal(ConnectionLost::text() + u'\n' + reason);
    return false;
}

QString ImportRun::reconnectingText()
{
    return QStringLiteral("サーバーに再接続しています…");
}

QSet<QString> ImportRun::repeatedKeys(CollectorImporter &importer,
                                      const QVector<CollectorFile::Entry> &files)
{
    const ColumnDef &keyColumn = *Schema::table(TableId::PC).column(QStringLiteral("Key"));
    QSet<QString> seen, repeated;
    for (const CollectorFile::Entry &file : files) {
        QStringList lines;
        try {
            lines = CollectorFile::linesOf(CollectorFile::readBytes(file));
        } catch (const ImportError &) {
            continue; // the run reports it when the file's turn comes
        }
        if (lines.value(0) != CollectorFile::header())
            continue;
        for (const QString &key : importer.pcKeys(lines)) {
            const QString stored = StoreValue::toStore(keyColumn, key, m_dm.engine()).toString();
            if (seen.contains(stored))
                repeated.insert(stored);
            seen.insert(stored);
        }
    }
    return repeated;
}

void ImportRun::finish(CollectorImporter &importer, const ImportOptions &options)
{
    HistoryRecorder *history = options.recordHistory ? &importer.history() : nullptr;
    if (history)
        history->restamp();
    {
        // Page-file rows however they were entered, each recorded.
        FileTransaction transaction(m_dm);
        QSqlQuery q
            = m_dm.exec(QStringLiteral("SELECT KEY, DRIVE FROM DRIVE\nWHERE ") + PageFileDrives);
        QVector<QPair<QString, QString>> rows;
        while (q.next())
            rows.append({q.value(0).toString(), q.value(1).toString()});
        q.finish();
        for (const auto &[key, drive] : std::as_const(rows)) {
            if (history)
                history->rowRemoved(TableId::Drive, key, drive);
        }
        if (!rows.isEmpty())
            m_dm.exec(QStringLiteral("DELETE FROM DRIVE\nWHERE ") + PageFileDrives);
        transaction.commit();
    }
    SelectPCNetwork(m_dm, options.network1, options.network2, history);
}

void ImportRun::previewFinish(const ImportOptions &options, ImportPreview &preview)
{
    preview.setFile(ImportPreview::storeWideFile());
    const TableDef &drive = Schema::table(TableId::Drive);
    QSqlQuery q = m_dm.exec(QStringLiteral("SELECT * FROM DRIVE\nWHERE ") + PageFileDrives);
    QVector<TableImage::Row> rows;
    while (q.next()) {
        TableImage::Row row(drive.columns.size());
        const QSqlRecord record = q.record();
        for (int f = 0; f < record.count(); ++f) {
            const int i = drive.indexOf(record.fieldName(f));
            if (i >= 0)
                row[i] = StoreValue::fromStore(drive.columns[i], q.value(f));
        }
        rows.append(row);
    }
    q.finish();
    const int keyColumn = drive.indexOf(QStringLiteral("Key"));
    const int kbn = drive.indexOf(QStringLiteral("NyuryokuKBN"));
    for (const TableImage::Row &row : std::as_const(rows)) {
        // An imported one of a PC of the files went with its file's merge.
        const QString key = row.at(keyColumn).toString();
        if (m_imported.contains(key) && row.at(kbn).toString() == QLatin1String("Invaro"))
            continue;
        preview.rowChanged(TableId::Drive, key, &row, nullptr, false);
    }

    // The PCs of the files were chosen for as they were imported; the
    // selection changes the others.
    for (const PcNetworkChange &change : PlanPCNetwork(m_dm, options.network1, options.network2)) {
        if (!m_imported.contains(change.key))
            preview.pcFieldsChanged(change.key, change.changes);
    }
}

ImportRun::Outcome ImportRun::importOne(CollectorImporter &importer,
                                        const CollectorFile::Entry &file, ImportSummary &summary)
{
    const QString &name = file.name;
    QStringList lines;
    try {
        CollectorFile::Stamp stamp;
        QByteArray bytes = CollectorFile::readBytes(file, &stamp);
        lines = CollectorFile::linesOf(bytes);
        if (lines.isEmpty()) {
            ++summary.empty;
            m_observer.fileMessage(name + QStringLiteral("は空でした"));
            return Outcome::Done;
        }
        if (lines.first() != CollectorFile::header()) {
            ++summary.skipped;
            return Outcome::Done;
        }
        // NUL bytes become blanks, on disk too where that is safe (a file
        // its collector still has open stops the run; the preview writes
        // nothing), and the whole text counts.
        if (bytes.contains('\0')) {
            if (!importer.isDryRun())
                CollectorFile::blankNulBytes(file, stamp, bytes);
            CollectorFile::replaceNulBytes(bytes);
            lines = CollectorFile::linesOf(bytes);
        }
    } catch (const ImportError &e) {
        m_observer.fatal(e.message());
        return Outcome::Stop;
    }

    std::optional<ImportError> error;
    try {
        try {
            // A PC that another copy is editing is waited for before the
            // file's transaction begins, so the wait holds no lock.
            if (!importer.isDryRun()) {
                for (const QString &key : importer.pcKeys(lines))
                    PcClaims::waitWhileClaimed(m_dm, key);
            }
        } catch (const ClaimError &e) {
            error = ImportError(e.message(), 2); // the PC of the first record
        }
        if (!error && importer.isDryRun()) {
            try {
                importer.ImportFile(lines);
            } catch (const ImportError &e) {
                error = e;
            }
        } else if (!error) {
            FileTransaction transaction(m_dm);
            try {
                importer.ImportFile(lines);
            } catch (const ImportError &e) {
                error = e;
            }
            // Committed either way: what the file wrote before a failure
            // stays, with its history (a history that cannot be written
            // throws StoreError past this point, and the transaction is
            // dropped); a lost connection wrote nothing of it.
            if (!m_dm.isLost())
                transaction.commit();
        }
    } catch (const ConnectionLost &) { }
    if (m_dm.isLost())
        return Outcome::Lost;
    if (!error) {
        m_imported.insert(importer.lastPcKey());
        ++summary.imported;
    } else {
        ++summary.failed;
        m_observer.fileFailed(name + QStringLiteral("の処理中にエラーが発生しました"),
                              error->message(), error->line());
    }
    return Outcome::Done;
}
