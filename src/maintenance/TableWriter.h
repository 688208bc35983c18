#pragma once

#include "store/Schema.h"

#include <QHash>
#include <QSqlQuery>
#include <QVariant>
#include <QVector>

class HistoryRecorder;
class TDMdata;

// Writes whole rows of one table: the restore of a dump and the OK of the
// maintenance window. Rows hold their values in the order of the columns
// given, typed after them (as FieldText::parse gives them); StoreValue
// converts them for the store.
//
// Make the writer before the transaction it writes in, so that its
// statements outlive it: PostgreSQL frees a prepared statement only once a
// failed transaction is rolled back.
//
// With a history recorder (for the PCs' tables, Schema::holdsPcRows),
// every change is recorded: a row removed, added or changed value by
// value. A table emptied by deleteAll() and filled again is compared with
// what it held: rows that come back alike make no lines; finish() records
// the rows that did not come back.
class TableWriter
{
public:
    // columns: the table's columns as the store has them, in its order.
    TableWriter(TDMdata &dm, const TableDef &table, const QVector<ColumnDef> &columns,
                HistoryRecorder *history = nullptr);

    // Each throws StoreError with the store's text.
    // "DELETE FROM " and the table's name: empties the table.
    void deleteAll();
    void insert(const QVariantList &row);
    // Deletes the row with the key of row.
    void remove(const QVariantList &row);
    // Sets the given columns of the row that has original's key to the
    // values of row; false when no row has that key.
    bool update(const QVariantList &original, const QVariantList &row, const QVector<int> &columns);
    // After the rows of a table emptied by deleteAll(): records those that
    // did not come back.
    void finish();

private:
    QString keyCondition() const;
    void bindKey(QSqlQuery &query, const QVariantList &row) const;
    QVariant storeValue(int column, const QVariant &value) const;
    // The history's texts of a row's values.
    QStringList texts(const QVariantList &row) const;
    QString keyOf(const QStringList &texts) const;
    void recordWhole(const QStringList &texts, bool added);
    void recordChanges(const QStringList &before, const QStringList &after,
                       const QVector<int> &columns);

    TDMdata &m_dm;
    const TableDef &m_table;
    QVector<ColumnDef> m_columns;
    QVector<int> m_keyColumns;
    QSqlQuery m_insert;
    QSqlQuery m_remove;
    QSqlQuery m_update;
    QSqlQuery m_select;
    HistoryRecorder *m_history;
    // After deleteAll() with a recorder: the rows the table held, by key,
    // each as its texts joined; a row goes when it comes back.
    QHash<QString, QString> m_emptied;
    bool m_replacing = false;
};
