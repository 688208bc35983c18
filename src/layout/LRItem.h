#pragma once

#include "LRComponent.h"

#include <QColor>
#include <QFont>
#include <QString>

class QPainter;
class TCustomLRPanel;
class TLightRep;

enum class TLineStyle { lsNone, lsSingle, lsHalf, lsDouble };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };

// The base of items: placed on a panel (anything else is refused with
// LayoutError), 65 × 17 units unless sized, with a drawing operation that
// draws the item within a rectangle (layout units) at a scale, or only its
// border lines.
class TCustomLRItem : public TLRComponent
{
    Q_OBJECT

public:
    explicit TCustomLRItem(QObject *parent);

    TCustomLRPanel *panel() const;
    TLightRep *LightRep() const;

    virtual void draw(QPainter &painter, const QRect &rect, double scale, bool linesOnly) = 0;
};

// A text in a box: alignment and layout inside inner margins, an optional
// display mask, a background colour unless transparent, and a border line
// of its own style on each side.
class TLRItem : public TCustomLRItem
{
    Q_OBJECT

public:
    explicit TLRItem(QObject *parent);

    QString Text() const { return m_text; }
    void setText(const QString &text);

    TAlignment Alignment() const { return m_alignment; }
    void setAlignment(TAlignment alignment) { m_alignment = alignment; }
    TTextLayout Layout() const { return m_layout; }
    void setLayout(TTextLayout layout) { m_layout = layout; }
    int HMargin() const { return m_hMargin; }
    void setHMargin(int units) { m_hMargin = units; }
    int VMargin() const { return m_vMargin; }
    void setVMargin(int units) { m_vMargin = units; }
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wrap) { m_wordWrap = wrap; }
    QString DisplayMask() const { return m_displayMask; }
    void setDisplayMask(const QString &mask) { m_displayMask = mask; }

    // The font in layout units: the panel's while ParentFont is set.
    // Setting a font clears ParentFont.
    QFont Font() const;
    void setFont(const QFont &font);
    bool ParentFont() const { return m_parentFont; }
    void setParentFont(bool parentFont) { m_parentFont = parentFont; }
    QColor FontColor() const { return m_fontColor; }
    void setFontColor(const QColor &color) { m_fontColor = color; }

    QColor Color() const { return m_color; }
    void setColor(const QColor &color) { m_color = color; }
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool transparent) { m_transparent = transparent; }
    QColor LineColor() const { return m_lineColor; }
    void setLineColor(const QColor &color) { m_lineColor = color; }
    TLineStyle LineTop() const { return m_lineTop; }
    TLineStyle LineLeft() const { return m_lineLeft; }
    TLineStyle LineRight() const { return m_lineRight; }
    TLineStyle LineBottom() const { return m_lineBottom; }
    void setLines(TLineStyle top, TLineStyle left, TLineStyle right, TLineStyle bottom);

    // The text as drawn: masked when a mask is set and the text is not
    // empty.
    QString displayedText() const;

    void draw(QPainter &painter, const QRect &rect, double scale, bool linesOnly) override;

    // The pen width of a line style at a scale (0: the device's thinnest).
    static int lineWidth(TLineStyle style, double scale);
    // Draws the four border lines of rect (layout units) at a scale.
    static void drawLines(QPainter &painter, const QRect &rect, double scale, const QColor &color,
                          TLineStyle top, TLineStyle left, TLineStyle right, TLineStyle bottom);

private:
    QString m_text;
    TAlignment m_alignment = TAlignment::taLeftJustify;
    TTextLayout m_layout = TTextLayout::tlTop;
    int m_hMargin = 2;
    int m_vMargin = 2;
    bool m_wordWrap = false;
    QString m_displayMask;
    QFont m_font;
    bool m_parentFont = true;
    QColor m_fontColor = Qt::black;
    QColor m_color = Qt::white;
    bool m_transparent = true;
    QColor m_lineColor = Qt::black;
    TLineStyle m_lineTop = TLineStyle::lsNone;
    TLineStyle m_lineLeft = TLineStyle::lsNone;
    TLineStyle m_lineRight = TLineStyle::lsNone;
    TLineStyle m_lineBottom = TLineStyle::lsNone;
};
