#include "RecordCursor.h"

#include "StoreError.h"
#include "StoreValue.h"
#include "UDMdata.h"
#include "base/TextHelpers.h"

#include <QSqlError>

RecordCursor::RecordCursor(TDMdata &dm, TableId id, QObject *parent)
    : QObject(parent), m_dm(dm), m_def(Schema::table(id))
{
    setObjectName(m_def.objectName);
}

void RecordCursor::open()
{
    if (isOpen())
        return;
    m_storeColumns = m_dm.columnNames(m_def.openName);
    if (m_storeColumns.isEmpty())
        throw StoreError(QStringLiteral("テーブル %1 がありません").arg(m_def.openName));
    m_present.clear();
    m_inStore = QVector<bool>(m_def.columns.size(), false);
    for (int i = 0; i < m_def.columns.size(); ++i) {
        if (m_storeColumns.contains(m_def.columns[i].name, Qt::CaseInsensitive)) {
            m_present.append(i);
            m_inStore[i] = true;
        }
    }
    m_buffer = QVector<QVariant>(m_def.columns.size());
    m_hasCurrent = false;
    m_keys.clear();
    m_pos = -1;
    m_eof = m_bof = true;
    m_prepared = false;
    setState(State::Browse);
}

void RecordCursor::close()
{
    m_select = QSqlQuery();
    m_insert = QSqlQuery();
    m_update = QSqlQuery();
    m_prepared = false;
    m_hasCurrent = false;
    m_keys.clear();
    m_storeColumns.clear();
    if (m_state != State::Inactive)
        setState(State::Inactive);
}

void RecordCursor::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

int RecordCursor::column(const QString &field) const
{
    const int i = m_def.indexOf(field);
    if (i < 0)
        throw StoreError(QStringLiteral("%1: 項目 %2 がありません").arg(m_def.name, field));
    return i;
}

void RecordCursor::prepareStatements()
{
    // Statements of a connection that was lost and replaced are prepared
    // anew on the new one.
    if (m_prepared && m_generation == m_dm.generation())
        return;
    const Dialect &d = m_dm.dialect();
    QStringList cols, params, sets, where;
    for (int i : m_present) {
        const QString name = d.identifier(m_def.columns[i].name);
        cols << name;
        params << QStringLiteral(":c%1").arg(i);
        sets << QStringLiteral("%1 = :c%2").arg(name).arg(i);
    }
    for (int k = 0; k < m_def.primaryKey.size(); ++k)
        where << QStringLiteral("%1 = :k%2").arg(d.identifier(m_def.primaryKey[k])).arg(k);
    const QString table = m_def.openName;
    const QString whereText = where.join(QStringLiteral(" AND "));
    m_select = m_dm.prepare(QStringLiteral("SELECT %1 FROM %2 WHERE %3")
                                .arg(cols.join(QStringLiteral(", ")), table, whereText));
    m_insert = m_dm.prepare(
        QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
            .arg(table, cols.join(QStringLiteral(", ")), params.join(QStringLiteral(", "))));
    m_update = m_dm.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE %3")
                                .arg(table, sets.join(QStringLiteral(", ")), whereText));
    m_prepared = true;
    m_generation = m_dm.generation();
}

bool RecordCursor::loadRow(const QVariantList &keyValues)
{
    prepareStatements();
    for (int k = 0; k < m_def.primaryKey.size(); ++k) {
        const ColumnDef *c = m_def.column(m_def.primaryKey[k]);
        m_select.bindValue(QStringLiteral(":k%1").arg(k),
                           StoreValue::toStore(*c, keyValues.value(k), m_dm.engine()));
    }
    TDMdata::exec(m_select);
    const bool found = m_select.next();
    if (found) {
        for (int j = 0; j < m_present.size(); ++j) {
            const int i = m_present[j];
            m_buffer[i] = StoreValue::fromStore(m_def.columns[i], m_select.value(j));
        }
    }
    // Release the statement at once: a pending read would pin the store.
    m_select.finish();
    m_hasCurrent = found;
    return found;
}

QVariantList RecordCursor::currentKey() const
{
    QVariantList key;
    for (const QString &k : m_def.primaryKey)
        key << m_buffer[m_def.indexOf(k)];
    return key;
}

bool RecordCursor::locate(const QVariantList &keyValues)
{
    if (m_state == State::Inactive)
        throw StoreError(QStringLiteral("%1 は開かれていません").arg(m_def.openName));
    if (m_state != State::Browse)
        throw StoreError(QStringLiteral("%1 は編集中です").arg(m_def.openName));
    if (keyValues.size() != m_def.primaryKey.size())
        throw StoreError(QStringLiteral("%1: キーの数が違います").arg(m_def.openName));
    const bool found = loadRow(keyValues);
    if (!found)
        m_buffer.fill(QVariant());
    return found;
}

bool RecordCursor::first()
{
    if (m_state != State::Browse)
        throw StoreError(QStringLiteral("%1 は編集中です").arg(m_def.openName));
    const Dialect &d = m_dm.dialect();
    QStringList keys;
    for (const QString &k : m_def.primaryKey)
        keys << d.identifier(k);
    QSqlQuery q = m_dm.exec(QStringLiteral("SELECT %1 FROM %2 ORDER BY %1")
                                .arg(keys.join(QStringLiteral(", ")), m_def.openName));
    m_keys.clear();
    while (q.next()) {
        QVariantList key;
        for (int k = 0; k < m_def.primaryKey.size(); ++k)
            key << StoreValue::fromStore(*m_def.column(m_def.primaryKey[k]), q.value(k));
        m_keys.append(key);
    }
    q.finish();
    m_pos = -1;
    m_bof = true;
    m_eof = false;
    return next();
}

bool RecordCursor::next()
{
    while (++m_pos < m_keys.size()) {
        if (loadRow(m_keys[m_pos])) {
            m_eof = false;
            if (m_pos > 0)
                m_bof = false;
            return true;
        }
    }
    m_pos = m_keys.size();
    m_eof = true;
    return false;
}

bool RecordCursor::prior()
{
    while (--m_pos >= 0) {
        if (loadRow(m_keys[m_pos])) {
            m_bof = m_pos == 0;
            m_eof = false;
            return true;
        }
    }
    m_pos = -1;
    m_bof = true;
    return false;
}

int RecordCursor::recordCount()
{
    QSqlQuery q = m_dm.exec(QStringLiteral("SELECT COUNT(*) FROM %1").arg(m_def.openName));
    const int n = q.next() ? q.value(0).toInt() : 0;
    q.finish();
    return n;
}

void RecordCursor::append()
{
    if (m_state != State::Browse)
        throw StoreError(QStringLiteral("%1 は編集中です").arg(m_def.openName));
    m_saved = m_buffer;
    m_buffer.fill(QVariant());
    setState(State::Insert);
}

void RecordCursor::edit()
{
    if (m_state == State::Edit)
        return;
    if (m_state != State::Browse || !m_hasCurrent)
        throw StoreError(QStringLiteral("%1: 編集する行がありません").arg(m_def.openName));
    m_saved = m_buffer;
    m_editKey = currentKey();
    setState(State::Edit);
}

void RecordCursor::post()
{
    if (m_state != State::Insert && m_state != State::Edit)
        throw StoreError(QStringLiteral("%1 は編集中ではありません").arg(m_def.openName));
    prepareStatements();
    const Engine engine = m_dm.engine();
    QSqlQuery &q = m_state == State::Insert ? m_insert : m_update;
    for (int i : m_present)
        q.bindValue(QStringLiteral(":c%1").arg(i),
                    StoreValue::toStore(m_def.columns[i], m_buffer[i], engine));
    if (m_state == State::Edit) {
        for (int k = 0; k < m_def.primaryKey.size(); ++k) {
            const ColumnDef *c = m_def.column(m_def.primaryKey[k]);
            q.bindValue(QStringLiteral(":k%1").arg(k),
                        StoreValue::toStore(*c, m_editKey.value(k), engine));
        }
    }
    TDMdata::exec(q);
    q.finish();
    m_hasCurrent = true;
    setState(State::Browse);
}

void RecordCursor::cancel()
{
    if (m_state != State::Insert && m_state != State::Edit)
        return;
    m_buffer = m_saved;
    setState(State::Browse);
}

QVariant RecordCursor::value(const QString &field) const
{
    return m_buffer.value(column(field));
}

QString RecordCursor::text(const QString &field) const
{
    return value(field).toString();
}

int RecordCursor::integer(const QString &field) const
{
    return value(field).toInt();
}

double RecordCursor::number(const QString &field) const
{
    return value(field).toDouble();
}

QDate RecordCursor::date(const QString &field) const
{
    const QVariant v = value(field);
    if (v.isNull())
        return ZeroDate();
    return v.typeId() == QMetaType::QDateTime ? v.toDateTime().date() : v.toDate();
}

QDateTime RecordCursor::dateTime(const QString &field) const
{
    const QVariant v = value(field);
    if (v.isNull())
        return ZeroDate().startOfDay();
    return v.typeId() == QMetaType::QDate ? v.toDate().startOfDay() : v.toDateTime();
}

void RecordCursor::setValue(const QString &field, const QVariant &value)
{
    if (m_state != State::Insert && m_state != State::Edit)
        throw StoreError(QStringLiteral("%1 は編集中ではありません").arg(m_def.openName));
    const int i = column(field);
    if (!m_inStore[i])
        return; // a column this store's layout does not have
    const ColumnDef &c = m_def.columns[i];
    // Normalise at once (cut to width, empty text to no value) so what is
    // read back is what will be stored.
    m_buffer[i] = StoreValue::fromStore(c, StoreValue::toStore(c, value, m_dm.engine()));
}
