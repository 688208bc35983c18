#pragma once

#include "LRComponent.h"

#include <QColor>
#include <QFont>
#include <QString>

class PageDrawing;
class QPainter;
class TCustomLRPanel;
class TLightRep;

enum class TLineStyle { lsNone, lsSingle, lsHalf, lsDouble };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TTextLayout { tlTop, tlCenter, tlBottom };

// The base of items: placed on a panel (anything else is refused with
// LayoutError), 65 × 17 units unless sized. An item is drawn by recording
// how it looks within a rectangle (layout units) into the drawing of a
// page, which is then painted at a scale; draw() does both at once.
class TCustomLRItem : public TLRComponent
{
    Q_OBJECT

public:
    explicit TCustomLRItem(QObject *parent);

    TCustomLRPanel *panel() const;
    TLightRep *LightRep() const;

    // Adds the item as it looks now, within rect, to a page's drawing; only
    // its border lines when linesOnly.
    virtual void record(PageDrawing &drawing, const QRect &rect, bool linesOnly) const = 0;
    // Draws the item within rect at a scale (device pixels per unit).
    void draw(QPainter &painter, const QRect &rect, double scale, bool linesOnly) const;
};

// A text in a box: alignment and layout inside inner margins, an optional
// display mask, a background colour unless transparent, and a border line
// of its own style on each side.
//
// A single-line text too wide for its box keeps its start: with
// ShrinkToFit it is drawn smaller to fit, down to MinShrink of its size;
// below that, or without ShrinkToFit, it is left-aligned and cut after the
// last whole character that fits.
class TLRItem : public TCustomLRItem
{
    Q_OBJECT

public:
    // Everything that decides how a boxed text is drawn; the text as shown
    // and the font in layout units.
    struct Look
    {
        QString text;
        QFont font;
        TAlignment alignment = TAlignment::taLeftJustify;
        TTextLayout layout = TTextLayout::tlTop;
        int hMargin = 2;
        int vMargin = 2;
        bool wordWrap = false;
        bool shrinkToFit = false;
        QColor fontColor = Qt::black;
        QColor color = Qt::white;
        bool transparent = true;
        QColor lineColor = Qt::black;
        TLineStyle lineTop = TLineStyle::lsNone;
        TLineStyle lineLeft = TLineStyle::lsNone;
        TLineStyle lineRight = TLineStyle::lsNone;
        TLineStyle lineBottom = TLineStyle::lsNone;
    };

    static constexpr double MinShrink = 0.7;

    explicit TLRItem(QObject *parent);

    QString Text() const { return m_text; }
    void setText(const QString &text);

    TAlignment Alignment() const { return m_look.alignment; }
    void setAlignment(TAlignment alignment) { m_look.alignment = alignment; }
    TTextLayout Layout() const { return m_look.layout; }
    void setLayout(TTextLayout layout) { m_look.layout = layout; }
    int HMargin() const { return m_look.hMargin; }
    void setHMargin(int units) { m_look.hMargin = units; }
    int VMargin() const { return m_look.vMargin; }
    void setVMargin(int units) { m_look.vMargin = units; }
    bool WordWrap() const { return m_look.wordWrap; }
    void setWordWrap(bool wrap) { m_look.wordWrap = wrap; }
    bool ShrinkToFit() const { return m_look.shrinkToFit; }
    void setShrinkToFit(bool shrink) { m_look.shrinkToFit = shrink; }
    QString DisplayMask() const { return m_displayMask; }
    void setDisplayMask(const QString &mask) { m_displayMask = mask; }

    // The font in layout units: the panel's while ParentFont is set.
    // Setting a font clears ParentFont.
    QFont Font() const;
    void setFont(const QFont &font);
    bool ParentFont() const { return m_parentFont; }
    void setParentFont(bool parentFont) { m_parentFont = parentFont; }
    QColor FontColor() const { return m_look.fontColor; }
    void setFontColor(const QColor &color) { m_look.fontColor = color; }

    QColor Color() const { return m_look.color; }
    void setColor(const QColor &color) { m_look.color = color; }
    bool Transparent() const { return m_look.transparent; }
    void setTransparent(bool transparent) { m_look.transparent = transparent; }
    QColor LineColor() const { return m_look.lineColor; }
    void setLineColor(const QColor &color) { m_look.lineColor = color; }
    TLineStyle LineTop() const { return m_look.lineTop; }
    TLineStyle LineLeft() const { return m_look.lineLeft; }
    TLineStyle LineRight() const { return m_look.lineRight; }
    TLineStyle LineBottom() const { return m_look.lineBottom; }
    void setLines(TLineStyle top, TLineStyle left, TLineStyle right, TLineStyle bottom);

    // The text as drawn: masked when a mask is set and the text is not
    // empty.
    QString displayedText() const;
    // How the item looks now.
    Look look() const;

    void record(PageDrawing &drawing, const QRect &rect, bool linesOnly) const override;

    // Draws a boxed text within rect (layout units) at a scale.
    static void paint(QPainter &painter, const Look &look, const QRect &rect, double scale,
                      bool linesOnly);
    // The pen width of a line style at a scale (0: the device's thinnest).
    static int lineWidth(TLineStyle style, double scale);
    // Draws the four border lines of rect (layout units) at a scale.
    static void drawLines(QPainter &painter, const QRect &rect, double scale, const QColor &color,
                          TLineStyle top, TLineStyle left, TLineStyle right, TLineStyle bottom);

private:
    QString m_text;
    QString m_displayMask;
    Look m_look;
    bool m_parentFont = true;
};
