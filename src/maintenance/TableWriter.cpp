#include "TableWriter.h"

#include "store/HistoryRecorder.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QStringList>
#include <numeric>

namespace {

// Between the texts of a row's values: no stored text holds it.
const QChar TextSeparator(0xFFFF);

} // namespace

TableWriter::TableWriter(TDMdata &dm, const TableDef &table, const QVector<ColumnDef> &columns,
                         HistoryRecorder *history)
    : m_dm(dm), m_table(table), m_columns(columns),
      m_history(Schema::holdsPcRows(table.id) ? history : nullptr)
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

QStringList TableWriter::texts(const QVariantList &row) const
{
    QStringList out;
    out.reserve(m_columns.size());
    for (int i = 0; i < m_columns.size(); ++i)
        out << StoreValue::displayText(m_columns[i], row.value(i));
    return out;
}

QString TableWriter::keyOf(const QStringList &texts) const
{
    QStringList parts;
    for (int k : m_keyColumns)
        parts << texts.value(k);
    return parts.join(TextSeparator);
}

void TableWriter::recordWhole(const QStringList &texts, bool added)
{
    const QString key = texts.value(m_keyColumns.value(0));
    const QString name = m_keyColumns.size() > 1 ? texts.value(m_keyColumns[1]) : QString();
    if (m_table.id == TableId::PC)
        added ? m_history->pcAdded(key) : m_history->pcRemoved(key);
    else
        added ? m_history->rowAdded(m_table.id, key, name)
              : m_history->rowRemoved(m_table.id, key, name);
}

void TableWriter::recordChanges(const QStringList &before, const QStringList &after,
                                const QVector<int> &columns)
{
    const QString key = before.value(m_keyColumns.value(0));
    const QString name = m_keyColumns.size() > 1 ? before.value(m_keyColumns[1]) : QString();
    for (int i : columns) {
        if (History::isTracked(m_columns[i]) && before.value(i) != after.value(i))
            m_history->valueChanged(m_table.id, key, name,
                                    {m_columns[i].name, before.value(i), after.value(i)});
    }
}

void TableWriter::deleteAll()
{
    if (m_history) {
        // What the table holds, to tell the rows that come back changed or
        // not at all.
        QStringList names;
        for (const ColumnDef &c : std::as_const(m_columns))
            names << m_dm.dialect().identifier(c.name);
        QSqlQuery q = m_dm.exec(QStringLiteral("SELECT %1 FROM %2")
                                    .arg(names.join(QStringLiteral(", ")), m_table.name));
        m_emptied.clear();
        while (q.next()) {
            QVariantList row;
            for (int i = 0; i < m_columns.size(); ++i)
                row << q.value(i);
            const QStringList t = texts(row);
            m_emptied.insert(keyOf(t), t.join(TextSeparator));
        }
        q.finish();
        m_replacing = true;
    }
    m_dm.exec(QStringLiteral("DELETE FROM ") + m_table.name);
}

void TableWriter::finish()
{
    if (!m_history || !m_replacing)
        return;
    QStringList keys = m_emptied.keys();
    keys.sort();
    for (const QString &key : std::as_const(keys))
        recordWhole(m_emptied.value(key).split(TextSeparator), false);
    m_emptied.clear();
    m_replacing = false;
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
    if (!m_history)
        return;
    const QStringList after = texts(row);
    const auto held = m_replacing ? m_emptied.find(keyOf(after)) : m_emptied.end();
    if (held == m_emptied.end()) {
        recordWhole(after, true);
        return;
    }
    if (held.value() != after.join(TextSeparator)) {
        QVector<int> all(m_columns.size());
        std::iota(all.begin(), all.end(), 0);
        recordChanges(held.value().split(TextSeparator), after, all);
    }
    m_emptied.erase(held);
}

void TableWriter::remove(const QVariantList &row)
{
    if (m_remove.lastQuery().isEmpty())
        m_remove = m_dm.prepare(
            QStringLiteral("DELETE FROM %1 WHERE %2").arg(m_table.name, keyCondition()));
    bindKey(m_remove, row);
    TDMdata::exec(m_remove);
    if (m_history && m_remove.numRowsAffected() > 0)
        recordWhole(texts(row), false);
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
    QStringList before;
    if (m_history) {
        // The values as the store holds them before the change.
        if (m_select.lastQuery().isEmpty()) {
            QStringList names;
            for (const ColumnDef &c : std::as_const(m_columns))
                names << m_dm.dialect().identifier(c.name);
            m_select = m_dm.prepare(
                QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                    .arg(names.join(QStringLiteral(", ")), m_table.name, keyCondition()));
        }
        bindKey(m_select, original);
        TDMdata::exec(m_select);
        if (m_select.next()) {
            QVariantList held;
            for (int i = 0; i < m_columns.size(); ++i)
                held << m_select.value(i);
            before = texts(held);
        }
        m_select.finish();
    }
    for (int i : columns)
        m_update.bindValue(QStringLiteral(":c%1").arg(i), storeValue(i, row.value(i)));
    bindKey(m_update, original);
    TDMdata::exec(m_update);
    const bool updated = m_update.numRowsAffected() > 0;
    if (m_history && updated && !before.isEmpty()) {
        QStringList after = before;
        for (int i : columns)
            after[i] = StoreValue::displayText(m_columns[i], row.value(i));
        recordChanges(before, after, columns);
    }
    return updated;
}
