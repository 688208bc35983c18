#pragma once

#include <QByteArray>
#include <QString>

// Shift-JIS (code page 932) text as the system stores and exchanges it.
// Widths of text columns and of the collector's fields count these bytes.
// A character the code page lacks is written as "?" and counts one byte;
// bytes that are no valid CP932 decode to U+001A, and a lead byte left
// without its second byte at the end is dropped.
namespace Cp932 {

QByteArray encode(const QString &text);
QString decode(const QByteArray &bytes);

// True when the text reads back unchanged from its CP932 bytes: every
// character has a code, and one that decodes to itself.
bool roundTrips(const QString &text);

// Number of CP932 bytes the text takes.
int byteLength(const QString &text);

// The longest head of the text that fits in maxBytes CP932 bytes, never
// ending in the first half of a double-byte character.
QString truncate(const QString &text, int maxBytes);

// Files the system writes in CP932 where it can. A text that CP932 cannot
// carry is written as UTF-8 behind a byte order mark instead, so that it
// reads back unchanged; reading tells the two by that mark.
QByteArray utf8Mark();
QByteArray encodeFile(const QString &text);
QString decodeFile(const QByteArray &bytes);

} // namespace Cp932
