#pragma once

#include "store/Schema.h"

#include <QSqlQuery>
#include <QVariant>
#include <QVector>

class TDMdata;

// Writes whole rows of one table: the restore of a dump and the OK of the
// maintenance window. Rows hold their values in the order of the columns
// given, typed after them (as FieldText::parse gives them); StoreValue
// converts them for the store.
//
// Make the writer before the transaction it writes in, so that its
// statements outlive it: PostgreSQL frees a prepared statement only once a
// failed transaction is rolled back.
class TableWriter
{
public:
    // columns: the table's columns as the store has them, in its order.
    TableWriter(TDMdata &dm, const TableDef &table, const QVector<ColumnDef> &columns);

    // Each throws StoreError with the store's text.
    // "DELETE FROM " and the table's name: empties the table.
    void deleteAll();
    void insert(const QVariantList &row);
    // Deletes the row with the key of row.
    void remove(const QVariantList &row);
    // Sets the given columns of the row that has original's key to the
    // values of row; false when no row has that key.
    bool update(const QVariantList &original, const QVariantList &row, const QVector<int> &columns);

private:
    QString keyCondition() const;
    void bindKey(QSqlQuery &query, const QVariantList &row) const;
    QVariant storeValue(int column, const QVariant &value) const;

    TDMdata &m_dm;
    const TableDef &m_table;
    QVector<ColumnDef> m_columns;
    QVector<int> m_keyColumns;
    QSqlQuery m_insert;
    QSqlQuery m_remove;
    QSqlQuery m_update;
};
