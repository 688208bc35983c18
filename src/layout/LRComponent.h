#pragma once

#include <QObject>
#include <QRect>
#include <QVector>

// How a panel or an item lies in its parent: at its bounds (laNone), or
// stacked against an edge, or filling what the others leave.
enum class TLRAlign { laNone, laTop, laLeft, laRight, laBottom, laClient };

// What panels and items share: bounds in layout units relative to the
// parent's origin, the alignment and the enabled flag. The child order of
// the QObject tree is the drawing order.
class TLRComponent : public QObject
{
    Q_OBJECT

public:
    using QObject::QObject;

    QRect bounds() const { return m_bounds; }
    void setBounds(const QRect &bounds) { m_bounds = bounds; }
    void setBounds(int left, int top, int width, int height)
    {
        m_bounds = QRect(left, top, width, height);
    }
    TLRAlign align() const { return m_align; }
    void setAlign(TLRAlign align) { m_align = align; }
    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }

private:
    QRect m_bounds;
    TLRAlign m_align = TLRAlign::laNone;
    bool m_enabled = true;
};

namespace LRAlignment {

// The rectangles of the children inside their parent: origin is the
// parent's top-left, area the part of it that aligned children share (the
// page less its margins, or the whole panel). Top children are stacked from
// the top, then bottom, left and right ones; client children fill the rest;
// the others keep their bounds moved by the origin. All in layout units.
QVector<QRect> arrange(const QPoint &origin, const QRect &area,
                       const QVector<TLRComponent *> &children);

} // namespace LRAlignment
