#pragma once

#include <functional>

class TDMdata;

// Fills PC.IP16 from PC.IP where an address has no IP16 yet.
namespace Ip16Backfill {

// The number of PCs with an address but no IP16.
int countMissing(TDMdata &dm);

// Goes through the PCs in key order; each one with an address and without
// IP16 gets IPToIP16 of its address (empty again for an invalid address)
// and is counted. progress(count) follows every saved row. Returns the
// count. Throws StoreError.
int run(TDMdata &dm, const std::function<void(int)> &progress);

} // namespace Ip16Backfill
