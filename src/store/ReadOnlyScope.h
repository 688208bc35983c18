#pragma once

class TDMdata;

// While it lives, the store's connection refuses every write: SQLite's
// query_only, PostgreSQL's read-only transactions. For work that must only
// read, such as the import's preview, whatever it runs. The connection's
// earlier setting comes back at the end.
class ReadOnlyScope
{
public:
    explicit ReadOnlyScope(TDMdata &dm); // throws StoreError
    ~ReadOnlyScope();
    ReadOnlyScope(const ReadOnlyScope &) = delete;
    ReadOnlyScope &operator=(const ReadOnlyScope &) = delete;

private:
    void set(bool readOnly);

    TDMdata &m_dm;
    bool m_wasReadOnly = false;
};
