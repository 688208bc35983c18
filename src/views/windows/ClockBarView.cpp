#include "ClockBarView.h"

#include <QBarSet>
#include <QChart>
#include <QCursor>
#include <QHorizontalBarSeries>
#include <QLinearGradient>
#include <QMouseEvent>
#include <QRubberBand>
#include <QToolTip>
#include <QValueAxis>
#include <algorithm>
#include <cmath>

namespace {

// A drag shorter than this (pixels) is a click, not a zoom.
constexpr int MinZoomDrag = 4;

QBrush barBrush()
{
    // Blue, lighter across the middle of each bar.
    QLinearGradient gradient(0, 0, 0, 1);
    gradient.setCoordinateMode(QGradient::ObjectBoundingMode);
    gradient.setColorAt(0, QColor(0x1f, 0x4e, 0xa8));
    gradient.setColorAt(0.5, QColor(0x7f, 0xb2, 0xf0));
    gradient.setColorAt(1, QColor(0x1f, 0x4e, 0xa8));
    return gradient;
}

} // namespace

ClockBarView::ClockBarView(QWidget *parent)
    : QChartView(parent), m_series(new QHorizontalBarSeries), m_valueAxis(new QValueAxis),
      m_slotAxis(new QValueAxis), m_rubberBand(new QRubberBand(QRubberBand::Rectangle, viewport()))
{
    setObjectName(QStringLiteral("Series2"));
    auto *chart = new QChart;
    chart->legend()->hide();
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setBackgroundRoundness(0);
    chart->setMargins(QMargins(4, 4, 4, 4));
    chart->addSeries(m_series);
    // Hidden value axes in both directions hold the visible ranges.
    chart->addAxis(m_valueAxis, Qt::AlignBottom);
    chart->addAxis(m_slotAxis, Qt::AlignLeft);
    m_series->attachAxis(m_valueAxis);
    m_series->attachAxis(m_slotAxis);
    m_valueAxis->hide();
    m_slotAxis->hide();
    m_series->setLabelsVisible(false);
    setChart(chart);
    setRenderHint(QPainter::Antialiasing, false);
    setBackgroundBrush(Qt::white);
    // Zooming and scrolling are ours (see the mouse handlers).
    setRubberBand(QChartView::NoRubberBand);
    m_rubberBand->hide();

    connect(m_series, &QHorizontalBarSeries::hovered, this,
            [this](bool status, int index, QBarSet *) { showBarTip(status, index); });
    resetZoom();
}

void ClockBarView::setBars(const QVector<Statistics::ChartPoint> &bars)
{
    m_labels.clear();
    m_values.clear();
    m_labels.reserve(bars.size());
    m_values.reserve(bars.size());
    for (const Statistics::ChartPoint &bar : bars) {
        m_labels.append(bar.label);
        m_values.append(bar.value);
    }
    resetZoom();
}

void ClockBarView::clear()
{
    setBars({});
}

void ClockBarView::resetZoom()
{
    double maxValue = 0;
    for (double v : std::as_const(m_values))
        maxValue = std::max(maxValue, v);
    m_x0 = 0;
    m_x1 = maxValue > 0 ? maxValue * 1.05 : 1;
    m_y0 = -0.5;
    m_y1 = std::max<qsizetype>(1, m_values.size()) - 0.5;
    rebuild();
}

int ClockBarView::shownBars() const
{
    return m_series->count() == 0 ? 0 : m_series->barSets().constFirst()->count();
}

void ClockBarView::rebuild()
{
    const int count = int(m_values.size());
    const int first = std::clamp(int(std::floor(m_y0 + 0.5)), 0, std::max(0, count - 1));
    const int last = std::clamp(int(std::ceil(m_y1 - 0.5)), first, std::max(0, count - 1));
    const int inView = count == 0 ? 0 : last - first + 1;
    m_first = first;
    m_step = std::max(1, (inView + MaxShownBars - 1) / MaxShownBars);

    QList<qreal> shown;
    shown.reserve(inView / m_step + 1);
    for (int i = first; i <= last && count > 0; i += m_step) {
        const int end = std::min(i + m_step, count);
        shown.append(*std::max_element(m_values.cbegin() + i, m_values.cbegin() + end));
    }

    m_series->clear();
    if (!shown.isEmpty()) {
        auto *set = new QBarSet(QString());
        set->setBrush(barBrush());
        set->setPen(Qt::NoPen);
        set->append(shown);
        m_series->append(set);
    }
    // Bars that stand for several touch, so the outline stays whole.
    m_series->setBarWidth(m_step > 1 ? 1.0 : 0.8);
    // Shown bar s covers the bars from m_first + s * m_step.
    const double slot0 = (m_y0 - m_first) / m_step;
    const double slot1 = (m_y1 - m_first) / m_step;
    m_slotAxis->setRange(slot0, slot1);
    m_valueAxis->setRange(m_x0, m_x1);
}

QPointF ClockBarView::toData(const QPointF &viewPoint) const
{
    const QRectF plot = chart()->plotArea();
    const double fx = (viewPoint.x() - plot.left()) / plot.width();
    const double fy = (plot.bottom() - viewPoint.y()) / plot.height();
    return {m_y0 + fy * (m_y1 - m_y0), m_x0 + fx * (m_x1 - m_x0)};
}

void ClockBarView::showBarTip(bool status, int index)
{
    const int bar = m_first + index * m_step;
    if (!status || index < 0 || bar >= m_values.size()) {
        QToolTip::hideText();
        return;
    }
    const int end = std::min<qsizetype>(bar + m_step, m_values.size()) - 1;
    QString text = m_labels.at(end) + u'\n' + QString::number(m_values.at(end));
    if (end > bar)
        text = m_labels.at(bar) + QStringLiteral(" … ") + text;
    QToolTip::showText(QCursor::pos(), text, this);
}

void ClockBarView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_drag = Drag::Zoom;
        m_dragStart = event->position().toPoint();
        m_rubberBand->setGeometry(QRect(m_dragStart, QSize()));
        m_rubberBand->show();
    } else if (event->button() == Qt::RightButton) {
        m_drag = Drag::Scroll;
        m_lastPos = event->position();
    } else {
        QChartView::mousePressEvent(event);
        return;
    }
    event->accept();
}

void ClockBarView::mouseMoveEvent(QMouseEvent *event)
{
    if (m_drag == Drag::Zoom) {
        m_rubberBand->setGeometry(QRect(m_dragStart, event->position().toPoint()).normalized());
    } else if (m_drag == Drag::Scroll) {
        // The bars follow the mouse.
        const QRectF plot = chart()->plotArea();
        const QPointF delta = event->position() - m_lastPos;
        m_lastPos = event->position();
        const double dy = delta.y() / plot.height() * (m_y1 - m_y0);
        const double dx = -delta.x() / plot.width() * (m_x1 - m_x0);
        m_y0 += dy;
        m_y1 += dy;
        m_x0 += dx;
        m_x1 += dx;
        rebuild();
    } else {
        QChartView::mouseMoveEvent(event);
        return;
    }
    event->accept();
}

void ClockBarView::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_drag == Drag::Zoom && event->button() == Qt::LeftButton) {
        m_rubberBand->hide();
        const QRect rect = QRect(m_dragStart, event->position().toPoint()).normalized();
        if (rect.width() >= MinZoomDrag && rect.height() >= MinZoomDrag) {
            const QPointF a = toData(rect.bottomLeft());
            const QPointF b = toData(rect.topRight());
            m_y0 = a.x();
            m_y1 = b.x();
            m_x0 = a.y();
            m_x1 = b.y();
            rebuild();
        }
    } else if (!(m_drag == Drag::Scroll && event->button() == Qt::RightButton)) {
        QChartView::mouseReleaseEvent(event);
        return;
    }
    m_drag = Drag::None;
    event->accept();
}

void ClockBarView::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton) {
        m_rubberBand->hide();
        m_drag = Drag::None;
        resetZoom();
        event->accept();
        return;
    }
    QChartView::mouseDoubleClickEvent(event);
}
