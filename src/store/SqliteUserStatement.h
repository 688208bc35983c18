#pragma once

#include "UserStatement.h"

#include <QDeadlineTimer>

struct sqlite3;
struct sqlite3_stmt;

// A user statement on a SQLite store: a connection of its own to the
// store's file (read-only for a query), an authorizer that lets a query
// only read and a change only read and write rows, a limit on the size of
// one value, and a progress handler that stops at the time limit or on
// cancel().
class SqliteUserStatement : public UserStatement
{
public:
    SqliteUserStatement(const StoreSettings &settings, Mode mode); // throws StoreError
    ~SqliteUserStatement() override;

    void start(const QString &sql, const Limits &limits) override;
    QStringList columns() const override { return m_columns; }
    bool next(QVariantList &row) override;
    void finish() override;
    void cancel() override;

private:
    static int authorize(void *self, int action, const char *a, const char *b, const char *c,
                         const char *d);
    static int progress(void *self);
    void execute(const char *sql);
    [[noreturn]] void fail(int code);

    Mode m_mode;
    sqlite3 *m_db = nullptr;
    sqlite3_stmt *m_stmt = nullptr;
    QStringList m_columns;
    Limits m_limits;
    QDeadlineTimer m_deadline;
    std::atomic<bool> m_cancelled {false};
    bool m_timedOut = false;
    bool m_inTransaction = false;
    // True while the user's statement is prepared or runs: only then does
    // the authorizer judge; our own BEGIN, COMMIT and pragmas pass.
    bool m_guarding = false;
};
