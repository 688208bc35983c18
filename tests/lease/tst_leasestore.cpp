// Writing contracts on both engines: saving in both modes as one
// transaction, the delete transaction, the creation from the PC ledger run
// twice, and what is due at the edges of today and of the 90 days.

#include "LeaseTestSupport.h"
#include "lease/LeaseDataCreation.h"
#include "lease/LeaseDeletion.h"
#include "lease/LeaseDue.h"
#include "lease/LeaseSaver.h"
#include "store/StoreError.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const LeaseKey Key {u"A'社"_s, u"No.1"_s};
const QVariant None;

QVariantMap params(const LeaseContract::Texts &typed, const QDateTime &now)
{
    LeaseContract::Texts texts = typed;
    texts.insert(u"lease"_s, Key.lease);
    texts.insert(u"lease_No"_s, Key.leaseNo);
    return LeaseContract::SetLeaseParams(texts, now);
}

} // namespace

class TstLeaseStore : public QObject
{
    Q_OBJECT

private slots:
    void saveAddsThenUpdateReplacesAll_data() { TestStore::addEngineRows(); }
    void saveAddsThenUpdateReplacesAll();
    void failedSaveLeavesTheStoreAsItWas_data();
    void failedSaveLeavesTheStoreAsItWas();
    void deleteIsOneTransaction_data() { TestStore::addEngineRows(); }
    void deleteIsOneTransaction();
    void creationFromPcsRunTwiceOnlyStamps_data() { TestStore::addEngineRows(); }
    void creationFromPcsRunTwiceOnlyStamps();
    void dueFiguresAtTheEdges_data() { TestStore::addEngineRows(); }
    void dueFiguresAtTheEdges();
};

void TstLeaseStore::saveAddsThenUpdateReplacesAll()
{
    QFETCH(int, engine);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    const QDateTime added(QDate(2026, 3, 15), QTime(10, 0));
    LeaseSaver(dm).save(
        LeaseSaver::Mode::Add,
        params({{u"KeiyakuYMD"_s, u"2004/1/5"_s}, {u"nengaku"_s, u"1200"_s}}, added),
        {{QDate(2004, 1, 31), 100, 5, None}, {QDate(2004, 2, 29), None, 0, None}},
        {u"PC1"_s, u"PC2"_s});
    QCOMPARE(rowsOf(dm,
                    u"SELECT lease, lease_No, KeiyakuYMD, kikan_tuki, keiyaku_kingaku, nengaku, "
                    "UpdateTime FROM Lease"_s),
             QStringList {u"A'社|No.1|2004-01-05||0|1200|2026-03-15 10:00:00"_s});
    QCOMPARE(rowsOf(dm,
                    u"SELECT SiharaiYMD, SiharaiY, SiharaiM, kingaku, zei, hosyuryo "
                    "FROM LeaseMesai ORDER BY SiharaiYMD"_s),
             (QStringList {u"2004-01-31|2004|1|100|5|0"_s, u"2004-02-29|2004|2|0|0|0"_s}));
    QCOMPARE(rowsOf(dm, u"SELECT PCKey FROM LeasePC ORDER BY PCKey"_s),
             (QStringList {u"PC1"_s, u"PC2"_s}));

    // Updating rewrites the contract and replaces its whole schedule and
    // PC list.
    const QDateTime updated(QDate(2026, 3, 16), QTime(9, 30));
    LeaseSaver(dm).save(LeaseSaver::Mode::Update, params({{u"kikan_tuki"_s, u"60"_s}}, updated),
                        {{QDate(2005, 12, 1), 7, None, None}}, {u"PC3"_s});
    QCOMPARE(rowsOf(dm, u"SELECT KeiyakuYMD, kikan_tuki, nengaku, UpdateTime FROM Lease"_s),
             QStringList {u"|60|0|2026-03-16 09:30:00"_s});
    QCOMPARE(rowsOf(dm, u"SELECT SiharaiYMD, SiharaiY, SiharaiM, kingaku FROM LeaseMesai"_s),
             QStringList {u"2005-12-01|2005|12|7"_s});
    QCOMPARE(rowsOf(dm, u"SELECT PCKey FROM LeasePC"_s), QStringList {u"PC3"_s});
}

void TstLeaseStore::failedSaveLeavesTheStoreAsItWas_data()
{
    QTest::addColumn<int>("engine");
    QTest::addColumn<QString>("failure");
    for (int e : {int(TestStore::Kind::SQLite), int(TestStore::Kind::PostgreSQL)}) {
        for (const char *failure :
             {"covered PCs refused", "contract deleted meanwhile", "key exists"})
            QTest::addRow("%s %s", e ? "postgresql" : "sqlite", failure)
                << e << QString::fromLatin1(failure);
    }
}

void TstLeaseStore::failedSaveLeavesTheStoreAsItWas()
{
    QFETCH(int, engine);
    QFETCH(QString, failure);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    LeaseSaver::Mode mode = LeaseSaver::Mode::Add;
    if (failure == u"covered PCs refused"_s) {
        dm.exec(u"DROP TABLE LeasePC"_s);
    } else if (failure == u"contract deleted meanwhile"_s) {
        mode = LeaseSaver::Mode::Update;
    } else {
        insertContract(dm, Key, {{u"Bukkenmei"_s, u"前のまま"_s}}, {{QDate(2003, 1, 1), 1, 1, 1}});
    }
    const QString lease = u"SELECT lease, Bukkenmei FROM Lease"_s;
    const QString mesai = u"SELECT SiharaiYMD FROM LeaseMesai"_s;
    const QStringList leaseBefore = rowsOf(dm, lease), mesaiBefore = rowsOf(dm, mesai);

    QString error;
    try {
        LeaseSaver(dm).save(mode, params({{u"Bukkenmei"_s, u"新"_s}}, QDateTime::currentDateTime()),
                            {{QDate(2004, 1, 31), 1, 2, 3}}, {u"PC1"_s});
    } catch (const StoreError &e) {
        error = e.message();
    }
    QVERIFY(!error.isEmpty());
    if (mode == LeaseSaver::Mode::Update)
        QCOMPARE(error, u"修正対象データが見つかりません"_s);
    QVERIFY(!dm.inTransaction());
    QCOMPARE(rowsOf(dm, lease), leaseBefore);
    QCOMPARE(rowsOf(dm, mesai), mesaiBefore);
}

void TstLeaseStore::deleteIsOneTransaction()
{
    QFETCH(int, engine);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    const LeaseKey other {Key.lease, u"No.2"_s};
    insertContract(dm, Key, {}, {{QDate(2004, 1, 31), 1, 1, 1}, {QDate(2004, 2, 29), 1, 1, 1}},
                   {u"PC1"_s, u"PC2"_s});
    insertContract(dm, other, {}, {{QDate(2004, 1, 31), 1, 1, 1}}, {u"PC1"_s});

    LeaseDeletion::deleteLease(dm, Key);
    const QString all = u"SELECT lease_No FROM Lease UNION ALL SELECT lease_No FROM LeaseMesai "
                        "UNION ALL SELECT lease_No FROM LeasePC"_s;
    QCOMPARE(rowsOf(dm, all), (QStringList {u"No.2"_s, u"No.2"_s, u"No.2"_s}));

    // The second statement fails: the first one's deletion is undone.
    dm.exec(u"DROP TABLE LeaseMesai"_s);
    QVERIFY_THROWS_EXCEPTION(StoreError, LeaseDeletion::deleteLease(dm, other));
    QCOMPARE(rowsOf(dm, u"SELECT lease_No FROM LeasePC UNION ALL SELECT lease_No FROM Lease"_s),
             (QStringList {u"No.2"_s, u"No.2"_s}));
}

void TstLeaseStore::creationFromPcsRunTwiceOnlyStamps()
{
    QFETCH(int, engine);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    const auto pc = [&](const char *key, const QVariant &lease, const QVariant &number,
                        const QVariant &removed = {}) {
        insertRow(dm, TableId::PC,
                  {{u"Key"_s, QString::fromLatin1(key)},
                   {u"lease"_s, lease},
                   {u"lease_No"_s, number},
                   {u"TekkyoYMD"_s, removed}});
    };
    pc("P1", u"A"_s, u"1"_s);
    pc("P2", u"A"_s, u"1"_s);
    pc("P3", u"A"_s, None); // no contract number: ignored
    pc("P4", u"C"_s, u"3"_s);
    pc("P5", u"B"_s, u"2"_s, QDate(2020, 1, 1)); // removed PCs count too
    pc("P6", None, u"9"_s);
    // Written as an empty text rather than no value (the SQL window can).
    dm.exec(u"UPDATE PC SET lease = '' WHERE Key = 'P6'"_s);
    insertContract(dm, {u"C"_s, u"3"_s}, {{u"Bukkenmei"_s, u"既存"_s}}, {}, {u"OLD"_s});
    const QString leases = u"SELECT lease, lease_No, Bukkenmei, UpdateTime FROM Lease "
                           "ORDER BY lease, lease_No"_s;
    const QString pcs = u"SELECT lease, lease_No, PCKey FROM LeasePC ORDER BY lease, lease_No, "
                        "PCKey"_s;

    LeaseDataCreation::Result r = LeaseDataCreation::run(dm);
    QCOMPARE(r.contractsAdded, 2);
    QCOMPARE(r.pcsAdded, 4);
    QCOMPARE(r.pcsStamped, 0);
    const QStringList leasesOnce = rowsOf(dm, leases), pcsOnce = rowsOf(dm, pcs);
    QCOMPARE(leasesOnce, (QStringList {u"A|1||"_s, u"B|2||"_s, u"C|3|既存|"_s}));
    QCOMPARE(pcsOnce,
             (QStringList {u"A|1|P1"_s, u"A|1|P2"_s, u"B|2|P5"_s, u"C|3|OLD"_s, u"C|3|P4"_s}));

    dm.exec(u"UPDATE LeasePC SET UpdateTime = NULL"_s);
    r = LeaseDataCreation::run(dm);
    QCOMPARE(r.contractsAdded + r.pcsAdded, 0);
    QCOMPARE(r.pcsStamped, 4);
    QCOMPARE(rowsOf(dm, leases), leasesOnce);
    QCOMPARE(rowsOf(dm, pcs), pcsOnce);
    QCOMPARE(rowsOf(dm, u"SELECT PCKey FROM LeasePC WHERE UpdateTime IS NULL"_s),
             QStringList {u"OLD"_s});
}

void TstLeaseStore::dueFiguresAtTheEdges()
{
    QFETCH(int, engine);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    const QDate today(2026, 12, 30);
    const auto contract
        = [&](const char *number, const QDate &end, const QVector<ScheduleRow> &schedule = {},
              const QStringList &pcs = {}) {
              insertContract(dm, {u"L"_s, QString::fromLatin1(number)}, {{u"kikan_end"_s, end}},
                             schedule, pcs);
          };
    contract("1 today", today,
             {{today.addDays(-1), 1000, 100, 10}, // paid
              {today, 100, 10, None},
              {today.addDays(30), 200, None, 5}},
             {u"P1"_s, u"P2"_s});
    contract("2 day 89", today.addDays(89));
    contract("3 day 90", today.addDays(90));
    contract("4 ended", today.addDays(-1), {}, {u"P4"_s});
    contract("5 ended, removed", today.addDays(-1));
    contract("6 no end", QDate());
    // PCs naming the ended contracts: one in service, one removed.
    insertRow(dm, TableId::PC,
              {{u"Key"_s, u"P4"_s}, {u"lease"_s, u"L"_s}, {u"lease_No"_s, u"4 ended"_s}});
    insertRow(dm, TableId::PC,
              {{u"Key"_s, u"P5"_s},
               {u"lease"_s, u"L"_s},
               {u"lease_No"_s, u"5 ended, removed"_s},
               {u"TekkyoYMD"_s, QDate(2026, 1, 1)}});

    QStringList lines;
    for (const LeaseDue::Row &row : LeaseDue::rows(dm, today)) {
        lines << QStringList {row.key.leaseNo,
                              row.end.toString(Qt::ISODate),
                              QString::number(row.figures.paymentsDue),
                              QString::number(row.figures.amountDue),
                              QString::number(row.figures.coveredPcs),
                              LeaseDue::markText(row.mark)}
                     .join(u'|');
    }
    QCOMPARE(lines,
             (QStringList {u"1 today|2026-12-30|2|315|2|期限間近"_s,
                           u"2 day 89|2027-03-29|0|0|0|期限間近"_s, u"3 day 90|2027-03-30|0|0|0|"_s,
                           u"4 ended|2026-12-29|0|0|1|期限切れ"_s,
                           u"5 ended, removed|2026-12-29|0|0|0|"_s, u"6 no end||0|0|0|"_s}));
}

QTEST_GUILESS_MAIN(TstLeaseStore)
#include "tst_leasestore.moc"
