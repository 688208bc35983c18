#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// One collector file on disk: listing a folder's files, reading a file into
// lines, the header check and the rewrite of NUL bytes. No store, no
// windows. The file errors throw ImportError with a message that names the
// file.
namespace CollectorFile {

// The first line every collector file must have, exactly.
QString header();

// The names in the folder that match "*.csv" without regard to case:
// entries of every kind (hidden files, sub-folders, ...), sorted by name
// (code point order) so that every run takes them in the same order. An
// unreadable or missing folder gives no names.
QStringList list(const QString &folder);

// The text of the bytes (code page 932) split into lines at CR LF, LF or
// CR; a final line end adds no line. A NUL byte ends the text.
QStringList linesOf(const QByteArray &bytes);

// Whole-file access. Throw ImportError naming the file when it cannot be
// opened, read or written (a folder or a device that is not a plain file
// cannot be read either).
QByteArray readBytes(const QString &path);
void writeBytes(const QString &path, const QByteArray &bytes);

// Replaces every NUL byte by a blank; true when there was one.
bool replaceNulBytes(QByteArray &bytes);

} // namespace CollectorFile
