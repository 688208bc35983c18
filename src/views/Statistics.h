#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

class TDMdata;

// The overall status of the PCs in service (no removal date): counts per
// operating system, department, maker or form factor, or the clock of
// every PC, and the total. Statements are read completely before they
// return, so no statement stays open on the store between refreshes.
namespace Statistics {

// The grouping chosen by the radio buttons of the overall status tab.
enum class Grouping { OS, Bu, Maker, Keijyo, Clock };

// One result row of Qjyokyo, as the store returned it: Komoku is the group
// value (or the PC key), Kensu the count (or the clock; NULL when the PC has
// no clock).
struct Row
{
    QVariant komoku;
    QVariant kensu;
};

// A labelled value of a chart: a slice of the pie or a bar.
struct ChartPoint
{
    QString label;
    double value = 0;

    friend bool operator==(const ChartPoint &, const ChartPoint &) = default;
};

// The statement of a grouping exactly as the system writes it, one line
// per entry.
QStringList statementLines(Grouping grouping);

// The statement as the store receives it. For the count groupings the
// group value is written COALESCE(column, '') so that an empty text and no
// value (both meaning "empty") form one group on every engine; the clock
// statement is sent as written.
QString storeStatement(Grouping grouping);

// The column titles of Komoku and Kensu.
QString komokuTitle(Grouping grouping);
QString kensuTitle(Grouping grouping);

// Runs the statement of a grouping and returns its rows in result order.
// Throws StoreError with the store's text.
QVector<Row> run(TDMdata &dm, Grouping grouping);

// "SELECT COUNT(*) AS CNT FROM PC" / "WHERE TEKKYOYMD is null".
QStringList totalStatementLines();
// The number of PCs in service. Throws StoreError.
qlonglong totalCount(TDMdata &dm);
// The number of PCs in service from the rows of a grouping: every PC in
// service counts in exactly one group, and the clock grouping has one row
// per PC in service. The same figure as totalCount(), without reading the
// table a second time.
qlonglong totalOf(Grouping grouping, const QVector<Row> &rows);
// "全台数：" + the count formatted "#,#" + " 台" (nothing for 0).
QString totalText(qlonglong count);

// The text of Komoku as the grid and the charts show it (empty for NULL).
QString komokuText(const QVariant &komoku);

// The pie of a count grouping: one slice per row, in result order.
QVector<ChartPoint> pieSlices(const QVector<Row> &rows);
// The bars of the clock grouping: the rows walked from the last to the
// first, each clock rounded to an integer with halves to even, so the bars
// stand in ascending order of clock in the order they are added.
QVector<ChartPoint> clockBars(const QVector<Row> &rows);

// Rounds to the nearest integer, halves to the even neighbour (2.5 → 2,
// 3.5 → 4, -2.5 → -2).
double roundHalfEven(double value);

} // namespace Statistics
