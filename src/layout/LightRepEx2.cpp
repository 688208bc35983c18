#include "LightRepEx2.h"

#include "LRPanel.h"
#include "LayoutUnits.h"
#include "ReportFont.h"
#include "TextTokens.h"

#include <QGlyphRun>
#include <QHash>
#include <QPainter>
#include <QRawFont>

using LayoutUnits::toDevice;

TLRVariableText::TLRVariableText(QObject *parent)
    : TCustomLRItem(parent), m_font(ReportFont::gothic(12))
{ }

QFont TLRVariableText::Font() const
{
    if (m_parentFont && panel())
        return panel()->Font();
    return m_font;
}

void TLRVariableText::setFont(const QFont &font)
{
    m_font = font;
    m_parentFont = false;
}

void TLRVariableText::draw(QPainter &painter, const QRect &rect, double scale, bool linesOnly)
{
    if (linesOnly)
        return;
    const QRect box(QPoint(toDevice(rect.left(), scale), toDevice(rect.top(), scale)),
                    QPoint(toDevice(rect.left() + rect.width(), scale) - 1,
                           toDevice(rect.top() + rect.height(), scale) - 1));
    if (!m_transparent)
        painter.fillRect(box, m_color);
    if (m_text.isEmpty())
        return;

    const QFont font = ReportFont::scaled(Font(), scale);
    const QRawFont raw = QRawFont::fromFont(font);
    QHash<QString, double> widths;
    const auto widthOf = [&](const QString &ch) {
        auto it = widths.constFind(ch);
        if (it != widths.constEnd())
            return *it;
        double width = 0;
        const QList<quint32> glyphs = raw.glyphIndexesForString(ch);
        for (const QPointF &advance : raw.advancesForGlyphIndexes(glyphs))
            width += advance.x();
        widths.insert(ch, width);
        return width;
    };

    TextTokens::Spacing spacing;
    spacing.width = box.width();
    spacing.charSpace = m_charSpace * scale;
    spacing.wordSpace = m_wordSpace * scale;
    spacing.wordWrap = m_wordWrap;
    const QVector<TextTokens::Placed> placed
        = TextTokens::place(TextTokens::tokenize(m_text), spacing, widthOf);

    // One glyph run for everything the font has; what it lacks is drawn
    // as text, which falls back to another face.
    const double lineHeight = font.pixelSize() + m_leading * scale;
    const double ascent = raw.ascent();
    QList<quint32> glyphs;
    QList<QPointF> positions;
    QList<QPair<QString, QPointF>> missing;
    bool overflows = false;
    for (const TextTokens::Placed &p : placed) {
        const double top = p.line * lineHeight;
        if (top >= box.height())
            break;
        const double w = widthOf(p.character);
        if (p.x + w > box.width() || top + lineHeight > box.height())
            overflows = true;
        if (p.x >= box.width())
            continue;
        const QPointF at(box.left() + p.x, box.top() + top + ascent);
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
    if (overflows)
        painter.setClipRect(box, Qt::IntersectClip);
    painter.setPen(m_fontColor);
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
