#include "MasterQuery.h"

#include "store/UDMdata.h"

#include <QSqlRecord>

MasterQuery::MasterQuery(TDMdata &dm, TableId table, const ReportStatement &statement,
                         QObject *parent)
    : LRDataSet(parent), m_dm(dm), m_table(Schema::table(table)), m_statement(statement)
{ }

void MasterQuery::open()
{
    m_keys.clear();
    m_pos = 0;
    m_row = ReportRows();
    if (!m_statement.isEmpty()) {
        QSqlQuery query = m_dm.prepare(m_statement.text());
        for (auto it = m_statement.params.cbegin(); it != m_statement.params.cend(); ++it)
            query.bindValue(u':' + it.key(), it.value());
        TDMdata::exec(query);
        const QSqlRecord record = query.record();
        QVector<int> keyColumns; // QSqlRecord finds names without regard to case
        for (const QString &key : m_table.primaryKey)
            keyColumns.append(record.indexOf(key));
        const QSet<QString> &only = m_statement.onlyKeys;
        while (query.next()) {
            QVariantList key;
            for (int column : keyColumns)
                key.append(query.value(column));
            if (only.isEmpty() || only.contains(key.value(0).toString()))
                m_keys.append(key);
        }
        query.finish();
    }
    m_open = true;
}

void MasterQuery::first()
{
    if (!m_open)
        open();
    moveTo(0);
}

void MasterQuery::next()
{
    if (!eof())
        moveTo(m_pos + 1);
}

void MasterQuery::moveTo(int pos)
{
    if (!m_rowPrepared) {
        QStringList where;
        for (const QString &key : m_table.primaryKey)
            where << QStringLiteral("%1 = :%1").arg(key);
        m_rowQuery = m_dm.prepare(QStringLiteral("SELECT * FROM %1\nWHERE %2")
                                      .arg(m_table.name, where.join(QStringLiteral(" AND "))));
        m_rowPrepared = true;
    }
    m_row = ReportRows();
    for (m_pos = pos; m_pos < m_keys.size(); ++m_pos) {
        for (int k = 0; k < m_table.primaryKey.size(); ++k)
            m_rowQuery.bindValue(u':' + m_table.primaryKey[k], m_keys[m_pos].value(k));
        m_row = ReportRows::read(m_rowQuery, m_table);
        if (!m_row.isEmpty())
            break;
    }
    emit currentRowChanged();
}

bool MasterQuery::hasField(const QString &field) const
{
    return m_row.hasField(field);
}

QString MasterQuery::displayText(const QString &field) const
{
    return m_row.text(0, field);
}

QVariant MasterQuery::value(const QString &field) const
{
    return m_row.value(0, field);
}

QStringList MasterQuery::keys() const
{
    QStringList list;
    for (const QVariantList &key : m_keys)
        list << key.value(0).toString();
    return list;
}
