#include "NetworkSelection.h"

#include "base/TextHelpers.h"
#include "store/HistoryRecorder.h"
#include "store/StoreError.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QHash>
#include <QSqlRecord>
#include <QStringList>
#include <QVector>
#include <algorithm>
#include <array>

namespace {

using Adapter = NetworkChooser::Adapter;
constexpr auto Fields = NetworkChooser::Fields;

QString text(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

// The adapters of every PC, by PC key. Read completely before anything is
// written.
QHash<QString, QVector<Adapter>> readAdapters(TDMdata &dm)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT * FROM LAN ORDER BY KEY, IP16"));
    const QSqlRecord rec = q.record();
    const int keyIndex = rec.indexOf(QStringLiteral("Key"));
    const int seqIndex = rec.indexOf(QStringLiteral("Seq"));
    std::array<int, Fields.size()> index {};
    for (size_t i = 0; i < Fields.size(); ++i)
        index[i] = rec.indexOf(QLatin1String(Fields[i]));
    QHash<QString, QVector<Adapter>> adapters;
    while (q.next()) {
        Adapter a;
        a.seq = q.value(seqIndex).toInt();
        for (size_t i = 0; i < Fields.size(); ++i)
            a.values[i] = index[i] >= 0 ? text(q.value(index[i])) : QString();
        adapters[text(q.value(keyIndex))].append(a);
    }
    q.finish();
    return adapters;
}

// The PC columns of the fields.
QVector<ColumnDef> pcColumns()
{
    const TableDef &pc = Schema::table(TableId::PC);
    QVector<ColumnDef> columns;
    for (const char *field : Fields)
        columns << *pc.column(QLatin1String(field));
    return columns;
}

// The fields of every PC as it holds them now.
QHash<QString, QVector<QVariant>> readPcFields(TDMdata &dm)
{
    QStringList names;
    for (const char *field : Fields)
        names << QLatin1String(field);
    QSqlQuery q = dm.exec(QStringLiteral("SELECT KEY, %1 FROM PC").arg(names.join(u", ")));
    QHash<QString, QVector<QVariant>> pcs;
    while (q.next()) {
        QVector<QVariant> values;
        for (size_t i = 0; i < Fields.size(); ++i)
            values << q.value(int(i) + 1);
        pcs.insert(text(q.value(0)), values);
    }
    q.finish();
    return pcs;
}

} // namespace

NetworkChooser::NetworkChooser(const NetworkPair &network1, const NetworkPair &network2)
    : m_network1(network1), m_network2(network2),
      m_address1(NetworkAddress(network1.address, network1.mask)),
      m_address2(NetworkAddress(network2.address, network2.mask))
{ }

bool NetworkChooser::matches(const Adapter &adapter) const
{
    const QString &ip = adapter.values[0];
    const auto in = [&](const QString &network, const QString &mask) {
        return !network.isEmpty() && NetworkAddress(ip, mask) == network;
    };
    return in(m_address1, m_network1.mask) || in(m_address2, m_network2.mask);
}

const NetworkChooser::Adapter *NetworkChooser::choose(QVector<Adapter> &adapters) const
{
    if (m_address1.isEmpty() && m_address2.isEmpty())
        return nullptr;
    // In address order (IP16; an adapter without one first, as the empty
    // text), then by number, so that both engines choose alike: the last
    // matching adapter wins.
    std::sort(adapters.begin(), adapters.end(), [](const Adapter &x, const Adapter &y) {
        const QString &a = x.values[6];
        const QString &b = y.values[6];
        return a != b ? a < b : x.seq < y.seq;
    });
    for (auto it = adapters.crbegin(); it != adapters.crend(); ++it) {
        if (matches(*it))
            return &*it;
    }
    return nullptr;
}

QVector<PcNetworkChange> PlanPCNetwork(TDMdata &dm, const NetworkPair &network1,
                                       const NetworkPair &network2)
{
    const NetworkChooser chooser(network1, network2);
    QHash<QString, QVector<Adapter>> adapters = readAdapters(dm);
    const QHash<QString, QVector<QVariant>> pcs = readPcFields(dm);
    const QVector<ColumnDef> columns = pcColumns();
    QVector<PcNetworkChange> plan;
    for (auto it = adapters.begin(); it != adapters.end(); ++it) {
        const auto pc = pcs.constFind(it.key());
        if (pc == pcs.cend())
            continue; // adapters of no PC: nothing to update
        const Adapter *chosen = chooser.choose(it.value());
        if (!chosen)
            continue;
        QVector<QVariant> now;
        for (int i = 0; i < columns.size(); ++i)
            now << StoreValue::fromStore(
                columns[i], StoreValue::toStore(columns[i], chosen->values[i], dm.engine()));
        const QVector<History::ColumnChange> changes = History::changes(columns, pc.value(), now);
        if (!changes.isEmpty())
            plan.append({it.key(), chosen->values, changes});
    }
    std::sort(plan.begin(), plan.end(),
              [](const PcNetworkChange &a, const PcNetworkChange &b) { return a.key < b.key; });
    return plan;
}

void SelectPCNetwork(TDMdata &dm, const NetworkPair &network1, const NetworkPair &network2,
                     HistoryRecorder *history)
{
    const QVector<PcNetworkChange> plan = PlanPCNetwork(dm, network1, network2);
    if (plan.isEmpty())
        return;
    QSqlQuery update = dm.prepare(QStringLiteral("UPDATE PC \n"
                                                 "SET IP = :IP,\n"
                                                 "    Mac = :Mac,\n"
                                                 "    SubNet = :SubNet,\n"
                                                 "    GateWay = :GateWay,\n"
                                                 "    DHCP = :DHCP,\n"
                                                 "    LAN_Adapter = :LAN_Adapter,\n"
                                                 "    IP16 = :IP16,\n"
                                                 "    WINS1 = :WINS1,\n"
                                                 "    WINS2 = :WINS2\n"
                                                 "WHERE KEY = :KEY"));
    const TableDef &pc = Schema::table(TableId::PC);
    const bool ownTransaction = !dm.inTransaction();
    if (ownTransaction)
        dm.startTransaction();
    try {
        for (const PcNetworkChange &change : plan) {
            update.bindValue(
                QStringLiteral(":KEY"),
                StoreValue::toStore(*pc.column(QStringLiteral("Key")), change.key, dm.engine()));
            for (size_t f = 0; f < Fields.size(); ++f) {
                const QString name = QLatin1String(Fields[f]);
                update.bindValue(
                    QLatin1Char(':') + name,
                    StoreValue::toStore(*pc.column(name), change.values[f], dm.engine()));
            }
            TDMdata::exec(update);
            if (history) {
                for (const History::ColumnChange &c : change.changes)
                    history->valueChanged(TableId::PC, change.key, QString(), c);
            }
        }
    } catch (const StoreError &) {
        if (ownTransaction) {
            // Keep what was written before the error.
            try {
                dm.commit();
            } catch (const StoreError &) {
                try {
                    dm.rollback();
                } catch (const StoreError &) { }
            }
        }
        throw;
    }
    if (ownTransaction)
        dm.commit();
}
