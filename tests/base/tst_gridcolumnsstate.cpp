#include "base/GridColumnsState.h"
#include "base/IniFile.h"

#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const GridColumnsState::Sections Sections {u"HyojiKomoku"_s, u"HyojiColumnWidth"_s,
                                           u"HyojiColumnIndex"_s};

QStringList columns(int n)
{
    QStringList list;
    for (int i = 0; i < n; ++i)
        list << QStringLiteral("C%1").arg(i);
    return list;
}

QHash<QString, int> positionsOf(const QStringList &order)
{
    QHash<QString, int> saved;
    for (int i = 0; i < order.size(); ++i)
        saved[order.at(i)] = i;
    return saved;
}

} // namespace

class TestGridColumnsState : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void passesKeepDesignedOrderWithoutPositions_data();
    void passesKeepDesignedOrderWithoutPositions();
    void passesMoveColumnsOneByOne();
    void passesLoseSomeLongPermutations();
    void savedOrderComesBack_data();
    void savedOrderComesBack();
    void firstStartDefaults();
    void closeThenStartRoundTrip();
    void writeOrder();

private:
    QTemporaryDir m_dir;
    QString m_path;
};

void TestGridColumnsState::init()
{
    m_path = m_dir.filePath(QStringLiteral("Orvane.INI"));
    QFile::remove(m_path);
}

void TestGridColumnsState::passesKeepDesignedOrderWithoutPositions_data()
{
    QTest::addColumn<int>("count");
    for (int n : {1, 2, 3, 10, 38})
        QTest::addRow("%d columns", n) << n;
}

void TestGridColumnsState::passesKeepDesignedOrderWithoutPositions()
{
    // Every column is moved to position 0 in turn: one pass reverses the
    // order, four passes give it back.
    QFETCH(int, count);
    QCOMPARE(GridColumnsState::applySavedPositions(columns(count), {}), columns(count));
    QCOMPARE(GridColumnsState::restoreOrder(columns(count), {}), columns(count));
}

void TestGridColumnsState::passesMoveColumnsOneByOne()
{
    // Out-of-range targets are clamped to the last position.
    const QStringList order {u"A"_s, u"B"_s, u"C"_s};
    const QHash<QString, int> saved {{u"A"_s, 99}, {u"B"_s, 0}, {u"C"_s, 1}};
    QCOMPARE(GridColumnsState::applySavedPositions(order, saved),
             (QStringList {u"B"_s, u"C"_s, u"A"_s}));
    // Only B saved: A and C both claim position 0 and swap on every pass.
    const QHash<QString, int> clash {{u"B"_s, 2}};
    QCOMPARE(GridColumnsState::applySavedPositions(order, clash),
             (QStringList {u"C"_s, u"A"_s, u"B"_s}));
    QCOMPARE(GridColumnsState::restoreOrder(order, clash), (QStringList {u"C"_s, u"A"_s, u"B"_s}));
}

void TestGridColumnsState::passesLoseSomeLongPermutations()
{
    // Regression: with 18 columns, moving the last one to the front is not
    // reached by the four passes; restoreOrder must still give it back.
    QStringList moved = columns(18);
    moved.move(17, 0);
    const QHash<QString, int> saved = positionsOf(moved);
    QVERIFY(GridColumnsState::applySavedPositions(columns(18), saved) != moved);
    QCOMPARE(GridColumnsState::restoreOrder(columns(18), saved), moved);
}

void TestGridColumnsState::savedOrderComesBack_data()
{
    QTest::addColumn<QStringList>("closedOrder");
    QStringList reversed = columns(38);
    std::reverse(reversed.begin(), reversed.end());
    QStringList rotated = columns(38);
    rotated.move(0, 37);
    QStringList swapped = columns(5);
    swapped.swapItemsAt(1, 3);
    QStringList shuffled = columns(38);
    for (int i = 0; i < shuffled.size(); ++i) // a fixed scramble
        shuffled.swapItemsAt(i, (i * 7 + 3) % shuffled.size());
    QTest::newRow("designed") << columns(38);
    QTest::newRow("reversed") << reversed;
    QTest::newRow("first to last") << rotated;
    QTest::newRow("two swapped") << swapped;
    QTest::newRow("scrambled") << shuffled;
}

void TestGridColumnsState::savedOrderComesBack()
{
    QFETCH(QStringList, closedOrder);
    QStringList designed = closedOrder;
    std::sort(designed.begin(), designed.end(), [](const QString &a, const QString &b) {
        return a.mid(1).toInt() < b.mid(1).toInt();
    });
    QCOMPARE(GridColumnsState::restoreOrder(designed, positionsOf(closedOrder)), closedOrder);
}

void TestGridColumnsState::firstStartDefaults()
{
    const QStringList designed {u"Key"_s, u"KanriNo"_s, u"Host"_s};
    GridColumnsState state(designed, Sections);
    state.read(IniFile(m_path));
    QCOMPARE(state.order(), designed);
    for (const QString &field : designed) {
        QVERIFY(state.isVisible(field));
        QCOMPARE(state.width(field), 0);
    }
}

void TestGridColumnsState::closeThenStartRoundTrip()
{
    const QStringList designed = columns(20);
    QStringList closed = designed;
    closed.move(19, 0);
    closed.move(5, 12);
    {
        GridColumnsState state(designed, Sections);
        state.setOrder(closed);
        state.setVisible(u"C3"_s, false);
        state.setWidth(u"C7"_s, 150);
        IniFile ini(m_path);
        state.write(ini);
        QVERIFY(ini.updateFile());
    }
    GridColumnsState state(designed, Sections);
    state.read(IniFile(m_path));
    QCOMPARE(state.order(), closed);
    QVERIFY(!state.isVisible(u"C3"_s));
    QVERIFY(state.isVisible(u"C4"_s));
    QCOMPARE(state.width(u"C7"_s), 150);
    QCOMPARE(state.width(u"C8"_s), 0);
}

void TestGridColumnsState::writeOrder()
{
    GridColumnsState state({u"A"_s, u"B"_s, u"C"_s}, Sections);
    state.setOrder({u"C"_s, u"A"_s, u"B"_s});
    state.setVisible(u"A"_s, false);
    state.setWidth(u"B"_s, 64);
    IniFile ini(m_path);
    state.write(ini);
    QCOMPARE(ini.toText(),
             u"[HyojiKomoku]\r\nC=1\r\nA=0\r\nB=1\r\n"
             "[HyojiColumnIndex]\r\nC=0\r\nA=1\r\nB=2\r\n"
             "[HyojiColumnWidth]\r\nC=0\r\nA=0\r\nB=64\r\n"_s);
}

QTEST_GUILESS_MAIN(TestGridColumnsState)
#include "tst_gridcolumnsstate.moc"
