#pragma once

#include "History.h"

#include <QDateTime>
#include <QSqlQuery>

class TDMdata;

// Writes lines of the history (History.h) for one operation, inside the
// caller's transaction, so that a change and its lines are both in the
// store or neither is. The statement is prepared at the first line and
// kept for the recorder's life (an import run, a window's OK); values are
// bound. Every line of the recorder carries the time of its last
// restamp() (its creation, unless restamped) and History::who().
//
// Make the recorder before the transaction it writes in: PostgreSQL frees
// a prepared statement only once a failed transaction is rolled back.
class HistoryRecorder
{
public:
    HistoryRecorder(TDMdata &dm, QString operation);
    HistoryRecorder(const HistoryRecorder &) = delete;
    HistoryRecorder &operator=(const HistoryRecorder &) = delete;

    const QString &operation() const { return m_operation; }
    // The lines written from now on carry the current time.
    void restamp();

    // Each writes one line; throws StoreError.
    void pcAdded(const QString &key);
    void pcRemoved(const QString &key);
    void rowAdded(TableId table, const QString &key, const QString &rowName);
    void rowRemoved(TableId table, const QString &key, const QString &rowName);
    void valueChanged(TableId table, const QString &key, const QString &rowName,
                      const History::ColumnChange &change);

    // One row of a detail table (or the PC row) before and after, values
    // by catalog column: a line per changed value, or one for a row added
    // (before null) or removed (after null).
    void rowChanged(TableId table, const QString &key, const QVector<QVariant> *before,
                    const QVector<QVariant> *after);

    // Lines written so far.
    int lines() const { return m_lines; }

private:
    void write(TableId table, const QString &key, const QString &rowName, const QString &column,
               const QString &oldValue, const QString &newValue);

    TDMdata &m_dm;
    QString m_operation;
    QString m_at; // the store's text form of the time
    QSqlQuery m_insert;
    bool m_prepared = false;
    int m_lines = 0;
};
