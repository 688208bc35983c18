#pragma once

#include <QString>
#include <QVariant>
#include <memory>

class TDMdata;

// A statement of the system prepared once and run many times with values
// by position (from 0), for work that runs a statement thousands of times
// (the import). On SQLite it runs on the store connection's own handle:
// text is bound as UTF-8 from buffers the statement keeps, without the
// QVariant copies and placeholder bookkeeping of Qt SQL, and rows are read
// the same way.
// On PostgreSQL it is prepared on the server once and runs on the libpq
// connection behind the store's Qt connection, with its values as text.
//
// The statement belongs to the connection it was prepared on: after a
// reconnect it must be prepared anew (TDMdata::generation()).
class StoreStatement
{
public:
    // Prepares the statement, translated for the engine. Throws StoreError.
    static std::unique_ptr<StoreStatement> prepare(TDMdata &dm, const QString &sql);

    virtual ~StoreStatement() = default;
    StoreStatement(const StoreStatement &) = delete;
    StoreStatement &operator=(const StoreStatement &) = delete;

    virtual void bindNull(int position) = 0;
    // An empty text is bound as empty, not as NULL.
    virtual void bindText(int position, const QString &text) = 0;
    virtual void bindInt(int position, qint64 value) = 0;
    // Any value as Qt SQL would bind it; no value (isNull()) is NULL.
    virtual void bindValue(int position, const QVariant &value) = 0;

    // Runs the statement with the values bound. Throws StoreError with the
    // store's text (ConnectionLost when a server connection is gone).
    virtual void exec() = 0;
    // Runs the statement without waiting for its end: on a server it goes
    // out with the statements queued before it, and its outcome is read by
    // finishQueued() (or by the release of a savepoint that queues,
    // StoreSavepoint, or the next exec()); the rows of a SELECT are read
    // with next() after that. On SQLite it runs at once. The values are
    // taken at once: the next ones may be bound right away.
    virtual void queue() { exec(); }
    // Waits for the statements queued on the store's connection. Throws the
    // first failure; the statements queued after a failed one did not run.
    static void finishQueued(TDMdata &dm);
    // The next row of a SELECT run by exec(); false at the end.
    virtual bool next() = 0;
    // A value of the current row as Qt SQL gives it: no value, an integer
    // (qlonglong), a double or a text.
    virtual QVariant value(int column) const = 0;
    // Ends the reading of the rows (releasing the store's read lock).
    virtual void finish() = 0;

protected:
    StoreStatement() = default;
};
