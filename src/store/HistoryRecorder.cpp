#include "HistoryRecorder.h"

#include "StoreValue.h"
#include "UDMdata.h"

HistoryRecorder::HistoryRecorder(TDMdata &dm, QString operation)
    : m_dm(dm), m_operation(std::move(operation))
{
    restamp();
}

void HistoryRecorder::restamp()
{
    m_at = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
}

void HistoryRecorder::pcAdded(const QString &key)
{
    write(TableId::PC, key, QString(), QString(), QString(), History::addedText());
}

void HistoryRecorder::pcRemoved(const QString &key)
{
    write(TableId::PC, key, QString(), QString(), QString(), History::removedText());
}

void HistoryRecorder::rowAdded(TableId table, const QString &key, const QString &rowName)
{
    write(table, key, rowName, QString(), QString(), History::addedText());
}

void HistoryRecorder::rowRemoved(TableId table, const QString &key, const QString &rowName)
{
    write(table, key, rowName, QString(), QString(), History::removedText());
}

void HistoryRecorder::valueChanged(TableId table, const QString &key, const QString &rowName,
                                   const History::ColumnChange &change)
{
    write(table, key, rowName, change.column, change.oldValue, change.newValue);
}

void HistoryRecorder::rowChanged(TableId table, const QString &key, const QVector<QVariant> *before,
                                 const QVector<QVariant> *after)
{
    const TableDef &def = Schema::table(table);
    if (!before && !after)
        return;
    const QString name = History::rowName(def, after ? *after : *before);
    if (!before) {
        if (table == TableId::PC)
            pcAdded(key);
        else
            rowAdded(table, key, name);
        return;
    }
    if (!after) {
        if (table == TableId::PC)
            pcRemoved(key);
        else
            rowRemoved(table, key, name);
        return;
    }
    for (const History::ColumnChange &change : History::changes(def.columns, *before, *after))
        valueChanged(table, key, name, change);
}

void HistoryRecorder::write(TableId table, const QString &key, const QString &rowName,
                            const QString &column, const QString &oldValue, const QString &newValue)
{
    const TableDef &history = Schema::historyTable();
    if (!m_prepared) {
        m_insert = m_dm.prepare(QStringLiteral("INSERT INTO History (At, Operation, Who, Key, "
                                               "TableName, RowName, ColumnName, OldValue, "
                                               "NewValue)\nVALUES (?, ?, ?, ?, ?, ?, ?, ?, ?)"));
        m_prepared = true;
    }
    const Engine engine = m_dm.engine();
    const QVariantList values {
        m_at,    m_operation, History::who(), key,     Schema::table(table).name,
        rowName, column,      oldValue,       newValue};
    for (int i = 0; i < values.size(); ++i)
        m_insert.bindValue(i, StoreValue::toStore(history.columns.at(i + 1), values.at(i), engine));
    TDMdata::exec(m_insert);
    ++m_lines;
}
