#pragma once

class TDMdata;

// Lease records from the PC ledger: a Lease row (key only) for every
// contract that PCs name and that does not exist yet, and a LeasePC row for
// every PC that names a contract. Existing LeasePC rows only get a new time
// stamp; nothing is deleted and no contract data changes, so running it
// again is safe. Each statement is written at once: on a store error
// (StoreError) the rows written before it stay.
namespace LeaseDataCreation {

struct Result
{
    int contractsAdded = 0;
    int pcsAdded = 0;
    int pcsStamped = 0; // existing LeasePC rows with a new time stamp
};

Result run(TDMdata &dm);

} // namespace LeaseDataCreation
