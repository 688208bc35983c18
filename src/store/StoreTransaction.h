#pragma once

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
class StoreSavepoint
{
public:
    explicit StoreSavepoint(TDMdata &dm); // throws StoreError
    ~StoreSavepoint();
    StoreSavepoint(const StoreSavepoint &) = delete;
    StoreSavepoint &operator=(const StoreSavepoint &) = delete;

    void release(); // throws StoreError

private:
    TDMdata &m_dm;
    bool m_open = false;
};
