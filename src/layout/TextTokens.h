#pragma once

#include <QString>
#include <QVector>
#include <functional>

// The tokens of a flowing text and their places on lines. A token is what
// may not be split across lines:
//  - a run of single-byte characters up to and including a blank (the
//    blank ends the token and is not drawn), a line break (CR LF, or a lone
//    CR or LF), or the next double-byte character;
//  - one double-byte character with any "。" or "、" that follow it, so
//    that these never start a line.
// Single-byte means one byte in the Shift-JIS code page: ASCII and
// half-width katakana.
namespace TextTokens {

struct Token
{
    enum class End { Plain, Blank, LineBreak };
    QString chars; // the characters drawn, without the blank or line break
    End end = End::Plain;

    bool operator==(const Token &other) const { return chars == other.chars && end == other.end; }
};

bool isDoubleByte(char32_t code);

QVector<Token> tokenize(const QString &text);

// The characters of a token one by one (a surrogate pair stays one).
QStringList characters(const QString &chars);

struct Placed
{
    QString character;
    double x = 0; // from the left edge of the text's box
    int line = 0;
};

struct Spacing
{
    double width = 0; // of the box
    double charSpace = 0; // after each character
    double wordSpace = 5; // after a token that ends in a blank
    bool wordWrap = true;
};

using WidthOf = std::function<double(const QString &)>;

// Places the tokens from the top-left of the box: a token that does not
// fit before the right edge starts a new line unless the pen is at the
// left edge; after a line break a new line starts unless the pen is at the
// left edge, so a break at the start of a line gives no empty line (a line
// holding a blank does). A blank is not placed: its token advances by
// wordSpace instead of its last charSpace. A token wider than the whole
// box is broken between its characters, so nothing runs off the right.
QVector<Placed> place(const QVector<Token> &tokens, const Spacing &spacing, const WidthOf &widthOf);

// The text of each line that place() makes of a text, with the blanks
// that fall on it and without line breaks: each drawn on its own from the
// left edge is that one line again. A text that draws nothing (empty, or
// line breaks only) has no lines.
QStringList wrapLines(const QString &text, const Spacing &spacing, const WidthOf &widthOf);

} // namespace TextTokens
