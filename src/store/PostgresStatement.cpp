#include "PostgresStatement.h"

#include "PostgresPipeline.h"
#include "SqlText.h"
#include "StoreError.h"
#include "StoreStatement.h"
#include "UDMdata.h"

#include <QDate>
#include <QDateTime>
#include <QStringEncoder>
#include <atomic>
#include <libpq-fe.h>
#include <vector>

namespace {

// The type numbers of the server's catalog (pg_type) that are read as
// numbers; every other value is read as text.
enum : Oid {
    Int8Oid = 20,
    Int2Oid = 21,
    Int4Oid = 23,
    Float4Oid = 700,
    Float8Oid = 701,
    NumericOid = 1700
};

// The statement with its ? marks as $1, $2, ... (outside literals, quoted
// names and comments), as the server numbers its parameters.
QByteArray numbered(const QString &sql, int &count)
{
    QString out;
    out.reserve(sql.size() + 32);
    count = 0;
    SqlText::forEachRun(sql, [&](QStringView run, bool isCode) {
        if (!isCode) {
            out += run;
            return;
        }
        for (const QChar c : run) {
            if (c == u'?')
                out += QLatin1Char('$') + QString::number(++count);
            else
                out += c;
        }
    });
    return out.toUtf8();
}

QByteArray uniqueName()
{
    static std::atomic<quint64> next {0};
    return "orvane_s" + QByteArray::number(++next);
}

class PostgresStatement final : public StoreStatement
{
public:
    PostgresStatement(TDMdata &dm, const QString &sql)
        : m_dm(dm), m_pipeline(dm.pipeline()), m_generation(dm.generation()), m_name(uniqueName())
    {
        int count = 0;
        const QByteArray text = numbered(dm.dialect().translate(sql), count);
        m_values.resize(size_t(count));
        m_null.assign(size_t(count), true);
        m_pointers.assign(size_t(count), nullptr);
        m_lengths.assign(size_t(count), 0);
        // Prepared among the statements queued before it, or at once.
        if (m_pipeline->pending()) {
            m_pipeline->sendPrepare(m_name, text);
        } else {
            m_pipeline->takeConnection();
            PGresult *result
                = PQprepare(connection(), m_name.constData(), text.constData(), 0, nullptr);
            check(result, PGRES_COMMAND_OK);
            PQclear(result);
        }
    }

    ~PostgresStatement() override
    {
        PQclear(m_result);
        // The server keeps a prepared statement until the session ends; a
        // failed transaction refuses even its release, and statements that
        // are pending leave no room for it: the session ends it then.
        // Only the pipeline is asked: the store may be gone already, and it
        // detaches the pipeline when it closes or replaces the connection.
        PGconn *c = connection();
        if (!c || m_pipeline->pending())
            return;
        if (PQstatus(c) != CONNECTION_OK || PQtransactionStatus(c) == PQTRANS_INERROR)
            return;
        m_pipeline->takeConnection();
        PQclear(PQexec(c, ("DEALLOCATE " + m_name).constData()));
    }

    void bindNull(int position) override { m_null[size_t(position)] = true; }
    void bindText(int position, const QString &text) override
    {
        m_values[size_t(position)] = m_utf8.encode(text);
        m_null[size_t(position)] = false;
    }
    void bindInt(int position, qint64 value) override
    {
        m_values[size_t(position)] = QByteArray::number(value);
        m_null[size_t(position)] = false;
    }
    void bindValue(int position, const QVariant &value) override
    {
        if (value.isNull() || !value.isValid()) {
            bindNull(position);
            return;
        }
        switch (value.typeId()) {
        case QMetaType::QString:
            bindText(position, *static_cast<const QString *>(value.constData()));
            return;
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
            bindInt(position, value.toLongLong());
            return;
        case QMetaType::Double:
        case QMetaType::Float:
            m_values[size_t(position)] = QByteArray::number(value.toDouble(), 'g', 17);
            break;
        case QMetaType::Bool:
            m_values[size_t(position)] = value.toBool() ? "t" : "f";
            break;
        case QMetaType::QDate:
            m_values[size_t(position)] = value.toDate().toString(Qt::ISODate).toLatin1();
            break;
        case QMetaType::QDateTime:
            m_values[size_t(position)]
                = value.toDateTime().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss.zzz")).toLatin1();
            break;
        default:
            m_values[size_t(position)] = value.toString().toUtf8();
            break;
        }
        m_null[size_t(position)] = false;
    }

    void exec() override
    {
        live();
        m_pipeline->finish();
        PQclear(m_result);
        m_result = nullptr;
        m_row = -1;
        pointValues();
        m_pipeline->takeConnection();
        m_result = PQexecPrepared(connection(), m_name.constData(), int(m_values.size()),
                                  m_pointers.data(), m_lengths.data(), nullptr, 0);
        const ExecStatusType status = PQresultStatus(m_result);
        if (status != PGRES_TUPLES_OK && status != PGRES_COMMAND_OK) {
            PGresult *failed = m_result;
            m_result = nullptr;
            check(failed, PGRES_TUPLES_OK);
        }
    }
    void queue() override
    {
        live();
        finish();
        pointValues();
        // The rows of a SELECT arrive at the pipeline's finish().
        m_pipeline->sendPrepared(m_name, int(m_values.size()), m_pointers.data(), m_lengths.data(),
                                 [this, alive = std::weak_ptr<int>(m_alive)](PGresult *rows) {
                                     if (alive.expired()) {
                                         PQclear(rows);
                                         return;
                                     }
                                     PQclear(m_result);
                                     m_result = rows;
                                     m_row = -1;
                                 });
    }
    bool next() override { return m_result && ++m_row < PQntuples(m_result); }
    QVariant value(int column) const override
    {
        if (!m_result || m_row < 0 || m_row >= PQntuples(m_result)
            || PQgetisnull(m_result, m_row, column))
            return {};
        const char *text = PQgetvalue(m_result, m_row, column);
        switch (PQftype(m_result, column)) {
        case Int2Oid:
        case Int4Oid:
        case Int8Oid:
            return qlonglong(std::strtoll(text, nullptr, 10));
        case Float4Oid:
        case Float8Oid:
        case NumericOid:
            return std::strtod(text, nullptr);
        default:
            return QString::fromUtf8(text, PQgetlength(m_result, m_row, column));
        }
    }
    void finish() override
    {
        PQclear(m_result);
        m_result = nullptr;
        m_row = -1;
    }

private:
    PGconn *connection() const { return m_pipeline->connection(); }

    // A statement of a connection replaced by a reconnect is no more.
    bool isLive() const { return m_pipeline->connection() && m_dm.generation() == m_generation; }
    void live() const
    {
        if (!isLive())
            throw ConnectionLost();
    }

    void pointValues()
    {
        for (size_t i = 0; i < m_values.size(); ++i) {
            m_pointers[i] = m_null[i] ? nullptr : m_values[i].constData();
            m_lengths[i] = m_null[i] ? 0 : int(m_values[i].size());
        }
    }

    // Throws the error of a result that is not the one expected, and
    // releases it.
    void check(PGresult *result, ExecStatusType expected)
    {
        if (PQresultStatus(result) == expected)
            return;
        const QSqlError error = postgresError(result, connection());
        PQclear(result);
        m_dm.raise(error);
    }

    TDMdata &m_dm;
    std::shared_ptr<PostgresPipeline> m_pipeline;
    int m_generation;
    QByteArray m_name;
    std::vector<QByteArray> m_values;
    std::vector<bool> m_null;
    std::vector<const char *> m_pointers;
    std::vector<int> m_lengths;
    QStringEncoder m_utf8 {QStringEncoder::Utf8, QStringEncoder::Flag::Stateless};
    PGresult *m_result = nullptr;
    int m_row = -1;
    // Rows that arrive after this statement ended are dropped.
    std::shared_ptr<int> m_alive = std::make_shared<int>(0);
};

} // namespace

std::unique_ptr<StoreStatement> preparePostgresStatement(TDMdata &dm, const QString &sql)
{
    return std::make_unique<PostgresStatement>(dm, sql);
}
