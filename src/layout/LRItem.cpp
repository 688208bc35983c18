#include "LRItem.h"

#include "DisplayMask.h"
#include "LRPanel.h"
#include "LayoutError.h"
#include "LayoutUnits.h"
#include "ReportFont.h"

#include <QFontMetricsF>
#include <QPainter>

using LayoutUnits::roundHalfEven;
using LayoutUnits::toDevice;

namespace {

QObject *itemParent(QObject *parent)
{
    if (!qobject_cast<TCustomLRPanel *>(parent))
        throw LayoutError(QStringLiteral("パネル上にのみ配置できます．"));
    return parent;
}

} // namespace

TCustomLRItem::TCustomLRItem(QObject *parent) : TLRComponent(itemParent(parent))
{
    setBounds(0, 0, 65, 17);
}

TCustomLRPanel *TCustomLRItem::panel() const
{
    return qobject_cast<TCustomLRPanel *>(parent());
}

TLightRep *TCustomLRItem::LightRep() const
{
    return panel() ? panel()->LightRep() : nullptr;
}

TLRItem::TLRItem(QObject *parent) : TCustomLRItem(parent), m_font(ReportFont::gothic(12)) { }

void TLRItem::setText(const QString &text)
{
    if (text == m_text)
        return;
    m_text = text;
}

QFont TLRItem::Font() const
{
    if (m_parentFont && panel())
        return panel()->Font();
    return m_font;
}

void TLRItem::setFont(const QFont &font)
{
    m_font = font;
    m_parentFont = false;
}

void TLRItem::setLines(TLineStyle top, TLineStyle left, TLineStyle right, TLineStyle bottom)
{
    m_lineTop = top;
    m_lineLeft = left;
    m_lineRight = right;
    m_lineBottom = bottom;
}

QString TLRItem::displayedText() const
{
    return DisplayMask::apply(m_text, m_displayMask);
}

int TLRItem::lineWidth(TLineStyle style, double scale)
{
    switch (style) {
    case TLineStyle::lsSingle:
        return roundHalfEven(1.2 * scale);
    case TLineStyle::lsHalf:
        return roundHalfEven(0.5 * scale);
    case TLineStyle::lsDouble:
        return roundHalfEven(2.0 * scale);
    case TLineStyle::lsNone:
        break;
    }
    return 0;
}

void TLRItem::drawLines(QPainter &painter, const QRect &rect, double scale, const QColor &color,
                        TLineStyle top, TLineStyle left, TLineStyle right, TLineStyle bottom)
{
    if (top == TLineStyle::lsNone && left == TLineStyle::lsNone && right == TLineStyle::lsNone
        && bottom == TLineStyle::lsNone)
        return;
    // right and bottom are the last unit inside the box.
    const int w = roundHalfEven(scale);
    const int l = toDevice(rect.left(), scale) - w;
    const int t = toDevice(rect.top(), scale) - w;
    const int r = toDevice(rect.left() + rect.width() - 1, scale);
    const int b = toDevice(rect.top() + rect.height() - 1, scale);
    const auto line = [&](TLineStyle style, int x1, int y1, int x2, int y2) {
        if (style == TLineStyle::lsNone)
            return;
        QPen pen(color, lineWidth(style, scale));
        pen.setCapStyle(Qt::SquareCap);
        painter.setPen(pen);
        painter.drawLine(x1, y1, x2, y2);
    };
    line(top, l, t, r, t);
    line(left, l, t, l, b);
    line(right, r, t, r, b);
    line(bottom, l, b, r, b);
}

void TLRItem::draw(QPainter &painter, const QRect &rect, double scale, bool linesOnly)
{
    if (!linesOnly) {
        const int left = toDevice(rect.left(), scale);
        const int top = toDevice(rect.top(), scale);
        const int right = toDevice(rect.left() + rect.width(), scale);
        const int bottom = toDevice(rect.top() + rect.height(), scale);
        if (!m_transparent) {
            // The box less its last unit at the right and the bottom.
            painter.fillRect(QRect(left, top,
                                   toDevice(rect.left() + rect.width() - 1, scale) - left,
                                   toDevice(rect.top() + rect.height() - 1, scale) - top),
                             m_color);
        }
        const QString text = displayedText();
        if (!text.isEmpty()) {
            QRectF box(QPointF(left, top), QPointF(right, bottom));
            int flags = m_wordWrap ? Qt::TextWordWrap : Qt::TextSingleLine;
            switch (m_alignment) {
            case TAlignment::taLeftJustify:
                box.setLeft(toDevice(rect.left() + m_hMargin, scale));
                flags |= Qt::AlignLeft;
                break;
            case TAlignment::taRightJustify:
                box.setRight(toDevice(rect.left() + rect.width() - m_hMargin, scale));
                flags |= Qt::AlignRight;
                break;
            case TAlignment::taCenter:
                flags |= Qt::AlignHCenter;
                break;
            }
            switch (m_layout) {
            case TTextLayout::tlTop:
                box.setTop(toDevice(rect.top() + m_vMargin, scale));
                flags |= Qt::AlignTop;
                break;
            case TTextLayout::tlBottom:
                box.setBottom(toDevice(rect.top() + rect.height() - m_vMargin, scale));
                flags |= Qt::AlignBottom;
                break;
            case TTextLayout::tlCenter:
                flags |= Qt::AlignVCenter;
                break;
            }
            const QFont font = ReportFont::scaled(Font(), scale);
            painter.setFont(font);
            painter.setPen(m_fontColor);
            // Text that does not fit is cut at the box (drawText clips only
            // then, which keeps the PDF free of needless clip paths).
            painter.drawText(box, flags, text);
        }
    }
    drawLines(painter, rect, scale, m_lineColor, m_lineTop, m_lineLeft, m_lineRight, m_lineBottom);
}
