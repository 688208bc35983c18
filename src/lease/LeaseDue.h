#pragma once

#include "LeaseContract.h"

class TDMdata;

// What is due on the contracts, for the people who pay them: the payments
// of the schedule dated today or later and their sum, the covered PCs, and
// a mark for a contract that ends soon or has ended while a PC in service
// still names it. Everything is read from Lease, LeaseMesai and PC.
namespace LeaseDue {

constexpr int DefaultWithinDays = 90;

enum class Mark { None, NearEnd, Expired };

// "", "期限間近", "期限切れ".
QString markText(Mark mark);

// NearEnd when the contract ends within the withinDays days that begin
// today (today included); Expired when it ended before today while a PC in
// service names it; None otherwise and without an end date.
Mark markOf(const QDate &end, bool namedByPcInService, const QDate &today, int withinDays);

struct Figures
{
    int paymentsDue = 0; // schedule rows dated today or later
    qint64 amountDue = 0; // their amount, tax and fee; no value counts 0
    int coveredPcs = 0; // LeasePC rows
    bool namedByPcInService = false; // a PC without removal date names it
};

// The figures of every contract that has any, by key. Throws StoreError,
// also with Amounts::overflowText() when an amount due is too large.
QHash<LeaseKey, Figures> figures(TDMdata &dm, const QDate &today);

struct Row
{
    LeaseKey key;
    QDate end; // null when unset
    Figures figures;
    Mark mark = Mark::None;
};

// Every contract in key order with its figures. Throws StoreError.
QVector<Row> rows(TDMdata &dm, const QDate &today, int withinDays = DefaultWithinDays);

} // namespace LeaseDue
