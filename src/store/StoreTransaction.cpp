#include "StoreTransaction.h"

#include "PostgresPipeline.h"
#include "StoreError.h"
#include "UDMdata.h"

StoreTransaction::StoreTransaction(TDMdata &dm) : m_dm(dm)
{
    m_dm.startTransaction();
    m_open = true;
}

StoreTransaction::~StoreTransaction()
{
    if (!m_open)
        return;
    try {
        m_dm.rollback();
    } catch (const StoreError &) {
        // The connection is gone; the store has dropped the transaction.
    }
}

void StoreTransaction::commit()
{
    m_dm.commit();
    m_open = false;
}

namespace {

// Steps do not nest within one another's lifetime in a way that needs
// distinct names: an inner savepoint of the same name shadows the outer.
const QString StepName = QStringLiteral("orvane_step");

} // namespace

StoreSavepoint::StoreSavepoint(TDMdata &dm, Sending sending) : m_dm(dm)
{
    if (sending == Sending::Queued && m_dm.engine() == Engine::PostgreSQL)
        m_pipeline = m_dm.pipeline();
    if (m_pipeline)
        m_pipeline->send(QByteArrayLiteral("SAVEPOINT ") + StepName.toLatin1());
    else
        m_dm.exec(QStringLiteral("SAVEPOINT ") + StepName);
    m_open = true;
}

StoreSavepoint::~StoreSavepoint()
{
    if (!m_open)
        return;
    try {
        // What is still queued is answered first (its failure is what
        // undoes the step, or the step is undone anyway).
        if (m_pipeline && m_pipeline->connection())
            m_pipeline->abandon();
        m_dm.exec(QStringLiteral("ROLLBACK TO SAVEPOINT ") + StepName);
        m_dm.exec(QStringLiteral("RELEASE SAVEPOINT ") + StepName);
    } catch (const StoreError &) {
        // The connection is gone; so is the transaction with its savepoint.
    }
}

void StoreSavepoint::release()
{
    if (m_pipeline) {
        m_pipeline->send(QByteArrayLiteral("RELEASE SAVEPOINT ") + StepName.toLatin1());
        m_pipeline->finish();
    } else {
        m_dm.exec(QStringLiteral("RELEASE SAVEPOINT ") + StepName);
    }
    m_open = false;
}
