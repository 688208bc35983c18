#include "PostgresPipeline.h"

#include "StoreError.h"
#include "UDMdata.h"

#include <libpq-fe.h>

namespace {

// Answers the server keeps for the client are small, but a client that
// sends for ever without reading them would at last wait on a full socket
// while the server waits on it; a step of more statements than this is
// answered in parts.
constexpr int MostPending = 256;

} // namespace

QSqlError postgresError(const PGresult *result, PGconn *connection)
{
    const char *message = result ? PQresultErrorMessage(result) : nullptr;
    if (!message || !*message)
        message = PQerrorMessage(connection);
    const char *state = result ? PQresultErrorField(result, PG_DIAG_SQLSTATE) : nullptr;
    return QSqlError(QString(), QString::fromUtf8(message).trimmed(), QSqlError::StatementError,
                     state ? QString::fromLatin1(state) : QString());
}

void PostgresPipeline::takeConnection()
{
    if (PQpipelineStatus(m_connection) != PQ_PIPELINE_OFF
        || PQtransactionStatus(m_connection) != PQTRANS_ACTIVE)
        return;
    while (PGresult *rest = PQgetResult(m_connection))
        PQclear(rest);
}

void PostgresPipeline::enter()
{
    if (PQpipelineStatus(m_connection) != PQ_PIPELINE_OFF)
        return;
    takeConnection();
    if (!PQenterPipelineMode(m_connection))
        fail(postgresError(nullptr, m_connection));
}

void PostgresPipeline::sent(int ok, Rows rows)
{
    if (!ok) {
        // Nothing went out; what went before is answered first.
        const QSqlError error = postgresError(nullptr, m_connection);
        finish();
        fail(error);
    }
    m_rows.push_back(std::move(rows));
    if (++m_pending >= MostPending)
        finish();
}

void PostgresPipeline::send(const QByteArray &sql)
{
    send(sql, 0, nullptr, nullptr);
}

void PostgresPipeline::send(const QByteArray &sql, int count, const char *const *values,
                            const int *lengths)
{
    enter();
    sent(PQsendQueryParams(m_connection, sql.constData(), count, nullptr, values, lengths, nullptr,
                           0));
}

void PostgresPipeline::sendPrepare(const QByteArray &name, const QByteArray &sql)
{
    enter();
    sent(PQsendPrepare(m_connection, name.constData(), sql.constData(), 0, nullptr));
}

void PostgresPipeline::sendPrepared(const QByteArray &name, int count, const char *const *values,
                                    const int *lengths, Rows rows)
{
    enter();
    sent(PQsendQueryPrepared(m_connection, name.constData(), count, values, lengths, nullptr, 0),
         std::move(rows));
}

void PostgresPipeline::finish()
{
    if (PQpipelineStatus(m_connection) == PQ_PIPELINE_OFF)
        return;
    m_pending = 0;
    m_failureCode.clear();
    std::deque<Rows> receivers;
    receivers.swap(m_rows);
    std::optional<QSqlError> failure;
    bool lost = !PQpipelineSync(m_connection);
    // Each statement's answer ends with a null result; the sync point's
    // answer ends the pipeline. A connection that breaks answers nothing
    // more, so reading stops there.
    while (!lost) {
        PGresult *result = PQgetResult(m_connection);
        if (!result) {
            if (PQstatus(m_connection) == CONNECTION_BAD)
                lost = true;
            else if (!receivers.empty())
                receivers.pop_front();
            continue;
        }
        const ExecStatusType status = PQresultStatus(result);
        if (status == PGRES_PIPELINE_SYNC) {
            PQclear(result);
            break;
        }
        if ((status == PGRES_FATAL_ERROR || status == PGRES_BAD_RESPONSE) && !failure)
            failure = postgresError(result, m_connection);
        if (status == PGRES_TUPLES_OK && !receivers.empty() && receivers.front())
            receivers.front()(result);
        else
            PQclear(result);
        if (PQstatus(m_connection) == CONNECTION_BAD)
            lost = true;
    }
    if (!lost)
        PQexitPipelineMode(m_connection);
    if (lost || PQstatus(m_connection) == CONNECTION_BAD)
        fail(failure.value_or(postgresError(nullptr, m_connection)));
    if (failure)
        fail(*failure);
}

void PostgresPipeline::abandon()
{
    try {
        finish();
    } catch (const ConnectionLost &) {
        throw;
    } catch (const StoreError &) {
        // The statement's failure is undone with the rest.
    }
}

void PostgresPipeline::fail(const QSqlError &error)
{
    m_failureCode = error.nativeErrorCode();
    m_dm.raise(error);
}
