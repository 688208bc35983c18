#include "ImportFile.h"

#include "base/TextHelpers.h"
#include "store/PcClaims.h"
#include "store/StoreError.h"
#include "store/UDMdata.h"

CollectorImporter::CollectorImporter(TDMdata &dm)
    : m_dm(dm), m_pc(dm, TableId::PC), m_appli(dm, TableId::Appli), m_printer(dm, TableId::Printer),
      m_drive(dm, TableId::Drive), m_share(dm, TableId::Share), m_lan(dm, TableId::LAN),
      m_memory(dm, TableId::PMEMORY), m_pcRules(m_pc),
      m_details({m_appli, m_printer, m_drive, m_share, m_lan, m_memory}), m_merge(dm)
{ }

void CollectorImporter::ImportFile(const QStringList &lines)
{
    m_line = 0;
    try {
        importLines(lines);
    } catch (ImportError &e) {
        if (e.line() == 0)
            e.setLine(m_line);
        failed(e.message(), e.line());
    } catch (const StoreError &e) {
        // The store refused a statement: the file fails here.
        failed(e.message(), m_line);
    }
    forgetAll();
}

void CollectorImporter::failed(const QString &message, int line)
{
    // The rows of the records before the failure are written; the PC row's
    // pending changes are dropped.
    QString text = message;
    try {
        flushDetails();
    } catch (const StoreError &store) {
        text += QLatin1Char('\n') + store.message();
    }
    forgetAll();
    throw ImportError(text, line);
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

void CollectorImporter::importLines(const QStringList &lines)
{
    m_details.beginFile();
    m_line = 2;
    if (lines.size() < 2)
        throw ImportError(QStringLiteral("レコードがありません"), m_line);
    // Nothing is written for a PC that another copy is editing.
    for (const QString &key : pcKeys(lines))
        PcClaims::ensureFree(m_dm, key);

    // The PC row of the first record, with the file's date.
    m_fields.SplitRecord(lines.at(1));
    const CollectorRecord first(m_fields);
    const int keyColumn = m_pc.column(QStringLiteral("Key"));
    const QVariant pcKey = m_pc.normalized(keyColumn, first.key());
    const TableImage::Row *stored = m_pc.find(pcKey);
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

    flushDetails();
    m_merge.run(lastKey, m_appliDel);
    m_pc.put(pc);
    m_pc.flush();
}

void CollectorImporter::flushDetails()
{
    for (TableImage *t : {&m_appli, &m_printer, &m_drive, &m_share, &m_lan, &m_memory})
        t->flush();
}

void CollectorImporter::forgetAll()
{
    for (TableImage *t : {&m_pc, &m_appli, &m_printer, &m_drive, &m_share, &m_lan, &m_memory})
        t->forget();
}
