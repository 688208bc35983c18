#include "PostgresUserStatement.h"

#include "Dialect.h"
#include "StoreError.h"
#include "StoreSettings.h"

#include <QDate>
#include <QDateTime>
#include <QElapsedTimer>
#include <QTime>
#include <libpq-fe.h>
#include <poll.h>

namespace {

// Type numbers of the server's built-in types.
enum Oid : unsigned {
    BoolOid = 16,
    ByteaOid = 17,
    Int8Oid = 20,
    Int2Oid = 21,
    Int4Oid = 23,
    OidOid = 26,
    Float4Oid = 700,
    Float8Oid = 701,
    DateOid = 1082,
    TimeOid = 1083,
    TimestampOid = 1114,
    TimestampTzOid = 1184,
    NumericOid = 1700,
};

constexpr const char *QueryCanceled = "57014";

QVariant valueOf(const char *text, int length, unsigned type)
{
    const QByteArray bytes = QByteArray::fromRawData(text, length);
    switch (type) {
    case BoolOid:
        return bytes == "t";
    case Int2Oid:
    case Int4Oid:
    case Int8Oid:
    case OidOid:
        return bytes.toLongLong();
    case Float4Oid:
    case Float8Oid:
    case NumericOid:
        return bytes.toDouble();
    case DateOid:
        return QDate::fromString(QString::fromLatin1(bytes), Qt::ISODate);
    case TimeOid:
        return QTime::fromString(QString::fromLatin1(bytes), Qt::ISODateWithMs);
    case TimestampOid:
    case TimestampTzOid:
        return QDateTime::fromString(QString::fromLatin1(bytes).replace(u' ', u'T'),
                                     Qt::ISODateWithMs);
    case ByteaOid: {
        size_t size = 0;
        unsigned char *raw = PQunescapeBytea(reinterpret_cast<const unsigned char *>(text), &size);
        const QByteArray data(reinterpret_cast<const char *>(raw), qsizetype(size));
        PQfreemem(raw);
        return data;
    }
    default:
        return QString::fromUtf8(text, length);
    }
}

} // namespace

PostgresUserStatement::PostgresUserStatement(const StoreSettings &settings, Mode mode)
    : m_mode(mode)
{
    const QByteArray host = settings.host.toUtf8();
    const QByteArray port = QByteArray::number(settings.port);
    const QByteArray database = settings.database.toUtf8();
    const QByteArray user = settings.user.toUtf8();
    const QByteArray password = settings.password.toUtf8();
    const char *keys[] = {"host",
                          "port",
                          "dbname",
                          "user",
                          "password",
                          "connect_timeout",
                          "client_encoding",
                          "application_name",
                          nullptr};
    const char *values[] = {host.constData(),
                            port.constData(),
                            database.constData(),
                            user.constData(),
                            password.constData(),
                            "5",
                            "UTF8",
                            "Orvane",
                            nullptr};
    m_conn = PQconnectdbParams(keys, values, 0);
    if (PQstatus(m_conn) != CONNECTION_OK) {
        const QString error = QString::fromUtf8(PQerrorMessage(m_conn)).trimmed();
        PQfinish(m_conn);
        m_conn = nullptr;
        throw StoreError(error);
    }
    m_cancel = PQgetCancel(m_conn);
}

PostgresUserStatement::~PostgresUserStatement()
{
    PQclear(m_pending);
    if (m_conn && m_running)
        cancel();
    if (m_conn) {
        drain();
        if (m_inTransaction)
            PQclear(PQexec(m_conn, "ROLLBACK"));
    }
    PQfreeCancel(m_cancel);
    PQfinish(m_conn);
}

void PostgresUserStatement::execute(const QString &sql)
{
    pg_result *result = PQexec(m_conn, sql.toUtf8().constData());
    const ExecStatusType status = PQresultStatus(result);
    if (status != PGRES_COMMAND_OK && status != PGRES_TUPLES_OK)
        fail(result);
    PQclear(result);
}

void PostgresUserStatement::fail(pg_result *result)
{
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const bool canceled = state && qstrcmp(state, QueryCanceled) == 0;
    const QString error
        = QString::fromUtf8(result ? PQresultErrorMessage(result) : PQerrorMessage(m_conn))
              .trimmed();
    PQclear(result);
    drain();
    if (canceled && m_cancelled.load())
        throw StoreError(cancelText());
    if (canceled && m_limits.seconds > 0)
        throw StoreError(timeLimitText(m_limits.seconds));
    throw StoreError(error);
}

void PostgresUserStatement::drain()
{
    if (!m_running)
        return;
    for (;;) {
        waitForResult();
        pg_result *rest = PQgetResult(m_conn);
        if (!rest)
            break;
        PQclear(rest);
    }
    m_running = false;
}

void PostgresUserStatement::start(const QString &sql, const Limits &limits)
{
    m_limits = limits;
    if (m_cancelled.load())
        throw StoreError(cancelText());
    execute(m_mode == Mode::Query ? QStringLiteral("BEGIN READ ONLY") : QStringLiteral("BEGIN"));
    m_inTransaction = true;
    execute(QStringLiteral("SET LOCAL statement_timeout = %1").arg(qint64(limits.seconds) * 1000));
    // Another copy's lock is waited for 1.5 s, as everywhere.
    execute(QStringLiteral("SET LOCAL lock_timeout = 1500"));
    execute(QStringLiteral("SET LOCAL DateStyle = ISO"));

    // The extended protocol: the server parses exactly one command.
    // The bare word user means the column, as in every statement of ours.
    const QByteArray text
        = Dialect(Engine::PostgreSQL).translate(withoutTrailingSemicolon(sql)).toUtf8();
    if (!PQsendQueryParams(m_conn, text.constData(), 0, nullptr, nullptr, nullptr, nullptr, 0))
        fail(nullptr);
    m_running = true;
    PQsetSingleRowMode(m_conn);
    if (m_cancelled.load())
        cancel(); // asked for while it was being sent
    m_pending = take();
    if (m_pending) {
        for (int i = 0; i < PQnfields(m_pending); ++i)
            m_columns << QString::fromUtf8(PQfname(m_pending, i));
    }
}

void PostgresUserStatement::waitForResult()
{
    // Waits for the server in short steps: a cancel request that reached
    // the server before it began the statement is lost there, so it is
    // sent again until the statement ends.
    QElapsedTimer sinceCancel;
    while (PQisBusy(m_conn)) {
        pollfd socket {PQsocket(m_conn), POLLIN, 0};
        ::poll(&socket, 1, 100);
        if (!PQconsumeInput(m_conn))
            break; // the connection failed: PQgetResult tells how
        if (m_cancelled.load() && (!sinceCancel.isValid() || sinceCancel.elapsed() > 250)) {
            cancel();
            sinceCancel.start();
        }
    }
}

pg_result *PostgresUserStatement::take()
{
    waitForResult();
    pg_result *result = PQgetResult(m_conn);
    if (!result) {
        m_running = false;
        return nullptr;
    }
    switch (PQresultStatus(result)) {
    case PGRES_SINGLE_TUPLE:
    case PGRES_TUPLES_OK:
    case PGRES_COMMAND_OK:
        return result;
    default:
        fail(result);
    }
}

QVariantList PostgresUserStatement::rowOf(pg_result *result) const
{
    QVariantList row;
    const int count = PQnfields(result);
    row.reserve(count);
    for (int i = 0; i < count; ++i) {
        if (PQgetisnull(result, 0, i)) {
            row << QVariant();
            continue;
        }
        const int length = PQgetlength(result, 0, i);
        if (length > m_limits.valueBytes)
            throw StoreError(tooLargeText(m_limits.valueBytes));
        row << valueOf(PQgetvalue(result, 0, i), length, PQftype(result, i));
    }
    return row;
}

bool PostgresUserStatement::next(QVariantList &row)
{
    row.clear();
    pg_result *result
        = m_pending ? std::exchange(m_pending, nullptr) : (m_running ? take() : nullptr);
    // The end of the rows is a result without rows; the statement's last
    // result (null) follows it.
    if (!result)
        return false;
    if (PQresultStatus(result) != PGRES_SINGLE_TUPLE) {
        PQclear(result);
        drain();
        return false;
    }
    try {
        row = rowOf(result);
    } catch (const StoreError &) {
        PQclear(result);
        cancel();
        drain();
        throw;
    }
    PQclear(result);
    return true;
}

void PostgresUserStatement::finish()
{
    PQclear(std::exchange(m_pending, nullptr));
    if (m_mode == Mode::Change) {
        // A change's results are read to its end before it is committed.
        while (m_running) {
            pg_result *result = take();
            PQclear(result);
        }
        execute(QStringLiteral("COMMIT"));
    } else {
        if (m_running)
            cancel();
        drain();
        execute(QStringLiteral("ROLLBACK"));
    }
    m_inTransaction = false;
}

void PostgresUserStatement::cancel()
{
    m_cancelled.store(true);
    char error[256];
    if (m_cancel)
        PQcancel(m_cancel, error, sizeof error);
}
