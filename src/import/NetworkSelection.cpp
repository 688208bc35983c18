#include "NetworkSelection.h"

#include "base/TextHelpers.h"
#include "store/StoreError.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QSqlRecord>
#include <QStringList>
#include <QVector>
#include <algorithm>
#include <array>

namespace {

// The fields copied from an adapter into its PC, by name in both tables.
constexpr std::array<const char *, 9> NetworkFields {
    "IP", "Mac", "SubNet", "GateWay", "DHCP", "LAN_Adapter", "IP16", "WINS1", "WINS2"};

struct Adapter
{
    QString key;
    QString ip16;
    std::array<QString, NetworkFields.size()> values;
};

QVector<Adapter> readAdapters(TDMdata &dm)
{
    // Read completely before anything is written.
    QSqlQuery q = dm.exec(QStringLiteral("SELECT * FROM LAN ORDER BY KEY, IP16"));
    const QSqlRecord rec = q.record();
    const int keyIndex = rec.indexOf(QStringLiteral("Key"));
    std::array<int, NetworkFields.size()> index {};
    for (size_t i = 0; i < NetworkFields.size(); ++i)
        index[i] = rec.indexOf(QLatin1String(NetworkFields[i]));
    QVector<Adapter> adapters;
    while (q.next()) {
        Adapter a;
        a.key = q.value(keyIndex).toString();
        for (size_t i = 0; i < NetworkFields.size(); ++i)
            a.values[i] = index[i] >= 0 ? q.value(index[i]).toString() : QString();
        a.ip16 = a.values[6];
        adapters.append(a);
    }
    q.finish();
    // The rows of a PC come together (ORDER BY KEY). Within a PC the engines
    // disagree on where rows without IP16 go; put them first, as the empty
    // text, so that both choose the same adapter.
    for (qsizetype begin = 0; begin < adapters.size();) {
        qsizetype end = begin + 1;
        while (end < adapters.size() && adapters.at(end).key == adapters.at(begin).key)
            ++end;
        std::stable_sort(adapters.begin() + begin, adapters.begin() + end,
                         [](const Adapter &x, const Adapter &y) { return x.ip16 < y.ip16; });
        begin = end;
    }
    return adapters;
}

bool inNetwork(const QString &ip, const QString &network, const QString &mask)
{
    return !network.isEmpty() && NetworkAddress(ip, mask) == network;
}

} // namespace

void SelectPCNetwork(TDMdata &dm, const NetworkPair &network1, const NetworkPair &network2)
{
    const QString n1 = NetworkAddress(network1.address, network1.mask);
    const QString n2 = NetworkAddress(network2.address, network2.mask);
    const QVector<Adapter> adapters = readAdapters(dm);

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
        // Every matching adapter of a PC would overwrite the one before, so
        // only the last one of each PC (the highest address) is written.
        auto matches = [&](const Adapter &a) {
            const QString &ip = a.values[0];
            return inNetwork(ip, n1, network1.mask) || inNetwork(ip, n2, network2.mask);
        };
        for (qsizetype i = 0; i < adapters.size(); ++i) {
            const Adapter &a = adapters.at(i);
            if (!matches(a))
                continue;
            bool laterMatch = false;
            for (qsizetype j = i + 1; j < adapters.size() && adapters.at(j).key == a.key; ++j) {
                if (matches(adapters.at(j))) {
                    laterMatch = true;
                    break;
                }
            }
            if (laterMatch)
                continue;
            update.bindValue(
                QStringLiteral(":KEY"),
                StoreValue::toStore(*pc.column(QStringLiteral("Key")), a.key, dm.engine()));
            for (size_t f = 0; f < NetworkFields.size(); ++f) {
                const QString name = QLatin1String(NetworkFields[f]);
                update.bindValue(QLatin1Char(':') + name,
                                 StoreValue::toStore(*pc.column(name), a.values[f], dm.engine()));
            }
            TDMdata::exec(update);
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
