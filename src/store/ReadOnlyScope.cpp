#include "ReadOnlyScope.h"

#include "StoreError.h"
#include "UDMdata.h"

ReadOnlyScope::ReadOnlyScope(TDMdata &dm) : m_dm(dm)
{
    QSqlQuery q = m_dm.exec(m_dm.engine() == Engine::SQLite
                                ? QStringLiteral("PRAGMA query_only")
                                : QStringLiteral("SHOW default_transaction_read_only"));
    const QString was = q.next() ? q.value(0).toString() : QString();
    q.finish();
    m_wasReadOnly = was == QLatin1String("1") || was == QLatin1String("on");
    if (!m_wasReadOnly)
        set(true);
}

ReadOnlyScope::~ReadOnlyScope()
{
    if (m_wasReadOnly)
        return;
    try {
        set(false);
    } catch (const StoreError &) {
        // The connection is gone; the setting went with it.
    }
}

void ReadOnlyScope::set(bool readOnly)
{
    if (m_dm.engine() == Engine::SQLite)
        m_dm.exec(readOnly ? QStringLiteral("PRAGMA query_only = ON")
                           : QStringLiteral("PRAGMA query_only = OFF"));
    else
        m_dm.exec(readOnly ? QStringLiteral("SET default_transaction_read_only = on")
                           : QStringLiteral("SET default_transaction_read_only = off"));
}
