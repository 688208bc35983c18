#pragma once

#include <QString>

// Text that a user types for a stored value. Stored text is what Shift-JIS
// (CP932) can hold, within its column's width:
// - a character that has a CP932 twin is stored as that twin: the wave dash
//   that input methods type (U+301C) as the full-width tilde (U+FF5E), and
//   likewise U+2016, U+2212, U+00A2, U+00A3, U+00AC and U+2014;
// - any other character that CP932 lacks is refused;
// - a text column of width n takes at most n CP932 bytes (a full-width
//   character counts two), and a longer text is refused, never cut.
// The messages name the field by its caption.
namespace EntryText {

// The text with every character that has a CP932 twin replaced by it.
QString withCp932Twins(const QString &text);

// The first character (one code point) that CP932 cannot hold; empty when
// there is none.
QString firstForeignCharacter(const QString &text);

// The text to store: twins in place of their characters. Throws InputError
// when a character is left that CP932 cannot hold, or when the text takes
// more than maxBytes bytes (maxBytes 0: no limit).
QString checked(const QString &caption, const QString &text, int maxBytes = 0);

// "「設置場所」に Shift-JIS で表せない文字「😀」(U+1F600) があります"
QString foreignCharacterText(const QString &caption, const QString &character);
// "「Key」は半角32文字（全角16文字）までです"
QString tooLongText(const QString &caption, int maxBytes);

} // namespace EntryText
