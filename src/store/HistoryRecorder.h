#pragma once

#include "History.h"

#include <QVariant>
#include <QVector>
#include <map>
#include <memory>

class StoreStatement;
class TDMdata;

// Writes lines of the history (History.h) for one operation, inside the
// caller's transaction, so that a change and its lines are both in the
// store or neither is. Its statements are prepared at their first use and
// kept for the recorder's life (an import run, a window's OK); values are
// bound. Every line of the recorder carries the time of its last
// restamp() (its creation, unless restamped) and History::who().
//
// A line is written at once, unless a Batch is open: then the lines wait
// and Batch::write() sends them several rows to a statement, as a store
// server answers each statement over the network.
//
// Make the recorder before the transaction it writes in: PostgreSQL frees
// a prepared statement only once a failed transaction is rolled back.
class HistoryRecorder
{
public:
    HistoryRecorder(TDMdata &dm, QString operation);
    ~HistoryRecorder();
    HistoryRecorder(const HistoryRecorder &) = delete;
    HistoryRecorder &operator=(const HistoryRecorder &) = delete;

    const QString &operation() const { return m_operation; }
    // The lines written from now on carry the current time.
    void restamp();

    // Each records one line; throws StoreError.
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

    // Lines recorded so far.
    int lines() const { return m_lines; }

    // Holds the recorder's lines back while it lives; write() sends them.
    // Lines not written when it ends are dropped (the transaction they
    // belonged to is rolled back).
    class Batch
    {
    public:
        explicit Batch(HistoryRecorder &recorder);
        ~Batch();
        Batch(const Batch &) = delete;
        Batch &operator=(const Batch &) = delete;
        // Throws StoreError.
        void write();

    private:
        HistoryRecorder &m_recorder;
    };

private:
    void record(TableId table, const QString &key, const QString &rowName, const QString &column,
                const QString &oldValue, const QString &newValue);
    void writePending();
    StoreStatement &insertStatement(int rows);

    TDMdata &m_dm;
    QString m_operation;
    // The values every line of now shares: At, Operation, Who.
    QVariantList m_shared;
    QVector<QVariantList> m_pending; // the other six values of each line
    bool m_batching = false;
    std::map<int, std::unique_ptr<StoreStatement>> m_inserts; // by the number of rows
    int m_generation = -1; // the connection m_inserts were prepared on
    int m_lines = 0;
};
