// PCs entered twice: the search pairs a renamed PC with its old entry and
// nothing else; the merge carries the ledger to the newer PC and leaves
// nothing of the older; a merge refused by a claim changes nothing.

#include "HistoryLines.h"
#include "TestStores.h"
#include "ledger/DistinctPcs.h"
#include "ledger/PcDuplicates.h"
#include "ledger/PcMerge.h"
#include "store/PcClaims.h"
#include "store/RecordCursor.h"
#include "store/UDMdata.h"

#include <QSqlQuery>
#include <QSqlRecord>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void insertRow(TDMdata &dm, TableId table, const QVariantMap &values)
{
    RecordCursor cursor(dm, table);
    cursor.open();
    cursor.append();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        cursor.setValue(it.key(), it.value());
    cursor.post();
}

void insertPc(TDMdata &dm, const QString &key, QVariantMap values)
{
    values.insert(u"Key"_s, key);
    insertRow(dm, TableId::PC, values);
}

void insertLan(TDMdata &dm, const QString &key, int seq, const QString &mac)
{
    insertRow(dm, TableId::LAN, {{u"Key"_s, key}, {u"Seq"_s, seq}, {u"Mac"_s, mac}});
}

// Every row of the PCs' tables, the leases' PCs and the history, as text.
QStringList everything(TDMdata &dm)
{
    QStringList rows;
    for (const char *table : {"PC", "Appli", "Printer", "Drive", "Share", "LAN", "PMEMORY",
                              "LeasePC", "History", "DistinctPc"}) {
        QSqlQuery q = dm.exec(u"SELECT * FROM %1"_s.arg(QLatin1String(table)));
        while (q.next()) {
            QStringList cells {QLatin1String(table)};
            for (int i = 0; i < q.record().count(); ++i)
                cells << q.value(i).toString();
            rows << cells.join(u'|');
        }
    }
    rows.sort();
    return rows;
}

int rowsOf(TDMdata &dm, const QString &sql, const QString &key)
{
    QSqlQuery q = dm.exec(sql, {{u":KEY"_s, key}});
    q.next();
    return q.value(0).toInt();
}

// A PC renamed from PC-4 to PC-9: its old entry keeps the ledger, the new
// one reports the same adapter (in its adapter list, spelt otherwise), the
// same product ID and model. Beside them PCs that share only what says
// nothing, and a pair of which one is removed.
void addRenamedPc(TDMdata &dm)
{
    const QVariantMap product {{u"Win_ProductID"_s, u"55274-OEM-1234567-00001"_s},
                               {u"Win_OEM_Model"_s, u"FMV Model 100"_s}};
    QVariantMap old = product;
    old.insert({{u"PC_Name"_s, u"PC-4"_s},
                {u"Host"_s, u"pc-4"_s},
                {u"Mac"_s, u"00:11:22:00:00:04"_s},
                {u"InvaroYMD"_s, QDate(2025, 4, 1)},
                {u"Bu"_s, u"総務"_s},
                {u"Riyosya"_s, u"山田"_s},
                {u"Kisyu"_s, u"旧機種"_s}});
    insertPc(dm, u"OLD"_s, old);
    QVariantMap renamed = product;
    renamed.insert({{u"PC_Name"_s, u"PC-9"_s},
                    {u"Host"_s, u"pc-9"_s},
                    {u"InvaroYMD"_s, QDate(2026, 2, 1)},
                    {u"Kisyu"_s, u"新機種"_s}});
    insertPc(dm, u"NEW"_s, renamed);
    insertLan(dm, u"NEW"_s, 1, u"00-11-22-00-00-04"_s);
}

void addLookalikes(TDMdata &dm)
{
    // Five PCs with a virtual adapter's address and an all-zero MAC, one
    // volume licence on one model, no CPU serial.
    for (int i = 1; i <= 5; ++i) {
        const QString key = u"V%1"_s.arg(i);
        insertPc(dm, key,
                 {{u"PC_Name"_s, u"V-%1"_s.arg(i)},
                  {u"Mac"_s, u"00-00-00-00-00-00"_s},
                  {u"CPU_Serial"_s, u"0000-0000"_s},
                  {u"Win_ProductID"_s, u"76487-640-0000001-00000"_s},
                  {u"Win_OEM_Model"_s, u"Model 5"_s}});
        insertLan(dm, key, 2, u"02:00:00:00:00:02"_s);
    }
    insertPc(
        dm, u"W"_s,
        {{u"Win_ProductID"_s, u"76487-640-0000001-00000"_s}, {u"Win_OEM_Model"_s, u"Model 6"_s}});
    insertLan(dm, u"OLD"_s, 2, u"02:00:00:00:00:02"_s);
    // A PC re-imaged under a new key, its old entry marked removed.
    const QVariantMap same {{u"Host"_s, u"shomu-1"_s},
                            {u"Mac"_s, u"00-0B-AA-BB-CC-01"_s},
                            {u"CPU_Serial"_s, u"0000-06F2-0000-0000-0000-1234"_s}};
    QVariantMap reimaged = same;
    reimaged.insert(u"InvaroYMD"_s, QDate(2026, 3, 1));
    insertPc(dm, u"S1"_s, reimaged);
    QVariantMap removed = same;
    removed.insert({{u"InvaroYMD"_s, QDate(2024, 3, 1)}, {u"TekkyoYMD"_s, QDate(2026, 3, 1)}});
    insertPc(dm, u"S0"_s, removed);
}

} // namespace

class TestPcDuplicates : public QObject
{
    Q_OBJECT

private slots:
    void renamedPcIsPairedWithItsOldEntry_data() { TestStore::addEngineRows(); }
    void renamedPcIsPairedWithItsOldEntry();
    void mergeCarriesTheLedger_data() { TestStore::addEngineRows(); }
    void mergeCarriesTheLedger();
    void claimedPcIsNotMerged_data() { TestStore::addEngineRows(); }
    void claimedPcIsNotMerged();
};

void TestPcDuplicates::renamedPcIsPairedWithItsOldEntry()
{
    QFETCH(int, engine);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    addRenamedPc(dm);
    addLookalikes(dm);

    const auto lines = [&dm] {
        QStringList out;
        for (const PcDuplicates::Pair &p : PcDuplicates::find(dm).pairs)
            out << u"%1 %2 %3 %4"_s.arg(p.newerKey, p.olderKey).arg(p.score).arg(p.evidenceText());
        return out;
    };
    // The pair with a removal date comes last, whatever its score.
    QCOMPARE(lines(),
             QStringList({u"NEW OLD 60 MAC 00-11-22-00-00-04, プロダクトID "
                          "55274-OEM-1234567-00001 と機種 FMV Model 100"_s,
                          u"S1 S0 100 MAC 00-0B-AA-BB-CC-01, CPUシリアル "
                          "0000-06F2-0000-0000-0000-1234, ホスト名 shomu-1 (撤去済み: S0)"_s}));
    const PcDuplicates::Result result = PcDuplicates::find(dm);
    QCOMPARE(result.shared.size(), 1); // the volume licence on one model
    QCOMPARE(result.shared.first().pcs, 5);

    // Marked as two PCs, a pair is not shown again.
    DistinctPcs::mark(dm, u"S1"_s, u"S0"_s);
    QCOMPARE(lines().size(), 1);
    QVERIFY(lines().first().startsWith(u"NEW OLD"_s));
}

void TestPcDuplicates::mergeCarriesTheLedger()
{
    QFETCH(int, engine);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    addRenamedPc(dm);
    const QString hand = u"手入力"_s;
    insertRow(dm, TableId::Appli,
              {{u"Key"_s, u"OLD"_s}, {u"Appli"_s, u"会計ソフト"_s}, {u"NyuryokuKBN"_s, hand}});
    insertRow(dm, TableId::Appli,
              {{u"Key"_s, u"OLD"_s},
               {u"Appli"_s, u"Excel"_s},
               {u"NyuryokuKBN"_s, hand},
               {u"Biko"_s, u"旧"_s}});
    insertRow(dm, TableId::Appli,
              {{u"Key"_s, u"OLD"_s}, {u"Appli"_s, u"Word"_s}, {u"NyuryokuKBN"_s, u"Invaro"_s}});
    insertRow(dm, TableId::Appli,
              {{u"Key"_s, u"NEW"_s}, {u"Appli"_s, u"Excel"_s}, {u"NyuryokuKBN"_s, u"Invaro"_s}});
    insertRow(dm, TableId::Share, {{u"Key"_s, u"OLD"_s}, {u"SharedName"_s, u"経理"_s}});
    insertRow(dm, TableId::LeasePC,
              {{u"lease"_s, u"東京リース"_s}, {u"lease_No"_s, u"L-1"_s}, {u"PCKey"_s, u"OLD"_s}});
    DistinctPcs::mark(dm, u"OLD"_s, u"X"_s);
    dm.exec(u"UPDATE PC SET TekkyoYMD = :DAY WHERE Key = 'OLD'"_s,
            {{u":DAY"_s, QDate(2026, 1, 10)}});

    const PcMerge::Plan plan = PcMerge::Plan::read(dm, u"NEW"_s, u"OLD"_s);
    const PcMerge::Result result = PcMerge::merge(dm, plan);
    QCOMPARE(result.values, 2);
    QCOMPARE(result.rows, 2);
    QCOMPARE(result.leases, 1);

    RecordCursor pc(dm, TableId::PC);
    pc.open();
    QVERIFY(pc.locate({u"NEW"_s}));
    QCOMPARE(pc.text(u"Bu"_s), u"総務"_s);
    QCOMPARE(pc.text(u"Riyosya"_s), u"山田"_s);
    QCOMPARE(pc.text(u"Kisyu"_s), u"新機種"_s); // both had one: the newer's stays
    QVERIFY(pc.value(u"TekkyoYMD"_s).isNull()); // a PC in service stays in service
    QCOMPARE(pc.value(u"UpdateYMD"_s), QVariant(QDate::currentDate()));
    QCOMPARE(rowsOf(dm,
                    u"SELECT COUNT(*) FROM Appli WHERE Key = :KEY AND Appli = '会計ソフト' "
                    "AND NyuryokuKBN = '手入力'"_s,
                    u"NEW"_s),
             1);
    QCOMPARE(rowsOf(dm, u"SELECT COUNT(*) FROM Share WHERE Key = :KEY"_s, u"NEW"_s), 1);
    QCOMPARE(rowsOf(dm, u"SELECT COUNT(*) FROM LeasePC WHERE PCKey = :KEY"_s, u"NEW"_s), 1);
    QCOMPARE(rowsOf(dm, u"SELECT COUNT(*) FROM DistinctPc WHERE Key1 = :KEY"_s, u"NEW"_s), 1);
    for (const char *table : {"PC", "Appli", "Printer", "Drive", "Share", "LAN", "PMEMORY"})
        QCOMPARE(rowsOf(dm, u"SELECT COUNT(*) FROM %1 WHERE Key = :KEY"_s.arg(QLatin1String(table)),
                        u"OLD"_s),
                 0);
    QCOMPARE(rowsOf(dm, u"SELECT COUNT(*) FROM LeasePC WHERE PCKey = :KEY"_s, u"OLD"_s), 0);
    QCOMPARE(rowsOf(dm, u"SELECT COUNT(*) FROM DistinctPc WHERE Key2 = :KEY"_s, u"OLD"_s), 0);

    QCOMPARE(historyLines(dm),
             QStringList({u"統合|OLD|PC||Key|OLD|NEW"_s, u"統合|NEW|PC||Key|OLD|NEW"_s,
                          u"統合|NEW|PC||Bu||総務"_s, u"統合|NEW|PC||Riyosya||山田"_s,
                          u"統合|NEW|Appli|会計ソフト|||追加"_s, u"統合|NEW|Share|経理|||追加"_s}));
}

void TestPcDuplicates::claimedPcIsNotMerged()
{
    QFETCH(int, engine);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    TDMdata dm, other;
    openCheckedStore(dm, store.settings());
    openCheckedStore(other, store.settings());
    dm.setLockWait(200);
    addRenamedPc(dm);
    insertRow(
        dm, TableId::Appli,
        {{u"Key"_s, u"OLD"_s}, {u"Appli"_s, u"会計ソフト"_s}, {u"NyuryokuKBN"_s, u"手入力"_s}});
    const PcMerge::Plan plan = PcMerge::Plan::read(dm, u"NEW"_s, u"OLD"_s);
    const QStringList before = everything(dm);
    {
        PcClaim claim(other); // another copy has the old PC open
        claim.take(u"OLD"_s);
        QVERIFY_THROWS_EXCEPTION(ClaimError, PcMerge::merge(dm, plan));
    }
    QVERIFY(!dm.inTransaction());
    QCOMPARE(everything(dm), before);
    // Changed since it was read, the plan is refused too.
    dm.exec(u"UPDATE PC SET Bu = '人事' WHERE Key = 'NEW'"_s);
    QVERIFY_THROWS_EXCEPTION(StoreError, PcMerge::merge(dm, plan));
    QCOMPARE(rowsOf(dm, u"SELECT COUNT(*) FROM PC WHERE Key = :KEY"_s, u"OLD"_s), 1);
}

QTEST_GUILESS_MAIN(TestPcDuplicates)
#include "tst_pcduplicates.moc"
