#include "ImportRun.h"

#include "CollectorFile.h"
#include "ImportError.h"
#include "ImportFile.h"
#include "store/PcClaims.h"
#include "store/StoreError.h"
#include "store/UDMdata.h"

#include <QDir>

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
    const QString dir = withSeparator(folder);
    const QStringList names = CollectorFile::list(dir);
    summary.files = int(names.size());

    try {
        CollectorImporter importer(m_dm);
        importer.setAppliDel(options.appliDel);
        for (qsizetype i = 0; i < names.size(); ++i) {
            const QString &name = names.at(i);
            m_observer.progress(
                QStringLiteral(" (%1/%2) %3 読込中").arg(i + 1).arg(names.size()).arg(name));
            if (!importOne(importer, dir + name, name, summary)) {
                summary.stopped = true;
                break;
            }
        }
        if (!summary.stopped) {
            m_dm.exec(QStringLiteral("DELETE FROM DRIVE\nWHERE DRIVE = 'ページファイル'"));
            SelectPCNetwork(m_dm, options.network1, options.network2);
        }
    } catch (const StoreError &e) {
        summary.stopped = true;
        m_observer.fatal(e.message());
    }
    m_dm.flush();
    m_observer.progress(QString());
    return summary;
}

bool ImportRun::importOne(CollectorImporter &importer, const QString &path, const QString &name,
                          ImportSummary &summary)
{
    QStringList lines;
    try {
        QByteArray bytes = CollectorFile::readBytes(path);
        lines = CollectorFile::linesOf(bytes);
        if (lines.isEmpty()) {
            ++summary.empty;
            m_observer.fileMessage(name + QStringLiteral("は空でした"));
            return true;
        }
        if (lines.first() != CollectorFile::header()) {
            ++summary.skipped;
            return true;
        }
        // NUL bytes become blanks, on disk too, and the whole text counts.
        if (CollectorFile::replaceNulBytes(bytes)) {
            CollectorFile::writeBytes(path, bytes);
            lines = CollectorFile::linesOf(bytes);
        }
    } catch (const ImportError &e) {
        m_observer.fatal(e.message());
        return false;
    }

    bool ok = true;
    try {
        // A PC that another copy is editing is waited for before the file's
        // transaction begins, so the wait holds no lock.
        for (const QString &key : importer.pcKeys(lines))
            PcClaims::waitWhileClaimed(m_dm, key);
    } catch (const ClaimError &) {
        ok = false;
    }
    if (ok) {
        FileTransaction transaction(m_dm);
        try {
            importer.ImportFile(lines);
        } catch (const ImportError &) {
            ok = false;
        }
        // Committed either way: what the file wrote before a failure stays.
        transaction.commit();
    }
    if (ok) {
        ++summary.imported;
    } else {
        ++summary.failed;
        m_observer.fileMessage(name + QStringLiteral("の処理中にエラーが発生しました"));
    }
    return true;
}
