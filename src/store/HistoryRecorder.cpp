#include "HistoryRecorder.h"

#include "StoreStatement.h"
#include "StoreValue.h"
#include "UDMdata.h"

#include <QDateTime>
#include <QStringList>

namespace {

// A value for a column of History, as the store keeps it: text cut to the
// width (a text of at most half the width fits as it is), empty as none.
QVariant stored(int column, const QString &value, Engine engine)
{
    const ColumnDef &c = Schema::historyTable().columns.at(column);
    if (c.type == ColumnType::Character && value.size() * 2 <= c.width)
        return StoreValue::text(value);
    return StoreValue::toStore(c, value, engine);
}

} // namespace

HistoryRecorder::HistoryRecorder(TDMdata &dm, QString operation)
    : m_dm(dm), m_operation(std::move(operation))
{
    restamp();
}

HistoryRecorder::~HistoryRecorder() = default;

void HistoryRecorder::restamp()
{
    const Engine engine = m_dm.engine();
    m_shared
        = {stored(1, QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")),
                  engine),
           stored(2, m_operation, engine), stored(3, History::who(), engine)};
}

void HistoryRecorder::pcAdded(const QString &key)
{
    record(TableId::PC, key, QString(), QString(), QString(), History::addedText());
}

void HistoryRecorder::pcRemoved(const QString &key)
{
    record(TableId::PC, key, QString(), QString(), QString(), History::removedText());
}

void HistoryRecorder::rowAdded(TableId table, const QString &key, const QString &rowName)
{
    record(table, key, rowName, QString(), QString(), History::addedText());
}

void HistoryRecorder::rowRemoved(TableId table, const QString &key, const QString &rowName)
{
    record(table, key, rowName, QString(), QString(), History::removedText());
}

void HistoryRecorder::valueChanged(TableId table, const QString &key, const QString &rowName,
                                   const History::ColumnChange &change)
{
    record(table, key, rowName, change.column, change.oldValue, change.newValue);
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

void HistoryRecorder::record(TableId table, const QString &key, const QString &rowName,
                             const QString &column, const QString &oldValue,
                             const QString &newValue)
{
    const Engine engine = m_dm.engine();
    m_pending.append({stored(4, key, engine), stored(5, Schema::table(table).name, engine),
                      stored(6, rowName, engine), stored(7, column, engine),
                      stored(8, oldValue, engine), stored(9, newValue, engine)});
    ++m_lines;
    if (!m_batching)
        writePending();
}

StoreStatement &HistoryRecorder::insertStatement(int rows)
{
    // Statements of a connection replaced by a reconnect are prepared anew.
    if (m_generation != m_dm.generation()) {
        m_inserts.clear();
        m_generation = m_dm.generation();
    }
    auto it = m_inserts.find(rows);
    if (it == m_inserts.end()) {
        const QString row = QStringLiteral("(?, ?, ?, ?, ?, ?, ?, ?, ?)");
        QStringList values;
        for (int r = 0; r < rows; ++r)
            values << row;
        it = m_inserts
                 .emplace(
                     rows,
                     StoreStatement::prepare(m_dm,
                                             QStringLiteral("INSERT INTO History (At, Operation, "
                                                            "Who, Key, TableName, RowName, "
                                                            "ColumnName, OldValue, NewValue)\n"
                                                            "VALUES ")
                                                 + values.join(QStringLiteral(", "))))
                 .first;
    }
    return *it->second;
}

void HistoryRecorder::writePending()
{
    // Three sizes only, so that few statements are prepared. On a server
    // the lines go out together and are answered once.
    for (qsizetype done = 0; done < m_pending.size();) {
        const qsizetype left = m_pending.size() - done;
        const int n = left >= 32 ? 32 : left >= 8 ? 8 : 1;
        StoreStatement &q = insertStatement(n);
        int p = 0;
        for (int r = 0; r < n; ++r) {
            for (const QVariant &v : std::as_const(m_shared))
                q.bindValue(p++, v);
            for (const QVariant &v : std::as_const(m_pending[done + r]))
                q.bindValue(p++, v);
        }
        q.queue();
        done += n;
    }
    m_pending.clear();
    StoreStatement::finishQueued(m_dm);
}

HistoryRecorder::Batch::Batch(HistoryRecorder &recorder) : m_recorder(recorder)
{
    m_recorder.m_pending.clear();
    m_recorder.m_batching = true;
}

HistoryRecorder::Batch::~Batch()
{
    m_recorder.m_batching = false;
    m_recorder.m_pending.clear();
}

void HistoryRecorder::Batch::write()
{
    m_recorder.writePending();
}
