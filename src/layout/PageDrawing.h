#pragma once

#include "LRItem.h"
#include "LightRepEx2.h"

#include <QByteArray>
#include <QRect>
#include <QSize>
#include <variant>
#include <vector>

class QPainter;

// A page as its items looked when the page was produced: each item's
// rectangle (layout units), its look, in drawing order. It is painted at
// any scale, so the page is laid out once and drawn on a printer, into a
// PDF file or onto the preview at its zoom; and it is kept compactly as
// bytes by the preview store.
class PageDrawing
{
public:
    // The paper in layout units.
    QSize pageSize() const { return m_pageSize; }
    void setPageSize(const QSize &units) { m_pageSize = units; }

    void addBox(const QRect &rect, const TLRItem::Look &look, bool linesOnly);
    void addFlow(const QRect &rect, const TLRVariableText::Look &look);
    int itemCount() const { return int(m_items.size()); }

    // Paints every item in order at a scale (device pixels per unit).
    void play(QPainter &painter, double scale) const;

    // The drawing as compressed bytes, and back; fromBytes() is false for
    // bytes it cannot read.
    QByteArray toBytes() const;
    static bool fromBytes(const QByteArray &bytes, PageDrawing &drawing);

private:
    struct Box
    {
        QRect rect;
        TLRItem::Look look;
        bool linesOnly = false;
    };
    struct Flow
    {
        QRect rect;
        TLRVariableText::Look look;
    };

    QSize m_pageSize;
    std::vector<std::variant<Box, Flow>> m_items;
};
