#pragma once

#include "store/Schema.h"

#include <QString>
#include <QVariant>
#include <QVector>

class KeptStatements;
class TDMdata;

// Merging the old entry of a PC into its new one (a PC renamed, re-imaged
// or given a new key, see PcDuplicates): the newer PC keeps its collected
// data and receives what only the administrator knows.
//
// - The ledger columns (ledgerColumns(): those the import never writes) go
//   from the older PC to the newer one where the user chooses; by default
//   where the newer one has no value, except the removal date, which would
//   take a PC in service out of the statistics.
// - The older PC's hand-entered detail rows (input kind 手入力, and shares
//   without an input kind, as the share dialog writes them) move to the
//   newer PC, unless it has a row of that name.
// - The lease contracts' rows naming the older PC name the newer one.
// - The older PC and its remaining detail rows are deleted; its marks of
//   「別のPC」 pass to the newer PC.
// All in one transaction, refused while another copy has either PC (or a
// contract naming the older one) open, recorded in the history as 統合.
namespace PcMerge {

struct LedgerColumn
{
    QString name; // PC column
    QString caption; // as the PC ledger window labels it
};

// The PC columns that only the administrator fills in, in the order of the
// PC ledger window.
const QVector<LedgerColumn> &ledgerColumns();

enum class Side { Newer, Older };

// A hand-entered detail row of the older PC.
struct DetailRow
{
    TableId table;
    QString name; // its second key value
    bool moves = true; // false: the newer PC has a row of that name
};

// A lease contract naming the older PC.
struct LeaseLink
{
    QString lease;
    QString number;
    bool moves = true; // false: the contract names the newer PC already
};

// What a merge will do, read from the store; the choice per ledger column
// is the caller's.
class Plan
{
public:
    // Reads both PCs. Throws StoreError when one is missing or both keys
    // are one PC.
    static Plan read(TDMdata &dm, const QString &newerKey, const QString &olderKey);

    const QString &newerKey() const { return m_newerKey; }
    const QString &olderKey() const { return m_olderKey; }
    // A PC column's value, typed, and as people read it ("yyyy/mm/dd" for
    // dates).
    QVariant value(Side side, const QString &column) const;
    QString text(Side side, const QString &column) const;
    // The ledger columns (indexes into ledgerColumns()) whose values differ.
    QVector<int> differing() const;
    Side choice(int ledgerColumn) const { return m_choices.value(ledgerColumn); }
    void choose(int ledgerColumn, Side side);
    // The value the newer PC will have in a ledger column.
    QString merged(int ledgerColumn) const;
    // The ledger columns where both PCs have a value and the newer PC keeps
    // its own.
    QVector<int> kept() const;

    const QVector<DetailRow> &details() const { return m_details; }
    const QVector<LeaseLink> &leases() const { return m_leases; }

    // Whether another plan read the same values, rows and contracts.
    bool sameAs(const Plan &other) const;

    // The same, with statements that outlive the caller's transaction.
    static Plan read(KeptStatements &statements, const QString &newerKey, const QString &olderKey);

private:
    QString m_newerKey;
    QString m_olderKey;
    QVector<QVariant> m_newer; // the PC rows, by catalog column
    QVector<QVariant> m_older;
    QVector<Side> m_choices; // by ledger column
    QVector<DetailRow> m_details;
    QVector<LeaseLink> m_leases;
};

struct Result
{
    int values = 0; // ledger values carried to the newer PC
    int rows = 0; // detail rows moved
    int leases = 0; // contract rows moved
};

// The text of ClaimError and StoreError when the PCs changed after the
// plan was read.
QString changedText();

// Carries out the plan. Throws ClaimError when another copy has one of the
// PCs or contracts open, StoreError otherwise; nothing is changed then.
Result merge(TDMdata &dm, const Plan &plan);

// The caption of a detail table in messages: "アプリケーション", ...
QString tableCaption(TableId table);

} // namespace PcMerge
