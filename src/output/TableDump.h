#pragma once

#include "CsvExport.h"

class TDMdata;

// Table dumps: a whole table as a text file that reads back unchanged.
//
// A dump is written like the CSV export (CP932, CR LF after every line, a
// header of the column names, one line per row in primary-key order,
// numbers bare, dates "yyyy/mm/dd" and texts in double quotes) with two
// differences that let every value come back: a timestamp keeps its time
// of day, "yyyy/mm/dd hh:mm:ss.zzz" on a 12-hour clock followed by "午前"
// or "午後"; and a double quote inside a text is doubled, so that commas,
// line breaks and quotes stay inside their field. DumpReader reads it, as
// well as dumps whose texts stand without quotes.
namespace TableDump {

// One field of a row (a value as the store or FieldText::parse gives it).
QString field(const CsvExport::Column &column, const QVariant &value);

// Writes the rows that pages gives. A text with a character that CP932
// cannot hold stops the writing with an error naming its row and column,
// as the file could not give it back.
CsvExport::Result write(const QString &path, const TableDef &table,
                        const QVector<CsvExport::Column> &columns,
                        const CsvExport::PageSource &pages);
// Writes the table as the store holds it.
CsvExport::Result write(TDMdata &dm, TableId table, const QString &path);

struct RestoreResult
{
    bool ok = false;
    int rows = 0; // rows read into the table
    QString error; // with the line and column of the first bad value
};

// Replaces the table's rows by the dump's in one transaction: any fault of
// the file or the store leaves the table as it was.
RestoreResult restore(TDMdata &dm, TableId table, const QString &path);

} // namespace TableDump
