#pragma once

class TDMdata;

#include <QStringList>

// Lease records from the PC ledger: a Lease row (key only) for every
// contract that PCs name and that does not exist yet, and a LeasePC row for
// every PC that names a contract. Existing LeasePC rows only get a new time
// stamp; nothing is deleted and no contract data changes, so running it
// again is safe. Each contract is written in a short transaction of its
// own: on a store error (StoreError) the contracts written before it stay.
// A contract that another copy has open in its lease window (claimed,
// PcClaims.h) is left alone, after waiting 15 x 100 ms for it, so that
// window's OK does not drop the rows added meanwhile; it is named in the
// result.
namespace LeaseDataCreation {

struct Result
{
    int contractsAdded = 0;
    int pcsAdded = 0;
    int pcsStamped = 0; // existing LeasePC rows with a new time stamp
    QStringList claimed; // contracts left alone, as "company(number)"
};

// The message for the contracts left alone; othersWritten when rows of
// other contracts were written.
QString claimedText(const QStringList &contracts, bool othersWritten);

Result run(TDMdata &dm);

} // namespace LeaseDataCreation
