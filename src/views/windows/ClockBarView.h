#pragma once

#include "views/Statistics.h"

#include <QChartView>

class QBarSet;
class QHorizontalBarSeries;
class QRubberBand;
class QValueAxis;

// The horizontal bars of the clock view (Qt Charts): blue bars with a
// gradient, no value marks, no axes, legend or title; a bar's label and
// value show as a tooltip while the mouse rests on it.
//
// Dragging with the left button zooms into the dragged rectangle, dragging
// with the right button scrolls, a double click shows all bars again.
//
// A store can hold tens of thousands of PCs, far more bars than the chart
// has pixel rows, and Qt Charts keeps a graphics object per bar. So the
// series holds only the bars of the visible range, at most MaxShownBars:
// when more are in view, each shown bar stands for a run of neighbours
// and is as long as the longest of them.
class ClockBarView : public QChartView
{
    Q_OBJECT

public:
    static constexpr int MaxShownBars = 1000;

    explicit ClockBarView(QWidget *parent = nullptr);

    // Replaces the bars, bottom to top in the order given, and shows all.
    void setBars(const QVector<Statistics::ChartPoint> &bars);
    void clear();
    // Shows all bars again.
    void resetZoom();

    // Every bar, in the order added.
    const QStringList &labels() const { return m_labels; }
    const QVector<double> &values() const { return m_values; }
    // The visible ranges: bar positions (bar n sits at n) and values.
    double firstVisible() const { return m_y0; }
    double lastVisible() const { return m_y1; }
    double minVisibleValue() const { return m_x0; }
    double maxVisibleValue() const { return m_x1; }
    // How many bars the series holds now, and how many bars each stands for.
    int shownBars() const;
    int barsPerShownBar() const { return m_step; }

    QHorizontalBarSeries *series() const { return m_series; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    // Refills the series for the visible ranges.
    void rebuild();
    // The bar position (in bars) and the value at a point of the view.
    QPointF toData(const QPointF &viewPoint) const;
    void showBarTip(bool status, int index);

    QHorizontalBarSeries *m_series;
    QValueAxis *m_valueAxis;
    QValueAxis *m_slotAxis; // positions of the shown bars: 0, 1, 2, ...
    QRubberBand *m_rubberBand;
    QStringList m_labels;
    QVector<double> m_values;
    double m_y0 = -0.5, m_y1 = 0.5, m_x0 = 0, m_x1 = 1;
    int m_first = 0; // the bar the first shown bar starts with
    int m_step = 1; // bars per shown bar
    enum class Drag { None, Zoom, Scroll } m_drag = Drag::None;
    QPoint m_dragStart;
    QPointF m_lastPos;
};
