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

} // namespace Cp932
