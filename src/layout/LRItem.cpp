#include "LRItem.h"

#include "DisplayMask.h"
#include "LRPanel.h"
#include "LayoutError.h"
#include "LayoutUnits.h"
#include "PageDrawing.h"
#include "ReportFont.h"
#include "TextMeasure.h"
#include "TextTokens.h"

#include <QPainter>
#include <cmath>

using LayoutUnits::roundHalfEven;
using LayoutUnits::toDevice;

namespace {

QObject *itemParent(QObject *parent)
{
    if (!qobject_cast<TCustomLRPanel *>(parent))
        throw LayoutError(QStringLiteral("パネル上にのみ配置できます．"));
    return parent;
}

// What a text may be wider than its room by and still fit (layout units).
constexpr double Slack = 0.01;

// The width of a text in a font, character by character (the faces are
// set without kerning).
double textWidth(const QString &text, TextMeasure &measure)
{
    double width = 0;
    for (const QString &ch : TextTokens::characters(text))
        width += measure.width(ch);
    return width;
}

// The longest start of text made of whole characters that is at most
// width wide.
QString fittingStart(const QString &text, TextMeasure &measure, double width)
{
    QString start;
    double used = 0;
    for (const QString &ch : TextTokens::characters(text)) {
        used += measure.width(ch);
        if (used > width + Slack)
            break;
        start += ch;
    }
    return start;
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

void TCustomLRItem::draw(QPainter &painter, const QRect &rect, double scale, bool linesOnly) const
{
    PageDrawing drawing;
    record(drawing, rect, linesOnly);
    drawing.play(painter, scale);
}

TLRItem::TLRItem(QObject *parent) : TCustomLRItem(parent)
{
    m_look.font = ReportFont::gothic(12);
}

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
    return m_look.font;
}

void TLRItem::setFont(const QFont &font)
{
    m_look.font = font;
    m_parentFont = false;
}

void TLRItem::setLines(TLineStyle top, TLineStyle left, TLineStyle right, TLineStyle bottom)
{
    m_look.lineTop = top;
    m_look.lineLeft = left;
    m_look.lineRight = right;
    m_look.lineBottom = bottom;
}

QString TLRItem::displayedText() const
{
    return DisplayMask::apply(m_text, m_displayMask);
}

TLRItem::Look TLRItem::look() const
{
    Look look = m_look;
    look.text = displayedText();
    look.font = Font();
    return look;
}

void TLRItem::record(PageDrawing &drawing, const QRect &rect, bool linesOnly) const
{
    drawing.addBox(rect, look(), linesOnly);
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

void TLRItem::paint(QPainter &painter, const Look &look, const QRect &rect, double scale,
                    bool linesOnly)
{
    if (!linesOnly) {
        const int left = toDevice(rect.left(), scale);
        const int top = toDevice(rect.top(), scale);
        const int right = toDevice(rect.left() + rect.width(), scale);
        const int bottom = toDevice(rect.top() + rect.height(), scale);
        if (!look.transparent) {
            // The box less its last unit at the right and the bottom.
            painter.fillRect(QRect(left, top,
                                   toDevice(rect.left() + rect.width() - 1, scale) - left,
                                   toDevice(rect.top() + rect.height() - 1, scale) - top),
                             look.color);
        }
        if (!look.text.isEmpty()) {
            QRectF box(QPointF(left, top), QPointF(right, bottom));
            int flags = look.wordWrap ? Qt::TextWordWrap : Qt::TextSingleLine;
            switch (look.layout) {
            case TTextLayout::tlTop:
                box.setTop(toDevice(rect.top() + look.vMargin, scale));
                flags |= Qt::AlignTop;
                break;
            case TTextLayout::tlBottom:
                box.setBottom(toDevice(rect.top() + rect.height() - look.vMargin, scale));
                flags |= Qt::AlignBottom;
                break;
            case TTextLayout::tlCenter:
                flags |= Qt::AlignVCenter;
                break;
            }
            const int innerLeft = toDevice(rect.left() + look.hMargin, scale);
            const int innerRight = toDevice(rect.left() + rect.width() - look.hMargin, scale);
            QFont font = ReportFont::scaled(look.font, scale);
            QString text = look.text;
            TAlignment alignment = look.alignment;
            if (!look.wordWrap) {
                // Measured in layout units, so the preview and the print
                // decide alike. The room is what the text has where its
                // alignment puts it.
                TextMeasure &measure = TextMeasure::of(look.font);
                const double natural = textWidth(text, measure);
                const double width = rect.width();
                const double room
                    = alignment == TAlignment::taCenter ? width : width - look.hMargin;
                const double inner = width - 2 * look.hMargin;
                if (natural > room + Slack && inner > 0) {
                    // Too wide: it keeps its start.
                    double factor = 1;
                    if (look.shrinkToFit) {
                        factor = qMax(inner / natural, MinShrink);
                        font.setPixelSize(
                            qMax(1, int(std::floor(look.font.pixelSize() * factor * scale))));
                    }
                    if (natural * factor > inner + Slack) {
                        alignment = TAlignment::taLeftJustify;
                        text = fittingStart(text, measure, inner / factor);
                    }
                    box.setLeft(innerLeft);
                    box.setRight(innerRight);
                }
            }
            switch (alignment) {
            case TAlignment::taLeftJustify:
                box.setLeft(innerLeft);
                flags |= Qt::AlignLeft;
                break;
            case TAlignment::taRightJustify:
                box.setRight(innerRight);
                flags |= Qt::AlignRight;
                break;
            case TAlignment::taCenter:
                flags |= Qt::AlignHCenter;
                break;
            }
            painter.setFont(font);
            painter.setPen(look.fontColor);
            // Text that does not fit is cut at the box (drawText clips only
            // then, which keeps the PDF free of needless clip paths).
            painter.drawText(box, flags, text);
        }
    }
    drawLines(painter, rect, scale, look.lineColor, look.lineTop, look.lineLeft, look.lineRight,
              look.lineBottom);
}
