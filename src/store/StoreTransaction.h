#pragma once

#include <memory>

class PostgresPipeline;
class TDMdata;

// A store transaction for a block of work: commit() is explicit, the
// destructor rolls back what was not committed.
class StoreTransaction
{
public:
    explicit StoreTransaction(TDMdata &dm);
    ~StoreTransaction();
    StoreTransaction(const StoreTransaction &) = delete;
    StoreTransaction &operator=(const StoreTransaction &) = delete;

    void commit();

private:
    TDMdata &m_dm;
    bool m_open = false;
};

// A step inside an open transaction: release() keeps its writes, the
// destructor undoes them. A statement the store refuses undoes only itself
// on SQLite but spoils the whole transaction on PostgreSQL; undoing the step
// gives both engines the same result, and the transaction goes on.
//
// A step of queued statements (StoreStatement::queue()) sends its savepoint
// and its release with them: on a server the whole step is one round trip,
// and release() throws the failure of any statement of the step.
class StoreSavepoint
{
public:
    enum class Sending { Now, Queued };
    explicit StoreSavepoint(TDMdata &dm, Sending sending = Sending::Now); // throws StoreError
    ~StoreSavepoint();
    StoreSavepoint(const StoreSavepoint &) = delete;
    StoreSavepoint &operator=(const StoreSavepoint &) = delete;

    void release(); // throws StoreError

private:
    TDMdata &m_dm;
    std::shared_ptr<PostgresPipeline> m_pipeline; // when queued on a server
    bool m_open = false;
};
