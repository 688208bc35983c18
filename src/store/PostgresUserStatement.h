#pragma once

#include "UserStatement.h"

#include <QByteArrayList>
#include <QDeadlineTimer>
#include <QVector>

struct pg_conn;
struct pg_result;
struct pg_cancel;

// A user statement on a PostgreSQL store: a connection of its own, the
// statement sent through the extended query protocol (one command only),
// the time limit as the server's statement_timeout, and cancel() through
// the protocol's cancel request.
//
// A query runs in a read-only transaction under the store's read-only role
// (ReadOnlyRole.h): its columns are learnt by describing it, its rows come
// through the role's functions in batches, one value per result row, so
// that no value larger than the limit reaches this side. Where the role
// cannot be had the query runs as the login, rows one at a time
// (single-row mode), when the login cannot write past the transaction;
// otherwise it is refused.
class PostgresUserStatement : public UserStatement
{
public:
    PostgresUserStatement(const StoreSettings &settings, Mode mode); // throws StoreError
    ~PostgresUserStatement() override;

    void start(const QString &sql, const Limits &limits) override;
    QStringList columns() const override { return m_columns; }
    bool next(QVariantList &row) override;
    void finish() override;
    void cancel() override;

private:
    void execute(const QString &sql);
    // Runs a statement with text parameters to its end; its first row's
    // first value. Throws StoreError.
    QByteArray scalar(const QString &sql, const QByteArrayList &params);
    void send(const QString &sql, const QByteArrayList &params);
    // The next result of the running statement; null after the last.
    pg_result *take();
    void waitForResult();
    [[noreturn]] void fail(pg_result *result);
    QVariantList rowOf(pg_result *result) const;
    void drain();
    void throwIfStopped();

    // Whether the query may run under the read-only role; throws the
    // refusal where it may not run at all.
    bool chooseReadOnlyRole();
    void startAsLogin(const QByteArray &text);
    void startInRole(const QByteArray &text);
    bool nextInRole(QVariantList &row);
    void fetchBatch();

    Mode m_mode;
    pg_conn *m_conn = nullptr;
    pg_cancel *m_cancel = nullptr;
    pg_result *m_pending = nullptr; // the first row, read to learn the columns
    QStringList m_columns;
    Limits m_limits;
    QDeadlineTimer m_deadline;
    std::atomic<bool> m_cancelled {false};
    bool m_running = false;
    bool m_inTransaction = false;

    // The query under the read-only role.
    bool m_inRole = false;
    QVector<unsigned> m_types;
    bool m_batchHadValues = true;
    bool m_atEnd = false;
};
