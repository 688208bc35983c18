#include "KeptStatements.h"

#include "UDMdata.h"

QSqlQuery &KeptStatements::exec(const QString &sql, const QVariantMap &params)
{
    m_queries.push_back(m_dm.prepare(sql));
    QSqlQuery &query = m_queries.back();
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        query.bindValue(it.key(), it.value());
    TDMdata::exec(query);
    return query;
}
