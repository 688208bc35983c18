#pragma once

#include "LeaseContract.h"

#include <QStringList>
#include <optional>

class TDMdata;

// Reading a contract, its schedule and its covered PCs from the store, and
// the lists the lease window offers. Every call reads its rows completely.
// Throw StoreError.
namespace LeaseReader {

// The values of one column of Lease ("LEASE", "keiyaku_bu", ...) for a
// combo box, in the order the store gives them; no value is left out.
QStringList distinctValues(TDMdata &dm, const QString &column);

// Whether the contract exists (the key check of the lease window).
bool exists(TDMdata &dm, const LeaseKey &key);

// The contract as the window's texts; none when it does not exist. stamp,
// when given, receives its UpdateTime (null when it has none).
std::optional<LeaseContract::Texts> contract(TDMdata &dm, const LeaseKey &key,
                                             QVariant *stamp = nullptr);

// The contract's UpdateTime as contract() reads it; none when the contract
// does not exist.
std::optional<QVariant> stamp(TDMdata &dm, const LeaseKey &key);

// The schedule in date order and the covered PCs in key order.
QVector<ScheduleRow> schedule(TDMdata &dm, const LeaseKey &key);
QStringList coveredPcs(TDMdata &dm, const LeaseKey &key);

// The PC ledger's computer name of a PC; none when no PC has the key.
std::optional<QString> pcName(TDMdata &dm, const QString &pcKey);

} // namespace LeaseReader
