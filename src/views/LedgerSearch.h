#pragma once

#include "base/SearchText.h"

#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>
#include <optional>
#include <vector>

class TDMdata;

// The search over the whole ledger (「ﾂｰﾙ → 検索...」, orvanectl find): PCs
// (every text column, the ledger's data and remarks included),
// applications (name, version, product ID), printers, shares, adapters (IP,
// MAC) and lease contracts (company, number, item name, covered PCs).
//
// load() reads the searched columns of the store once into an index kept
// in memory: each record holds, per searched value, the number of that
// value in a pool of distinct values with their search forms. A search
// matches the query's words against the pool once (a few hundred thousand
// distinct texts at 50,000 PCs, where applications and versions repeat),
// then checks each record's value numbers, so it needs neither the store
// nor a table of search texts kept current by every write. The index shows
// the store as load() found it.
class LedgerSearch
{
public:
    enum class Kind { Pc, Appli, Printer, Share, Lan, Lease };
    static constexpr int KindCount = 6;

    // What a match names: the kind ("PC", "アプリ", ...), the PC's key (for
    // a contract its company and number), the column's caption and the
    // stored value.
    struct Hit
    {
        Kind kind;
        QString key;
        QString leaseCompany; // a contract's key; empty for the others
        QString leaseNo;
        QString column;
        QString value;
    };

    // Kinds to read (all when empty). Throws StoreError. When stopped says
    // so the read ends early and the index is incomplete (its reader is
    // going away).
    void load(TDMdata &dm, const QList<Kind> &kinds = {},
              const std::function<bool()> &stopped = {});
    // The records of which every word occurs in one of their searched
    // columns (each word in any of them), each named by the columns that
    // hold a word, grouped by kind, in key order within each kind.
    QList<Hit> find(const QString &typed) const;

    int recordCount() const { return int(m_records.size()); }
    int distinctValueCount() const { return int(m_values.size()); }

    static QString kindText(Kind kind);
    // The kind of an option of orvanectl find ("pc", "appli", ...).
    static std::optional<Kind> kindOfName(const QString &name);
    static QStringList kindNames();

private:
    struct Record
    {
        Kind kind;
        int key; // value number of the key (the contract's company)
        int leaseNo; // value number of the contract number, -1 for none
        int firstField; // into m_fields
        int fieldCount;
    };
    struct Field
    {
        int column; // into m_columns
        int value; // into m_values
    };

    int intern(const QString &value);
    int columnNumber(const QString &caption);
    void readTable(TDMdata &dm, Kind kind, const QString &statement, const QStringList &captions,
                   const std::function<bool()> &stopped);
    void readLeases(TDMdata &dm);

    std::vector<Record> m_records;
    std::vector<Field> m_fields;
    QStringList m_columns;
    QStringList m_values; // distinct stored values
    QStringList m_texts; // their search forms
    QHash<QString, int> m_valueNumbers;
};
