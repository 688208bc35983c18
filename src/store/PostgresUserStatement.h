#pragma once

#include "UserStatement.h"

struct pg_conn;
struct pg_result;
struct pg_cancel;

// A user statement on a PostgreSQL store: a connection of its own, the
// statement sent through the extended query protocol (one command only),
// rows read one at a time (single-row mode), a query inside a read-only
// transaction, the time limit as the server's statement_timeout, and
// cancel() through the protocol's cancel request.
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
    // The next result of the running statement; null after the last.
    pg_result *take();
    void waitForResult();
    [[noreturn]] void fail(pg_result *result);
    QVariantList rowOf(pg_result *result) const;
    void drain();

    Mode m_mode;
    pg_conn *m_conn = nullptr;
    pg_cancel *m_cancel = nullptr;
    pg_result *m_pending = nullptr; // the first row, read to learn the columns
    QStringList m_columns;
    Limits m_limits;
    std::atomic<bool> m_cancelled {false};
    bool m_running = false;
    bool m_inTransaction = false;
};
