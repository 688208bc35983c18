// The work of a PC ledger window: nothing reaches the store before OK, OK
// writes the PC row and every detail change at once, Cancel and a failed
// OK write nothing. The drive space rules.

#include "HistoryLines.h"
#include "TestStores.h"
#include "base/InputError.h"
#include "ledger/DriveSpace.h"
#include "ledger/PcLedger.h"
#include "store/RecordCursor.h"
#include "store/UDMdata.h"

#include <QSqlQuery>
#include <QTest>
#include <memory>

using namespace Qt::StringLiterals;
using LedgerLists::List;

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

// The store's state of PC "P": its department and its detail rows as
// "table:name[=remark]".
QStringList state(TDMdata &dm)
{
    QStringList result;
    QSqlQuery pc = dm.exec(u"SELECT Bu FROM PC WHERE Key = 'P'"_s);
    result << (pc.next() ? u"Bu="_s + pc.value(0).toString() : u"no PC"_s);
    pc.finish();
    for (const char *table : {"Drive", "Printer", "Appli", "Share"}) {
        const QString name
            = table == QByteArray("Share") ? u"SharedName"_s : QString::fromLatin1(table);
        QSqlQuery q = dm.exec(u"SELECT %1, Biko FROM %2 WHERE Key = 'P' ORDER BY %1"_s.arg(
            name, QString::fromLatin1(table)));
        while (q.next()) {
            QString row = QString::fromLatin1(table) + u':' + q.value(0).toString();
            if (!q.value(1).toString().isEmpty())
                row += u'=' + q.value(1).toString();
            result << row;
        }
    }
    return result;
}

// Changes in every kind of detail row: a drive added, a printer deleted,
// an application edited, a share renamed; and the PC's department.
void changeEverything(PcLedger &ledger)
{
    ledger.pc().setValue(u"Bu"_s, u"人事"_s);
    RowBuffer drive(TableId::Drive);
    ledger.appendDetail(drive);
    drive.setValue(u"Drive"_s, u"D:"_s);
    ledger.postDetail(List::Drive, drive);
    ledger.deleteDetail(List::Printer, u"LP1"_s);
    RowBuffer appli(TableId::Appli);
    QVERIFY(ledger.editDetail(List::Appli, u"Word"_s, appli));
    appli.setValue(u"Biko"_s, u"更新"_s);
    ledger.postDetail(List::Appli, appli);
    RowBuffer share(TableId::Share);
    QVERIFY(ledger.editDetail(List::Share, u"S1"_s, share));
    share.setValue(u"SharedName"_s, u"S2"_s);
    ledger.postDetail(List::Share, share);
}

const QStringList Before {u"Bu=総務"_s, u"Drive:C:"_s, u"Printer:LP1"_s, u"Appli:Word"_s,
                          u"Share:S1"_s};
const QStringList After {u"Bu=人事"_s, u"Drive:C:"_s, u"Drive:D:"_s, u"Appli:Word=更新"_s,
                         u"Share:S2"_s};
// The history of those changes: a line per changed value and per row added
// or removed (a renamed share is both).
const QStringList Recorded {u"手入力|P|PC||Bu|総務|人事"_s,   u"手入力|P|Drive|D:|||追加"_s,
                            u"手入力|P|Printer|LP1|||削除"_s, u"手入力|P|Appli|Word|Biko||更新"_s,
                            u"手入力|P|Share|S1|||削除"_s,    u"手入力|P|Share|S2|||追加"_s};

} // namespace

class TestPcLedger : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();

    void okWritesAllCancelNothing_data();
    void okWritesAllCancelNothing();
    void failedOkWritesNothing_data() { TestStore::addEngineRows(); }
    void failedOkWritesNothing();
    void detailPostsAreChecked_data();
    void detailPostsAreChecked();
    void driveSpace_data();
    void driveSpace();

private:
    // A store of the row's engine with PC "P" and one row in each of its
    // four editable detail tables.
    bool openStore();

    std::unique_ptr<TestStore> m_store;
    std::unique_ptr<TDMdata> m_dm;
};

void TestPcLedger::okWritesAllCancelNothing_data()
{
    QTest::addColumn<int>("engine");
    QTest::addColumn<bool>("ok");
    for (const auto kind : {TestStore::Kind::SQLite, TestStore::Kind::PostgreSQL}) {
        const char *name = kind == TestStore::Kind::SQLite ? "sqlite" : "postgresql";
        QTest::addRow("%s ok", name) << int(kind) << true;
        QTest::addRow("%s cancel", name) << int(kind) << false;
    }
}

bool TestPcLedger::openStore()
{
    QFETCH(int, engine);
    m_store = std::make_unique<TestStore>(engine);
    if (!m_store->isValid())
        return false;
    m_dm = std::make_unique<TDMdata>();
    openCheckedStore(*m_dm, m_store->settings());
    insertRow(*m_dm, TableId::PC, {{u"Key"_s, u"P"_s}, {u"Bu"_s, u"総務"_s}});
    insertRow(*m_dm, TableId::Drive, {{u"Key"_s, u"P"_s}, {u"Drive"_s, u"C:"_s}});
    insertRow(*m_dm, TableId::Printer, {{u"Key"_s, u"P"_s}, {u"Printer"_s, u"LP1"_s}});
    insertRow(*m_dm, TableId::Appli, {{u"Key"_s, u"P"_s}, {u"Appli"_s, u"Word"_s}});
    insertRow(*m_dm, TableId::Share, {{u"Key"_s, u"P"_s}, {u"SharedName"_s, u"S1"_s}});
    return true;
}

void TestPcLedger::cleanup()
{
    m_dm.reset();
    m_store.reset();
}

void TestPcLedger::okWritesAllCancelNothing()
{
    QFETCH(bool, ok);
    if (!openStore())
        ORVANE_REQUIRE_STORE(*m_store);
    TDMdata &dm = *m_dm;
    PcLedger ledger(dm);
    QVERIFY(ledger.beginEdit(u"P"_s));
    changeEverything(ledger);
    QCOMPARE(state(dm), Before); // nothing written while the window is open
    QVERIFY(!dm.inTransaction());
    if (ok)
        ledger.save(QDate(2026, 2, 3));
    else
        ledger.discard();
    QCOMPARE(state(dm), ok ? After : Before);
    QCOMPARE(historyLines(dm), ok ? Recorded : QStringList());
    RecordCursor pc(dm, TableId::PC);
    pc.open();
    QVERIFY(pc.locate({u"P"_s}));
    QCOMPARE(pc.value(u"UpdateYMD"_s), ok ? QVariant(QDate(2026, 2, 3)) : QVariant());
}

void TestPcLedger::failedOkWritesNothing()
{
    if (!openStore())
        ORVANE_REQUIRE_STORE(*m_store);
    TDMdata &dm = *m_dm;
    PcLedger ledger(dm);
    QVERIFY(ledger.beginEdit(u"P"_s));
    changeEverything(ledger);
    // A row the store refuses to take, written last: the PC row and the
    // other details written before it are rolled back with it.
    RowBuffer share(TableId::Share);
    ledger.appendDetail(share);
    share.setValue(u"SharedName"_s, u"S3"_s);
    ledger.postDetail(List::Share, share);
    insertRow(dm, TableId::Share, {{u"Key"_s, u"P"_s}, {u"SharedName"_s, u"S3"_s}});
    QVERIFY_THROWS_EXCEPTION(StoreError, ledger.save(QDate(2026, 2, 3)));
    QVERIFY(!dm.inTransaction());
    QCOMPARE(state(dm), Before + QStringList {u"Share:S3"_s});
    QCOMPARE(historyLines(dm), QStringList());
    QVERIFY(ledger.storeAnswers());
    // The work is kept: once the conflict is gone, OK writes it all.
    dm.exec(u"DELETE FROM Share WHERE SharedName = 'S3'"_s);
    ledger.save(QDate(2026, 2, 3));
    QCOMPARE(state(dm), After + QStringList {u"Share:S3"_s});
}

void TestPcLedger::detailPostsAreChecked_data()
{
    QTest::addColumn<int>("engine");
    QTest::newRow("sqlite") << int(TestStore::Kind::SQLite);
}

void TestPcLedger::detailPostsAreChecked()
{
    QVERIFY(openStore());
    TDMdata &dm = *m_dm;
    PcLedger ledger(dm);
    QVERIFY(ledger.beginEdit(u"P"_s));
    const auto postError = [&](List list, const QString &field, const QString &value) {
        RowBuffer row(LedgerLists::table(list));
        ledger.appendDetail(row);
        row.setValue(field, value);
        try {
            ledger.postDetail(list, row);
        } catch (const StoreError &e) {
            return e.message();
        }
        return QString();
    };
    QCOMPARE(postError(List::Printer, u"Biko"_s, u"x"_s), u"項目 'Printer' の値が必要です"_s);
    QCOMPARE(postError(List::Printer, u"Printer"_s, u"LP1"_s),
             u"Duplicate key found in the index 'Key, Printer' of the table 'Printer'"_s);
    // A name longer than its column is cut at a character's edge (64 bytes).
    QCOMPARE(postError(List::Printer, u"Printer"_s, QString(40, QChar(0x3042))), QString());
    QCOMPARE(ledger.list(List::Printer).rows.value(1).value(1).toString(),
             QString(32, QChar(0x3042)));

    // A new PC without a key is refused at OK with nothing written.
    PcLedger fresh(dm);
    fresh.beginNew();
    QVERIFY_THROWS_EXCEPTION(StoreError, fresh.save(QDate(2026, 2, 3)));
    fresh.pc().setValue(u"Key"_s, u"P"_s);
    try {
        fresh.save(QDate(2026, 2, 3));
        QFAIL("a taken key was saved");
    } catch (const StoreError &e) {
        QCOMPARE(e.message(), u"Duplicate key found in the index 'Key' of the table 'PC'"_s);
    }
    QCOMPARE(state(dm), Before);
}

void TestPcLedger::driveSpace_data()
{
    // Capa, Used, Free before; the column changed and its new value; the
    // three after, or -1 for a refused value.
    QTest::addColumn<QList<qint64>>("before");
    QTest::addColumn<int>("column");
    QTest::addColumn<qint64>("value");
    QTest::addColumn<QList<qint64>>("after");
    using C = DriveSpace::Column;
    QTest::newRow("used gives free")
        << QList<qint64> {100, 0, 0} << int(C::Used) << 30LL << QList<qint64> {100, 30, 70};
    QTest::newRow("free gives used")
        << QList<qint64> {100, 30, 70} << int(C::Free) << 40LL << QList<qint64> {100, 60, 40};
    QTest::newRow("used above total")
        << QList<qint64> {100, 30, 70} << int(C::Used) << 120LL << QList<qint64> {-1};
    QTest::newRow("negative used")
        << QList<qint64> {100, 30, 70} << int(C::Used) << -10LL << QList<qint64> {-1};
    QTest::newRow("negative free")
        << QList<qint64> {100, 30, 70} << int(C::Free) << -1LL << QList<qint64> {-1};
    QTest::newRow("lower total") << QList<qint64> {100, 30, 70} << int(C::Capa) << 20LL
                                 << QList<qint64> {20, 20, 0};
    QTest::newRow("higher total") << QList<qint64> {100, 30, 70} << int(C::Capa) << 150LL
                                  << QList<qint64> {150, 30, 120};
    QTest::newRow("consistent used")
        << QList<qint64> {100, 30, 70} << int(C::Used) << 30LL << QList<qint64> {100, 30, 70};
}

void TestPcLedger::driveSpace()
{
    QFETCH(QList<qint64>, before);
    QFETCH(int, column);
    QFETCH(qint64, value);
    QFETCH(QList<qint64>, after);
    const DriveSpace s {before[0], before[1], before[2]};
    const std::optional<DriveSpace> result = s.changed(DriveSpace::Column(column), value);
    if (after.size() == 1) {
        QVERIFY(!result);
        return;
    }
    QVERIFY(result);
    QCOMPARE((QList<qint64> {result->capa, result->used, result->free}), after);
}

QTEST_GUILESS_MAIN(TestPcLedger)
#include "tst_pcledger.moc"
