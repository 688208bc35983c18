// Two copies of the program on one store: while one has a PC open in its
// ledger work, the other waits (and fails) only for that PC, and a copy that
// dies does not keep its PC. Copies are two connections, or two processes
// where the holder's death matters.

#include "../import/ImportTestSupport.h"
#include "TestStores.h"
#include "import/ImportRun.h"
#include "ledger/PcLedger.h"
#include "store/PcClaims.h"
#include "store/RecordCursor.h"
#include "store/UDMdata.h"
#include "views/PcDeletion.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QSqlQuery>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

using namespace Qt::StringLiterals;

namespace {

// A key with quotes and percent signs: it travels as a bound value only.
const QString X = u"X'1%\"_"_s;
const QString Y = u"Y"_s;

class SilentImport : public ImportObserver
{
public:
    void progress(const QString &) override { }
    void fileMessage(const QString &text) override { messages << text; }
    void fatal(const QString &text) override { messages << text; }
    QStringList messages;
};

void insertPc(TDMdata &dm, const QString &key, const QString &bu)
{
    RecordCursor pc(dm, TableId::PC);
    pc.open();
    pc.append();
    pc.setValue(u"Key"_s, key);
    pc.setValue(u"Bu"_s, bu);
    pc.post();
}

QString buOf(TDMdata &dm, const QString &key)
{
    RecordCursor pc(dm, TableId::PC);
    pc.open();
    return pc.locate({key}) ? pc.text(u"Bu"_s) : u"(none)"_s;
}

// Runs the test program as a second copy that claims the PC and then waits
// to be killed.
QProcess *startHolder(const StoreSettings &store, const QString &key, QObject *parent)
{
    auto *holder = new QProcess(parent);
    holder->start(QCoreApplication::applicationFilePath(),
                  {u"--hold"_s,
                   store.mode == StoreSettings::Mode::Local ? store.folder : store.database, key});
    return holder;
}

int holdClaim(const QString &where, const QString &key)
{
    StoreSettings settings = TestStore::postgresServer(where);
    if (where.startsWith(u'/')) {
        settings = StoreSettings();
        settings.folder = where;
    }
    TDMdata dm;
    dm.setSettings(settings);
    dm.open();
    PcClaim claim(dm);
    claim.take(key);
    fputs("held\n", stdout);
    fflush(stdout);
    for (;;)
        QThread::sleep(60);
}

} // namespace

class TestLedgerCopies : public QObject
{
    Q_OBJECT

private slots:
    void othersWaitOnlyForTheClaimedPc_data() { TestStore::addEngineRows(); }
    void othersWaitOnlyForTheClaimedPc();
    void deadHolderFreesItsPc_data() { TestStore::addEngineRows(); }
    void deadHolderFreesItsPc();
    void claimOfAnotherComputerLapses_data();
    void claimOfAnotherComputerLapses();
    void renewalKeepsAClaim();
};

void TestLedgerCopies::othersWaitOnlyForTheClaimedPc()
{
    QFETCH(int, engine);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    TDMdata a, b;
    openCheckedStore(a, store.settings());
    openCheckedStore(b, store.settings());
    insertPc(a, X, u"総務"_s);
    insertPc(a, Y, u"経理"_s);

    PcLedger ledgerA(a);
    QVERIFY(ledgerA.beginEdit(X));
    ledgerA.pc().setValue(u"Bu"_s, u"人事"_s);
    // A holds no write transaction meanwhile: B edits another PC at once.
    PcLedger ledgerB(b);
    QVERIFY(ledgerB.beginEdit(Y));
    ledgerB.pc().setValue(u"Bu"_s, u"営業"_s);
    ledgerB.save(QDate(2026, 1, 5));
    QCOMPARE(buOf(a, Y), u"営業"_s);

    // B's edit, deletion and import of X wait 15 x 100 ms, then fail.
    QElapsedTimer waited;
    waited.start();
    QVERIFY_THROWS_EXCEPTION(ClaimError, ledgerB.beginEdit(X));
    QCOMPARE_GE(waited.elapsed(), 1400);
    QVERIFY_THROWS_EXCEPTION(ClaimError, PcDeletion::deletePcs(b, {Y, X}));
    QCOMPARE(buOf(b, Y), u"営業"_s); // the batch is all or nothing

    QTemporaryDir folder;
    SampleFile(X).add(u"Hard"_s, u"CPU"_s, u"Name"_s, u"Pentium"_s).write(folder.filePath("1.csv"));
    SampleFile(Y).add(u"Hard"_s, u"CPU"_s, u"Name"_s, u"Celeron"_s).write(folder.filePath("2.csv"));
    SilentImport observer;
    const ImportSummary summary = ImportRun(b, observer).run(folder.path(), ImportOptions());
    QCOMPARE(summary.imported, 1);
    QCOMPARE(summary.failed, 1);
    QCOMPARE(observer.messages, QStringList {u"1.csvの処理中にエラーが発生しました"_s});
    RecordCursor pc(b, TableId::PC);
    pc.open();
    QVERIFY(pc.locate({X}));
    QVERIFY(pc.text(u"CPU_Name"_s).isEmpty());
    QVERIFY(pc.locate({Y}));
    QCOMPARE(pc.text(u"CPU_Name"_s), u"Celeron"_s);

    // A's OK writes what A changed and frees X.
    ledgerA.save(QDate(2026, 1, 6));
    QCOMPARE(buOf(b, X), u"人事"_s);
    QVERIFY(ledgerB.beginEdit(X));
    ledgerB.discard();
    PcDeletion::deletePcs(b, {X});
    // A PC deleted meanwhile is said to be gone, never opened on another row.
    QVERIFY(!ledgerA.beginEdit(X));
}

void TestLedgerCopies::deadHolderFreesItsPc()
{
    QFETCH(int, engine);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    TDMdata b;
    openCheckedStore(b, store.settings());
    insertPc(b, X, u"総務"_s);

    QProcess *holder = startHolder(store.settings(), X, this);
    QVERIFY(holder->waitForReadyRead(20000));
    QCOMPARE(holder->readAllStandardOutput(), QByteArray("held\n"));
    PcLedger ledger(b);
    QVERIFY_THROWS_EXCEPTION(ClaimError, ledger.beginEdit(X));

    holder->kill(); // no chance to give the claim back
    QVERIFY(holder->waitForFinished(5000));
    QVERIFY(ledger.beginEdit(X));
}

void TestLedgerCopies::claimOfAnotherComputerLapses_data()
{
    // How far the holder's clock is off the reader's: it does not matter.
    QTest::addColumn<int>("holderClockOff");
    QTest::newRow("holder's clock in step") << 0;
    QTest::newRow("holder's clock 10 minutes behind") << -600;
    QTest::newRow("holder's clock 10 minutes ahead") << 600;
}

void TestLedgerCopies::claimOfAnotherComputerLapses()
{
    QFETCH(int, holderClockOff);
    TestStore store(int(TestStore::Kind::SQLite));
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    dm.setLockWait(0);
    insertPc(dm, X, u"総務"_s);
    // The holder's renewals, as its own clock stamps them 15 s apart.
    const QDateTime start = QDateTime::currentDateTimeUtc().addSecs(holderClockOff);
    const auto stamp
        = [&](int beat) { return start.addSecs(15 * beat).toString(u"yyyy-MM-dd HH:mm:ss"_s); };
    dm.exec(u"INSERT INTO PcClaim (Key, Holder, Host, Pid, AliveAt)\n"
            "VALUES (:Key, 'elsewhere', :Host, 1, :AliveAt)"_s,
            {{u":Key"_s, X},
             {u":Host"_s, QSysInfo::machineHostName() + u"-other"_s},
             {u":AliveAt"_s, stamp(0)}});
    // A claim lapses once its stamp has not changed for the lapse time of
    // the reader's clock (shortened here to 1 s).
    const int lapse = PcClaims::lapseSeconds();
    PcClaims::setLapseSeconds(1);
    PcLedger ledger(dm);
    QVERIFY_THROWS_EXCEPTION(ClaimError, ledger.beginEdit(X)); // first seen
    QTest::qWait(700);
    dm.exec(u"UPDATE PcClaim SET AliveAt = :AliveAt"_s, {{u":AliveAt"_s, stamp(1)}});
    QTest::qWait(700);
    QVERIFY_THROWS_EXCEPTION(ClaimError, ledger.beginEdit(X)); // renewed meanwhile
    QTest::qWait(1100);
    const bool taken = ledger.beginEdit(X); // silent for the lapse time
    PcClaims::setLapseSeconds(lapse);
    QVERIFY(taken);
}

void TestLedgerCopies::renewalKeepsAClaim()
{
    TestStore store(int(TestStore::Kind::SQLite));
    TDMdata a, b;
    openCheckedStore(a, store.settings());
    openCheckedStore(b, store.settings());
    PcClaim holder(a);
    holder.take(X);
    // Silent for two minutes, the claim has lapsed; renewed, it holds.
    a.exec(u"UPDATE PcClaim SET AliveAt = '2000-01-01 00:00:00'"_s);
    holder.beat();
    PcClaim other(b);
    QVERIFY_THROWS_EXCEPTION(ClaimError, other.take(X));
}

int main(int argc, char **argv)
{
    if (argc == 4 && qstrcmp(argv[1], "--hold") == 0) {
        QCoreApplication app(argc, argv);
        return holdClaim(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]));
    }
    QCoreApplication app(argc, argv);
    TestLedgerCopies test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_ledger_copies.moc"
