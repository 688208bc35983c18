// The charts of the overall status: the tilted pie's layout, the switch
// between pie and bars with the hint, and the bars' zoom and scroll.
//
// With ORVANE_GRAB_DIR set, the widgets are also saved there as PNG files
// for a look by eye.

#include "views/windows/ClockBarView.h"
#include "views/windows/Pie3DWidget.h"
#include "views/windows/StatusChart.h"

#include <QAbstractAxis>
#include <QApplication>
#include <QBarSet>
#include <QChart>
#include <QDir>
#include <QHorizontalBarSeries>
#include <QLabel>
#include <QLegend>
#include <QMouseEvent>
#include <QTest>
#include <cmath>

using Statistics::ChartPoint;

namespace {

void grab(QWidget &widget, const char *name)
{
    const QString dir = qEnvironmentVariable("ORVANE_GRAB_DIR");
    if (!dir.isEmpty())
        QVERIFY(widget.grab().save(QDir(dir).filePath(QString::fromLatin1(name) + ".png")));
}

void mouse(QWidget *target, QEvent::Type type, Qt::MouseButton button, QPointF pos,
           Qt::MouseButtons held)
{
    QMouseEvent event(type, pos, target->mapToGlobal(pos), button, held, Qt::NoModifier);
    QApplication::sendEvent(target, &event);
}

void drag(QWidget *target, Qt::MouseButton button, QPointF from, QPointF to)
{
    mouse(target, QEvent::MouseButtonPress, button, from, button);
    for (int i = 1; i <= 4; ++i)
        mouse(target, QEvent::MouseMove, Qt::NoButton, from + (to - from) * i / 4, button);
    mouse(target, QEvent::MouseButtonRelease, button, to, Qt::NoButton);
}

QVector<ChartPoint> osSlices()
{
    return {{"Windows 11 Pro", 120},    {"Windows 10 Pro", 60}, {"", 10},
            {"Windows Server 2022", 6}, {"Windows 8.1", 3},     {"Windows 7 Professional", 1}};
}

} // namespace

class TstStatusChart : public QObject
{
    Q_OBJECT

private slots:
    void pieLayout();
    void pieWithoutData();
    void switchingViewsAndHint();
    void barsZoomScrollAndReset();
    void manyBarsAreThinnedUntilZoomed();
};

void TstStatusChart::pieLayout()
{
    Pie3DWidget pie;
    pie.resize(640, 360);
    QVector<ChartPoint> slices = osSlices();
    slices.insert(2, {"空", 0}); // a zero count is drawn as nothing
    pie.setSlices(slices);
    QCOMPARE(pie.slices(), slices);

    const auto geometry = pie.layoutSlices();
    QCOMPARE(geometry.size(), 6);
    // The first slice starts at 90° and the slices follow clockwise in the
    // order added, each with its share of the circle.
    QCOMPARE(geometry.first().startAngle, 90.0);
    QStringList labels;
    double angle = 90;
    for (const auto &g : geometry) {
        labels << g.label;
        QVERIFY(qFuzzyCompare(g.startAngle, angle));
        angle -= g.sweep;
        // The leader line is 20 pixels long.
        const QPointF leader = g.leaderEnd - g.anchor;
        QVERIFY(std::fabs(std::hypot(leader.x(), leader.y()) - 20) < 1e-9);
        QCOMPARE(g.labelRect.isEmpty(), g.label.isEmpty());
        if (!g.label.isEmpty())
            QVERIFY2(QRectF(pie.rect()).contains(g.labelRect), qPrintable(g.label));
    }
    QVERIFY(qFuzzyCompare(angle + 360, 90.0));
    QCOMPARE(labels,
             QStringList({"Windows 11 Pro", "Windows 10 Pro", "", "Windows Server 2022",
                          "Windows 8.1", "Windows 7 Professional"}));
    QCOMPARE(geometry.at(0).sweep, 216.0); // 120 of 200
    // Each slice its own colour; the zero slice keeps its index's colour.
    QCOMPARE(geometry.at(2).color, Pie3DWidget::sliceColor(3));
    QSet<QRgb> colours;
    for (int i = 0; i < 40; ++i)
        colours.insert(Pie3DWidget::sliceColor(i).rgb());
    QCOMPARE(colours.size(), 40);

    // Seen from 45° above: the top face is squeezed by sin 45°, and the
    // labels of neighbouring small slices do not overlap.
    const QRectF top = pie.topEllipse();
    QVERIFY(std::fabs(top.height() / top.width() - std::sqrt(0.5)) < 1e-9);
    QVERIFY(pie.depth() > 0);
    for (int i = 0; i < geometry.size(); ++i)
        for (int j = i + 1; j < geometry.size(); ++j)
            QVERIFY(!geometry.at(i).labelRect.intersects(geometry.at(j).labelRect));

    pie.show();
    grab(pie, "pie_os");

    // Many departments, for a look by eye.
    QVector<ChartPoint> departments;
    for (int i = 1; i <= 41; ++i)
        departments.append(
            {i == 41 ? QString() : QStringLiteral("第%1営業部").arg(i), double(1000 / (i + 2))});
    pie.resize(800, 420);
    pie.setSlices(departments);
    QCOMPARE(pie.layoutSlices().size(), 41);
    grab(pie, "pie_departments");
}

void TstStatusChart::pieWithoutData()
{
    Pie3DWidget pie;
    pie.resize(300, 200);
    QVERIFY(pie.layoutSlices().isEmpty());
    pie.setSlices({{"a", 0}, {"b", 0}});
    QVERIFY(pie.layoutSlices().isEmpty());
    pie.setSlices({{"only", 7}});
    QCOMPARE(pie.layoutSlices().size(), 1);
    QCOMPARE(pie.layoutSlices().first().sweep, 360.0);
    pie.clear();
    QVERIFY(pie.slices().isEmpty());
    // Painting nothing must not fail.
    QVERIFY(!pie.grab().isNull());
}

void TstStatusChart::switchingViewsAndHint()
{
    StatusChart chart;
    chart.resize(700, 400);
    chart.show();
    chart.showCounts(osSlices());
    QVERIFY(!chart.isBarView());
    QVERIFY(!chart.isHintShown());
    QVERIFY(chart.pie()->isVisible());

    QVector<ChartPoint> bars;
    for (int i = 0; i < 30; ++i)
        bars.append({QStringLiteral("PC%1").arg(i, 3, 10, QLatin1Char('0')), 800.0 + 100 * i});
    chart.showClocks(bars);
    QVERIFY(chart.isBarView());
    QVERIFY(chart.isHintShown());
    QCOMPARE(chart.hintText(), QStringLiteral("ﾏｳｽﾄﾞﾗｯｸﾞでｽﾞｰﾑ\n右ｸﾘｯｸ+ﾄﾞﾗｯｸﾞでｽｸﾛｰﾙ"));
    QVERIFY(!chart.pie()->isVisible());
    QCOMPARE(chart.bars()->labels().size(), 30);
    QCOMPARE(chart.bars()->labels().first(), QStringLiteral("PC000"));
    QBarSet *set = chart.bars()->series()->barSets().first();
    QCOMPARE(set->count(), 30);
    QCOMPARE(set->at(29), 3700.0);
    // No value marks, no legend, no axes shown.
    QVERIFY(!chart.bars()->series()->isLabelsVisible());
    QVERIFY(!chart.bars()->chart()->legend()->isVisible());
    for (const QAbstractAxis *axis : chart.bars()->chart()->axes())
        QVERIFY(!axis->isVisible());
    grab(chart, "bars_clock");

    // Back to a count grouping: the pie again, the hint gone.
    chart.showCounts(osSlices());
    QVERIFY(!chart.isBarView());
    QVERIFY(!chart.isHintShown());
    QVERIFY(chart.hintText().isEmpty());
    QVERIFY(chart.pie()->isVisible());
    QCOMPARE(chart.bars()->series()->count(), 0);
    grab(chart, "pie_after_clock");
}

void TstStatusChart::barsZoomScrollAndReset()
{
    ClockBarView view;
    view.resize(600, 400);
    QVector<ChartPoint> bars;
    for (int i = 0; i < 100; ++i)
        bars.append({QStringLiteral("K%1").arg(i), 1000.0 + 20 * i});
    view.setBars(bars);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));

    QCOMPARE(view.firstVisible(), -0.5);
    QCOMPARE(view.lastVisible(), 99.5);
    QCOMPARE(view.shownBars(), 100);
    const double fullX = view.maxVisibleValue();
    QVERIFY(fullX >= 2980);

    // Dragging with the left button zooms into the dragged rectangle.
    const QRectF plot = view.chart()->plotArea();
    drag(view.viewport(), Qt::LeftButton, plot.center() - QPointF(60, 40),
         plot.center() + QPointF(60, 40));
    const double span = view.lastVisible() - view.firstVisible();
    QVERIFY2(span < 50, qPrintable(QString::number(span)));
    // The middle of the plot stays in the middle.
    QVERIFY(std::fabs((view.firstVisible() + view.lastVisible()) / 2 - 49.5) < 1);
    QVERIFY(view.maxVisibleValue() - view.minVisibleValue() < fullX / 2);
    QVERIFY(view.shownBars() < 50);

    // Dragging with the right button scrolls: same span, moved; dragging
    // downwards brings the higher bars into view, dragging right the lower
    // values.
    const double before = view.firstVisible();
    drag(view.viewport(), Qt::RightButton, plot.center(), plot.center() + QPointF(0, 50));
    QVERIFY(std::fabs((view.lastVisible() - view.firstVisible()) - span) < 1e-6);
    QVERIFY2(view.firstVisible() > before,
             qPrintable(QString("%1 -> %2").arg(before).arg(view.firstVisible())));
    const double xMin = view.minVisibleValue();
    drag(view.viewport(), Qt::RightButton, plot.center(), plot.center() + QPointF(40, 0));
    QVERIFY(view.minVisibleValue() < xMin);

    // A double click shows all bars again.
    mouse(view.viewport(), QEvent::MouseButtonDblClick, Qt::LeftButton, plot.center(),
          Qt::LeftButton);
    QCOMPARE(view.firstVisible(), -0.5);
    QCOMPARE(view.lastVisible(), 99.5);
    QCOMPARE(view.maxVisibleValue(), fullX);

    // New bars show all of them, whatever the zoom was.
    drag(view.viewport(), Qt::LeftButton, plot.center() - QPointF(30, 30),
         plot.center() + QPointF(30, 30));
    view.setBars(bars.mid(0, 10));
    QCOMPARE(view.firstVisible(), -0.5);
    QCOMPARE(view.lastVisible(), 9.5);
    view.clear();
    QCOMPARE(view.shownBars(), 0);
}

void TstStatusChart::manyBarsAreThinnedUntilZoomed()
{
    // More bars than the series holds: each shown bar stands for a run and
    // is as long as its longest bar; zooming in shows the bars themselves.
    ClockBarView view;
    view.resize(600, 400);
    QVector<ChartPoint> bars;
    for (int i = 0; i < 5000; ++i)
        bars.append({QStringLiteral("K%1").arg(i), double(i)});
    view.setBars(bars);
    view.show();
    QVERIFY(QTest::qWaitForWindowExposed(&view));
    QCOMPARE(view.values().size(), 5000);
    QCOMPARE(view.barsPerShownBar(), 5);
    QCOMPARE(view.shownBars(), 1000);
    QBarSet *set = view.series()->barSets().constFirst();
    QCOMPARE(set->at(0), 4.0);
    QCOMPARE(set->at(999), 4999.0);
    grab(view, "bars_5000");

    const QRectF plot = view.chart()->plotArea();
    drag(view.viewport(), Qt::LeftButton, QPointF(plot.left() + 1, plot.center().y() - 10),
         QPointF(plot.right() - 1, plot.center().y() + 10));
    QCOMPARE(view.barsPerShownBar(), 1);
    QVERIFY(view.shownBars() <= 500);
    set = view.series()->barSets().constFirst();
    const int first = int(std::ceil(view.firstVisible() - 0.5));
    QCOMPARE(set->at(0), double(first));
    grab(view, "bars_5000_zoomed");
}

QTEST_MAIN(TstStatusChart)
#include "tst_status_chart.moc"
