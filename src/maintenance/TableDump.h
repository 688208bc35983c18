#pragma once

#include "export/CsvExport.h"

class TDMdata;

// Table dumps: a whole table as a text file that reads back unchanged.
//
// A dump is written like the CSV export (CP932, or UTF-8 behind a byte
// order mark when a text needs it; CR LF after every line, a header of the
// column names, one line per row in primary-key order, numbers bare, dates
// "yyyy/mm/dd" and texts in double quotes) with two differences that let
// every value come back: a timestamp keeps its time of day, "yyyy/mm/dd
// hh:mm:ss.zzz" on a 12-hour clock followed by "午前" or "午後"; and a
// double quote inside a text is doubled, so that commas, line breaks and
// quotes stay inside their field. DumpReader reads it, as well as dumps
// whose texts stand without quotes.
namespace TableDump {

// One field of a row (a value as the store or FieldText::parse gives it).
QString field(const CsvExport::Column &column, const QVariant &value);

// Writes the rows that the page source gives.
CsvExport::Result write(const QString &path, const QVector<CsvExport::Column> &columns,
                        const CsvExport::PageSourceMaker &pages);
// Writes the table as the store holds it.
CsvExport::Result write(TDMdata &dm, TableId table, const QString &path);

// The distinct PC keys of a table of PC rows (Schema::holdsPcRows). Throws
// StoreError.
QStringList pcKeys(TDMdata &dm, TableId table);

// Whether a dump of fileRows rows, in place of tableRows rows, shrinks the
// table enough to ask first: no row at all, or less than half.
bool shrinks(qint64 fileRows, qint64 tableRows);
// The question asked then.
QString shrinkQuestion(qint64 fileRows, qint64 tableRows);

struct RestoreResult
{
    bool ok = false;
    int rows = 0; // rows read into the table
    qint64 tableRows = 0; // rows the table had
    bool shrinkRefused = false; // not restored: the file has too few rows
    QString error; // with the line and column of the first bad value
};

enum class Shrink { Refuse, Allow };

// Replaces the table's rows by the dump's in one transaction: any fault of
// the file or the store leaves the table as it was. Only a regular file is
// read. A dump that shrinks the table (shrinks()) is refused unless
// allowed. For a table of PC rows, a PC that another copy holds stops the
// restore (ClaimError's text).
RestoreResult restore(TDMdata &dm, TableId table, const QString &path,
                      Shrink shrink = Shrink::Refuse);

} // namespace TableDump
