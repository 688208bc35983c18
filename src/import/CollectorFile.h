#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// One collector file on disk: listing a folder's files, reading a file into
// lines, the header check and the rewrite of NUL bytes. No store, no
// windows. Files are named by the bytes of their names, so a name that is
// no UTF-8 (CP932 names copied from a Windows share) is listed and read
// like any other; it is shown decoded as CP932. The file errors throw
// ImportError with a message that names the file.
namespace CollectorFile {

// The first line every collector file must have, exactly.
QString header();

struct Entry
{
    QByteArray path; // the folder's path and the name, as the system has them
    QString name; // the name as shown: UTF-8, or CP932 when it is no UTF-8
    QString shownPath; // the folder and the name as shown
};

// The entries of the folder whose names end in ".csv" without regard to
// case: every kind (hidden files, sub-folders, ...), sorted by the bytes of
// their names so that every run takes them in the same order. Throws
// ImportError naming the folder and the reason when it is missing, no
// folder, or cannot be read.
QVector<Entry> list(const QString &folder);

// The text of the bytes (code page 932) split into lines at CR LF, LF or
// CR; a final line end adds no line. A NUL byte ends the text.
QStringList linesOf(const QByteArray &bytes);

// What a file held when it was read, to tell whether it changed since.
struct Stamp
{
    qint64 size = -1;
    qint64 modifiedNs = 0;
    quint64 inode = 0;
    bool operator==(const Stamp &) const = default;
};

// Whole-file access. Throw ImportError naming the file when it cannot be
// opened or read (a folder or a device that is not a plain file cannot be
// read either).
QByteArray readBytes(const Entry &file, Stamp *stamp = nullptr);

// What became of the NUL bytes of a file on disk.
enum class NulRewrite {
    Done, // blanks stand in their place
    FileChanged, // left as it is: it changed since it was read
    NotPossible, // left as it is: no lease here (a network file system, a
                 // file of another owner) or no right to write it
};

// Writes a blank over every NUL byte of the file, in place, when no other
// program has it open and it still is as it was read (bytes, stamp). A
// write lease is taken first: the system grants it only while no one else
// has the file open, and any program that opens the file meanwhile waits
// until the blanks are written, so nothing its collector writes can be
// lost. Where the file is left as it is, the caller imports the cleaned
// text from memory. Throws ImportError naming the file when another program
// has it open (the collector still writing it) or when writing fails.
NulRewrite blankNulBytes(const Entry &file, const Stamp &stamp, const QByteArray &bytes);

// Replaces every NUL byte by a blank; true when there was one.
bool replaceNulBytes(QByteArray &bytes);

} // namespace CollectorFile
