#pragma once

#include <QString>

// The display masks of boxed items: a number format for texts that hold a
// number, an edit mask for other texts.
namespace DisplayMask {

// True for a non-empty text made of '+', '-', '.' and digits only.
bool looksNumeric(const QString &text);

// A number in a number format: '0' a digit always shown, '#' a digit shown
// when significant, '.' the decimal point, ',' in the integer part asks for
// thousands separators, "..." or '...' literal text, other characters
// literal. Up to three sections separated by ';' format positive, negative
// (without its sign) and zero values; an empty section falls back to the
// first. Rounds halves away from zero. "#,#" gives "1,234" and nothing for
// 0.
QString formatNumber(double value, const QString &mask);

// A text laid into an edit mask "mask;keepsLiterals;blank": the
// placeholders L l A a C c 0 9 # take the text's characters in turn (a
// missing one shows as a blank), '\' makes the next character literal, '>'
// and '<' turn the following characters to upper or lower case ("<>" ends
// that), '!' is ignored, any other character is literal. When the second
// field is not 0 the text holds the literals too and they are skipped in it.
QString formatText(const QString &text, const QString &mask);

// What an item shows for its text under a mask: the text unchanged when
// the mask or the text is empty, else formatNumber for a numeric text and
// formatText for any other.
QString apply(const QString &text, const QString &mask);

} // namespace DisplayMask
