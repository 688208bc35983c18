#include "ImportTestSupport.h"
#include "TestStores.h"
#include "base/TextHelpers.h"
#include "import/NetworkSelection.h"

#include <QTest>

namespace {

void addAdapter(TDMdata &dm, const QString &key, int seq, const QString &ip)
{
    dm.exec("INSERT INTO LAN (KEY, SEQ, IP, IP16, MAC, LAN_ADAPTER, WINS1) "
            "VALUES (:KEY, :SEQ, :IP, :IP16, :MAC, :NAME, :WINS)",
            {{":KEY", key},
             {":SEQ", seq},
             {":IP", ip.isEmpty() ? QVariant(QMetaType(QMetaType::QString)) : QVariant(ip)},
             {":IP16",
              IPToIP16(ip).isEmpty() ? QVariant(QMetaType(QMetaType::QString))
                                     : QVariant(IPToIP16(ip))},
             {":MAC", "mac-" + ip},
             {":NAME", "nic" + QString::number(seq)},
             {":WINS", QVariant(QMetaType(QMetaType::QString))}});
}

} // namespace

class TstNetworkSelection : public QObject
{
    Q_OBJECT

private slots:
    void select_data()
    {
        QTest::addColumn<int>("engine");
        QTest::addColumn<QString>("address1");
        QTest::addColumn<QString>("mask1");
        QTest::addColumn<QString>("address2");
        QTest::addColumn<QString>("mask2");
        // The address each PC shows afterwards: A has 192.168.1.5, 10.0.0.7
        // and 192.168.1.9 is missing; B has 10.0.0.7 and 172.16.0.1; C has
        // only invalid addresses; D has 192.168.1.5 and 192.168.1.6.
        QTest::addColumn<QStringList>("shown");
        for (auto [name, e] : {std::pair {"sqlite", 0}, {"postgresql", 1}}) {
            auto row = [&](const char *title, const char *a1, const char *m1, const char *a2,
                           const char *m2, const QStringList &shown) {
                QTest::newRow(qPrintable(QStringLiteral("%1 %2").arg(name, title)))
                    << e << a1 << m1 << a2 << m2 << shown;
            };
            row("both masks 0.0.0.0 match every valid address", "1.2.3.4", "0.0.0.0", "5.6.7.8",
                "0.0.0.0", {"192.168.1.5", "172.16.0.1", "old-C", "192.168.1.6"});
            row("network 1 only, same subnet twice", "192.168.1.0", "255.255.255.0", "192.168.1.1",
                "255.255.255.0", {"192.168.1.5", "old-B", "old-C", "192.168.1.6"});
            row("network 2 matches when network 1 does not", "192.168.1.0", "255.255.255.0",
                "10.0.0.0", "255.0.0.0", {"192.168.1.5", "10.0.0.7", "old-C", "192.168.1.6"});
            row("no priority of network 1: highest match wins", "10.0.0.0", "255.0.0.0",
                "192.168.0.0", "255.255.0.0", {"192.168.1.5", "10.0.0.7", "old-C", "192.168.1.6"});
            row("pair left at 0.0.0.0 matches everything", "10.0.0.0", "255.0.0.0", "127.0.0.1",
                "0.0.0.0", {"192.168.1.5", "172.16.0.1", "old-C", "192.168.1.6"});
            row("invalid pairs match nothing", "x", "255.0.0.0", "10.0.0.0", "bad",
                {"old-A", "old-B", "old-C", "old-D"});
        }
    }
    void select()
    {
        QFETCH(int, engine);
        QFETCH(QString, address1);
        QFETCH(QString, mask1);
        QFETCH(QString, address2);
        QFETCH(QString, mask2);
        QFETCH(QStringList, shown);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openStore(dm, store.settings());
        const QStringList keys {"A", "B", "C", "D"};
        for (const QString &key : keys)
            dm.exec("INSERT INTO PC (KEY, IP, WINS1, BU) VALUES (:KEY, :IP, 'w', 'bu')",
                    {{":KEY", key}, {":IP", "old-" + key}});
        addAdapter(dm, "A", 1, "10.0.0.7");
        addAdapter(dm, "A", 2, "192.168.1.5");
        addAdapter(dm, "A", 3, "");
        addAdapter(dm, "B", 1, "172.16.0.1");
        addAdapter(dm, "B", 2, "10.0.0.7");
        addAdapter(dm, "C", 1, "192.168.1.5 "); // trailing blank: invalid
        addAdapter(dm, "C", 2, "300.1.1.1");
        addAdapter(dm, "D", 1, "192.168.1.6");
        addAdapter(dm, "D", 2, "192.168.1.5");
        addAdapter(dm, "Z", 1, "10.1.1.1"); // adapters of no PC change nothing

        SelectPCNetwork(dm, {address1, mask1}, {address2, mask2});
        QVERIFY(!dm.inTransaction());
        for (int i = 0; i < keys.size(); ++i) {
            const QVariantMap pc = row(dm, "PC", keys.at(i));
            QCOMPARE(pc.value("ip").toString(), shown.at(i));
            QCOMPARE(pc.value("bu").toString(), QString("bu"));
            if (shown.at(i).startsWith("old-")) {
                QCOMPARE(pc.value("wins1").toString(), QString("w"));
                continue;
            }
            // All nine fields come from the chosen adapter.
            QCOMPARE(pc.value("mac").toString(), "mac-" + shown.at(i));
            QCOMPARE(pc.value("ip16").toString(), IPToIP16(shown.at(i)));
            QVERIFY(pc.value("wins1").isNull());
            QVERIFY(pc.value("lan_adapter").toString().startsWith("nic"));
        }
        QCOMPARE(scalar(dm, "SELECT COUNT(*) FROM PC").toInt(), 4);
    }
};

QTEST_GUILESS_MAIN(TstNetworkSelection)
#include "tst_networkselection.moc"
