// The statistics of the overall status: statements, titles, counts on both
// engines, the total text and the chart data.

#include "TestStores.h"
#include "base/GridRoles.h"
#include "store/StoreError.h"
#include "store/TableCheckObserver.h"
#include "store/UDMdata.h"
#include "views/Statistics.h"
#include "views/StatisticsModel.h"

#include <QAbstractItemModelTester>
#include <QDate>
#include <QSqlQuery>
#include <QTest>

using Statistics::Grouping;
using Statistics::Row;

Q_DECLARE_METATYPE(Statistics::Grouping)

namespace {

QVariant nullText()
{
    return QVariant(QMetaType(QMetaType::QString));
}

// One PC; a null QVariant leaves the column NULL.
void insertPc(TDMdata &dm, const QString &key, const QVariant &os, const QVariant &bu,
              const QVariant &maker, const QVariant &keijyo, const QVariant &clock,
              bool removed = false)
{
    QSqlQuery q = dm.exec(
        QStringLiteral("INSERT INTO PC (Key, Win_Type, Bu, Maker, Keijyo, CPU_Clock, TekkyoYMD)\n"
                       "VALUES (:KEY, :OS, :BU, :MAKER, :KEIJYO, :CLOCK, :TEKKYO)"),
        {{QStringLiteral(":KEY"), key},
         {QStringLiteral(":OS"), os},
         {QStringLiteral(":BU"), bu},
         {QStringLiteral(":MAKER"), maker},
         {QStringLiteral(":KEIJYO"), keijyo},
         {QStringLiteral(":CLOCK"), clock},
         {QStringLiteral(":TEKKYO"),
          removed ? QVariant(QDate(2020, 4, 1)) : QVariant(QMetaType(QMetaType::QDate))}});
    q.finish();
}

// Sets a column to the empty text '' (as the SQL window could write it),
// not to NULL.
void setEmptyText(TDMdata &dm, const QString &column, const QString &key)
{
    QSqlQuery q = dm.exec(QStringLiteral("UPDATE PC SET %1 = '' WHERE Key = :KEY").arg(column),
                          {{QStringLiteral(":KEY"), key}});
    q.finish();
}

// "label=count" per row, in result order.
QStringList summary(const QVector<Row> &rows)
{
    QStringList out;
    for (const Row &r : rows)
        out << Statistics::komokuText(r.komoku) + u'=' + r.kensu.toString();
    return out;
}

} // namespace

class TstStatus : public QObject
{
    Q_OBJECT

private slots:
    void statements_data();
    void statements();
    void storeStatementFoldsEmptyValues();

    void countsOnBothEngines_data() { TestStore::addEngineRows(); }
    void countsOnBothEngines();
    void emptyStore_data() { TestStore::addEngineRows(); }
    void emptyStore();

    void totalText_data();
    void totalText();
    void roundHalfEven_data();
    void roundHalfEven();
    void chartData();
    void modelShowsStoredValues();
};

void TstStatus::statements_data()
{
    QTest::addColumn<Grouping>("grouping");
    QTest::addColumn<QStringList>("lines");
    QTest::addColumn<QString>("komoku");
    QTest::addColumn<QString>("kensu");

    const QStringList tail
        = {" WHERE TEKKYOYMD is null", " GROUP BY Komoku", " ORDER BY Kensu DESC"};
    QTest::newRow("OS") << Grouping::OS
                        << (QStringList {"SELECT Win_Type as Komoku, Count(*) AS Kensu FROM PC"}
                            + tail)
                        << "ＯＳ種別"
                        << "台数";
    QTest::newRow("部") << Grouping::Bu
                        << (QStringList {"SELECT Bu as Komoku, Count(*) AS Kensu FROM PC"} + tail)
                        << "部"
                        << "台数";
    QTest::newRow("ﾒｰｶｰ") << Grouping::Maker
                          << (QStringList {"SELECT Maker as Komoku, Count(*) AS Kensu FROM PC"}
                              + tail)
                          << "メーカ"
                          << "台数";
    QTest::newRow("形状") << Grouping::Keijyo
                          << QStringList {"SELECT Keijyo as Komoku, Count(*) AS Kensu FROM PC",
                                          " WHERE TEKKYOYMD is null", " GROUP BY Keijyo",
                                          " ORDER BY Kensu DESC"}
                          << "形状"
                          << "台数";
    QTest::newRow("ｸﾛｯｸ") << Grouping::Clock
                          << (QStringList {"SELECT Key as Komoku, CPU_Clock as Kensu FROM PC"}
                              + tail)
                          << "キー"
                          << "クロック";
}

void TstStatus::statements()
{
    QFETCH(Grouping, grouping);
    QFETCH(QStringList, lines);
    QFETCH(QString, komoku);
    QFETCH(QString, kensu);
    QCOMPARE(Statistics::statementLines(grouping), lines);
    QCOMPARE(Statistics::komokuTitle(grouping), komoku);
    QCOMPARE(Statistics::kensuTitle(grouping), kensu);
}

void TstStatus::storeStatementFoldsEmptyValues()
{
    QCOMPARE(Statistics::storeStatement(Grouping::OS),
             QStringLiteral("SELECT COALESCE(Win_Type, '') as Komoku, Count(*) AS Kensu FROM PC\n"
                            " WHERE TEKKYOYMD is null\n GROUP BY Komoku\n ORDER BY Kensu DESC"));
    QCOMPARE(Statistics::storeStatement(Grouping::Keijyo),
             QStringLiteral("SELECT COALESCE(Keijyo, '') as Komoku, Count(*) AS Kensu FROM PC\n"
                            " WHERE TEKKYOYMD is null\n GROUP BY COALESCE(Keijyo, '')\n"
                            " ORDER BY Kensu DESC"));
    // Every clock row is a group of its own (the key is unique): no grouping.
    QCOMPARE(Statistics::storeStatement(Grouping::Clock),
             QStringLiteral("SELECT Key as Komoku, CPU_Clock as Kensu FROM PC\n"
                            " WHERE TEKKYOYMD is null\n ORDER BY Kensu DESC"));
    QCOMPARE(Statistics::totalStatementLines(),
             QStringList({"SELECT COUNT(*) AS CNT FROM PC", "WHERE TEKKYOYMD is null"}));
}

void TstStatus::countsOnBothEngines()
{
    QFETCH(int, engine);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    TDMdata dm;
    openCheckedStore(dm, store.settings());

    const QString win11 = QStringLiteral("Windows 11");
    insertPc(dm, "PC01", win11, "総務部", "NEC", "ﾉｰﾄ", 2400.0);
    insertPc(dm, "PC02", win11, "総務部", "NEC", "ﾉｰﾄ", 3600.5);
    insertPc(dm, "PC03", win11, "営業部", "富士通", nullText(), 1800.0);
    insertPc(dm, "PC04", nullText(), nullText(), "NEC", "ﾃﾞｽｸﾄｯﾌﾟ", 2.5);
    insertPc(dm, "PC05", "x", "y", "z", "w", QVariant(QMetaType(QMetaType::Double)));
    insertPc(dm, "PC06", "Windows 10", "総務部", "富士通", "ﾉｰﾄ", 1000.0);
    // Removed: counted nowhere, whatever its values.
    insertPc(dm, "PC99", "Windows 7", "撤去部", "撤去", "撤去", 9999.0, true);
    insertPc(dm, "PC98", win11, "総務部", "NEC", nullText(), 9998.0, true);
    // PC05's texts are the empty text '' rather than NULL: the same value.
    for (const char *column : {"Win_Type", "Bu", "Maker", "Keijyo"})
        setEmptyText(dm, QString::fromLatin1(column), "PC05");

    QCOMPARE(summary(Statistics::run(dm, Grouping::OS)),
             QStringList({"Windows 11=3", "=2", "Windows 10=1"}));
    QCOMPARE(summary(Statistics::run(dm, Grouping::Bu)),
             QStringList({"総務部=3", "=2", "営業部=1"}));
    QCOMPARE(summary(Statistics::run(dm, Grouping::Maker)),
             QStringList({"NEC=3", "富士通=2", "=1"}));
    QCOMPARE(summary(Statistics::run(dm, Grouping::Keijyo)),
             QStringList({"ﾉｰﾄ=3", "=2", "ﾃﾞｽｸﾄｯﾌﾟ=1"}));

    // One row per PC in service, fastest first; no clock sorts after the
    // others on SQLite and first on PostgreSQL (NULLs are largest there).
    QVector<Row> clocks = Statistics::run(dm, Grouping::Clock);
    QCOMPARE(clocks.size(), 6);
    QStringList keys;
    for (const Row &r : clocks)
        if (!r.kensu.isNull())
            keys << r.komoku.toString() + u'=' + QString::number(r.kensu.toDouble());
    QCOMPARE(keys, QStringList({"PC02=3600.5", "PC01=2400", "PC03=1800", "PC06=1000", "PC04=2.5"}));

    QCOMPARE(Statistics::totalCount(dm), 6);

    // The statements as the system writes them (grouping by an alias) run
    // on both engines, but there NULL and '' are two groups: hence the
    // folding in the statements the store receives.
    for (Grouping g :
         {Grouping::OS, Grouping::Bu, Grouping::Maker, Grouping::Keijyo, Grouping::Clock}) {
        QSqlQuery q = dm.exec(Statistics::statementLines(g).join(u'\n'));
        int rows = 0;
        while (q.next())
            ++rows;
        q.finish();
        // Maker has only '' (no NULL) among the PCs in service.
        QCOMPARE(rows, g == Grouping::Clock ? 6 : g == Grouping::Maker ? 3 : 4);
    }

    // Nothing is left open on the store: a write from another connection
    // would otherwise wait on SQLite's read transaction.
    QVERIFY(!dm.inTransaction());
}

void TstStatus::emptyStore()
{
    QFETCH(int, engine);
    TestStore store(engine);
    ORVANE_REQUIRE_STORE(store);
    TDMdata dm;
    openCheckedStore(dm, store.settings());
    for (Grouping g :
         {Grouping::OS, Grouping::Bu, Grouping::Maker, Grouping::Keijyo, Grouping::Clock})
        QVERIFY(Statistics::run(dm, g).isEmpty());
    QCOMPARE(Statistics::totalCount(dm), 0);
    QCOMPARE(Statistics::totalText(Statistics::totalCount(dm)), QStringLiteral("全台数： 台"));

    dm.close();
    QVERIFY_THROWS_EXCEPTION(StoreError, Statistics::run(dm, Grouping::OS));
}

void TstStatus::totalText_data()
{
    QTest::addColumn<qlonglong>("count");
    QTest::addColumn<QString>("text");
    QTest::newRow("none") << 0LL << "全台数： 台";
    QTest::newRow("one") << 1LL << "全台数：1 台";
    QTest::newRow("999") << 999LL << "全台数：999 台";
    QTest::newRow("1000") << 1000LL << "全台数：1,000 台";
    QTest::newRow("1234") << 1234LL << "全台数：1,234 台";
    QTest::newRow("1234567") << 1234567LL << "全台数：1,234,567 台";
}

void TstStatus::totalText()
{
    QFETCH(qlonglong, count);
    QFETCH(QString, text);
    QCOMPARE(Statistics::totalText(count), text);
}

void TstStatus::roundHalfEven_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<double>("rounded");
    QTest::newRow("2.5") << 2.5 << 2.0;
    QTest::newRow("3.5") << 3.5 << 4.0;
    QTest::newRow("0.5") << 0.5 << 0.0;
    QTest::newRow("1.5") << 1.5 << 2.0;
    QTest::newRow("-2.5") << -2.5 << -2.0;
    QTest::newRow("-3.5") << -3.5 << -4.0;
    QTest::newRow("2.4") << 2.4 << 2.0;
    QTest::newRow("2.6") << 2.6 << 3.0;
    QTest::newRow("2999.5") << 2999.5 << 3000.0;
    QTest::newRow("2400") << 2400.0 << 2400.0;
}

void TstStatus::roundHalfEven()
{
    QFETCH(double, value);
    QFETCH(double, rounded);
    QCOMPARE(Statistics::roundHalfEven(value), rounded);
}

void TstStatus::chartData()
{
    // Rows as the clock statement returns them: fastest first.
    const QVector<Row> clocks = {{"C", 3.5}, {"B", 2.5}, {"N", QVariant()}, {"A", 1.0}};
    const QVector<Statistics::ChartPoint> bars = Statistics::clockBars(clocks);
    const QVector<Statistics::ChartPoint> expectedBars
        = {{"A", 1.0}, {"N", 0.0}, {"B", 2.0}, {"C", 4.0}};
    QCOMPARE(bars, expectedBars);

    // Slices in result order; an empty group is an unlabelled slice.
    const QVector<Row> counts = {{"Windows 11", 5LL}, {QVariant(), 3LL}, {"Windows 10", 1LL}};
    const QVector<Statistics::ChartPoint> expectedSlices
        = {{"Windows 11", 5}, {"", 3}, {"Windows 10", 1}};
    QCOMPARE(Statistics::pieSlices(counts), expectedSlices);
    QVERIFY(Statistics::pieSlices({}).isEmpty());
}

void TstStatus::modelShowsStoredValues()
{
    StatisticsModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::QtTest);
    model.setRows({{"PC1", 2.5}, {"PC2", 2400.0}, {"PC3", QVariant()}},
                  Statistics::komokuTitle(Grouping::Clock),
                  Statistics::kensuTitle(Grouping::Clock));
    QCOMPARE(model.rowCount(), 3);
    QCOMPARE(model.columnCount(), 2);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("キー"));
    QCOMPARE(model.headerData(1, Qt::Horizontal).toString(), QStringLiteral("クロック"));
    // The grid keeps the stored value where the bar is rounded.
    QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("2.5"));
    QCOMPARE(model.index(1, 1).data().toString(), QStringLiteral("2400"));
    QCOMPARE(model.index(1, 1).data(GridRoles::PlainText).toString(), QStringLiteral("2400"));
    QCOMPARE(model.index(2, 1).data().toString(), QString());

    model.setRows({{QVariant(), 1234LL}}, "部", "台数");
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("部"));
    QCOMPARE(model.index(0, 0).data().toString(), QString());
    // Counts without thousands separators.
    QCOMPARE(model.index(0, 1).data().toString(), QStringLiteral("1234"));
    model.clear();
    QCOMPARE(model.rowCount(), 0);
    QCOMPARE(model.headerData(0, Qt::Horizontal).toString(), QStringLiteral("部"));
}

QTEST_GUILESS_MAIN(TstStatus)
#include "tst_status.moc"
