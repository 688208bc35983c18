#include "StoreStatement.h"

#include "PostgresPipeline.h"
#include "PostgresStatement.h"
#include "StoreError.h"
#include "UDMdata.h"

#include <QSqlDriver>
#include <QSqlError>
#include <QStringEncoder>
#include <sqlite3.h>
#include <vector>

namespace {

// A statement on the SQLite handle behind the store's Qt connection.
class SqliteStatement final : public StoreStatement
{
public:
    SqliteStatement(sqlite3 *db, const QString &sql) : m_db(db)
    {
        const int rc = sqlite3_prepare16_v3(m_db, sql.utf16(), int(sql.size() * sizeof(QChar)),
                                            SQLITE_PREPARE_PERSISTENT, &m_stmt, nullptr);
        if (rc != SQLITE_OK) {
            sqlite3_finalize(m_stmt);
            m_stmt = nullptr;
            fail(rc);
        }
        m_texts.resize(size_t(sqlite3_bind_parameter_count(m_stmt)));
    }
    ~SqliteStatement() override { sqlite3_finalize(m_stmt); }

    void bindNull(int position) override
    {
        ready();
        check(sqlite3_bind_null(m_stmt, position + 1));
    }
    void bindText(int position, const QString &text) override
    {
        ready();
        // In the store's own encoding, into a buffer the position keeps from
        // one run to the next: no allocation once it is large enough, and
        // SQLite reads it in place.
        if (position < 0 || size_t(position) >= m_texts.size())
            fail(SQLITE_RANGE);
        QByteArray &buffer = m_texts[size_t(position)];
        buffer.resize(text.size() * 3 + 1);
        const char *end = m_utf8.appendToBuffer(buffer.data(), text);
        check(sqlite3_bind_text(m_stmt, position + 1, buffer.constData(),
                                int(end - buffer.constData()), SQLITE_STATIC));
    }
    void bindInt(int position, qint64 value) override
    {
        ready();
        check(sqlite3_bind_int64(m_stmt, position + 1, value));
    }
    void bindValue(int position, const QVariant &value) override
    {
        ready();
        const int p = position + 1;
        if (value.isNull() || !value.isValid()) {
            check(sqlite3_bind_null(m_stmt, p));
            return;
        }
        switch (value.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
        case QMetaType::Bool:
        case QMetaType::Short:
        case QMetaType::Long:
            check(sqlite3_bind_int64(m_stmt, p, value.toLongLong()));
            return;
        case QMetaType::Double:
        case QMetaType::Float:
            check(sqlite3_bind_double(m_stmt, p, value.toDouble()));
            return;
        default:
            break;
        }
        bindText(position, value.toString());
    }

    void exec() override
    {
        ready();
        m_stepped = true;
        m_rowWaiting = step();
    }
    bool next() override
    {
        if (m_rowWaiting) {
            m_rowWaiting = false;
            return true;
        }
        return !m_done && step();
    }
    QVariant value(int column) const override
    {
        switch (sqlite3_column_type(m_stmt, column)) {
        case SQLITE_NULL:
            return {};
        case SQLITE_INTEGER:
            return qlonglong(sqlite3_column_int64(m_stmt, column));
        case SQLITE_FLOAT:
            return sqlite3_column_double(m_stmt, column);
        default: {
            const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(m_stmt, column));
            const int bytes = sqlite3_column_bytes(m_stmt, column);
            // Empty, not null, as Qt's driver gives it.
            return bytes == 0 ? QString(QLatin1String("")) : QString::fromUtf8(text, bytes);
        }
        }
    }
    void finish() override
    {
        sqlite3_reset(m_stmt);
        m_stepped = false;
        m_rowWaiting = false;
        m_done = true;
    }

private:
    // A statement that ran is reset before it takes new values; the values
    // bound stay.
    void ready()
    {
        if (m_stepped) {
            sqlite3_reset(m_stmt);
            m_stepped = false;
        }
        m_rowWaiting = false;
        m_done = false;
    }
    bool step()
    {
        const int rc = sqlite3_step(m_stmt);
        if (rc == SQLITE_ROW)
            return true;
        m_done = true;
        if (rc == SQLITE_DONE)
            return false;
        // The message first: the reset keeps the code but may change it.
        const QString message = errorText(rc);
        sqlite3_reset(m_stmt);
        m_stepped = false;
        throw StoreError(message);
    }
    void check(int rc)
    {
        if (rc != SQLITE_OK)
            fail(rc);
    }
    [[noreturn]] void fail(int rc) { throw StoreError(errorText(rc)); }
    // As Qt's driver reports it, so a lock held by another copy reads the
    // same whichever path met it.
    QString errorText(int rc) const
    {
        const int code = sqlite3_errcode(m_db) != SQLITE_OK ? sqlite3_errcode(m_db) : rc;
        const char *message = sqlite3_errmsg(m_db);
        return sqlErrorText(QSqlError(
            QString(), message ? QString::fromUtf8(message) : QString::fromUtf8(sqlite3_errstr(rc)),
            QSqlError::StatementError, QString::number(code & 0xff)));
    }

    sqlite3 *m_db;
    sqlite3_stmt *m_stmt = nullptr;
    std::vector<QByteArray> m_texts; // the text of each position, as UTF-8
    QStringEncoder m_utf8 {QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
    bool m_stepped = false; // run since its last reset
    bool m_rowWaiting = false; // exec() stepped onto the first row
    bool m_done = true; // no more rows
};

// A statement through Qt SQL (a server store).
class QtStatement final : public StoreStatement
{
public:
    explicit QtStatement(QSqlQuery query) : m_query(std::move(query)) { }

    void bindNull(int position) override
    {
        m_query.bindValue(position, QVariant(QMetaType(QMetaType::QString)));
    }
    void bindText(int position, const QString &text) override { m_query.bindValue(position, text); }
    void bindInt(int position, qint64 value) override
    {
        m_query.bindValue(position, qlonglong(value));
    }
    void bindValue(int position, const QVariant &value) override
    {
        m_query.bindValue(position, value);
    }
    void exec() override { TDMdata::exec(m_query); }
    bool next() override { return m_query.next(); }
    QVariant value(int column) const override { return m_query.value(column); }
    void finish() override { m_query.finish(); }

private:
    QSqlQuery m_query;
};

sqlite3 *sqliteHandle(TDMdata &dm)
{
    const QSqlDriver *driver = dm.database().driver();
    const QVariant handle = driver ? driver->handle() : QVariant();
    if (!handle.isValid() || qstrcmp(handle.typeName(), "sqlite3*") != 0)
        return nullptr;
    return *static_cast<sqlite3 *const *>(handle.constData());
}

} // namespace

std::unique_ptr<StoreStatement> StoreStatement::prepare(TDMdata &dm, const QString &sql)
{
    if (dm.engine() == Engine::SQLite && dm.isConnected()) {
        if (sqlite3 *db = sqliteHandle(dm))
            return std::make_unique<SqliteStatement>(db, dm.dialect().translate(sql));
    }
    if (dm.engine() == Engine::PostgreSQL && dm.pipeline())
        return preparePostgresStatement(dm, sql);
    // TDMdata::prepare() says why a statement cannot be had.
    return std::make_unique<QtStatement>(dm.prepare(sql));
}

void StoreStatement::finishQueued(TDMdata &dm)
{
    if (dm.engine() != Engine::PostgreSQL)
        return;
    if (const auto pipeline = dm.pipeline())
        pipeline->finish();
}
