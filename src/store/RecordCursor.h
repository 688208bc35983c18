#pragma once

#include "Schema.h"

#include <QDate>
#include <QDateTime>
#include <QObject>
#include <QSqlQuery>
#include <QStringList>
#include <QVariant>
#include <QVector>

class TDMdata;

// A table object: one row buffer over one table, positioned by the full
// primary key, with append, edit, post and cancel. Values are cut and
// converted by StoreValue on post. No statement stays open between calls.
class RecordCursor : public QObject
{
    Q_OBJECT

public:
    enum class State { Inactive, Browse, Insert, Edit };
    Q_ENUM(State)

    RecordCursor(TDMdata &dm, TableId id, QObject *parent = nullptr);

    const TableDef &def() const { return m_def; }

    // Open reads the table's column names; throws StoreError when the table
    // is missing.
    void open();
    void close();
    bool isOpen() const { return m_state != State::Inactive; }
    // The column names as the store has them (read at open).
    QStringList fieldNames() const { return m_storeColumns; }

    // Positions on the row with this full key; false (and no current row)
    // when there is none.
    bool locate(const QVariantList &keyValues);
    bool hasCurrent() const { return m_hasCurrent; }

    // Browse in key order over all rows (keys are read at first()).
    bool first();
    bool next();
    bool prior();
    bool eof() const { return m_eof; }
    bool bof() const { return m_bof; }
    int recordCount();

    void append();
    void edit();
    // Writes the buffer (INSERT in Insert state, UPDATE in Edit state);
    // throws StoreError and stays in its state on failure.
    void post();
    void cancel();
    State state() const { return m_state; }

    QVariant value(const QString &field) const;
    QString text(const QString &field) const;
    int integer(const QString &field) const;
    double number(const QString &field) const;
    // A NULL date reads as the zero date 1899/12/30.
    QDate date(const QString &field) const;
    QDateTime dateTime(const QString &field) const;
    // Throws StoreError unless in Insert or Edit state.
    void setValue(const QString &field, const QVariant &value);

signals:
    void stateChanged(RecordCursor::State state);

private:
    void setState(State state);
    bool loadRow(const QVariantList &keyValues);
    QVariantList currentKey() const;
    int column(const QString &field) const; // throws for an unknown field
    void prepareStatements();

    TDMdata &m_dm;
    const TableDef &m_def;
    State m_state = State::Inactive;
    QStringList m_storeColumns;
    QVector<int> m_present; // catalog indexes of the columns the store has
    QVector<bool> m_inStore; // by catalog index
    QVector<QVariant> m_buffer; // by catalog index
    QVector<QVariant> m_saved; // buffer before edit/append, for cancel
    QVariantList m_editKey; // key of the row being edited
    bool m_hasCurrent = false;
    QVector<QVariantList> m_keys; // for first/next/prior
    int m_pos = -1;
    bool m_eof = true;
    bool m_bof = true;
    QString m_selectSql;
    QString m_insertSql;
    QString m_updateSql;
    QSqlQuery m_select;
    QSqlQuery m_insert;
    QSqlQuery m_update;
    bool m_prepared = false;
    int m_generation = 0; // of the connection the statements belong to
};
