#include "Pie3DWidget.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <algorithm>
#include <cmath>

namespace {

constexpr double Pi = 3.14159265358979323846;
// The vertical squeeze of a disc seen from the elevation: |sin 315°|.
const double Tilt = std::fabs(std::sin(Pie3DWidget::Elevation * Pi / 180.0));
// The disc's thickness relative to its horizontal radius.
constexpr double DepthRatio = 0.18;
// Gap between a leader line's end and its text.
constexpr double TextGap = 3;
// Degrees per step along a curved edge.
constexpr double ArcStep = 2;

double radians(double degrees)
{
    return degrees * Pi / 180.0;
}

// Points of an arc from `from` to `to` (degrees, either direction).
template <typename RimFn> void appendArc(QPolygonF &polygon, double from, double to, RimFn rimAt)
{
    const int steps = std::max(1, int(std::ceil(std::fabs(to - from) / ArcStep)));
    for (int i = 0; i <= steps; ++i)
        polygon << rimAt(from + (to - from) * i / steps);
}

// Moves the labels of one side apart vertically so that none overlaps the
// next, keeping them inside [top, bottom] where there is room.
void spreadLabels(QVector<QRectF *> &side, double top, double bottom)
{
    if (side.isEmpty())
        return;
    std::sort(side.begin(), side.end(),
              [](const QRectF *a, const QRectF *b) { return a->center().y() < b->center().y(); });
    double next = top;
    for (QRectF *r : side) {
        if (r->top() < next)
            r->moveTop(next);
        next = r->bottom();
    }
    // Pushed past the bottom: shift back up from the last one.
    double limit = bottom;
    for (auto it = side.rbegin(); it != side.rend(); ++it) {
        if ((*it)->bottom() <= limit)
            break;
        (*it)->moveBottom(limit);
        limit = (*it)->top();
    }
}

} // namespace

Pie3DWidget::Pie3DWidget(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("Series1"));
    setAutoFillBackground(true);
    QPalette pal = palette();
    pal.setColor(QPalette::Window, Qt::white);
    setPalette(pal);
}

void Pie3DWidget::setSlices(const QVector<Statistics::ChartPoint> &slices)
{
    m_slices = slices;
    update();
}

void Pie3DWidget::clear()
{
    setSlices({});
}

QColor Pie3DWidget::sliceColor(int index)
{
    static const QRgb palette[] = {0x4472c4, 0xed7d31, 0xa5a5a5, 0xffc000, 0x5b9bd5, 0x70ad47,
                                   0x264478, 0x9e480e, 0x636363, 0x997300, 0x255e91, 0x43682b,
                                   0x698ed0, 0xf1975a, 0xb7b7b7, 0xffcd33, 0x7cafdd, 0x8cc168};
    constexpr int count = int(sizeof(palette) / sizeof(palette[0]));
    if (index < count)
        return QColor(palette[index]);
    // Beyond the palette: hues spread by the golden angle.
    return QColor::fromHsv(int(std::fmod(index * 137.508, 360.0)), 150, 215);
}

QSize Pie3DWidget::sizeHint() const
{
    return {400, 300};
}

double Pie3DWidget::labelWidthLimit() const
{
    // A long label may take a quarter of the width on its side.
    return std::max(40.0, width() / 4.0);
}

Pie3DWidget::Frame Pie3DWidget::frame() const
{
    const QFontMetricsF fm(font());
    double widest = 0;
    for (const Statistics::ChartPoint &s : m_slices)
        widest = std::max(widest, fm.horizontalAdvance(s.label));
    widest = std::min(widest, labelWidthLimit());

    const double marginX = LeaderLength + TextGap + widest + 4;
    const double marginY = LeaderLength + fm.height() / 2 + 4;
    const double byWidth = (width() - 2 * marginX) / 2;
    const double byHeight = (height() - 2 * marginY) / (2 * Tilt + DepthRatio);
    Frame f;
    f.rx = std::max(8.0, std::min(byWidth, byHeight));
    f.ry = f.rx * Tilt;
    f.depth = f.rx * DepthRatio;
    // The disc (top face plus depth) centred in the widget.
    f.centre = QPointF(width() / 2.0, (height() - f.depth) / 2.0);
    return f;
}

QRectF Pie3DWidget::topEllipse() const
{
    const Frame f = frame();
    return {f.centre.x() - f.rx, f.centre.y() - f.ry, 2 * f.rx, 2 * f.ry};
}

double Pie3DWidget::depth() const
{
    return frame().depth;
}

QPointF Pie3DWidget::rim(const Frame &f, double degrees, double drop) const
{
    // A point of the disc's circle seen from above at the elevation: the
    // vertical axis shrinks, nothing else changes (no perspective).
    const double a = radians(degrees);
    return {f.centre.x() + f.rx * std::cos(a), f.centre.y() - f.ry * std::sin(a) + drop};
}

QVector<Pie3DWidget::SliceGeometry> Pie3DWidget::layoutSlices() const
{
    QVector<SliceGeometry> result;
    double total = 0;
    for (const Statistics::ChartPoint &s : m_slices)
        total += std::max(0.0, s.value);
    if (total <= 0)
        return result;

    const Frame f = frame();
    const QFontMetricsF fm(font());
    const double limit = labelWidthLimit();
    double angle = StartAngle;
    for (int i = 0; i < m_slices.size(); ++i) {
        const double value = std::max(0.0, m_slices.at(i).value);
        if (value <= 0)
            continue;
        SliceGeometry g;
        g.startAngle = angle;
        g.sweep = 360.0 * value / total;
        g.color = sliceColor(i);
        angle -= g.sweep;

        const double mid = g.startAngle - g.sweep / 2;
        const double a = radians(mid);
        // On the front half the leader starts at the lower edge of the side
        // wall, so the line does not cross the wall.
        g.anchor = rim(f, mid, std::sin(a) < 0 ? f.depth : 0);
        g.leaderEnd = g.anchor + QPointF(std::cos(a), -std::sin(a)) * LeaderLength;
        g.label = m_slices.at(i).label;
        if (!g.label.isEmpty()) {
            const double w = std::min(fm.horizontalAdvance(g.label), limit) + 1;
            const double h = fm.height();
            const double x
                = std::cos(a) >= 0 ? g.leaderEnd.x() + TextGap : g.leaderEnd.x() - TextGap - w;
            g.labelRect = QRectF(x, g.leaderEnd.y() - h / 2, w, h);
        }
        result.append(g);
    }

    // Many small slices put their labels on top of each other: spread each
    // side's labels vertically. A label moved away from its leader line
    // goes to a column beside the pie, so its text does not cover slices.
    // When a side has more labels than lines, the smallest slices' labels
    // are left out (their figures are in the grid).
    const int lines = std::max(1, int(height() / fm.height()));
    for (const bool rightSide : {false, true}) {
        QVector<SliceGeometry *> side;
        for (SliceGeometry &g : result)
            if (!g.labelRect.isEmpty() && (g.labelRect.center().x() >= f.centre.x()) == rightSide)
                side.append(&g);
        if (side.size() > lines) {
            std::stable_sort(side.begin(), side.end(),
                             [](const auto *a, const auto *b) { return a->sweep > b->sweep; });
            for (int i = lines; i < side.size(); ++i)
                side[i]->labelRect = QRectF();
            side.resize(lines);
        }
        QVector<QRectF *> rects;
        QVector<double> wanted;
        for (SliceGeometry *g : side) {
            rects.append(&g->labelRect);
            wanted.append(g->labelRect.center().y());
        }
        spreadLabels(rects, 0, height());
        const double column = rightSide ? f.centre.x() + f.rx + LeaderLength + TextGap
                                        : f.centre.x() - f.rx - LeaderLength - TextGap;
        for (int i = 0; i < side.size(); ++i) {
            QRectF &r = side[i]->labelRect;
            if (std::fabs(r.center().y() - wanted.at(i)) <= 1)
                continue;
            if (rightSide)
                r.moveLeft(std::max(r.left(), column));
            else
                r.moveRight(std::min(r.right(), column));
        }
    }
    return result;
}

void Pie3DWidget::paintEvent(QPaintEvent *)
{
    const QVector<SliceGeometry> geometry = layoutSlices();
    if (geometry.isEmpty())
        return;

    QPainter p(this);
    p.setRenderHint(QPainter::Antialiasing);
    const Frame f = frame();
    const QPen edge(QColor(0, 0, 0, 110), 1);

    // The side wall, visible on the front half of the disc (180° to 360°):
    // each slice's share of it, darker than its top face.
    for (const SliceGeometry &g : geometry) {
        const double hi = g.startAngle;
        const double lo = g.startAngle - g.sweep;
        for (int k = -2; k <= 1; ++k) {
            const double from = std::max(lo, 180.0 + 360.0 * k);
            const double to = std::min(hi, 360.0 + 360.0 * k);
            if (from >= to)
                continue;
            QPolygonF wall;
            appendArc(wall, from, to, [&](double d) { return rim(f, d); });
            appendArc(wall, to, from, [&](double d) { return rim(f, d, f.depth); });
            QLinearGradient shade(f.centre.x() - f.rx, 0, f.centre.x() + f.rx, 0);
            shade.setColorAt(0, g.color.darker(170));
            shade.setColorAt(0.4, g.color.darker(120));
            shade.setColorAt(1, g.color.darker(190));
            p.setPen(edge);
            p.setBrush(shade);
            p.drawPolygon(wall);
        }
    }

    // The top faces.
    for (const SliceGeometry &g : geometry) {
        QPolygonF face;
        face << f.centre;
        appendArc(face, g.startAngle, g.startAngle - g.sweep, [&](double d) { return rim(f, d); });
        p.setPen(edge);
        p.setBrush(g.color);
        p.drawPolygon(face);
    }

    // Labels on their leader lines, without frame or background.
    const QFontMetricsF fm(font());
    for (const SliceGeometry &g : geometry) {
        if (g.labelRect.isEmpty())
            continue;
        p.setPen(QPen(Qt::black, 1));
        p.drawLine(g.anchor, g.leaderEnd);
        const bool rightSide = g.labelRect.left() >= g.leaderEnd.x();
        const QPointF joint(rightSide ? g.labelRect.left() - 1 : g.labelRect.right() + 1,
                            g.labelRect.center().y());
        if (std::fabs(joint.y() - g.leaderEnd.y()) > 1) // moved apart from its neighbours
            p.drawLine(g.leaderEnd, joint);
        p.drawText(g.labelRect, (rightSide ? Qt::AlignLeft : Qt::AlignRight) | Qt::AlignVCenter,
                   fm.elidedText(g.label, Qt::ElideRight, g.labelRect.width()));
    }
}
