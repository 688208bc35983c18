#include "TableWriter.h"

#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QStringList>

TableWriter::TableWriter(TDMdata &dm, const TableDef &table, const QVector<ColumnDef> &columns)
    : m_dm(dm), m_table(table), m_columns(columns)
{
    for (const QString &key : table.primaryKey) {
        for (int i = 0; i < columns.size(); ++i) {
            if (columns[i].name.compare(key, Qt::CaseInsensitive) == 0)
                m_keyColumns << i;
        }
    }
}

QString TableWriter::keyCondition() const
{
    QStringList where;
    for (int k : m_keyColumns)
        where
            << QStringLiteral("%1 = :k%2").arg(m_dm.dialect().identifier(m_columns[k].name)).arg(k);
    return where.join(QStringLiteral(" AND "));
}

QVariant TableWriter::storeValue(int column, const QVariant &value) const
{
    return StoreValue::toStore(m_columns[column], value, m_dm.engine());
}

void TableWriter::bindKey(QSqlQuery &query, const QVariantList &row) const
{
    for (int k : m_keyColumns)
        query.bindValue(QStringLiteral(":k%1").arg(k), storeValue(k, row.value(k)));
}

void TableWriter::deleteAll()
{
    m_dm.exec(QStringLiteral("DELETE FROM ") + m_table.name);
}

void TableWriter::insert(const QVariantList &row)
{
    if (m_insert.lastQuery().isEmpty()) {
        QStringList names, holders;
        for (int i = 0; i < m_columns.size(); ++i) {
            names << m_dm.dialect().identifier(m_columns[i].name);
            holders << QStringLiteral(":c%1").arg(i);
        }
        m_insert = m_dm.prepare(QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                                    .arg(m_table.name, names.join(QStringLiteral(", ")),
                                         holders.join(QStringLiteral(", "))));
    }
    for (int i = 0; i < m_columns.size(); ++i)
        m_insert.bindValue(QStringLiteral(":c%1").arg(i), storeValue(i, row.value(i)));
    TDMdata::exec(m_insert);
}

void TableWriter::remove(const QVariantList &row)
{
    if (m_remove.lastQuery().isEmpty())
        m_remove = m_dm.prepare(
            QStringLiteral("DELETE FROM %1 WHERE %2").arg(m_table.name, keyCondition()));
    bindKey(m_remove, row);
    TDMdata::exec(m_remove);
}

bool TableWriter::update(const QVariantList &original, const QVariantList &row,
                         const QVector<int> &columns)
{
    if (columns.isEmpty())
        return true;
    QStringList sets;
    for (int i : columns)
        sets
            << QStringLiteral("%1 = :c%2").arg(m_dm.dialect().identifier(m_columns[i].name)).arg(i);
    m_update
        = m_dm.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                           .arg(m_table.name, sets.join(QStringLiteral(", ")), keyCondition()));
    for (int i : columns)
        m_update.bindValue(QStringLiteral(":c%1").arg(i), storeValue(i, row.value(i)));
    bindKey(m_update, original);
    TDMdata::exec(m_update);
    return m_update.numRowsAffected() > 0;
}
