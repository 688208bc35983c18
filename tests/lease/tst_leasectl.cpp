// orvanectl leases: the tab-separated figures of every contract, with the
// days ahead and the day taken as today; wrong options are usage errors.

#include "CtlTestSupport.h"
#include "LeaseTestSupport.h"
#include "base/IniFile.h"
#include "cli/OrvaneCtl.h"
#include "lease/Amounts.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

class TstLeaseCtl : public QObject
{
    Q_OBJECT

private slots:
    void printsFiguresInKeyOrder_data() { TestStore::addEngineRows(); }
    void printsFiguresInKeyOrder();
    void wrongOptionsAreUsageErrors();
    void amountsBeyond64BitsStop();
};

void TstLeaseCtl::printsFiguresInKeyOrder()
{
    QFETCH(int, engine);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    {
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        insertContract(dm, {u"B社"_s, u"7"_s}, {{u"kikan_end"_s, QDate(2027, 1, 10)}},
                       {{QDate(2026, 12, 31), 1000, 100, QVariant()}}, {u"PC1"_s, u"PC2"_s});
        insertContract(dm, {u"A社"_s, u"1"_s});
    }
    QTemporaryDir program;
    const QStringList where = storeArguments(store, program.path());
    const QString header = u"リース会社\t契約№\tリース終了日\t残回数\t残額\t対象PC台数\t期限\n"_s;

    Outcome o
        = runCtl(program.path(), where + QStringList {u"leases"_s, u"--as-of"_s, u"2026/12/31"_s});
    QCOMPARE(o.exit, 0);
    QCOMPARE(o.out, header + u"A社\t1\t\t0\t0\t0\t\nB社\t7\t2027/01/10\t1\t1100\t2\t期限間近\n"_s);
    o = runCtl(program.path(),
               // A month and a day of one digit, as the windows take them.
               where
                   + QStringList {u"leases"_s, u"--within"_s, u"9"_s, u"--as-of"_s, u"2027/1/1"_s});
    QCOMPARE(o.exit, 0);
    QCOMPARE(o.out.section(u'\n', 2, 2), u"B社\t7\t2027/01/10\t0\t0\t2\t"_s);
}

void TstLeaseCtl::wrongOptionsAreUsageErrors()
{
    QTemporaryDir program;
    for (const QStringList &arguments :
         {QStringList {u"leases"_s, u"--within"_s, u"-1"_s},
          QStringList {u"leases"_s, u"--as-of"_s, u"2026/02/30"_s},
          QStringList {u"leases"_s, u"extra"_s}, QStringList {u"check"_s, u"--within"_s, u"5"_s}}) {
        const Outcome o = runCtl(program.path(), arguments);
        QCOMPARE(o.exit, 2);
        QVERIFY2(o.err.contains(u"leases [--within DAYS]"_s), qPrintable(arguments.join(u' ')));
    }
}

// SQLite keeps any 64-bit amount (the SQL window can write one): a sum
// beyond 64 bits is an error, never a negative figure.
void TstLeaseCtl::amountsBeyond64BitsStop()
{
    TestStore store(int(TestStore::Kind::SQLite));
    {
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        insertContract(dm, {u"A社"_s, u"1"_s});
        dm.exec(u"INSERT INTO LeaseMesai (lease, lease_No, SiharaiYMD, kingaku, zei) "
                u"VALUES ('A社', '1', '2030-01-01', :big, :big)"_s,
                {{u":big"_s, qint64(5000000000000000000)}});
    }
    QTemporaryDir program;
    const Outcome o
        = runCtl(program.path(), storeArguments(store, program.path()) + QStringList {u"leases"_s});
    QCOMPARE(o.exit, 1);
    QVERIFY2(o.err.contains(Amounts::overflowText()), qPrintable(o.err));
}

QTEST_GUILESS_MAIN(TstLeaseCtl)
#include "tst_leasectl.moc"
