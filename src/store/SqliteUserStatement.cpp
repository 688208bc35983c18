#include "SqliteUserStatement.h"

#include "StoreError.h"
#include "StoreSettings.h"
#include "UDMdata.h"

#include <QByteArray>
#include <QFile>
#include <QFileInfo>
#include <QUrl>
#include <cstring>
#include <sqlite3.h>

namespace {

// Functions no statement typed by the user may call: they reach files,
// libraries or the engine's internals.
bool isForbiddenFunction(const char *name)
{
    static const char *const forbidden[]
        = {"load_extension", "fts3_tokenizer", "readfile", "writefile", "edit", "sqlite_dbpage"};
    for (const char *f : forbidden) {
        if (name && sqlite3_stricmp(name, f) == 0)
            return true;
    }
    return false;
}

// Pragmas that only report (their argument, if any, names a table or an
// index); all others may change the connection or the file.
bool isReportingPragma(const char *name)
{
    static const char *const reporting[]
        = {"table_info",       "table_xinfo",   "index_list",     "index_info", "index_xinfo",
           "foreign_key_list", "database_list", "collation_list", "table_list"};
    for (const char *p : reporting) {
        if (name && sqlite3_stricmp(name, p) == 0)
            return true;
    }
    return false;
}

} // namespace

SqliteUserStatement::SqliteUserStatement(const StoreSettings &settings, Mode mode) : m_mode(mode)
{
    QByteArray path = QFile::encodeName(TDMdata::localDatabaseFile(settings.folder));
    int flags = mode == Mode::Query ? SQLITE_OPEN_READONLY : SQLITE_OPEN_READWRITE;
    // A query on a read-only mount takes the file as it stands: no copy
    // can write there, and SQLite could not make the files it reads a WAL
    // store with.
    if (mode == Mode::Query && !QFileInfo(settings.folder).isWritable()) {
        path = QUrl::fromLocalFile(TDMdata::localDatabaseFile(settings.folder))
                   .toString(QUrl::FullyEncoded)
                   .toUtf8()
            + "?immutable=1";
        flags |= SQLITE_OPEN_URI;
    }
    const int rc = sqlite3_open_v2(path.constData(), &m_db, flags, nullptr);
    if (rc != SQLITE_OK) {
        const QString error = m_db ? QString::fromUtf8(sqlite3_errmsg(m_db))
                                   : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(m_db);
        m_db = nullptr;
        throw StoreError(error);
    }
    // Another copy's lock is waited for as by the store's own connection.
    sqlite3_busy_timeout(m_db, 1500);
    sqlite3_set_authorizer(m_db, &SqliteUserStatement::authorize, this);
    sqlite3_progress_handler(m_db, 1000, &SqliteUserStatement::progress, this);
}

SqliteUserStatement::~SqliteUserStatement()
{
    sqlite3_finalize(m_stmt);
    if (m_inTransaction)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(m_db);
}

int SqliteUserStatement::authorize(void *self, int action, const char *a, const char *b,
                                   const char *, const char *)
{
    const auto *statement = static_cast<SqliteUserStatement *>(self);
    if (!statement->m_guarding)
        return SQLITE_OK;
    switch (action) {
    case SQLITE_SELECT:
    case SQLITE_READ:
    case SQLITE_RECURSIVE:
        return SQLITE_OK;
    case SQLITE_FUNCTION: // b names the function
        return isForbiddenFunction(b) ? SQLITE_DENY : SQLITE_OK;
    case SQLITE_PRAGMA:
        return isReportingPragma(a) ? SQLITE_OK : SQLITE_DENY;
    case SQLITE_INSERT:
    case SQLITE_UPDATE:
    case SQLITE_DELETE:
        // Rows of the store's tables, never of its catalog.
        if (statement->m_mode == Mode::Change && a && sqlite3_strnicmp(a, "sqlite_", 7) != 0)
            return SQLITE_OK;
        return SQLITE_DENY;
    default:
        // Structure, ATTACH, virtual tables, ...
        return SQLITE_DENY;
    }
}

int SqliteUserStatement::progress(void *self)
{
    auto *statement = static_cast<SqliteUserStatement *>(self);
    if (statement->m_cancelled.load())
        return 1;
    if (statement->m_deadline.hasExpired()) {
        statement->m_timedOut = true;
        return 1;
    }
    return 0;
}

void SqliteUserStatement::execute(const char *sql)
{
    const int rc = sqlite3_exec(m_db, sql, nullptr, nullptr, nullptr);
    if (rc != SQLITE_OK)
        fail(rc);
}

void SqliteUserStatement::fail(int code)
{
    if (m_cancelled.load())
        throw StoreError(cancelText());
    if (m_timedOut)
        throw StoreError(timeLimitText(m_limits.seconds));
    if (code == SQLITE_TOOBIG)
        throw StoreError(tooLargeText(m_limits.valueBytes));
    throw StoreError(QString::fromUtf8(sqlite3_errmsg(m_db)));
}

void SqliteUserStatement::start(const QString &sql, const Limits &limits)
{
    m_limits = limits;
    if (hasNul(sql))
        throw StoreError(nulText());
    if (m_cancelled.load())
        throw StoreError(cancelText());
    m_deadline = limits.seconds > 0 ? QDeadlineTimer(qint64(limits.seconds) * 1000)
                                    : QDeadlineTimer(QDeadlineTimer::Forever);
    sqlite3_limit(m_db, SQLITE_LIMIT_LENGTH, int(qMin<qint64>(limits.valueBytes, 1 << 30)));
    if (m_mode == Mode::Query) {
        execute("PRAGMA query_only = ON");
    } else {
        // Waits for another copy's writer like every write of the store.
        execute("BEGIN IMMEDIATE");
        m_inTransaction = true;
    }

    const QByteArray text = withoutTrailingSemicolon(sql).toUtf8();
    const char *tail = nullptr;
    m_guarding = true;
    const int rc = sqlite3_prepare_v2(m_db, text.constData(), int(text.size()), &m_stmt, &tail);
    if (rc != SQLITE_OK)
        fail(rc);
    if (!m_stmt)
        throw StoreError(QStringLiteral("SQL文に誤りがあります"));
    // Only this one statement is ever run. Anything after it but blanks
    // and comments is a second statement, refused before anything runs.
    while (tail && *tail) {
        sqlite3_stmt *rest = nullptr;
        const char *after = nullptr;
        const int restRc = sqlite3_prepare_v2(m_db, tail, -1, &rest, &after);
        sqlite3_finalize(rest);
        if (restRc != SQLITE_OK || rest || after == tail)
            throw StoreError(QStringLiteral("SQL文に誤りがあります"));
        tail = after;
    }
    if (m_mode == Mode::Query && !sqlite3_stmt_readonly(m_stmt))
        throw StoreError(QStringLiteral("SQL文に誤りがあります"));
    const int count = sqlite3_column_count(m_stmt);
    for (int i = 0; i < count; ++i)
        m_columns << QString::fromUtf8(sqlite3_column_name(m_stmt, i));
}

bool SqliteUserStatement::next(QVariantList &row)
{
    row.clear();
    if (!m_stmt)
        return false;
    const int rc = sqlite3_step(m_stmt);
    if (rc == SQLITE_DONE)
        return false;
    if (rc != SQLITE_ROW)
        fail(rc);
    const int count = sqlite3_column_count(m_stmt);
    row.reserve(count);
    for (int i = 0; i < count; ++i) {
        switch (sqlite3_column_type(m_stmt, i)) {
        case SQLITE_INTEGER:
            row << qlonglong(sqlite3_column_int64(m_stmt, i));
            break;
        case SQLITE_FLOAT:
            row << sqlite3_column_double(m_stmt, i);
            break;
        case SQLITE_TEXT:
            row << QString::fromUtf8(reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, i)),
                                     sqlite3_column_bytes(m_stmt, i));
            break;
        case SQLITE_BLOB:
            row << QByteArray(static_cast<const char *>(sqlite3_column_blob(m_stmt, i)),
                              sqlite3_column_bytes(m_stmt, i));
            break;
        default:
            row << QVariant();
        }
    }
    return true;
}

void SqliteUserStatement::finish()
{
    if (m_stmt) {
        // A change runs to its end before it is committed.
        int rc = SQLITE_ROW;
        while (m_mode == Mode::Change && rc == SQLITE_ROW)
            rc = sqlite3_step(m_stmt);
        sqlite3_finalize(m_stmt);
        m_stmt = nullptr;
        if (rc != SQLITE_ROW && rc != SQLITE_DONE)
            fail(rc);
    }
    m_guarding = false;
    if (m_inTransaction) {
        execute("COMMIT");
        m_inTransaction = false;
    }
}

void SqliteUserStatement::cancel()
{
    m_cancelled.store(true);
    sqlite3_interrupt(m_db);
}
