#pragma once

#include "LRItem.h"

#include <QStringList>

// A flowing multi-line text in a box: tokens placed from the top-left (see
// TextTokens), lines one character height (the font's size) plus Leading
// apart, everything outside the box cut off. Places are measured in layout
// units, so the lines break at the same places on every device.
class TLRVariableText : public TCustomLRItem
{
    Q_OBJECT

public:
    // Everything that decides how a flowing text is drawn; the font in
    // layout units.
    struct Look
    {
        QString text;
        QFont font;
        bool wordWrap = true;
        int charSpace = 0;
        int wordSpace = 5;
        int leading = 0;
        bool transparent = true;
        QColor color = Qt::white;
        QColor fontColor = Qt::black;
    };

    explicit TLRVariableText(QObject *parent);

    QString Text() const { return m_look.text; }
    void setText(const QString &text) { m_look.text = text; }
    bool WordWrap() const { return m_look.wordWrap; }
    void setWordWrap(bool wrap) { m_look.wordWrap = wrap; }
    int CharSpace() const { return m_look.charSpace; }
    void setCharSpace(int units) { m_look.charSpace = units; }
    int WordSpace() const { return m_look.wordSpace; }
    void setWordSpace(int units) { m_look.wordSpace = units; }
    int Leading() const { return m_look.leading; }
    void setLeading(int units) { m_look.leading = units; }
    bool Transparent() const { return m_look.transparent; }
    void setTransparent(bool transparent) { m_look.transparent = transparent; }
    QColor Color() const { return m_look.color; }
    void setColor(const QColor &color) { m_look.color = color; }

    // The font in layout units: the panel's while ParentFont is set.
    QFont Font() const;
    void setFont(const QFont &font);
    bool ParentFont() const { return m_parentFont; }
    void setParentFont(bool parentFont) { m_parentFont = parentFont; }
    QColor FontColor() const { return m_look.fontColor; }
    void setFontColor(const QColor &color) { m_look.fontColor = color; }

    // How the item looks now.
    Look look() const;
    // The lines a text makes in this box (see TextTokens::wrapLines), each
    // with the blanks that fall on it: a text of no line breaks set as the
    // item's text, from the box's left edge, draws exactly these lines.
    QStringList wrapLines(const QString &text) const;

    void record(PageDrawing &drawing, const QRect &rect, bool linesOnly) const override;

    // Draws a flowing text within rect (layout units) at a scale.
    static void paint(QPainter &painter, const Look &look, const QRect &rect, double scale);

private:
    Look m_look;
    bool m_parentFont = true;
};
