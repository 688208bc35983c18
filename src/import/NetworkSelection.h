#pragma once

#include "store/History.h"

#include <QString>
#include <QVector>
#include <array>

class HistoryRecorder;
class TDMdata;

// A network as the administrator names it: an address and a subnet mask.
struct NetworkPair
{
    QString address;
    QString mask;
};

// The adapter (table LAN) whose network fields a PC shows: the one that
// lies in network 1 or network 2; among several, the one with the highest
// address (IP16). An adapter whose address is missing or invalid lies in
// no network, and a pair that is not a valid address and mask holds no
// adapter.
class NetworkChooser
{
public:
    // The fields copied from the adapter into its PC, named alike in both
    // tables.
    static constexpr std::array<const char *, 9> Fields {
        "IP", "Mac", "SubNet", "GateWay", "DHCP", "LAN_Adapter", "IP16", "WINS1", "WINS2"};
    using Values = std::array<QString, Fields.size()>;

    struct Adapter
    {
        int seq = 0;
        Values values; // as text, empty for none
    };

    NetworkChooser(const NetworkPair &network1, const NetworkPair &network2);

    // The adapter among one PC's whose fields the PC takes; nullptr when
    // none lies in either network.
    const Adapter *choose(QVector<Adapter> &adapters) const;

private:
    bool matches(const Adapter &adapter) const;

    NetworkPair m_network1;
    NetworkPair m_network2;
    QString m_address1;
    QString m_address2;
};

// A PC whose network fields the selection changes.
struct PcNetworkChange
{
    QString key;
    NetworkChooser::Values values;
    QVector<History::ColumnChange> changes;
};

// What SelectPCNetwork would change, PC by PC. Throws StoreError.
QVector<PcNetworkChange> PlanPCNetwork(TDMdata &dm, const NetworkPair &network1,
                                       const NetworkPair &network2);

// Copies into each PC the network fields of its chosen adapter; a PC
// without one keeps its values, and a PC whose fields are those already
// is not written. Each change is recorded when a recorder is given. Runs
// in a transaction of its own unless one is open; the rows written before
// a store error stay written. Throws StoreError.
void SelectPCNetwork(TDMdata &dm, const NetworkPair &network1, const NetworkPair &network2,
                     HistoryRecorder *history = nullptr);
