#pragma once

#include <QSqlQuery>
#include <QString>
#include <QVariantMap>
#include <deque>

class TDMdata;

// Statements run inside one transaction and kept until this object ends.
// Make it before the transaction: PostgreSQL frees a prepared statement
// only once a failed transaction is rolled back.
class KeptStatements
{
public:
    explicit KeptStatements(TDMdata &dm) : m_dm(dm) { }
    KeptStatements(const KeptStatements &) = delete;
    KeptStatements &operator=(const KeptStatements &) = delete;

    // Prepares the statement, binds the named parameters and executes it;
    // the rows of a SELECT stay readable while this object lives. Throws
    // StoreError.
    QSqlQuery &exec(const QString &sql, const QVariantMap &params = {});

    TDMdata &store() const { return m_dm; }

private:
    TDMdata &m_dm;
    std::deque<QSqlQuery> m_queries;
};
