// Two copies of the program on one store and one lease contract: the copy
// that has it open in its lease window claims it, so the other can neither
// open, delete nor add PCs to it meanwhile; and a save never overwrites a
// contract that changed since it was read.

#include "LeaseTestSupport.h"
#include "lease/LeaseDataCreation.h"
#include "lease/LeaseDeletion.h"
#include "lease/LeaseReader.h"
#include "lease/LeaseSaver.h"
#include "store/PcClaims.h"

#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const LeaseKey Key {u"A'社"_s, u"No.1"_s};

QVariantMap params(const QString &bukkenmei)
{
    return LeaseContract::SetLeaseParams(
        {{u"lease"_s, Key.lease}, {u"lease_No"_s, Key.leaseNo}, {u"Bukkenmei"_s, bukkenmei}},
        QDateTime::currentDateTime());
}

// Saves the contract as the lease window does after reading it.
void save(TDMdata &dm, const QString &bukkenmei, const QVariant &readStamp,
          PcClaim *claim = nullptr)
{
    LeaseSaver saver(dm);
    saver.setClaim(claim);
    saver.setReadStamp(readStamp);
    saver.save(LeaseSaver::Mode::Update, params(bukkenmei), {}, {u"PC1"_s});
}

QVariant readStamp(TDMdata &dm)
{
    QVariant stamp;
    LeaseReader::contract(dm, Key, &stamp);
    return stamp;
}

} // namespace

class TstLeaseCopies : public QObject
{
    Q_OBJECT

private slots:
    void openContractIsClaimed_data() { TestStore::addEngineRows(); }
    void openContractIsClaimed();
    void changedContractIsNotOverwritten_data() { TestStore::addEngineRows(); }
    void changedContractIsNotOverwritten();
};

void TstLeaseCopies::openContractIsClaimed()
{
    QFETCH(int, engine);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    TDMdata a, b;
    openCheckedStore(a, store.settings());
    openCheckedStore(b, store.settings());
    insertContract(a, Key, {{u"UpdateTime"_s, QDateTime(QDate(2026, 1, 5), QTime(9, 0))}}, {},
                   {u"PC1"_s});
    insertRow(a, TableId::PC,
              {{u"Key"_s, u"PC2"_s}, {u"lease"_s, Key.lease}, {u"lease_No"_s, Key.leaseNo}});
    const ClaimSubject contract = ClaimSubject::lease(Key.lease, Key.leaseNo);

    // A has the contract open; B's window, deletion and data creation are
    // refused with the claim's message (after 15 x 100 ms).
    PcClaim windowA(a);
    windowA.take(contract);
    const QVariant stampA = readStamp(a);
    PcClaim windowB(b);
    try {
        windowB.take(contract);
        QFAIL("the contract open in A was opened in B");
    } catch (const ClaimError &e) {
        QCOMPARE(e.message(),
                 u"A'社(No.1) は他のユーザーが編集中です。"
                 "しばらくしてからやり直してください。"_s);
    }
    QVERIFY_THROWS_EXCEPTION(ClaimError, LeaseDeletion::deleteLease(b, Key));
    QVERIFY_THROWS_EXCEPTION(ClaimError, save(b, u"B"_s, readStamp(b)));
    QCOMPARE(LeaseDataCreation::run(b).claimed, QStringList {u"A'社(No.1)"_s});
    QCOMPARE(rowsOf(b, u"SELECT PCKey FROM LeasePC"_s), QStringList {u"PC1"_s});
    // A PC's claim of the same text is another claim.
    PcClaim pc(b);
    pc.take(u"A'社(No.1)"_s);

    // A's OK writes; once A closes, B's creation adds the PC.
    save(a, u"A"_s, stampA, &windowA);
    windowA.release();
    QCOMPARE(LeaseDataCreation::run(b).claimed, QStringList());
    QCOMPARE(rowsOf(b, u"SELECT Bukkenmei FROM Lease"_s), QStringList {u"A"_s});
    QCOMPARE(rowsOf(b, u"SELECT PCKey FROM LeasePC ORDER BY PCKey"_s),
             (QStringList {u"PC1"_s, u"PC2"_s}));
}

void TstLeaseCopies::changedContractIsNotOverwritten()
{
    QFETCH(int, engine);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    TDMdata a, b;
    openCheckedStore(a, store.settings());
    openCheckedStore(b, store.settings());
    // Contracts made by the data creation have no time stamp yet.
    for (const QVariant &stamp :
         {QVariant(QDateTime(QDate(2026, 1, 5), QTime(9, 0, 0, 123))), QVariant()}) {
        a.exec(u"DELETE FROM Lease"_s);
        insertContract(a, Key, {{u"Bukkenmei"_s, u"old"_s}, {u"UpdateTime"_s, stamp}});
        // Both read it; B saves first, and A's later OK is refused.
        const QVariant stampA = readStamp(a);
        save(b, u"B"_s, readStamp(b));
        try {
            save(a, u"A"_s, stampA);
            QFAIL("A overwrote B's save");
        } catch (const StoreError &e) {
            QCOMPARE(e.message(), LeaseSaver::changedText(Key));
        }
        QCOMPARE(rowsOf(a, u"SELECT Bukkenmei FROM Lease"_s), QStringList {u"B"_s});
        // Read again, it saves.
        save(a, u"A"_s, readStamp(a));
        QCOMPARE(rowsOf(b, u"SELECT Bukkenmei FROM Lease"_s), QStringList {u"A"_s});
    }
}

QTEST_GUILESS_MAIN(TstLeaseCopies)
#include "tst_lease_copies.moc"
