#pragma once

#include "store/Schema.h"

#include <QDate>
#include <QHash>
#include <QSet>
#include <QTime>
#include <QVariant>
#include <QVector>
#include <functional>
#include <map>
#include <memory>
#include <optional>

class StoreStatement;
class TDMdata;

// The rows of one table that the import of the current file touches, held
// in memory: the rows of a PC key are read from the store once, at their
// first look-up, the rules then work on them as on the store itself, and
// flush() writes only what changed (DELETE, UPDATE, INSERT). Values are
// kept as the store would give them back (text cut to the column's width,
// empty text as no value), so what the rules read is what they would read
// from the store.
//
// Dates and timestamps are held as the store's text forms, "yyyy-MM-dd" and
// "yyyy-MM-dd HH:mm:ss", which compare in time order as text. (Local date
// and time values would consult the time zone on every conversion, which
// costs more than the rest of the import.)
//
// Each row also keeps what the store held when it was read, so that the
// file's changes can be told afterwards (changes()). In a dry run nothing
// is written: flush() only takes the rows as written.
//
// The tables handled here have the PC key "Key" as their first key column
// and at most one more key column.
class TableImage
{
public:
    using Row = QVector<QVariant>; // by catalog column index

    TableImage(TDMdata &dm, TableId id);
    ~TableImage();
    TableImage(const TableImage &) = delete;
    TableImage &operator=(const TableImage &) = delete;

    const TableDef &def() const { return m_def; }
    // The catalog index of a column; the names come from the catalog, so an
    // unknown one is a mistake in the program (std::logic_error).
    int column(const QString &name) const;

    // The value as the store holds it after writing it to this column; a
    // date or timestamp as its text form.
    QVariant normalized(int column, const QVariant &value) const;
    // The text forms of a date and of a timestamp.
    static QString dateText(QDate date);
    static QString timestampText(QDate date, QTime time = QTime(0, 0));
    void set(Row &row, int column, const QVariant &value) const
    {
        row[column] = normalized(column, value);
    }
    Row blankRow() const { return Row(m_def.columns.size()); }

    // The row with these key values (normalized), or nullptr. A key without
    // a value matches no row, as in the store.
    const Row *find(const QVariant &pcKey, const QVariant &rowKey = {});
    // Saves a row under the key values it holds. Throws ImportError when a
    // key column has no value (the store refuses such a row).
    void put(const Row &row);
    // Gives a row another second key value. False, and nothing changed,
    // when a row with that key exists already or the new key has no value.
    bool rename(const QVariant &pcKey, const QVariant &fromKey, const QVariant &toKey);

    // Reads the rows of a PC when they are not held yet.
    void load(const QVariant &pcKey);
    // Asks a store server for the rows of a PC now, without waiting: the
    // tables of a file ask together and are answered in one round trip,
    // and the first look-up then takes the rows. Nothing on SQLite, where
    // a read costs no round trip.
    void prefetch(const QVariant &pcKey);
    // The rows of a PC as the rules left them (read first when not held).
    QVector<Row> current(const QVariant &pcKey);
    // Passes every row held of the PC to fn, which may change it or return
    // false to delete it. With asWritten the result counts as what the
    // store has already (its statements ran); otherwise flush() writes it.
    void edit(const QVariant &pcKey, const std::function<bool(Row &row)> &fn, bool asWritten);

    // Nothing reaches the store: flush() takes the rows as written.
    void setDryRun(bool dryRun) { m_dryRun = dryRun; }
    // Writes the differences to the store. Throws StoreError.
    void flush();
    // Each row that the store holds (or, in a dry run, would hold) other
    // than when it was read, by PC key and row key: before is null for a
    // row added, after for a row deleted. The rows of the PC key exceptPc
    // are passed over.
    void changes(const std::function<void(const Row *before, const Row *after)> &visit,
                 const QString &exceptPc = QString()) const;
    // Drops the rows held (unwritten changes are lost), except those of the
    // PC keys in keep, which stay as written: the changes of a later file
    // are told from them.
    void forget(const QSet<QString> &keep = {});

private:
    struct Entry
    {
        std::optional<Row> original; // as the store had it when read
        std::optional<Row> stored; // as the store has it
        std::optional<Row> current; // as the rules left it
    };
    using PcRows = QHash<QString, Entry>; // by the second key value as text

    PcRows &rowsOf(const QString &pcKey);
    void prepare();
    void prepareWrites();
    // The statements of flush(); setStored(entry, row) records each row
    // written.
    template <typename SetStored> void write(const SetStored &setStored);
    void bindColumn(StoreStatement &statement, int position, int column,
                    const QVariant &value) const;
    void bindKey(StoreStatement &statement, int position, const Row &row) const;

    TDMdata &m_dm;
    const TableDef &m_def;
    int m_keyColumn = -1; // "Key"
    int m_rowKeyColumn = -1; // the second key column, -1 for PC
    QVariant fromSelect(int column, const QVariant &value) const;
    static int batchSize(qsizetype remaining);
    StoreStatement &insertStatement(int rows);
    StoreStatement &markStatement(int rows);
    bool onlyMarkChanged(const Row &stored, const Row &current) const;

    QVector<int> m_present; // catalog indexes of the columns the store has
    QVector<int> m_dataColumns; // of those, the ones that are not keys
    QHash<QString, PcRows> m_rows; // by PC key
    bool m_prepared = false;
    bool m_writesPrepared = false;
    bool m_dryRun = false;
    std::unique_ptr<StoreStatement> m_select;
    QString m_prefetched; // the PC key whose rows m_select was asked for
    int m_nyuryokuKbn = -1;
    QString m_insertHead; // INSERT INTO table (columns) VALUES
    QString m_insertRow; // (?, ?, ...)
    QString m_markHead; // UPDATE table SET NyuryokuKBN = ? WHERE Key = ? AND key2 IN (
    std::map<int, std::unique_ptr<StoreStatement>> m_inserts; // by the number of rows
    std::map<int, std::unique_ptr<StoreStatement>> m_marks;
    std::unique_ptr<StoreStatement> m_update;
    std::unique_ptr<StoreStatement> m_delete;
};
