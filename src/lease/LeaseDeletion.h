#pragma once

#include "LeaseContract.h"

class TDMdata;

// Deleting a contract with its schedule and covered PCs.
namespace LeaseDeletion {

// The question asked first: "A(1)", then the warning; lines break with
// LF CR.
QString confirmationText(const LeaseKey &key);

// The statements, in order: LEASEPC, LEASEMESAI, LEASE.
QStringList statements();

// Runs the statements in one transaction; on any failure the transaction
// is rolled back (nothing is deleted) and StoreError is thrown, ClaimError
// when another copy has the contract open (after waiting 15 x 100 ms).
void deleteLease(TDMdata &dm, const LeaseKey &key);

} // namespace LeaseDeletion
