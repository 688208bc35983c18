// The window of PCs entered twice: a value chosen from the older PC and the
// merge reach the store; a pair marked 「別のPC」 leaves the list.

#include "TestStores.h"
#include "base/ProgramPaths.h"
#include "kit/MessageBoxes.h"
#include "kit/TDBGridEx.h"
#include "ledger/PcMerge.h"
#include "ledger/windows/UjyufukuPC.h"
#include "store/RecordCursor.h"
#include "store/UDMdata.h"

#include <QPushButton>
#include <QSqlQuery>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

void insertPc(TDMdata &dm, const QVariantMap &values)
{
    RecordCursor pc(dm, TableId::PC);
    pc.open();
    pc.append();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        pc.setValue(it.key(), it.value());
    pc.post();
}

int ledgerColumn(const QString &name)
{
    const QVector<PcMerge::LedgerColumn> &columns = PcMerge::ledgerColumns();
    for (int i = 0; i < columns.size(); ++i)
        if (columns[i].name == name)
            return i;
    return -1;
}

} // namespace

class TestWinJyufukuPc : public QObject
{
    Q_OBJECT

private slots:
    void mergesAsChosen();
};

void TestWinJyufukuPc::mergesAsChosen()
{
    QTemporaryDir dir;
    TestStore store(int(TestStore::Kind::SQLite));
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    const QString mac = u"00-11-22-00-00-04"_s;
    insertPc(dm,
             {{u"Key"_s, u"OLD"_s},
              {u"Mac"_s, mac},
              {u"InvaroYMD"_s, QDate(2025, 1, 1)},
              {u"Bu"_s, u"総務"_s},
              {u"Kisyu"_s, u"旧機種"_s}});
    insertPc(dm,
             {{u"Key"_s, u"NEW"_s},
              {u"Mac"_s, mac},
              {u"InvaroYMD"_s, QDate(2026, 1, 1)},
              {u"Kisyu"_s, u"新機種"_s}});
    insertPc(dm, {{u"Key"_s, u"S1"_s}, {u"Host"_s, u"shomu"_s}});
    insertPc(dm, {{u"Key"_s, u"S2"_s}, {u"Host"_s, u"shomu"_s}});

    MessageBoxes::ScopedRecorder boxes(MessageBoxes::Reply::Yes);
    TFjyufukuPC window(dm, ProgramPaths(dir.filePath(u"Orvane"_s), dir.path()));
    window.show();
    QVERIFY(QTest::qWaitForWindowExposed(&window));
    QAbstractItemModel *pairs = window.pairGrid()->model();
    QCOMPARE(pairs->rowCount(), 2);
    QCOMPARE(pairs->index(0, 0).data().toString(), u"NEW"_s); // the higher score first
    QVERIFY(window.plan());

    // The model: both have one, the newer's is checked; the user takes the
    // older's. The department, empty in the newer PC, comes by default.
    QTableWidget *grid = window.hikakuGrid();
    const int kisyu = window.hikakuRow(ledgerColumn(u"Kisyu"_s));
    QCOMPARE(grid->item(kisyu, 1)->checkState(), Qt::Checked);
    grid->item(kisyu, 2)->setCheckState(Qt::Checked);
    QCOMPARE(grid->item(kisyu, 1)->checkState(), Qt::Unchecked);
    QCOMPARE(grid->item(kisyu, 3)->text(), u"旧機種"_s);
    QCOMPARE(grid->item(window.hikakuRow(ledgerColumn(u"Bu"_s)), 3)->text(), u"総務"_s);

    window.findChild<QPushButton *>(u"MergeBTN"_s)->click();
    QCOMPARE(boxes.entries().size(), 1);
    QCOMPARE(boxes.entries().first().kind, MessageBoxes::Kind::WarningYesNo);
    RecordCursor pc(dm, TableId::PC);
    pc.open();
    QVERIFY(!pc.locate({u"OLD"_s}));
    QVERIFY(pc.locate({u"NEW"_s}));
    QCOMPARE(pc.text(u"Kisyu"_s), u"旧機種"_s);
    QCOMPARE(pc.text(u"Bu"_s), u"総務"_s);
    QVERIFY(window.changedPcs());
    QCOMPARE(pairs->rowCount(), 1);

    // The other pair, marked as two PCs, is gone from the list for good.
    window.findChild<QPushButton *>(u"BetuBTN"_s)->click();
    QCOMPARE(pairs->rowCount(), 0);
    QSqlQuery q = dm.exec(u"SELECT Key1, Key2 FROM DistinctPc"_s);
    QVERIFY(q.next());
    QCOMPARE(q.value(0).toString() + q.value(1).toString(), u"S1S2"_s);
    q.finish();
    QVERIFY(!window.findChild<QPushButton *>(u"MergeBTN"_s)->isEnabled());
    QCOMPARE(boxes.entries().size(), 2);
}

QTEST_MAIN(TestWinJyufukuPc)
#include "tst_win_jyufukupc.moc"
