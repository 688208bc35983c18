#pragma once

#include "views/Statistics.h"

#include <QColor>
#include <QRectF>
#include <QWidget>

// A pie seen tilted from 45° above (elevation 315°, no perspective), with
// the depth of a disc. Slices are drawn in the order added, the first one
// starting at 90° (twelve o'clock) and the following ones clockwise; each
// has its own colour and carries its label on a leader line of 20 pixels,
// without frame or background. No legend, axes or title. Without slices
// (or with nothing to count) the widget stays empty.
class Pie3DWidget : public QWidget
{
    Q_OBJECT

public:
    static constexpr double StartAngle = 90; // degrees, counter-clockwise from three o'clock
    static constexpr double Elevation = 315; // 360° − 45°: seen from 45° above
    static constexpr double LeaderLength = 20; // pixels

    // Where a slice and its label are drawn at the widget's current size.
    struct SliceGeometry
    {
        double startAngle = 0; // degrees; the slice runs clockwise from here
        double sweep = 0; // degrees, > 0
        QColor color;
        QPointF anchor; // on the rim, where the leader line starts
        QPointF leaderEnd; // LeaderLength pixels outwards from the anchor
        QRectF labelRect; // empty for a slice without label
        QString label;
    };

    explicit Pie3DWidget(QWidget *parent = nullptr);

    void setSlices(const QVector<Statistics::ChartPoint> &slices);
    void clear();
    const QVector<Statistics::ChartPoint> &slices() const { return m_slices; }

    // The colour of the n-th slice.
    static QColor sliceColor(int index);

    // The slices with a value above 0, in the order added, laid out for the
    // current size and font. Indexes follow slices(); slices of value 0
    // (drawn as nothing) are skipped.
    QVector<SliceGeometry> layoutSlices() const;
    // The top face's ellipse and the disc's depth at the current size.
    QRectF topEllipse() const;
    double depth() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    struct Frame
    {
        QPointF centre;
        double rx = 0;
        double ry = 0;
        double depth = 0;
    };
    Frame frame() const;
    QPointF rim(const Frame &f, double degrees, double drop = 0) const;
    double labelWidthLimit() const;

    QVector<Statistics::ChartPoint> m_slices;
};
