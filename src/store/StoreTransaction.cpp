#include "StoreTransaction.h"

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
