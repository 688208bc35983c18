#pragma once

#include <QString>

class TDMdata;

// A network as the administrator names it: an address and a subnet mask.
struct NetworkPair
{
    QString address;
    QString mask;
};

// Copies into each PC the network fields of the adapter (table LAN) that
// lies in network 1 or network 2; among several, the one with the highest
// address (IP16) wins. A PC without such an adapter keeps its values.
// An adapter whose address is missing or invalid lies in no network, and a
// pair that is not a valid address and mask holds no adapter. Runs in a
// transaction of its own unless one is open; the rows written before a
// store error stay written. Throws StoreError.
void SelectPCNetwork(TDMdata &dm, const NetworkPair &network1, const NetworkPair &network2);
