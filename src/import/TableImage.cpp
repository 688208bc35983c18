#include "TableImage.h"

#include "ImportError.h"
#include "store/StoreError.h"
#include "store/StoreStatement.h"
#include "store/StoreTransaction.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QStringList>
#include <algorithm>
#include <cstdio>
#include <stdexcept>
#include <utility>

namespace {

QString keyText(const QVariant &value)
{
    return value.toString();
}

bool isDateType(ColumnType type)
{
    return type == ColumnType::Date || type == ColumnType::Timestamp;
}

// Whether the text is exactly "yyyy-MM-dd" (date) or "yyyy-MM-dd HH:mm:ss".
bool isTextForm(const QString &text, ColumnType type)
{
    static const char date[] = "0000-00-00";
    static const char timestamp[] = "0000-00-00 00:00:00";
    const char *pattern = type == ColumnType::Date ? date : timestamp;
    const qsizetype n = qsizetype(qstrlen(pattern));
    if (text.size() != n)
        return false;
    for (qsizetype i = 0; i < n; ++i) {
        const char16_t c = text[i].unicode();
        if (pattern[i] == '0' ? (c < u'0' || c > u'9') : c != char16_t(pattern[i]))
            return false;
    }
    return true;
}

} // namespace

TableImage::TableImage(TDMdata &dm, TableId id) : m_dm(dm), m_def(Schema::table(id))
{
    m_keyColumn = column(QStringLiteral("Key"));
    if (m_def.primaryKey.size() > 1)
        m_rowKeyColumn = column(m_def.primaryKey.at(1));
}

TableImage::~TableImage() = default;

int TableImage::column(const QString &name) const
{
    const int i = m_def.indexOf(name);
    if (i < 0)
        throw std::logic_error(
            QStringLiteral("%1.%2 is not in the catalog").arg(m_def.name, name).toStdString());
    return i;
}

namespace {

// Writes n decimal digits of value, zeros first.
char16_t *digits(char16_t *out, int value, int n)
{
    for (int i = n - 1; i >= 0; --i) {
        out[i] = char16_t(u'0' + value % 10);
        value /= 10;
    }
    return out + n;
}

} // namespace

QString TableImage::dateText(QDate date)
{
    return timestampText(date).left(10);
}

QString TableImage::timestampText(QDate date, QTime time)
{
    // Years outside 0-9999 as printf's "%04d" would write them.
    if (date.year() < 0 || date.year() > 9999 || !date.isValid()) {
        char text[48];
        std::snprintf(text, sizeof text, "%04d-%02d-%02d %02d:%02d:%02d", date.year(), date.month(),
                      date.day(), time.hour(), time.minute(), time.second());
        return QString::fromLatin1(text);
    }
    int y = 0, m = 0, d = 0;
    date.getDate(&y, &m, &d);
    char16_t text[19];
    char16_t *p = digits(text, y, 4);
    *p++ = u'-';
    p = digits(p, m, 2);
    *p++ = u'-';
    p = digits(p, d, 2);
    *p++ = u' ';
    p = digits(p, time.hour(), 2);
    *p++ = u':';
    p = digits(p, time.minute(), 2);
    *p++ = u':';
    digits(p, time.second(), 2);
    return QString(reinterpret_cast<const QChar *>(text), 19);
}

QVariant TableImage::normalized(int column, const QVariant &value) const
{
    const ColumnDef &c = m_def.columns.at(column);
    if (isDateType(c.type)) {
        if (value.isNull() || !value.isValid())
            return {};
        if (value.typeId() == QMetaType::QString && isTextForm(value.toString(), c.type))
            return value;
        if (value.typeId() == QMetaType::QDate) {
            const QDate d = value.toDate();
            if (!d.isValid())
                return {};
            return c.type == ColumnType::Date ? dateText(d) : timestampText(d);
        }
        // Anything else as the store layer reads it: the SQLite form of a
        // date or timestamp is its text form.
        const QVariant v = StoreValue::toStore(c, value, Engine::SQLite);
        return v.isNull() ? QVariant() : QVariant(v.toString());
    }
    if (c.type == ColumnType::Character && value.typeId() == QMetaType::QString) {
        // A character never takes more than two bytes of code page 932, so
        // a text of at most half the width fits as it is.
        const QString text = value.toString();
        if (text.size() * 2 <= c.width)
            return text.isEmpty() ? QVariant() : value;
    }
    return StoreValue::fromStore(c, StoreValue::toStore(c, value, m_dm.engine()));
}

QVariant TableImage::fromSelect(int column, const QVariant &value) const
{
    const ColumnDef &c = m_def.columns.at(column);
    if (isDateType(c.type))
        return normalized(column, value.isNull() ? QVariant() : QVariant(value.toString()));
    return StoreValue::fromStore(c, value);
}

void TableImage::prepare()
{
    if (m_prepared)
        return;
    // Only the columns this store has: a new store gets the printer's marker
    // column from the upgrade at its next opening.
    const QStringList inStore = m_dm.columnNames(m_def.openName);
    m_present.clear();
    m_dataColumns.clear();
    for (int i = 0; i < m_def.columns.size(); ++i) {
        if (!inStore.contains(m_def.columns.at(i).name, Qt::CaseInsensitive))
            continue;
        m_present.append(i);
        if (i != m_keyColumn && i != m_rowKeyColumn)
            m_dataColumns.append(i);
    }
    const Dialect &d = m_dm.dialect();
    QStringList selected;
    for (int i : m_present) {
        const ColumnDef &c = m_def.columns.at(i);
        // Dates and timestamps are read in their text forms.
        selected << (isDateType(c.type)
                         ? QStringLiteral("CAST(%1 AS TEXT)").arg(d.identifier(c.name))
                         : d.identifier(c.name));
    }
    const QString byPc = d.identifier(m_def.columns.at(m_keyColumn).name) + QStringLiteral(" = ?");
    m_select
        = StoreStatement::prepare(m_dm,
                                  QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                                      .arg(selected.join(QStringLiteral(", ")), m_def.name, byPc));
    m_nyuryokuKbn = m_def.indexOf(QStringLiteral("NyuryokuKBN"));
    m_prepared = true;
}

// The writing statements, prepared at the first write (never in a dry run).
void TableImage::prepareWrites()
{
    prepare();
    if (m_writesPrepared)
        return;
    const Dialect &d = m_dm.dialect();
    QStringList all, marks, sets;
    for (int i : m_present) {
        all << d.identifier(m_def.columns.at(i).name);
        marks << QStringLiteral("?");
    }
    for (int i : m_dataColumns)
        sets << d.identifier(m_def.columns.at(i).name) + QStringLiteral(" = ?");
    QString where = d.identifier(m_def.columns.at(m_keyColumn).name) + QStringLiteral(" = ?");
    const QString byPc = where;
    if (m_rowKeyColumn >= 0)
        where += QStringLiteral(" AND ") + d.identifier(m_def.columns.at(m_rowKeyColumn).name)
            + QStringLiteral(" = ?");
    const QString table = m_def.name;
    const QString columns = all.join(QStringLiteral(", "));
    m_insertHead = QStringLiteral("INSERT INTO %1 (%2) VALUES ").arg(table, columns);
    m_insertRow = QLatin1Char('(') + marks.join(QStringLiteral(", ")) + QLatin1Char(')');
    if (m_rowKeyColumn >= 0 && m_present.contains(m_nyuryokuKbn))
        m_markHead = QStringLiteral("UPDATE %1 SET %2 = ? WHERE %3 AND %4 IN (")
                         .arg(table, d.identifier(m_def.columns.at(m_nyuryokuKbn).name), byPc,
                              d.identifier(m_def.columns.at(m_rowKeyColumn).name));
    m_update = StoreStatement::prepare(m_dm,
                                       QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                           .arg(table, sets.join(QStringLiteral(", ")), where));
    m_delete = StoreStatement::prepare(m_dm,
                                       QStringLiteral("DELETE FROM %1 WHERE %2").arg(table, where));
    m_writesPrepared = true;
}

TableImage::PcRows &TableImage::rowsOf(const QString &pcKey)
{
    auto it = m_rows.find(pcKey);
    if (it != m_rows.end())
        return *it;
    prepare();
    PcRows rows;
    if (std::exchange(m_prefetched, QString()) == pcKey) {
        StoreStatement::finishQueued(m_dm);
    } else {
        m_select->bindText(0, pcKey);
        m_select->exec();
    }
    while (m_select->next()) {
        Row row = blankRow();
        for (int j = 0; j < m_present.size(); ++j) {
            const int i = m_present.at(j);
            row[i] = fromSelect(i, m_select->value(j));
        }
        const QString rowKey = m_rowKeyColumn >= 0 ? keyText(row.at(m_rowKeyColumn)) : QString();
        Entry &e = rows[rowKey];
        e.original = row;
        e.stored = row;
        e.current = std::move(row);
    }
    // Read to the end and release: no statement stays open.
    m_select->finish();
    return *m_rows.insert(pcKey, std::move(rows));
}

const TableImage::Row *TableImage::find(const QVariant &pcKey, const QVariant &rowKey)
{
    if (pcKey.isNull() || (m_rowKeyColumn >= 0 && rowKey.isNull()))
        return nullptr;
    PcRows &rows = rowsOf(keyText(pcKey));
    const auto it = rows.constFind(m_rowKeyColumn >= 0 ? keyText(rowKey) : QString());
    if (it == rows.cend() || !it->current)
        return nullptr;
    return &*it->current;
}

void TableImage::put(const Row &row)
{
    for (int k : {m_keyColumn, m_rowKeyColumn}) {
        if (k >= 0 && row.at(k).isNull())
            throw ImportError(QStringLiteral("%1 の %2 が空のため保存できません")
                                  .arg(m_def.name, m_def.columns.at(k).name));
    }
    PcRows &rows = rowsOf(keyText(row.at(m_keyColumn)));
    rows[m_rowKeyColumn >= 0 ? keyText(row.at(m_rowKeyColumn)) : QString()].current = row;
}

bool TableImage::rename(const QVariant &pcKey, const QVariant &fromKey, const QVariant &toKey)
{
    if (m_rowKeyColumn < 0 || pcKey.isNull() || fromKey.isNull() || toKey.isNull())
        return false;
    PcRows &rows = rowsOf(keyText(pcKey));
    const QString from = keyText(fromKey);
    const QString to = keyText(toKey);
    auto source = rows.find(from);
    if (source == rows.end() || !source->current)
        return false;
    if (from == to)
        return true; // the same row: nothing to change
    auto target = rows.find(to);
    if (target != rows.end() && target->current)
        return false;
    Row row = std::move(*source->current);
    source->current.reset();
    row[m_rowKeyColumn] = toKey;
    rows[to].current = std::move(row);
    return true;
}

void TableImage::prefetch(const QVariant &pcKey)
{
    if (m_dm.engine() != Engine::PostgreSQL || pcKey.isNull())
        return;
    const QString key = keyText(normalized(m_keyColumn, pcKey));
    if (key.isEmpty() || m_rows.contains(key))
        return;
    prepare();
    m_select->bindText(0, key);
    m_select->queue();
    m_prefetched = key;
}

void TableImage::load(const QVariant &pcKey)
{
    if (!pcKey.isNull())
        rowsOf(keyText(pcKey));
}

QVector<TableImage::Row> TableImage::current(const QVariant &pcKey)
{
    QVector<Row> rows;
    if (pcKey.isNull())
        return rows;
    for (const Entry &e : std::as_const(rowsOf(keyText(pcKey)))) {
        if (e.current)
            rows.append(*e.current);
    }
    return rows;
}

void TableImage::edit(const QVariant &pcKey, const std::function<bool(Row &row)> &fn,
                      bool asWritten)
{
    if (pcKey.isNull())
        return;
    for (Entry &e : rowsOf(keyText(pcKey))) {
        if (!e.current)
            continue;
        if (!fn(*e.current))
            e.current.reset();
        if (asWritten)
            e.stored = e.current;
    }
}

void TableImage::bindColumn(StoreStatement &statement, int position, int column,
                            const QVariant &value) const
{
    const ColumnDef &c = m_def.columns.at(column);
    switch (c.type) {
    case ColumnType::Character:
    case ColumnType::Memo:
    case ColumnType::Timestamp:
        // Text already cut to the width, and timestamps in the text form the
        // store layer writes them in; no value stays NULL.
        if (value.isNull())
            statement.bindNull(position);
        else if (value.typeId() == QMetaType::QString)
            statement.bindText(position, *static_cast<const QString *>(value.constData()));
        else
            statement.bindValue(position, value);
        return;
    case ColumnType::Date:
        statement.bindValue(position,
                            StoreValue::toStore(c, QDate::fromString(value.toString(), Qt::ISODate),
                                                m_dm.engine()));
        return;
    case ColumnType::Integer:
    case ColumnType::Float:
        break;
    }
    statement.bindValue(position, StoreValue::toStore(c, value, m_dm.engine()));
}

void TableImage::bindKey(StoreStatement &statement, int position, const Row &row) const
{
    bindColumn(statement, position, m_keyColumn, row.at(m_keyColumn));
    if (m_rowKeyColumn >= 0)
        bindColumn(statement, position + 1, m_rowKeyColumn, row.at(m_rowKeyColumn));
}

int TableImage::batchSize(qsizetype remaining)
{
    // Five sizes only, so that few statements are prepared, and a table of
    // a few hundred rows takes a handful of statements (each a round trip
    // to a store server).
    for (const int size : {256, 64, 16, 4})
        if (remaining >= size)
            return size;
    return 1;
}

StoreStatement &TableImage::insertStatement(int rows)
{
    auto it = m_inserts.find(rows);
    if (it == m_inserts.end()) {
        QStringList values;
        for (int r = 0; r < rows; ++r)
            values << m_insertRow;
        it = m_inserts
                 .emplace(rows,
                          StoreStatement::prepare(m_dm,
                                                  m_insertHead + values.join(QStringLiteral(", "))))
                 .first;
    }
    return *it->second;
}

StoreStatement &TableImage::markStatement(int rows)
{
    auto it = m_marks.find(rows);
    if (it == m_marks.end()) {
        QStringList marks;
        for (int r = 0; r < rows; ++r)
            marks << QStringLiteral("?");
        it = m_marks
                 .emplace(rows,
                          StoreStatement::prepare(m_dm,
                                                  m_markHead + marks.join(QStringLiteral(", "))
                                                      + QLatin1Char(')')))
                 .first;
    }
    return *it->second;
}

bool TableImage::onlyMarkChanged(const Row &stored, const Row &current) const
{
    if (m_markHead.isEmpty())
        return false;
    for (int i : std::as_const(m_present)) {
        if (i != m_nyuryokuKbn && stored.at(i) != current.at(i))
            return false;
    }
    return !current.at(m_nyuryokuKbn).isNull();
}

void TableImage::flush()
{
    if (m_rows.isEmpty())
        return;
    if (m_dryRun) {
        for (PcRows &rows : m_rows) {
            for (Entry &e : rows)
                e.stored = e.current;
        }
        return;
    }
    // A table without changes costs no statement.
    const auto changed = [this] {
        for (const PcRows &rows : std::as_const(m_rows)) {
            for (const Entry &e : rows) {
                if (e.stored != e.current)
                    return true;
            }
        }
        return false;
    };
    if (!changed())
        return;
    prepareWrites();
    // The table's writes are one step: a statement the store refuses undoes
    // all of them, and the rows go back to what the store still has, so the
    // writes of earlier steps of the file stay on every engine.
    std::vector<std::pair<Entry *, std::optional<Row>>> journal;
    const auto setStored = [&journal](Entry &e, const std::optional<Row> &row) {
        journal.emplace_back(&e, e.stored);
        e.stored = row;
    };
    // On a server the step goes out as one message, answered at release.
    StoreSavepoint step(m_dm, StoreSavepoint::Sending::Queued);
    try {
        write(setStored);
        step.release();
    } catch (const StoreError &) {
        for (auto it = journal.rbegin(); it != journal.rend(); ++it)
            it->first->stored = std::move(it->second);
        throw;
    }
}

template <typename SetStored> void TableImage::write(const SetStored &setStored)
{
    // Deletions first, then changes, then new rows: a key that changed its
    // row never meets itself twice. Rows whose only change is their input
    // kind (every row a re-import reports) and new rows are written a batch
    // at a time: a store server answers each statement over the network.
    for (PcRows &rows : m_rows) {
        for (Entry &e : rows) {
            if (e.stored && !e.current) {
                bindKey(*m_delete, 0, *e.stored);
                m_delete->queue();
                setStored(e, std::nullopt);
            }
        }
    }
    for (PcRows &rows : m_rows) {
        QHash<QString, QVector<Entry *>> marked; // by the new input kind
        for (Entry &e : rows) {
            if (!e.stored || !e.current || *e.stored == *e.current)
                continue;
            if (onlyMarkChanged(*e.stored, *e.current)) {
                marked[e.current->at(m_nyuryokuKbn).toString()].append(&e);
                continue;
            }
            int p = 0;
            for (int i : std::as_const(m_dataColumns))
                bindColumn(*m_update, p++, i, e.current->at(i));
            bindKey(*m_update, p, *e.stored);
            m_update->queue();
            setStored(e, e.current);
        }
        for (auto it = marked.cbegin(); it != marked.cend(); ++it) {
            const QVector<Entry *> &entries = it.value();
            for (qsizetype done = 0; done < entries.size();) {
                const int n = batchSize(entries.size() - done);
                StoreStatement &q = markStatement(n);
                q.bindText(0, it.key());
                bindColumn(q, 1, m_keyColumn, entries.at(done)->current->at(m_keyColumn));
                for (int r = 0; r < n; ++r)
                    bindColumn(q, 2 + r, m_rowKeyColumn,
                               entries.at(done + r)->stored->at(m_rowKeyColumn));
                q.queue();
                for (int r = 0; r < n; ++r) {
                    Entry *e = entries.at(done + r);
                    setStored(*e, e->current);
                }
                done += n;
            }
        }
    }
    QVector<Entry *> added;
    for (PcRows &rows : m_rows) {
        for (Entry &e : rows) {
            if (!e.stored && e.current)
                added.append(&e);
        }
    }
    for (qsizetype done = 0; done < added.size();) {
        const int n = batchSize(added.size() - done);
        StoreStatement &q = insertStatement(n);
        int p = 0;
        for (int r = 0; r < n; ++r) {
            for (int i : std::as_const(m_present))
                bindColumn(q, p++, i, added.at(done + r)->current->at(i));
        }
        q.queue();
        for (int r = 0; r < n; ++r) {
            Entry *e = added.at(done + r);
            setStored(*e, e->current);
        }
        done += n;
    }
}

void TableImage::changes(const std::function<void(const Row *before, const Row *after)> &visit,
                         const QString &exceptPc) const
{
    // In the order of the keys, so that the lines of a file read in order.
    struct Changed
    {
        QString pcKey;
        QVariant rowKey;
        const Entry *entry;
    };
    QVector<Changed> changed;
    for (auto pc = m_rows.cbegin(); pc != m_rows.cend(); ++pc) {
        if (!exceptPc.isNull() && pc.key() == exceptPc)
            continue;
        for (const Entry &e : pc.value()) {
            if (e.original != e.stored) {
                const Row &row = e.stored ? *e.stored : *e.original;
                changed.append(
                    {pc.key(), m_rowKeyColumn >= 0 ? row.at(m_rowKeyColumn) : QVariant(), &e});
            }
        }
    }
    std::sort(changed.begin(), changed.end(), [](const Changed &a, const Changed &b) {
        if (a.pcKey != b.pcKey)
            return a.pcKey < b.pcKey;
        if (a.rowKey.typeId() == QMetaType::Int && b.rowKey.typeId() == QMetaType::Int)
            return a.rowKey.toInt() < b.rowKey.toInt();
        return a.rowKey.toString() < b.rowKey.toString();
    });
    for (const Changed &c : std::as_const(changed))
        visit(c.entry->original ? &*c.entry->original : nullptr,
              c.entry->stored ? &*c.entry->stored : nullptr);
}

void TableImage::forget(const QSet<QString> &keep)
{
    m_prefetched.clear();
    if (keep.isEmpty()) {
        m_rows.clear();
        return;
    }
    for (auto pc = m_rows.begin(); pc != m_rows.end();) {
        if (!keep.contains(pc.key())) {
            pc = m_rows.erase(pc);
            continue;
        }
        for (auto e = pc->begin(); e != pc->end();) {
            if (!e->stored) {
                e = pc->erase(e);
                continue;
            }
            e->original = e->stored;
            e->current = e->stored;
            ++e;
        }
        ++pc;
    }
}
