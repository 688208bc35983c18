#include "StoreProbe.h"
#include "TestStores.h"
#include "store/RecordCursor.h"

#include <QSignalSpy>

class TstRecordCursor : public QObject
{
    Q_OBJECT

private slots:
    void appendEditPostCancel_data() { TestStore::addEngineRows(); }
    void appendEditPostCancel()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        RecordCursor &pc = dm.table(TableId::PC);
        QSignalSpy states(&pc, &RecordCursor::stateChanged);

        QVERIFY(!pc.locate({QStringLiteral("PC-01")}));
        QVERIFY(!pc.hasCurrent());
        QVERIFY_THROWS_EXCEPTION(StoreError, pc.edit());
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 pc.setValue(QStringLiteral("Bu"), QStringLiteral("x")));

        pc.append();
        QCOMPARE(pc.state(), RecordCursor::State::Insert);
        pc.setValue(QStringLiteral("KEY"), QStringLiteral("PC-01"));
        pc.setValue(QStringLiteral("Mem_All"), 523744);
        pc.setValue(QStringLiteral("CPU_Clock"), 2992.5);
        pc.setValue(QStringLiteral("DonyuYMD"), QDate(2004, 2, 29));
        pc.setValue(QStringLiteral("User"), QStringLiteral("山田"));
        pc.setValue(QStringLiteral("Biko"), QString(5000, QChar(0x3042)));
        QVERIFY_THROWS_EXCEPTION(StoreError, pc.setValue(QStringLiteral("NoSuchField"), 1));
        QVERIFY_THROWS_EXCEPTION(StoreError, pc.locate({QStringLiteral("PC-01")}));
        pc.post();
        QCOMPARE(pc.state(), RecordCursor::State::Browse);

        QVERIFY(pc.locate({QStringLiteral("PC-01")}));
        QCOMPARE(pc.integer(QStringLiteral("MEM_ALL")), 523744);
        QCOMPARE(pc.number(QStringLiteral("CPU_Clock")), 2992.5);
        QCOMPARE(pc.date(QStringLiteral("DonyuYMD")), QDate(2004, 2, 29));
        QCOMPARE(pc.date(QStringLiteral("TekkyoYMD")),
                 QDate(1899, 12, 30)); // no date reads as zero
        QCOMPARE(pc.text(QStringLiteral("user")), QStringLiteral("山田"));
        QCOMPARE(pc.text(QStringLiteral("Biko")).size(), 5000); // memo is not cut

        pc.edit();
        pc.setValue(QStringLiteral("Bu"), QStringLiteral("総務部"));
        pc.cancel();
        QVERIFY(pc.text(QStringLiteral("Bu")).isEmpty());
        QVERIFY(pc.locate({QStringLiteral("PC-01")}));
        QVERIFY(pc.value(QStringLiteral("Bu")).isNull());

        pc.edit();
        pc.setValue(QStringLiteral("Bu"), QStringLiteral("総務部"));
        pc.setValue(QStringLiteral("DonyuYMD"), QVariant());
        pc.post();
        QVERIFY(pc.locate({QStringLiteral("PC-01")}));
        QCOMPARE(pc.text(QStringLiteral("Bu")), QStringLiteral("総務部"));
        QVERIFY(pc.value(QStringLiteral("DonyuYMD")).isNull());

        QList<RecordCursor::State> seen;
        for (const QList<QVariant> &args : states)
            seen << args.at(0).value<RecordCursor::State>();
        QCOMPARE(
            seen,
            QList<RecordCursor::State>({RecordCursor::State::Insert, RecordCursor::State::Browse,
                                        RecordCursor::State::Edit, RecordCursor::State::Browse,
                                        RecordCursor::State::Edit, RecordCursor::State::Browse}));
    }

    void failedPostKeepsTheBuffer_data() { TestStore::addEngineRows(); }
    void failedPostKeepsTheBuffer()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        RecordCursor &drive = dm.table(TableId::Drive);
        drive.append();
        drive.setValue(QStringLiteral("Key"), QStringLiteral("PC"));
        drive.setValue(QStringLiteral("Drive"), QStringLiteral("C:"));
        drive.post();
        drive.append();
        drive.setValue(QStringLiteral("Key"), QStringLiteral("PC"));
        drive.setValue(QStringLiteral("Drive"), QStringLiteral("C:"));
        drive.setValue(QStringLiteral("Capa"), 100);
        QVERIFY_THROWS_EXCEPTION(StoreError, drive.post()); // duplicate key
        QCOMPARE(drive.state(), RecordCursor::State::Insert);
        QCOMPARE(drive.integer(QStringLiteral("Capa")), 100);
        drive.setValue(QStringLiteral("Drive"), QStringLiteral("D:"));
        drive.post();
        QCOMPARE(drive.recordCount(), 2);

        // A value beyond 32 bits is refused with a clear message.
        drive.append();
        QVERIFY_THROWS_EXCEPTION(StoreError,
                                 drive.setValue(QStringLiteral("Capa"), qlonglong(1) << 33));
        drive.cancel();
    }

    void browsesInKeyOrder_data() { TestStore::addEngineRows(); }
    void browsesInKeyOrder()
    {
        QFETCH(int, engine);
        TestStore store(engine);
        ORVANE_REQUIRE_STORE(store);
        TDMdata dm;
        openCheckedStore(dm, store.settings());
        RecordCursor &lan = dm.table(TableId::LAN);
        for (auto [key, seq] : {std::pair {"B", 1}, {"A", 2}, {"A", 1}, {"B", 10}, {"B", 9}}) {
            lan.append();
            lan.setValue(QStringLiteral("Key"), QLatin1String(key));
            lan.setValue(QStringLiteral("Seq"), seq);
            lan.setValue(QStringLiteral("UpdateYMD"), QDateTime(QDate(2006, 1, 2), QTime(3, 4, 5)));
            lan.post();
        }
        QStringList order;
        for (bool ok = lan.first(); ok; ok = lan.next())
            order << QStringLiteral("%1%2")
                         .arg(lan.text(QStringLiteral("Key")))
                         .arg(lan.integer(QStringLiteral("Seq")));
        QCOMPARE(order, QStringList({"A1", "A2", "B1", "B9", "B10"}));
        QVERIFY(lan.eof());
        QVERIFY(lan.prior());
        QCOMPARE(lan.integer(QStringLiteral("Seq")), 10);
        QCOMPARE(lan.dateTime(QStringLiteral("UpdateYMD")),
                 QDateTime(QDate(2006, 1, 2), QTime(3, 4, 5)));

        RecordCursor &mem = dm.table(TableId::PMEMORY);
        QVERIFY(!mem.first());
        QVERIFY(mem.eof());
        QVERIFY(mem.locate({QStringLiteral("A"), 1}) == false);
    }

    // A column the store's table lacks (an old layout) reads as no value
    // and is left out of writes.
    void tableOfAnOlderLayout()
    {
        TestStore store(int(TestStore::Kind::SQLite));
        TDMdata dm;
        dm.setSettings(store.settings());
        dm.open();
        TableDef old = Schema::table(TableId::Printer);
        old.columns.removeLast(); // Ver116
        QSqlQuery create(dm.database());
        QVERIFY(create.exec(dm.dialect().createStatement(old)));
        RecordCursor &printer = dm.table(TableId::Printer);
        printer.open();
        printer.append();
        printer.setValue(QStringLiteral("Key"), QStringLiteral("PC"));
        printer.setValue(QStringLiteral("Printer"), QStringLiteral("LP"));
        printer.setValue(QStringLiteral("Ver116"), QStringLiteral("x"));
        printer.post();
        QVERIFY(printer.locate({QStringLiteral("PC"), QStringLiteral("LP")}));
        QVERIFY(printer.value(QStringLiteral("Ver116")).isNull());
    }
};

QTEST_GUILESS_MAIN(TstRecordCursor)
#include "tst_recordcursor.moc"
