#include "ImportRun.h"

#include "CollectorFile.h"
#include "ImportError.h"
#include "ImportFile.h"
#include "store/PcClaims.h"
#include "store/StoreError.h"
#include "store/StoreReconnector.h"
#include "store/UDMdata.h"

#include <QDir>
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

    try {
        auto importer = std::make_unique<CollectorImporter>(m_dm);
        importer->setAppliDel(options.appliDel);
        for (qsizetype i = 0; i < files.size(); ++i) {
            const CollectorFile::Entry &file = files.at(i);
            m_observer.progress(
                QStringLiteral(" (%1/%2) %3 読込中").arg(i + 1).arg(files.size()).arg(file.name));
            const Outcome outcome = importOne(*importer, file, summary);
            if (outcome == Outcome::Lost) {
                // The file's transaction went with the connection: once the
                // server is back the file is imported again, by an importer
                // whose statements belong to the new connection.
                if (!reconnect()) {
                    summary.stopped = true;
                    break;
                }
                importer = std::make_unique<CollectorImporter>(m_dm);
                importer->setAppliDel(options.appliDel);
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
                m_dm.exec(QStringLiteral("DELETE FROM DRIVE\nWHERE DRIVE = 'ページファイル'"));
                SelectPCNetwork(m_dm, options.network1, options.network2);
                break;
            } catch (const ConnectionLost &) {
                if (!reconnect())
                    summary.stopped = true;
            }
        }
    } catch (const StoreError &e) {
        summary.stopped = true;
        m_observer.fatal(e.message());
    }
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
        // its collector still has open stops the run), and the whole text
        // counts.
        if (bytes.contains('\0')) {
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
            for (const QString &key : importer.pcKeys(lines))
                PcClaims::waitWhileClaimed(m_dm, key);
        } catch (const ClaimError &e) {
            error = ImportError(e.message(), 2); // the PC of the first record
        }
        if (!error) {
            FileTransaction transaction(m_dm);
            try {
                importer.ImportFile(lines);
            } catch (const ImportError &e) {
                error = e;
            }
            // Committed either way: what the file wrote before a failure
            // stays; a lost connection wrote nothing of it.
            if (!m_dm.isLost())
                transaction.commit();
        }
    } catch (const ConnectionLost &) { }
    if (m_dm.isLost())
        return Outcome::Lost;
    if (!error) {
        ++summary.imported;
    } else {
        ++summary.failed;
        m_observer.fileFailed(name + QStringLiteral("の処理中にエラーが発生しました"),
                              error->message(), error->line());
    }
    return Outcome::Done;
}
