#pragma once

#include "store/Schema.h"

#include <QObject>
#include <QStringList>
#include <QVariant>
#include <QVector>

// One row of a table while a window edits it, apart from the store: the
// values by catalog column, kept as the store keeps them (text cut to the
// column's width in CP932 bytes, empty text as no value, dates as dates).
// It remembers the values it started from, so that only the user's changes
// are written and another copy's changes to other columns stay.
class RowBuffer : public QObject
{
    Q_OBJECT

public:
    enum class State { Browse, Insert, Edit };
    Q_ENUM(State)

    explicit RowBuffer(TableId table, QObject *parent = nullptr);

    const TableDef &def() const { return m_def; }
    State state() const { return m_state; }
    bool isEditing() const { return m_state != State::Browse; }

    // An empty row in Insert state.
    void append();
    // These values (by catalog column) in Edit state; changes are measured
    // against them.
    void edit(const QVector<QVariant> &values);
    // The row was written: its values are the new starting point (Browse).
    void posted();
    // Back to the starting values (Browse).
    void cancel();

    QVariant value(const QString &field) const;
    QString text(const QString &field) const;
    // Stores a value, normalised as the store keeps it; emits valueChanged
    // when it differs from the value before. Unknown fields throw StoreError.
    void setValue(const QString &field, const QVariant &value);
    // The value of text typed for a field, converted after the column's
    // type. Throws ConversionError with the field's conversion message;
    // dates are taken in the form "yyyy/mm/dd". An empty text is no value.
    QVariant fromText(const QString &field, const QString &text) const;
    // Stores it.
    void setText(const QString &field, const QString &text)
    {
        setValue(field, fromText(field, text));
    }

    QVector<QVariant> values() const { return m_values; }
    QVector<QVariant> startValues() const { return m_start; }
    // The columns whose value differs from the starting one.
    QStringList changedFields() const;
    // The primary key's values, now and at the start.
    QVariantList key() const;
    QVariantList startKey() const;
    // The first primary key column without a value; empty when none.
    QString missingKeyField() const;

    // The value as the store keeps it (normalised as setValue does).
    static QVariant normalized(const ColumnDef &column, const QVariant &value);

signals:
    void stateChanged(RowBuffer::State state);
    void valueChanged(const QString &field);

private:
    void setState(State state);
    int index(const QString &field) const; // throws StoreError when unknown

    const TableDef &m_def;
    State m_state = State::Browse;
    QVector<QVariant> m_values;
    QVector<QVariant> m_start;
};
