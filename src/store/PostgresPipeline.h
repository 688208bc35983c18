#pragma once

#include <QByteArray>
#include <QSqlError>
#include <deque>
#include <functional>
#include <optional>

class TDMdata;
struct pg_conn;
struct pg_result;

// Statements sent to a PostgreSQL server without waiting for each one's
// answer (libpq's pipeline mode): the writes of one step of the import go
// out together and are answered together by finish(), one round trip
// instead of one per statement.
//
// While statements are pending the connection serves nothing else, so the
// code that queues them finishes them before any other statement: a step's
// release (StoreSavepoint), the next exec() of a StoreStatement. A failed
// statement makes the server skip the ones queued after it, as a failed
// statement of a transaction would anyway; finish() throws its error.
class PostgresPipeline
{
public:
    PostgresPipeline(TDMdata &dm, pg_conn *connection) : m_dm(dm), m_connection(connection) { }
    PostgresPipeline(const PostgresPipeline &) = delete;
    PostgresPipeline &operator=(const PostgresPipeline &) = delete;

    // The connection; nullptr once the store has closed it.
    pg_conn *connection() const { return m_connection; }
    // The store closes the connection: nothing is sent on it any more.
    void detach() { m_connection = nullptr; }
    bool pending() const { return m_pending > 0; }

    // Makes the connection ready for a statement of its own: the rows of a
    // query that Qt SQL was still reading are dropped, as Qt SQL's own next
    // statement would drop them. Nothing while statements are pending.
    void takeConnection();
    // Sends a statement without values, such as SAVEPOINT.
    void send(const QByteArray &sql);
    // Sends a statement with values (as sendPrepared() takes them), not
    // prepared: for a statement run once.
    void send(const QByteArray &sql, int count, const char *const *values, const int *lengths);
    // Sends the preparation of a statement under this name.
    void sendPrepare(const QByteArray &name, const QByteArray &sql);
    // Sends a run of a prepared statement: values as text in the server's
    // encoding (UTF-8), nullptr for no value. They are copied at once. The
    // rows of a SELECT go to rows at finish(), which then owns them.
    using Rows = std::function<void(pg_result *rows)>;
    void sendPrepared(const QByteArray &name, int count, const char *const *values,
                      const int *lengths, Rows rows = {});
    // Waits for the answers to everything sent. Throws the first failure
    // (ConnectionLost when the connection is gone).
    void finish();
    // Waits for what is pending when its outcome no longer matters (its
    // step or transaction is being undone): only ConnectionLost is thrown.
    void abandon();
    // The SQLSTATE code of the failure that the last finish() threw.
    QString failureCode() const { return m_failureCode; }

private:
    void enter();
    void sent(int ok, Rows rows = {});
    [[noreturn]] void fail(const QSqlError &error);

    TDMdata &m_dm;
    pg_conn *m_connection;
    int m_pending = 0;
    std::deque<Rows> m_rows; // by statement pending, in order
    QString m_failureCode;
};

// The error of a failed server statement as Qt SQL would report it, so
// that its text reads as every other store error does.
QSqlError postgresError(const struct pg_result *result, pg_conn *connection);
