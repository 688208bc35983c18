#include "LightRepEx2.h"

#include "LRPanel.h"
#include "LayoutUnits.h"
#include "PageDrawing.h"
#include "ReportFont.h"
#include "TextMeasure.h"
#include "TextTokens.h"

#include <QGlyphRun>
#include <QPainter>
#include <QRawFont>

using LayoutUnits::toDevice;

namespace {

TextTokens::Spacing spacingIn(const TLRVariableText::Look &look, double width)
{
    TextTokens::Spacing spacing;
    spacing.width = width;
    spacing.charSpace = look.charSpace;
    spacing.wordSpace = look.wordSpace;
    spacing.wordWrap = look.wordWrap;
    return spacing;
}

} // namespace

TLRVariableText::TLRVariableText(QObject *parent) : TCustomLRItem(parent)
{
    m_look.font = ReportFont::gothic(12);
}

QFont TLRVariableText::Font() const
{
    if (m_parentFont && panel())
        return panel()->Font();
    return m_look.font;
}

void TLRVariableText::setFont(const QFont &font)
{
    m_look.font = font;
    m_parentFont = false;
}

TLRVariableText::Look TLRVariableText::look() const
{
    Look look = m_look;
    look.font = Font();
    return look;
}

QStringList TLRVariableText::wrapLines(const QString &text) const
{
    TextMeasure &measure = TextMeasure::of(Font());
    return TextTokens::wrapLines(text, spacingIn(m_look, bounds().width()),
                                 [&](const QString &ch) { return measure.width(ch); });
}

void TLRVariableText::record(PageDrawing &drawing, const QRect &rect, bool linesOnly) const
{
    if (!linesOnly)
        drawing.addFlow(rect, look());
}

void TLRVariableText::paint(QPainter &painter, const Look &look, const QRect &rect, double scale)
{
    const QRect box(QPoint(toDevice(rect.left(), scale), toDevice(rect.top(), scale)),
                    QPoint(toDevice(rect.left() + rect.width(), scale) - 1,
                           toDevice(rect.top() + rect.height(), scale) - 1));
    if (!look.transparent)
        painter.fillRect(box, look.color);
    if (look.text.isEmpty())
        return;

    // Places in layout units; the glyphs at the device's size.
    TextMeasure &measure = TextMeasure::of(look.font);
    const QVector<TextTokens::Placed> placed
        = TextTokens::place(TextTokens::tokenize(look.text), spacingIn(look, rect.width()),
                            [&](const QString &ch) { return measure.width(ch); });
    const QFont font = ReportFont::scaled(look.font, scale);
    const QRawFont &raw = TextMeasure::of(font).rawFont();

    // One glyph run for everything the font has; what it lacks is drawn
    // as text, which falls back to another face.
    const double lineHeight = look.font.pixelSize() + look.leading;
    const double ascent = raw.ascent();
    QList<quint32> glyphs;
    QList<QPointF> positions;
    QList<QPair<QString, QPointF>> missing;
    bool overflows = false;
    for (const TextTokens::Placed &p : placed) {
        const double top = p.line * lineHeight;
        if (top >= rect.height())
            break;
        if (p.x + measure.width(p.character) > rect.width() || top + lineHeight > rect.height())
            overflows = true;
        if (p.x >= rect.width())
            continue;
        const QPointF at(box.left() + p.x * scale, box.top() + top * scale + ascent);
        const QList<quint32> g = raw.glyphIndexesForString(p.character);
        if (g.isEmpty() || g.contains(0u)) {
            missing.append({p.character, at});
            continue;
        }
        for (quint32 index : g) {
            glyphs.append(index);
            positions.append(at);
        }
    }

    painter.save();
    // What the font lacks comes from another face, whose accents may reach
    // above the line's top: it is held to the box as well.
    if (overflows || !missing.isEmpty())
        painter.setClipRect(box, Qt::IntersectClip);
    painter.setPen(look.fontColor);
    if (!glyphs.isEmpty()) {
        QGlyphRun run;
        run.setRawFont(raw);
        run.setGlyphIndexes(glyphs);
        run.setPositions(positions);
        painter.drawGlyphRun(QPointF(), run);
    }
    if (!missing.isEmpty()) {
        painter.setFont(font);
        for (const auto &m : missing)
            painter.drawText(m.second, m.first);
    }
    painter.restore();
}
