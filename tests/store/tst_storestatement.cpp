#include "TestStores.h"
#include "store/StoreError.h"
#include "store/StoreStatement.h"
#include "store/StoreTransaction.h"
#include "store/UDMdata.h"

#include <QtTest>

// The import's statements bind text from buffers they keep between runs;
// what is read back must be each run's own value, whatever came before.
class TstStoreStatement : public QObject
{
    Q_OBJECT

private slots:
    void valuesReadBackAsBound_data() { TestStore::addEngineRows(); }
    void valuesReadBackAsBound()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        // A long value of three-byte characters (and one of four bytes)
        // first, then shorter ones at the same position: no tail of an
        // earlier value may stay.
        const QString wide = QString(60, QChar(0x30A2)) + QString::fromUtf16(u"\U0002000B");
        const QStringList versions {wide, QStringLiteral("ｱ"), QString(), QStringLiteral("1.0")};
        std::unique_ptr<StoreStatement> insert = StoreStatement::prepare(
            dm, QStringLiteral("INSERT INTO APPLI (Key, Appli, Ver) VALUES (?, ?, ?)"));
        dm.startTransaction();
        for (int i = 0; i < versions.size(); ++i) {
            insert->bindText(0, QStringLiteral("PC-01"));
            insert->bindText(1, QStringLiteral("app%1").arg(i));
            if (versions.at(i).isNull())
                insert->bindNull(2);
            else
                insert->bindText(2, versions.at(i));
            insert->exec();
        }
        dm.commit();
        // A key the store already has is refused with the store's text.
        insert->bindText(0, QStringLiteral("PC-01"));
        insert->bindText(1, QStringLiteral("app0"));
        insert->bindNull(2);
        dm.startTransaction();
        QVERIFY_THROWS_EXCEPTION(StoreError, insert->exec());
        dm.rollback();

        std::unique_ptr<StoreStatement> select = StoreStatement::prepare(
            dm, QStringLiteral("SELECT Appli, Ver FROM APPLI WHERE Key = ? ORDER BY Appli"));
        select->bindText(0, QStringLiteral("PC-01"));
        select->exec();
        for (int i = 0; i < versions.size(); ++i) {
            QVERIFY(select->next());
            QCOMPARE(select->value(0).toString(), QStringLiteral("app%1").arg(i));
            QCOMPARE(select->value(1).isNull(), versions.at(i).isNull());
            QCOMPARE(select->value(1).toString(), versions.at(i));
        }
        QVERIFY(!select->next());
        select->finish();
    }
    // Statements queued together (one round trip to a server): a refused
    // one undoes its step only, the step's later statements do not run, a
    // statement of the store's own meanwhile waits for the queue instead of
    // hanging behind it, and a queued SELECT's rows arrive.
    void queuedStatementsAnswerTogether_data() { TestStore::addEngineRows(); }
    void queuedStatementsAnswerTogether()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        std::unique_ptr<StoreStatement> insert = StoreStatement::prepare(
            dm, QStringLiteral("INSERT INTO APPLI (Key, Appli) VALUES ('PC-01', ?)"));
        const auto queue = [&](const char *appli) {
            insert->bindText(0, QString::fromLatin1(appli));
            insert->queue();
        };
        dm.startTransaction();
        {
            StoreSavepoint step(dm, StoreSavepoint::Sending::Queued);
            queue("app0");
            queue("app1");
            step.release();
        }
        {
            // SQLite refuses at once, a server at the release.
            StoreSavepoint step(dm, StoreSavepoint::Sending::Queued);
            QVERIFY_THROWS_EXCEPTION(StoreError, [&] {
                queue("app2");
                queue("app0");
                queue("app3");
                step.release();
            }());
        }
        queue("app4");
        dm.exec(QStringLiteral("UPDATE APPLI SET Ver = '1' WHERE Appli = 'app4'"));
        dm.commit();

        std::unique_ptr<StoreStatement> select = StoreStatement::prepare(
            dm, QStringLiteral("SELECT Appli, Ver FROM APPLI WHERE Key = ? ORDER BY Appli"));
        select->bindText(0, QStringLiteral("PC-01"));
        select->queue();
        StoreStatement::finishQueued(dm);
        QStringList read;
        while (select->next())
            read << select->value(0).toString() + select->value(1).toString();
        QCOMPARE(read, QStringList({"app0", "app1", "app41"}));
    }
};

QTEST_GUILESS_MAIN(TstStoreStatement)
#include "tst_storestatement.moc"
