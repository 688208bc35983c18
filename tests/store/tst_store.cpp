#include "StoreProbe.h"
#include "TestStores.h"
#include "store/RecordCursor.h"
#include "store/StoreTransaction.h"

#include <QElapsedTimer>
#include <QFile>
#include <QMutex>
#include <QSqlDatabase>
#include <QTemporaryDir>
#include <thread>

namespace {

void insertPc(TDMdata &dm, const QString &key, const QVariantMap &values = {})
{
    RecordCursor &pc = dm.table(TableId::PC);
    pc.append();
    pc.setValue(QStringLiteral("Key"), key);
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        pc.setValue(it.key(), it.value());
    pc.post();
}

int pcCount(TDMdata &dm)
{
    return scalar(dm, QStringLiteral("SELECT COUNT(*) FROM PC")).toInt();
}

} // namespace

class TstStore : public QObject
{
    Q_OBJECT

private slots:
    void firstCheckCreatesAllTables_data() { TestStore::addEngineRows(); }
    void firstCheckCreatesAllTables()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        dm.setSettings(store.settings());
        dm.open();
        QVERIFY(dm.isConnected());
        RecordingObserver observer;
        dm.checkTables(observer);
        QCOMPARE(observer.statuses,
                 QStringList({"ＰＣテーブルのチェック", "アプリケーションテーブルのチェック",
                              "プリンターテーブルのチェック", "", "ドライブテーブルのチェック", "",
                              "共有情報テーブルのチェック", "", "ＬＡＮテーブルのチェック", "",
                              "メモリーテーブルのチェック", "", "リースマスターのチェック", "",
                              "リース明細のチェック", "", "リースＰＣのチェック", ""}));
        QVERIFY(observer.backfillCounts.isEmpty());
        for (const TableDef &t : Schema::tables()) {
            QVERIFY2(dm.tableExists(t.name), qPrintable(t.name));
            QVERIFY(dm.table(t.id).isOpen());
        }
        // Columns in catalog order; the printer table, created narrow and
        // without its marker, is widened by the same check, before any
        // import can write a wide port into it.
        QStringList pcColumns = dm.columnNames(QStringLiteral("PC"));
        QCOMPARE(pcColumns.size(), 116);
        for (int i = 0; i < 116; ++i)
            QCOMPARE(pcColumns[i].toLower(), Schema::table(TableId::PC).columns[i].name.toLower());
        QCOMPARE(dm.columnNames(QStringLiteral("Printer")).size(), 7);
        QCOMPARE(declaredWidth(dm, QStringLiteral("Printer"), QStringLiteral("Port")), 30);
        QCOMPARE(dm.columnNames(QStringLiteral("Printer")).last().toLower(),
                 QStringLiteral("ver116"));

        // The history beside the ten; a store of an older program, which
        // has none, gets it (with its numbering) at its next check.
        QVERIFY(dm.tableExists(QStringLiteral("History")));
        dm.exec(QStringLiteral("DROP TABLE History"));
        dm.checkTables(observer);
        QCOMPARE(dm.columnNames(QStringLiteral("History")).size(), 10);
        for (const char *key : {"A", "B"})
            dm.exec(QStringLiteral("INSERT INTO History (At, Operation, Key, TableName) "
                                   "VALUES ('2026-01-02 03:04:05', '取込', :KEY, 'PC')"),
                    {{QStringLiteral(":KEY"), QLatin1String(key)}});
        QSqlQuery ids = dm.exec(QStringLiteral("SELECT Id FROM History ORDER BY Id"));
        QVERIFY(ids.next() && ids.value(0).toLongLong() > 0);
        const qint64 first = ids.value(0).toLongLong();
        QVERIFY(ids.next() && ids.value(0).toLongLong() > first);
    }

    void localStoreIsOneFileInTheFolder()
    {
        QTemporaryDir dir;
        TDMdata dm;
        StoreSettings s;
        s.folder = dir.path();
        openCheckedStore(dm, s);
        QVERIFY(QFile::exists(TDMdata::localDatabaseFile(dir.path())));
        QVERIFY(!dm.onNetworkFileSystem());
        QCOMPARE(scalar(dm, QStringLiteral("PRAGMA journal_mode")).toString(),
                 QStringLiteral("wal"));
    }

    void badLocalStores()
    {
        TDMdata dm;
        StoreSettings s;
        s.folder = QStringLiteral("/nonexistent/orvane/folder");
        dm.setSettings(s);
        QVERIFY_THROWS_EXCEPTION(StoreError, dm.open());
        QVERIFY(!dm.isConnected());

        // A file that is not a database is refused, and left as it was.
        QTemporaryDir dir;
        QFile f(TDMdata::localDatabaseFile(dir.path()));
        QVERIFY(f.open(QIODevice::WriteOnly));
        const QByteArray garbage(4096, 'x');
        f.write(garbage);
        f.close();
        s.folder = dir.path();
        dm.setSettings(s);
        QVERIFY_THROWS_EXCEPTION(StoreError, dm.open());
        QVERIFY(!dm.isConnected());
        QVERIFY(f.open(QIODevice::ReadOnly));
        QCOMPARE(f.readAll(), garbage);
    }

    void unreachableServer()
    {
        TDMdata dm;
        StoreSettings s;
        s.mode = StoreSettings::Mode::Remote;
        s.host = QStringLiteral("127.0.0.1");
        s.port = 1;
        s.database = QStringLiteral("x");
        s.user = QStringLiteral("u");
        dm.setSettings(s);
        QVERIFY_THROWS_EXCEPTION(StoreError, dm.open());
        QVERIFY(!dm.isConnected());
        // Closing and checking a store that is not connected do nothing.
        RecordingObserver observer;
        dm.checkTables(observer);
        QVERIFY(observer.statuses.isEmpty());
        dm.close();
    }

    void emptyUserNameAsksForLogin()
    {
        TDMdata dm;
        StoreSettings s;
        s.mode = StoreSettings::Mode::Remote;
        s.host = QStringLiteral("127.0.0.1");
        s.port = 1;
        dm.setSettings(s);
        int asked = 0;
        dm.setLoginPrompt([&](QString &, QString &) {
            ++asked;
            return false;
        });
        QVERIFY_THROWS_EXCEPTION(StoreError, dm.open());
        QCOMPARE(asked, 1);
        QCOMPARE(dm.settings().user, QString());
    }

    void loginPromptSuppliesCredentials()
    {
        TestStore store(int(TestStore::Kind::PostgreSQL));
        ORVANE_REQUIRE_STORE(store);
        StoreSettings s = store.settings();
        const QString realUser = s.user;
        s.user.clear();
        TDMdata dm;
        dm.setSettings(s);
        dm.setLoginPrompt([&](QString &user, QString &) {
            user = realUser;
            return true;
        });
        dm.open();
        QVERIFY(dm.isConnected());
    }

    void emptyTextIsNoValue_data() { TestStore::addEngineRows(); }
    void emptyTextIsNoValue()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        insertPc(dm, QStringLiteral("A"),
                 {{QStringLiteral("Bu"), QString()},
                  {QStringLiteral("lease"), QStringLiteral("")},
                  {QStringLiteral("lease_No"), QStringLiteral("1")}});
        insertPc(dm, QStringLiteral("B"),
                 {{QStringLiteral("lease"), QStringLiteral("リース社")},
                  {QStringLiteral("lease_No"), QStringLiteral("1")}});
        QCOMPARE(scalar(dm, QStringLiteral("SELECT COUNT(*) FROM PC WHERE Bu IS NULL")).toInt(), 2);
        QCOMPARE(
            scalar(dm,
                   QStringLiteral(
                       "SELECT KEY FROM PC\nWHERE (LEASE IS NOT NULL) AND (LEASE_NO IS NOT NULL)"))
                .toString(),
            QStringLiteral("B"));
        // The column user is reachable by every spelling on both engines.
        dm.exec(QStringLiteral("UPDATE PC SET User = :u WHERE KEY = :k"),
                {{QStringLiteral(":u"), QStringLiteral("suzuki")},
                 {QStringLiteral(":k"), QStringLiteral("A")}});
        QCOMPARE(scalar(dm, QStringLiteral("SELECT USER FROM PC WHERE KEY = 'A'")).toString(),
                 QStringLiteral("suzuki"));
    }

    void textIsCutToWidthInCp932Bytes_data()
    {
        QTest::addColumn<int>("engine");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QString>("stored");
        for (int e : {0, 1}) {
            const char *prefix = e == 0 ? "sqlite " : "postgresql ";
            auto row = [&](const char *name) -> QTestData & {
                return QTest::newRow(qPrintable(QLatin1String(prefix) + QLatin1String(name)));
            };
            row("10 full-width fit") << e << "総務部情報システム課長"
                                     << "総務部情報システム課";
            row("20 half-width fit") << e << "ABCDEFGHIJKLMNOPQRSTUV"
                                     << "ABCDEFGHIJKLMNOPQRST";
            row("no split of a double-byte character") << e << "A総務部情報システム課長"
                                                       << "A総務部情報システム";
            row("half-width katakana take one byte") << e << "ｿｳﾑﾌﾞｼﾞｮｳﾎｳｼｽﾃﾑｶﾁｮｳﾀﾞｲﾘ"
                                                     << "ｿｳﾑﾌﾞｼﾞｮｳﾎｳｼｽﾃﾑｶﾁｮｳﾀ";
            row("short text unchanged") << e << "営業部"
                                        << "営業部";
        }
    }
    void textIsCutToWidthInCp932Bytes()
    {
        QFETCH(int, engine);
        QFETCH(QString, value);
        QFETCH(QString, stored);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        insertPc(dm, QStringLiteral("K"), {{QStringLiteral("Bu"), value}});
        QCOMPARE(scalar(dm, QStringLiteral("SELECT Bu FROM PC")).toString(), stored);
    }

    void transactions_data() { TestStore::addEngineRows(); }
    void transactions()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        QVERIFY(!dm.inTransaction());

        dm.startTransaction();
        QVERIFY(dm.inTransaction());
        QVERIFY_THROWS_EXCEPTION(StoreError, dm.startTransaction());
        insertPc(dm, QStringLiteral("rolled-back"));
        dm.rollback();
        QVERIFY(!dm.inTransaction());
        QCOMPARE(pcCount(dm), 0);

        dm.startTransaction();
        insertPc(dm, QStringLiteral("committed"));
        dm.commit();
        QCOMPARE(pcCount(dm), 1);

        {
            StoreTransaction t(dm);
            insertPc(dm, QStringLiteral("left open"));
        }
        QVERIFY(!dm.inTransaction());
        QCOMPARE(pcCount(dm), 1);
        {
            StoreTransaction t(dm);
            insertPc(dm, QStringLiteral("kept"));
            t.commit();
        }
        QCOMPARE(pcCount(dm), 2);

        // A failing statement inside a transaction leaves it for the caller
        // to roll back; nothing of it remains.
        dm.startTransaction();
        insertPc(dm, QStringLiteral("x"));
        QVERIFY_THROWS_EXCEPTION(StoreError, insertPc(dm, QStringLiteral("kept")));
        dm.table(TableId::PC).cancel();
        dm.rollback();
        QCOMPARE(pcCount(dm), 2);

        // Closing the store drops an open transaction.
        dm.startTransaction();
        insertPc(dm, QStringLiteral("y"));
        dm.close();
        QVERIFY(!dm.inTransaction());
        openCheckedStore(dm, store.settings());
        QCOMPARE(pcCount(dm), 2);
    }

    void memoryDatabaseIsPrivate_data() { TestStore::addEngineRows(); }
    void memoryDatabaseIsPrivate()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        QSqlDatabase mem = dm.memory();
        QSqlQuery q(mem);
        QVERIFY(q.exec(QStringLiteral("CREATE TABLE IF NOT EXISTS MEMORY (a INTEGER)")));
        QVERIFY(q.exec(QStringLiteral("INSERT INTO MEMORY VALUES (1)")));
        QVERIFY(!dm.tableExists(QStringLiteral("MEMORY")));
        TDMdata other;
        QSqlQuery q2(other.memory());
        QVERIFY(!q2.exec(QStringLiteral("SELECT * FROM MEMORY")));
        QVERIFY(q.exec(QStringLiteral("DROP TABLE IF EXISTS MEMORY")));
        // The memory database lives on across a reconnection of the store.
        dm.close();
        QVERIFY(dm.memory().isOpen());
    }

    // A lock held by another copy is waited for (15 x 100 ms) and then
    // reported as the store's error.
    void lockHeldByAnotherCopy_data() { TestStore::addEngineRows(); }
    void lockHeldByAnotherCopy()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata first, second;
        openCheckedStore(first, store.settings());
        openCheckedStore(second, store.settings());
        insertPc(first, QStringLiteral("shared"));

        first.startTransaction();
        first.exec(QStringLiteral("UPDATE PC SET Bu = 'a' WHERE KEY = 'shared'"));
        QElapsedTimer timer;
        timer.start();
        bool failed = false;
        try {
            second.startTransaction();
            second.exec(QStringLiteral("UPDATE PC SET Bu = 'b' WHERE KEY = 'shared'"));
        } catch (const StoreError &) {
            failed = true;
        }
        QVERIFY(failed);
        QVERIFY2(timer.elapsed() >= 1000, "the lock was not waited for");
        second.rollback();
        first.commit();

        // Once released, the other copy writes.
        second.startTransaction();
        second.exec(QStringLiteral("UPDATE PC SET Bu = 'b' WHERE KEY = 'shared'"));
        second.commit();
        QCOMPARE(scalar(first, QStringLiteral("SELECT Bu FROM PC")).toString(),
                 QStringLiteral("b"));
    }

    // Readers release the store at once: a located row does not keep a
    // read transaction that would stop another copy's writes.
    void readersDoNotPinTheStore()
    {
        TestStore store(int(TestStore::Kind::SQLite));
        TDMdata reader, writer;
        openCheckedStore(reader, store.settings());
        openCheckedStore(writer, store.settings());
        insertPc(writer, QStringLiteral("A"));
        insertPc(writer, QStringLiteral("B"));
        QVERIFY(reader.table(TableId::PC).first());
        QVERIFY(reader.table(TableId::PC).locate({QStringLiteral("A")}));
        writer.startTransaction();
        writer.exec(QStringLiteral("DELETE FROM PC"));
        writer.commit();
        QSqlQuery q(writer.database());
        QVERIFY(q.exec(QStringLiteral("PRAGMA wal_checkpoint(TRUNCATE)")));
        QVERIFY(q.next());
        QCOMPARE(q.value(0).toInt(), 0); // not blocked by a reader
    }

    // Copies opening one new store at the same moment wait for each other's
    // table check and then find its tables.
    void concurrentChecksOfANewStore_data() { TestStore::addEngineRows(); }
    void concurrentChecksOfANewStore()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        QMutex mutex;
        QStringList errors;
        std::vector<std::thread> copies;
        for (int i = 0; i < 3; ++i) {
            copies.emplace_back([&] {
                try {
                    TDMdata dm;
                    openCheckedStore(dm, store.settings());
                } catch (const StoreError &e) {
                    QMutexLocker lock(&mutex);
                    errors << e.message();
                }
            });
        }
        for (std::thread &copy : copies)
            copy.join();
        QVERIFY2(errors.isEmpty(), qPrintable(errors.join(u'|')));
    }

    // A store opened for reading is read as it is: a missing table is
    // reported, not made, and nothing can be written.
    void readOnlyStoreOnlyReads()
    {
        TestStore store(int(TestStore::Kind::SQLite));
        {
            TDMdata dm;
            openCheckedStore(dm, store.settings());
            dm.exec(QStringLiteral("INSERT INTO PC (Key) VALUES ('A')"));
            dm.exec(QStringLiteral("DROP TABLE LeasePC"));
        }
        TDMdata dm;
        dm.setSettings(store.settings());
        dm.setAccess(StoreAccess::Reads);
        dm.open();
        SilentTableCheck check;
        try {
            dm.checkTables(check);
            QFAIL("a missing table passed the check");
        } catch (const StoreError &e) {
            QVERIFY2(e.message().contains(QStringLiteral("LeasePC")), qPrintable(e.message()));
        }
        QVERIFY(!dm.tableExists(QStringLiteral("LeasePC")));
        QCOMPARE(scalar(dm, QStringLiteral("SELECT COUNT(*) FROM PC")).toInt(), 1);
        QVERIFY_THROWS_EXCEPTION(StoreError, dm.exec(QStringLiteral("DELETE FROM PC")));
        QVERIFY_THROWS_EXCEPTION(StoreError, dm.startTransaction());
    }
};

QTEST_GUILESS_MAIN(TstStore)
#include "tst_store.moc"
