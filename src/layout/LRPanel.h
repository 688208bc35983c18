#pragma once

#include "LRComponent.h"

#include <QFont>
#include <functional>

class PageDrawing;
class TLightRep;

// The base of panels: a font for its items, and a drawing operation that
// draws the panel within a rectangle (layout units) into the drawing of a
// page; the base draws nothing.
class TCustomLRPanel : public TLRComponent
{
    Q_OBJECT

public:
    explicit TCustomLRPanel(QObject *parent);

    // The page the panel lies on, through its parents; null when none.
    TLightRep *LightRep() const;

    // The font in layout units: the parent panel's while ParentFont is set
    // (and there is one), else the panel's own (by default the 12-unit
    // report gothic). Setting a font clears ParentFont.
    QFont Font() const;
    void setFont(const QFont &font);
    bool ParentFont() const { return m_parentFont; }
    void setParentFont(bool parentFont) { m_parentFont = parentFont; }

    virtual void draw(PageDrawing &drawing, const QRect &rect);

private:
    QFont m_font;
    bool m_parentFont = false;
};

// A panel that groups items and child panels and tells its report when it
// is drawn: BeforePrint may skip the panel, AfterPrint follows the drawing.
class TLRLayoutPanel : public TCustomLRPanel
{
    Q_OBJECT

public:
    enum class PrintStatus { Normal, Skip };

    // On a page or on another layout panel only; anything else is refused
    // with LayoutError.
    explicit TLRLayoutPanel(QObject *parent);

    TLRAlign LRAlign() const { return align(); }
    void setLRAlign(TLRAlign align) { setAlign(align); }

    std::function<void(TLRLayoutPanel *sender, const QRect &rect, PrintStatus &status)> BeforePrint;
    std::function<void(TLRLayoutPanel *sender)> AfterPrint;

    void draw(PageDrawing &drawing, const QRect &rect) override;
};
