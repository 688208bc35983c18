#include "StoreProbe.h"
#include "TestStores.h"
#include "import/Ip16Backfill.h"
#include "store/RecordCursor.h"

namespace {

// Creates a table of an older layout: the catalog's columns minus those
// named in `without`.
void createOldTable(TDMdata &dm, TableId id, int firstColumns, const QStringList &without = {})
{
    TableDef t = Schema::table(id);
    t.columns.resize(firstColumns);
    for (const QString &c : without)
        t.columns.removeAt(t.indexOf(c));
    QSqlQuery q(dm.database());
    QVERIFY2(q.exec(dm.dialect().createStatement(t)), qPrintable(q.lastError().text()));
}

QStringList lower(const QStringList &names)
{
    QStringList out;
    for (const QString &n : names)
        out << n.toLower();
    return out;
}

QStringList catalogNames(TableId id)
{
    QStringList out;
    for (const ColumnDef &c : Schema::table(id).columns)
        out << c.name.toLower();
    return out;
}

} // namespace

class TstUpgrades : public QObject
{
    Q_OBJECT

private slots:
    void oldestLayoutGainsEveryColumn_data() { TestStore::addEngineRows(); }
    void oldestLayoutGainsEveryColumn()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        dm.setSettings(store.settings());
        dm.open();
        createOldTable(dm, TableId::PC, 74);
        createOldTable(dm, TableId::Appli, 8);
        createOldTable(dm, TableId::Printer, 4);
        createOldTable(dm, TableId::Drive, 11);
        dm.exec(QStringLiteral("INSERT INTO PC (KEY, Bu, IP, UpdateYMD) VALUES ('PC1', '総務部', "
                               "'192.168.0.11', :d)"),
                {{QStringLiteral(":d"),
                  dm.engine() == Engine::SQLite ? QVariant(QStringLiteral("2005-12-10"))
                                                : QVariant(QDate(2005, 12, 10))}});
        dm.exec(QStringLiteral(
            "INSERT INTO Appli (KEY, Appli, Ver) VALUES ('PC1', 'エディタ', '1.0')"));
        dm.exec(QStringLiteral("INSERT INTO Printer (KEY, Printer) VALUES ('PC1', 'LP-1')"));

        RecordingObserver observer;
        dm.checkTables(observer);

        QCOMPARE(lower(dm.columnNames(QStringLiteral("PC"))), catalogNames(TableId::PC));
        QCOMPARE(lower(dm.columnNames(QStringLiteral("Appli"))), catalogNames(TableId::Appli));
        // Printer's groups come in upgrade order: Port, then its marker,
        // then the input kind.
        QCOMPARE(
            lower(dm.columnNames(QStringLiteral("Printer"))),
            QStringList({"key", "printer", "biko", "updateymd", "port", "ver116", "nyuryokukbn"}));
        QCOMPARE(lower(dm.columnNames(QStringLiteral("Drive"))), catalogNames(TableId::Drive));
        QCOMPARE(declaredWidth(dm, QStringLiteral("Printer"), QStringLiteral("Port")), 30);

        // No row is lost; the added columns hold no value.
        RecordCursor &pc = dm.table(TableId::PC);
        QVERIFY(pc.locate({QStringLiteral("PC1")}));
        QCOMPARE(pc.text(QStringLiteral("Bu")), QStringLiteral("総務部"));
        QCOMPARE(pc.date(QStringLiteral("UpdateYMD")), QDate(2005, 12, 10));
        QVERIFY(pc.value(QStringLiteral("Memory_Slot")).isNull());
        QVERIFY(pc.value(QStringLiteral("IP16")).isNull());
        QCOMPARE(scalar(dm,
                        QStringLiteral(
                            "SELECT COUNT(*) FROM Appli WHERE COALESCE(NYURYOKUKBN, '') = ''"))
                     .toInt(),
                 1);
        QCOMPARE(scalar(dm, QStringLiteral("SELECT COUNT(*) FROM Printer")).toInt(), 1);

        // The PC with an address and no IP16 is reported for the back-fill.
        QCOMPARE(observer.backfillCounts, QList<int> {1});

        // A second check changes nothing and reports again until filled.
        RecordingObserver again;
        dm.checkTables(again);
        QCOMPARE(lower(dm.columnNames(QStringLiteral("PC"))), catalogNames(TableId::PC));
        QCOMPARE(again.backfillCounts, QList<int> {1});
        QCOMPARE(Ip16Backfill::run(dm, {}), 1);
        RecordingObserver filled;
        dm.checkTables(filled);
        QVERIFY(filled.backfillCounts.isEmpty());
        QVERIFY(pc.locate({QStringLiteral("PC1")}));
        QCOMPARE(pc.text(QStringLiteral("IP16")), QStringLiteral("C0A8000B"));
    }

    // Each group is judged by its marker alone; a store that has KanriCD but
    // lacks IP16 gains IP16 alone and is searched for the back-fill.
    void storeWithKanriCdGainsIp16_data() { TestStore::addEngineRows(); }
    void storeWithKanriCdGainsIp16()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        dm.setSettings(store.settings());
        dm.open();
        createOldTable(dm, TableId::PC, 116, {QStringLiteral("IP16")});
        dm.exec(QStringLiteral("INSERT INTO PC (KEY, IP) VALUES ('PC1', '10.0.0.7')"));
        RecordingObserver observer;
        dm.checkTables(observer);
        QStringList columns = lower(dm.columnNames(QStringLiteral("PC")));
        QCOMPARE(columns.size(), 116);
        QCOMPARE(columns.last(), QStringLiteral("ip16"));
        QCOMPARE(observer.backfillCounts, QList<int> {1});
    }

    void markersMatchWithoutCase()
    {
        TestStore store(int(TestStore::Kind::SQLite));
        TDMdata dm;
        dm.setSettings(store.settings());
        dm.open();
        // A table whose names are spelled in other cases is current.
        TableDef t = Schema::table(TableId::PC);
        for (ColumnDef &c : t.columns)
            c.name = c.name.toUpper();
        QSqlQuery q(dm.database());
        QVERIFY(q.exec(dm.dialect().createStatement(t)));
        RecordingObserver observer;
        dm.checkTables(observer);
        QCOMPARE(dm.columnNames(QStringLiteral("PC")).size(), 116);
    }

    // Groups added before a failure stay; the failing group is added whole
    // or not at all; the next check adds the rest.
    void failedUpgradeKeepsEarlierGroups_data() { TestStore::addEngineRows(); }
    void failedUpgradeKeepsEarlierGroups()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        dm.setSettings(store.settings());
        dm.open();
        createOldTable(dm, TableId::PC, 74);
        // A column of the last group, without that group's marker, makes
        // the last ALTER fail.
        dm.exec(QStringLiteral("ALTER TABLE PC ADD BIOS_Vendor INTEGER"));
        RecordingObserver observer;
        QVERIFY_THROWS_EXCEPTION(StoreError, dm.checkTables(observer));
        QStringList names = lower(dm.columnNames(QStringLiteral("PC")));
        QVERIFY(names.contains(QStringLiteral("konyusaki")));
        QVERIFY(names.contains(QStringLiteral("free")));
        QVERIFY(!names.contains(QStringLiteral("smbios_caption")));

        dm.exec(QStringLiteral("ALTER TABLE PC DROP COLUMN BIOS_Vendor"));
        dm.checkTables(observer);
        QCOMPARE(lower(dm.columnNames(QStringLiteral("PC"))), catalogNames(TableId::PC));
    }

    void ip16BackfillCountsEveryCandidate_data() { TestStore::addEngineRows(); }
    void ip16BackfillCountsEveryCandidate()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        dm.setSettings(store.settings());
        dm.open();
        RecordingObserver observer;
        dm.checkTables(observer);
        dm.exec(QStringLiteral("INSERT INTO PC (KEY, IP) VALUES ('B', '192.168.1.10')"));
        dm.exec(QStringLiteral("INSERT INTO PC (KEY, IP) VALUES ('A', '192.168.1.10 ')"));
        dm.exec(
            QStringLiteral("INSERT INTO PC (KEY, IP, IP16) VALUES ('C', '10.0.0.7', '0A000007')"));
        dm.exec(QStringLiteral("INSERT INTO PC (KEY) VALUES ('D')"));
        dm.exec(QStringLiteral("INSERT INTO PC (KEY, IP, IP16) VALUES ('E', '10.0.0.8', '')"));
        QCOMPARE(Ip16Backfill::countMissing(dm), 3);
        QList<int> progress;
        QCOMPARE(Ip16Backfill::run(dm, [&](int c) { progress << c; }), 3);
        QCOMPARE(progress, QList<int>({1, 2, 3}));
        QCOMPARE(scalar(dm, QStringLiteral("SELECT IP16 FROM PC WHERE KEY = 'B'")).toString(),
                 QStringLiteral("C0A8010A"));
        QCOMPARE(scalar(dm, QStringLiteral("SELECT IP16 FROM PC WHERE KEY = 'E'")).toString(),
                 QStringLiteral("0A000008"));
        // An invalid address stays without IP16 and is found again.
        QVERIFY(scalar(dm, QStringLiteral("SELECT IP16 FROM PC WHERE KEY = 'A'")).isNull());
        QCOMPARE(Ip16Backfill::countMissing(dm), 1);
    }
};

QTEST_GUILESS_MAIN(TstUpgrades)
#include "tst_upgrades.moc"
