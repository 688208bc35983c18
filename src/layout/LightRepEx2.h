#pragma once

#include "LRItem.h"

// A flowing multi-line text in a box: tokens placed from the top-left (see
// TextTokens), lines one character height (the font's size) plus Leading
// apart, everything outside the box cut off.
class TLRVariableText : public TCustomLRItem
{
    Q_OBJECT

public:
    explicit TLRVariableText(QObject *parent);

    QString Text() const { return m_text; }
    void setText(const QString &text) { m_text = text; }
    bool WordWrap() const { return m_wordWrap; }
    void setWordWrap(bool wrap) { m_wordWrap = wrap; }
    int CharSpace() const { return m_charSpace; }
    void setCharSpace(int units) { m_charSpace = units; }
    int WordSpace() const { return m_wordSpace; }
    void setWordSpace(int units) { m_wordSpace = units; }
    int Leading() const { return m_leading; }
    void setLeading(int units) { m_leading = units; }
    bool Transparent() const { return m_transparent; }
    void setTransparent(bool transparent) { m_transparent = transparent; }
    QColor Color() const { return m_color; }
    void setColor(const QColor &color) { m_color = color; }

    // The font in layout units: the panel's while ParentFont is set.
    QFont Font() const;
    void setFont(const QFont &font);
    bool ParentFont() const { return m_parentFont; }
    void setParentFont(bool parentFont) { m_parentFont = parentFont; }
    QColor FontColor() const { return m_fontColor; }
    void setFontColor(const QColor &color) { m_fontColor = color; }

    void draw(QPainter &painter, const QRect &rect, double scale, bool linesOnly) override;

private:
    QString m_text;
    bool m_wordWrap = true;
    int m_charSpace = 0;
    int m_wordSpace = 5;
    int m_leading = 0;
    bool m_transparent = true;
    QColor m_color = Qt::white;
    QFont m_font;
    bool m_parentFont = true;
    QColor m_fontColor = Qt::black;
};
