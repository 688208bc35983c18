#include "PostgresUserStatement.h"

#include "Dialect.h"
#include "ReadOnlyRole.h"
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

// A batch of rows fetched under the read-only role: at most this many rows
// or, with the last row, a little more than this many bytes.
constexpr int BatchRows = 512;
constexpr qint64 BatchBytes = 4 * 1024 * 1024;

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

void PostgresUserStatement::send(const QString &sql, const QByteArrayList &params)
{
    QVector<const char *> values;
    for (const QByteArray &p : params)
        values << p.constData();
    if (!PQsendQueryParams(m_conn, sql.toUtf8().constData(), int(values.size()), nullptr,
                           values.constData(), nullptr, nullptr, 0))
        fail(nullptr);
    m_running = true;
    if (m_cancelled.load())
        cancel(); // asked for while it was being sent
}

QByteArray PostgresUserStatement::scalar(const QString &sql, const QByteArrayList &params)
{
    send(sql, params);
    QByteArray value;
    bool first = true;
    while (pg_result *result = take()) {
        if (first && PQntuples(result) > 0 && PQnfields(result) > 0)
            value = QByteArray(PQgetvalue(result, 0, 0), PQgetlength(result, 0, 0));
        first = false;
        PQclear(result);
    }
    return value;
}

void PostgresUserStatement::fail(pg_result *result)
{
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    const bool canceled = state && qstrcmp(state, QueryCanceled) == 0;
    const bool tooLarge = state && ReadOnlyRole::valueTooLargeState() == state;
    QString error
        = QString::fromUtf8(result ? PQresultErrorMessage(result) : PQerrorMessage(m_conn))
              .trimmed();
    // Under the read-only role the server's context names the functions
    // and the wrapping of the statement, which the user never wrote.
    const char *primary = result ? PQresultErrorField(result, PG_DIAG_MESSAGE_PRIMARY) : nullptr;
    if (primary && m_inRole) {
        error = QStringLiteral("ERROR:  ") + QString::fromUtf8(primary);
        for (const auto &[field, label] : {std::pair {PG_DIAG_MESSAGE_DETAIL, "DETAIL:  "},
                                           std::pair {PG_DIAG_MESSAGE_HINT, "HINT:  "}}) {
            if (const char *text = PQresultErrorField(result, field))
                error += u'\n' + QLatin1String(label) + QString::fromUtf8(text);
        }
    }
    PQclear(result);
    drain();
    if (canceled && m_cancelled.load())
        throw StoreError(cancelText());
    if (canceled && m_limits.seconds > 0)
        throw StoreError(timeLimitText(m_limits.seconds));
    if (tooLarge)
        throw StoreError(tooLargeText(m_limits.valueBytes));
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

void PostgresUserStatement::throwIfStopped()
{
    if (m_cancelled.load())
        throw StoreError(cancelText());
    if (m_limits.seconds > 0 && m_deadline.hasExpired())
        throw StoreError(timeLimitText(m_limits.seconds));
}

void PostgresUserStatement::start(const QString &sql, const Limits &limits)
{
    m_limits = limits;
    if (hasNul(sql))
        throw StoreError(nulText());
    if (m_cancelled.load())
        throw StoreError(cancelText());
    m_deadline = limits.seconds > 0 ? QDeadlineTimer(qint64(limits.seconds) * 1000)
                                    : QDeadlineTimer(QDeadlineTimer::Forever);
    execute(m_mode == Mode::Query ? QStringLiteral("BEGIN READ ONLY") : QStringLiteral("BEGIN"));
    m_inTransaction = true;
    execute(QStringLiteral("SET LOCAL statement_timeout = %1").arg(qint64(limits.seconds) * 1000));
    // Another copy's lock is waited for 1.5 s, as everywhere.
    execute(QStringLiteral("SET LOCAL lock_timeout = 1500"));
    execute(QStringLiteral("SET LOCAL DateStyle = ISO"));

    // The bare word user means the column, as in every statement of ours.
    const QByteArray text
        = Dialect(Engine::PostgreSQL)
              .translate(withoutTrailingSemicolon(sql, SqlText::Syntax::PostgreSQL))
              .toUtf8();
    if (m_mode == Mode::Query && chooseReadOnlyRole())
        startInRole(text);
    else
        startAsLogin(text);
}

bool PostgresUserStatement::chooseReadOnlyRole()
{
    const QString role = ReadOnlyRole::roleName(
        QString::fromUtf8(scalar(QStringLiteral("SELECT current_database()"), {})));
    send(ReadOnlyRole::probeStatement(), {role.toUtf8()});
    ReadOnlyRole::Probe probe;
    while (pg_result *result = take()) {
        if (PQntuples(result) > 0) {
            const auto flag = [&](int column) { return PQgetvalue(result, 0, column)[0] == 't'; };
            probe.installed = flag(0);
            probe.harmless = flag(1);
            probe.privilegedLogin = flag(2);
            probe.linksInstalled = flag(3);
        }
        PQclear(result);
    }
    if (probe.refused())
        throw StoreError(ReadOnlyRole::refusalText(probe, role));
    return probe.usable();
}

void PostgresUserStatement::startAsLogin(const QByteArray &text)
{
    // The extended protocol: the server parses exactly one command.
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

void PostgresUserStatement::startInRole(const QByteArray &text)
{
    // Parsed, not run: the prepared statement tells the columns and their
    // types, and holds the text to one command.
    pg_result *prepared = PQprepare(m_conn, "", text.constData(), 0, nullptr);
    if (PQresultStatus(prepared) != PGRES_COMMAND_OK)
        fail(prepared);
    PQclear(prepared);
    pg_result *described = PQdescribePrepared(m_conn, "");
    if (PQresultStatus(described) != PGRES_COMMAND_OK)
        fail(described);
    for (int i = 0; i < PQnfields(described); ++i) {
        m_columns << QString::fromUtf8(PQfname(described, i));
        m_types << PQftype(described, i);
    }
    PQclear(described);
    if (m_columns.isEmpty())
        throw StoreError(QStringLiteral("SQL文に誤りがあります"));
    m_inRole = true;
    scalar(ReadOnlyRole::openStatement(),
           {ReadOnlyRole::wrapped(QString::fromUtf8(text), int(m_columns.size())).toUtf8()});
}

void PostgresUserStatement::fetchBatch()
{
    throwIfStopped();
    // The time limit holds for the whole query, not for each batch.
    if (m_limits.seconds > 0)
        execute(QStringLiteral("SET LOCAL statement_timeout = %1")
                    .arg(qMax<qint64>(1, m_deadline.remainingTime())));
    QStringList limits;
    for (unsigned type : std::as_const(m_types)) {
        // A binary value comes as hexadecimal text, two digits a byte.
        limits << QString::number(type == ByteaOid ? m_limits.valueBytes * 2 + 2
                                                   : m_limits.valueBytes);
    }
    send(ReadOnlyRole::fetchStatement(),
         {QByteArray::number(BatchRows), QByteArray::number(BatchBytes),
          (u'{' + limits.join(u',') + u'}').toUtf8()});
    PQsetSingleRowMode(m_conn);
    m_batchHadValues = false;
}

bool PostgresUserStatement::nextInRole(QVariantList &row)
{
    while (!m_atEnd && row.size() < m_columns.size()) {
        if (!m_running) {
            // A batch without a value was the last.
            if (!m_batchHadValues) {
                m_atEnd = true;
                break;
            }
            fetchBatch();
        }
        pg_result *result = take();
        if (!result)
            continue;
        if (PQresultStatus(result) == PGRES_SINGLE_TUPLE) {
            const int column = int(row.size());
            if (PQgetisnull(result, 0, 0)) {
                row << QVariant();
            } else {
                const int length = PQgetlength(result, 0, 0);
                row << valueOf(PQgetvalue(result, 0, 0), length, m_types.value(column));
            }
            m_batchHadValues = true;
        }
        PQclear(result);
    }
    if (row.size() < m_columns.size()) {
        row.clear();
        return false;
    }
    return true;
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
    if (m_inRole)
        return nextInRole(row);
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
