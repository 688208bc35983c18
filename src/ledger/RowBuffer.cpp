#include "RowBuffer.h"

#include "base/InputError.h"
#include "store/StoreError.h"
#include "store/StoreValue.h"

#include <QDate>
#include <cmath>
#include <limits>

RowBuffer::RowBuffer(TableId table, QObject *parent)
    : QObject(parent), m_def(Schema::table(table)), m_values(m_def.columns.size()),
      m_start(m_def.columns.size())
{ }

void RowBuffer::setState(State state)
{
    if (m_state == state)
        return;
    m_state = state;
    emit stateChanged(state);
}

int RowBuffer::index(const QString &field) const
{
    const int i = m_def.indexOf(field);
    if (i < 0)
        throw StoreError(QStringLiteral("%1: 項目 %2 がありません").arg(m_def.name, field));
    return i;
}

void RowBuffer::append()
{
    m_start = QVector<QVariant>(m_def.columns.size());
    m_values = m_start;
    setState(State::Insert);
    for (const ColumnDef &c : m_def.columns)
        emit valueChanged(c.name);
}

void RowBuffer::edit(const QVector<QVariant> &values)
{
    m_start = QVector<QVariant>(m_def.columns.size());
    for (int i = 0; i < m_start.size() && i < values.size(); ++i)
        m_start[i] = normalized(m_def.columns[i], values[i]);
    m_values = m_start;
    setState(State::Edit);
    for (const ColumnDef &c : m_def.columns)
        emit valueChanged(c.name);
}

void RowBuffer::posted()
{
    m_start = m_values;
    setState(State::Browse);
}

void RowBuffer::cancel()
{
    m_values = m_start;
    setState(State::Browse);
    for (const ColumnDef &c : m_def.columns)
        emit valueChanged(c.name);
}

QVariant RowBuffer::value(const QString &field) const
{
    return m_values.at(index(field));
}

QString RowBuffer::text(const QString &field) const
{
    return value(field).toString();
}

QVariant RowBuffer::normalized(const ColumnDef &column, const QVariant &value)
{
    return StoreValue::fromStore(column, StoreValue::toStore(column, value, Engine::SQLite));
}

void RowBuffer::setValue(const QString &field, const QVariant &value)
{
    const int i = index(field);
    const QVariant v = normalized(m_def.columns[i], value);
    if (v == m_values[i] && v.isNull() == m_values[i].isNull())
        return;
    m_values[i] = v;
    emit valueChanged(m_def.columns[i].name);
}

QVariant RowBuffer::fromText(const QString &field, const QString &text) const
{
    const ColumnDef &column = m_def.columns[index(field)];
    const QString trimmed = text.trimmed();
    QVariant v = text;
    switch (column.type) {
    case ColumnType::Character:
    case ColumnType::Memo:
        break;
    case ColumnType::Integer: {
        if (trimmed.isEmpty()) {
            v = QVariant();
            break;
        }
        bool ok = false;
        const int n = trimmed.toInt(&ok);
        if (!ok)
            throw ConversionError(FieldErrorText::notInteger(text, column.name));
        v = n;
        break;
    }
    case ColumnType::Float: {
        if (trimmed.isEmpty()) {
            v = QVariant();
            break;
        }
        bool ok = false;
        const double d = trimmed.toDouble(&ok);
        if (!ok || !std::isfinite(d))
            throw ConversionError(FieldErrorText::notFloat(text, column.name));
        v = d;
        break;
    }
    case ColumnType::Date:
    case ColumnType::Timestamp: {
        if (trimmed.isEmpty()) {
            v = QVariant();
            break;
        }
        const QDate d = QDate::fromString(trimmed.left(10), QStringLiteral("yyyy/MM/dd"));
        if (!d.isValid())
            throw ConversionError(FieldErrorText::notDate(text));
        v = d;
        break;
    }
    }
    return v;
}

QStringList RowBuffer::changedFields() const
{
    QStringList fields;
    for (int i = 0; i < m_values.size(); ++i) {
        if (m_values[i] != m_start[i] || m_values[i].isNull() != m_start[i].isNull())
            fields << m_def.columns[i].name;
    }
    return fields;
}

QVariantList RowBuffer::key() const
{
    QVariantList key;
    for (const QString &k : m_def.primaryKey)
        key << value(k);
    return key;
}

QVariantList RowBuffer::startKey() const
{
    QVariantList key;
    for (const QString &k : m_def.primaryKey)
        key << m_start.at(index(k));
    return key;
}

QString RowBuffer::missingKeyField() const
{
    for (const QString &k : m_def.primaryKey) {
        if (value(k).toString().isEmpty())
            return m_def.column(k)->name;
    }
    return QString();
}
