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
