#include "ImportFile.h"

#include "ImportChanges.h"
#include "ImportError.h"
#include "base/TextHelpers.h"
#include "store/PcClaims.h"
#include "store/StoreError.h"
#include "store/UDMdata.h"

namespace {

// Drops the images' rows however the file ends.
class Forget
{
public:
    explicit Forget(const std::function<void()> &forget) : m_forget(forget) { }
    ~Forget() { m_forget(); }
    Forget(const Forget &) = delete;
    Forget &operator=(const Forget &) = delete;

private:
    std::function<void()> m_forget;
};

} // namespace

CollectorImporter::CollectorImporter(TDMdata &dm)
    : m_dm(dm), m_history(dm, History::importing()), m_pc(dm, TableId::PC),
      m_appli(dm, TableId::Appli), m_printer(dm, TableId::Printer), m_drive(dm, TableId::Drive),
      m_share(dm, TableId::Share), m_lan(dm, TableId::LAN), m_memory(dm, TableId::PMEMORY),
      m_pcRules(m_pc), m_details({m_appli, m_printer, m_drive, m_share, m_lan, m_memory})
{ }

void CollectorImporter::setDryRun(ImportChanges *changes)
{
    m_dryRun = true;
    m_changes = changes;
    for (TableImage *t : tables())
        t->setDryRun(true);
}

void CollectorImporter::ImportFile(const QStringList &lines)
{
    const Forget forget([this] { forgetAll(); });
    m_line = 0;
    m_lastPcKey.clear();
    m_history.restamp();
    std::optional<ImportError> error;
    QString newPc;
    try {
        newPc = importLines(lines);
    } catch (ImportError &e) {
        if (e.line() == 0)
            e.setLine(m_line);
        error = e;
    } catch (const StoreError &e) {
        // The store refused a statement: the file fails here.
        error = ImportError(e.message(), m_line);
    }
    if (error) {
        flushAfterFailure(*error);
        newPc.clear(); // the PC row is not written
    }
    // What reached the store, recorded beside it; a failure here is the
    // caller's to undo.
    recordChanges(newPc);
    if (error)
        throw *error;
}

void CollectorImporter::flushAfterFailure(ImportError &error)
{
    // The rows of the records before the failure are written; the PC row's
    // pending changes are dropped.
    try {
        flushDetails();
    } catch (const StoreError &store) {
        error = ImportError(error.message() + QLatin1Char('\n') + store.message(), error.line());
    }
}

QStringList CollectorImporter::pcKeys(const QStringList &lines)
{
    QStringList keys;
    for (const qsizetype i : {qsizetype(1), lines.size() - 1}) {
        if (i < 1 || i >= lines.size())
            continue;
        // A record that cannot be read names no PC here; the import
        // reports it at its line.
        try {
            m_fields.SplitRecord(lines.at(i));
            const QString key = CollectorRecord(m_fields).key();
            if (!keys.contains(key))
                keys << key;
        } catch (const ImportError &) { }
    }
    return keys;
}

QString CollectorImporter::importLines(const QStringList &lines)
{
    m_details.beginFile();
    m_line = 2;
    if (lines.size() < 2)
        throw ImportError(QStringLiteral("レコードがありません"), m_line);
    // Nothing is written for a PC that another copy is editing.
    if (!m_dryRun) {
        for (const QString &key : pcKeys(lines))
            PcClaims::ensureFree(m_dm, key);
    }

    // The PC row of the first record, with the file's date.
    m_fields.SplitRecord(lines.at(1));
    const CollectorRecord first(m_fields);
    const int keyColumn = m_pc.column(QStringLiteral("Key"));
    const QVariant pcKey = m_pc.normalized(keyColumn, first.key());
    for (TableImage *t : tables())
        t->prefetch(pcKey);
    const TableImage::Row *stored = m_pc.find(pcKey);
    const bool isNew = !stored;
    TableImage::Row pc = stored ? *stored : m_pc.blankRow();
    pc[keyColumn] = pcKey;

    const bool created
        = first.group() == QLatin1String("Create") && first.item() == QLatin1String("DateTime");
    const QDate fileDate = created ? ParseYMD(first.subItem()) : first.renewalDate();
    // UpdateYMD never goes back (no value counts as the zero date); the text
    // forms compare in time order. InvaroYMD always takes the file's date.
    const QString fileDay = TableImage::dateText(fileDate);
    const int updateYmd = m_pc.column(QStringLiteral("UpdateYMD"));
    const QVariant &lastUpdate = pc.at(updateYmd);
    if (fileDay > (lastUpdate.isNull() ? TableImage::dateText(ZeroDate()) : lastUpdate.toString()))
        pc[updateYmd] = fileDay;
    pc[m_pc.column(QStringLiteral("InvaroYMD"))] = fileDay;

    // Every record, the first one included.
    QString lastKey;
    for (qsizetype i = 1; i < lines.size(); ++i) {
        m_line = int(i + 1);
        m_fields.SplitRecord(lines.at(i));
        const CollectorRecord record(m_fields);
        m_pcRules.apply(record, pc);
        m_details.apply(record);
        lastKey = record.key();
    }
    m_line = 0;

    DetailMerge::run(lastKey, m_appliDel,
                     {&m_appli, &m_share, &m_lan, &m_memory, &m_printer, &m_drive});
    flushDetails();
    chooseNetwork(pc, pcKey);
    m_pc.put(pc);
    m_pc.flush();
    m_lastPcKey = pcKey.toString();
    return isNew ? m_lastPcKey : QString();
}

void CollectorImporter::chooseNetwork(TableImage::Row &pc, const QVariant &pcKey)
{
    if (!m_networks)
        return;
    const int seq = m_lan.column(QStringLiteral("Seq"));
    std::array<int, NetworkChooser::Fields.size()> lanColumns {};
    for (size_t f = 0; f < NetworkChooser::Fields.size(); ++f)
        lanColumns[f] = m_lan.column(QLatin1String(NetworkChooser::Fields[f]));
    QVector<NetworkChooser::Adapter> adapters;
    for (const TableImage::Row &row : m_lan.current(pcKey)) {
        NetworkChooser::Adapter a;
        a.seq = row.at(seq).toInt();
        for (size_t f = 0; f < lanColumns.size(); ++f) {
            const QVariant &v = row.at(lanColumns[f]);
            a.values[f] = v.isNull() ? QString() : v.toString();
        }
        adapters.append(a);
    }
    if (const NetworkChooser::Adapter *chosen = m_networks->choose(adapters)) {
        for (size_t f = 0; f < NetworkChooser::Fields.size(); ++f)
            m_pc.set(pc, m_pc.column(QLatin1String(NetworkChooser::Fields[f])), chosen->values[f]);
    }
}

void CollectorImporter::recordChanges(const QString &newPc)
{
    if (!m_dryRun && !m_recordsHistory)
        return;
    const QString imported = QStringLiteral("Invaro");
    const QString reported = QStringLiteral("new");
    // The lines of the file go to the store together.
    HistoryRecorder::Batch batch(m_history);
    for (TableImage *t : tables()) {
        const TableId table = t->def().id;
        const int keyColumn = t->column(QStringLiteral("Key"));
        const int kbn = t->def().indexOf(QStringLiteral("NyuryokuKBN"));
        // The mark of a failed file's rows reads as what the next import
        // makes of it.
        const auto settled = [&](const TableImage::Row *row, TableImage::Row &copy) {
            if (!row || kbn < 0 || row->at(kbn).toString() != reported)
                return row;
            copy = *row;
            copy[kbn] = imported;
            return static_cast<const TableImage::Row *>(&copy);
        };
        // A PC added is one line, without its detail rows: without a preview
        // to tell, they are not even looked at.
        const QString skipped = !m_changes && table != TableId::PC ? newPc : QString();
        t->changes(
            [&](const TableImage::Row *before, const TableImage::Row *after) {
                TableImage::Row beforeCopy, afterCopy;
                before = settled(before, beforeCopy);
                after = settled(after, afterCopy);
                const QString key = (after ? *after : *before).at(keyColumn).toString();
                const bool ofNewPc = !newPc.isEmpty() && key == newPc;
                if (m_changes)
                    m_changes->rowChanged(table, key, before, after, ofNewPc);
                if (!m_dryRun && !(ofNewPc && table != TableId::PC))
                    m_history.rowChanged(table, key, before, after);
            },
            skipped);
    }
    if (!m_dryRun)
        batch.write();
}

void CollectorImporter::flushDetails()
{
    for (TableImage *t : {&m_appli, &m_printer, &m_drive, &m_share, &m_lan, &m_memory})
        t->flush();
}

void CollectorImporter::forgetAll()
{
    for (TableImage *t : tables())
        t->forget(m_dryRun ? m_kept : QSet<QString>());
}
