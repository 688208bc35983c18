#pragma once

#include "DumpReader.h"
#include "export/CsvExport.h"

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>

class TDMdata;

// A table's rows as the maintenance window edits them, with its work
// pending until OK: rows changed, added and deleted, or the whole table
// replaced by an import. Nothing reaches the store before apply(), which
// writes all of it in one short transaction; so the window holds no lock
// on the store while it is open, and dropping the object is the rollback.
//
// apply() writes only what the window did: the columns it changed of a
// row, the rows it added and deleted. Rows that another copy changed in
// the meantime keep those changes, except where the window changed the
// same value. After an import the table is replaced as a whole.
//
// Values are held as the texts the grid shows (FieldText), each row's
// texts end to end in one string, so a large table stays small.
class PendingTable
{
public:
    PendingTable(TDMdata &dm, TableId table);

    const TableDef &table() const { return m_table; }
    // The table's columns as the store has them (known after load()).
    const QVector<CsvExport::Column> &columns() const { return m_columns; }

    // Reads every row in primary-key order and forgets the pending work.
    // The rows are read in pages, without a transaction. Throws StoreError.
    void load();

    int rowCount() const { return int(m_rows.size()); }
    int columnCount() const { return int(m_columns.size()); }
    QString text(int row, int column) const;
    // Sets a value from the text typed; an empty text is no value. Returns
    // the reason (in Japanese) when the text is refused: a character CP932
    // lacks or more bytes than the column's width (EntryText, which also
    // puts CP932 twins in place), a text that does not fit the column
    // (FieldText::parse), or a key equal to another row's. The value is
    // then unchanged.
    QString setText(int row, int column, const QString &text);
    // A new row without values at that position.
    void insertRow(int row);
    void removeRow(int row);

    // The row's key as the user knows it: "PC01", "PC01, Excel".
    QString keyText(int row) const;
    // For a row of table PC that the store holds: its key there (which
    // deleting the row deletes with its other rows); else empty.
    QString storedPcKey(int row) const;
    // The first row with a required value (the key) missing, or -1; column
    // tells which.
    int firstIncompleteRow(int *column = nullptr) const;

    enum class Import { Done, Failed, Declined };
    // Asked before a dump of fileRows rows takes the place of tableRows
    // rows that it shrinks (TableDump::shrinks); true to go on.
    using ShrinkQuestion = std::function<bool(qint64 fileRows, qint64 tableRows)>;
    // Loads the dump in place of every row, as a whole-table import: the
    // rows are emptied first, so a fault leaves them empty or holding the
    // rows read before it (Failed), and error tells where the dump is wrong.
    // A dump that would shrink the rows is asked about first; Declined
    // leaves them as they were.
    Import importDump(const QString &path, DumpReader::Error &error,
                      const ShrinkQuestion &confirmShrink = {});
    // Writes the rows, with the window's changes, as a dump in key order.
    CsvExport::Result exportDump(const QString &path) const;

    // Writes the pending work in one transaction and makes it the rows'
    // new starting point; a deleted PC row takes the PC's detail and
    // LeasePC rows with it (PcDeletion::relatedStatements). Throws
    // StoreError naming the row that the store refused, or ClaimError when
    // another copy holds a PC whose rows it writes; the store is then as it
    // was and the work stays pending.
    void apply();

private:
    // The texts of one row end to end.
    class Texts
    {
    public:
        Texts() = default;
        explicit Texts(const QStringList &texts);
        QString at(int column) const;
        void set(int column, const QString &text);
        bool operator==(const Texts &other) const
        {
            return m_text == other.m_text && m_ends == other.m_ends;
        }
        bool operator!=(const Texts &other) const { return !(*this == other); }

    private:
        QString m_text;
        QVector<quint32> m_ends;
    };

    struct Row
    {
        Texts fields;
        Texts original; // as loaded; unused for new rows
        bool isNew = true;
    };

    QString keyOf(const Texts &texts) const;
    // The PC keys of the rows that apply() writes (none for a table of no
    // PC's rows).
    QStringList claimedKeys() const;
    bool keyComplete(const Texts &texts) const;
    QString keyText(const Texts &texts) const;
    // The typed value of a field; throws StoreError when its text does not
    // fit the column (a value the store held against its type).
    QVariant value(const Texts &texts, int column) const;
    QVariantList values(const Texts &texts, const QVector<int> &columns) const;
    void countKey(const Texts &texts, int delta);
    Texts textsOf(const QVariantList &typed) const;

    TDMdata &m_dm;
    const TableDef &m_table;
    QVector<CsvExport::Column> m_columns;
    QVector<ColumnDef> m_defs;
    QVector<int> m_keyColumns;
    QVector<int> m_allColumns;
    int m_pcKeyColumn = -1; // the PC key, for a table of PC rows
    QVector<Row> m_rows;
    QVector<Texts> m_deleted; // loaded rows deleted since
    QHash<QString, int> m_keys; // rows per complete key
    bool m_replaced = false;
};
