#pragma once

#include "views/Statistics.h"

#include <QWidget>

class ClockBarView;
class Pie3DWidget;
class QLabel;
class QStackedWidget;

// The chart of the overall status (Chart1): the tilted pie for the count
// groupings, the horizontal bars with their zoom and scroll hint for the
// clocks. One of the two is shown at a time.
class StatusChart : public QWidget
{
    Q_OBJECT

public:
    explicit StatusChart(QWidget *parent = nullptr);

    // The pie with one slice per point, in the order given; no hint.
    void showCounts(const QVector<Statistics::ChartPoint> &slices);
    // The bars, bottom to top in the order given, with the hint.
    void showClocks(const QVector<Statistics::ChartPoint> &bars);

    bool isBarView() const;
    // The hint's text and whether it is shown (in the clock view only).
    QString hintText() const;
    bool isHintShown() const;

    Pie3DWidget *pie() const { return m_pie; }
    ClockBarView *bars() const { return m_bars; }

private:
    QStackedWidget *m_stack;
    Pie3DWidget *m_pie;
    QWidget *m_barPage;
    QLabel *m_hint;
    ClockBarView *m_bars;
};
