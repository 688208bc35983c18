#pragma once

#include "CollectorRecord.h"
#include "TableImage.h"

#include <QDateTime>
#include <functional>

// The detail rules: each record that reports an application, printer,
// drive, shared folder, network adapter or memory module writes one row of
// Appli, Printer, Drive, Share, LAN or PMEMORY, marked "new" until the
// file's merge. The rows live in the tables' images (see TableImage).
//
// A network adapter other than "Adapter", "Adapter2" ... "Adapter9", or a
// memory module other than "PhysicalMemory1" ... "PhysicalMemory16", has no
// row number: such a record is skipped and the file goes on.
class DetailRules
{
public:
    struct Tables
    {
        TableImage &appli;
        TableImage &printer;
        TableImage &drive;
        TableImage &share;
        TableImage &lan;
        TableImage &memory;
    };

    explicit DetailRules(const Tables &tables);

    // The clock for AddYMD of new rows (tests fix it).
    void setClock(std::function<QDateTime()> clock)
    {
        m_clock = std::move(clock);
        beginFile();
    }
    // Reads the clock: the rows a file adds get this time as AddYMD.
    void beginFile();

    // Applies the rules in their order. Throws ImportError when a matching
    // rule reads a field the record lacks or would save a row without key.
    void apply(const CollectorRecord &record);

    // The row number of an adapter or memory module Item; 0 for none.
    static int adapterNumber(const QString &item);
    static int memoryModuleNumber(const QString &item);

private:
    // Column indexes of one detail table.
    struct Columns
    {
        int key;
        int rowKey;
        int updateYmd;
        int nyuryokuKbn;
        int addYmd; // -1 where the table has none
    };

    Columns columnsOf(const TableImage &table) const;
    // The row to edit: the stored one, or a new one with its key and, for
    // tables that have it, AddYMD.
    TableImage::Row rowFor(TableImage &table, const Columns &c, const QVariant &key,
                           const QVariant &rowKey);
    // Raises UpdateYMD to the record's date, marks the row "new" and saves it.
    void save(TableImage &table, const Columns &c, TableImage::Row &row,
              const CollectorRecord &record);

    void application(const CollectorRecord &record);
    void printer(const CollectorRecord &record);
    void drive(const CollectorRecord &record);
    void share(const CollectorRecord &record);
    void adapter(const CollectorRecord &record);
    void memoryModule(const CollectorRecord &record);

    Tables m_t;
    Columns m_appliCols, m_printerCols, m_driveCols, m_shareCols, m_lanCols, m_memoryCols;
    std::function<QDateTime()> m_clock;
    QString m_now; // AddYMD of the rows added by the current file
    QString m_zeroTimestamp;
    QString m_renewalDay; // the last Renewalday read
    QString m_renewal; // its timestamp text
};
