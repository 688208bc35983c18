#pragma once

#include "export/CsvExport.h"
#include "store/Schema.h"

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>

// Reads a table dump: CP932 text (or UTF-8 behind a byte order mark); a first line with the names
// of the table's columns; then one line per row, fields separated by commas. A field may stand in
// double quotes, inside which commas and line breaks belong to the value and a doubled quote is one
// quote; a field without quotes is taken as it stands. Lines end in CR LF or LF; blank lines are
// skipped. Values are read by FieldText::parse.
//
// The header must name every column of the table once (in any order and
// spelling of case) and nothing else; every row must have as many fields
// as the header, fitting values, its required columns set and a key of its
// own. The first fault stops the reading; the error tells its line and,
// for a value, its column.
class DumpReader
{
public:
    struct Error
    {
        int line = 0; // line of the file, from 1; 0 for the file as a whole
        int column = 0; // field of the line, from 1; 0 when the line is at fault
        QString columnName;
        QString reason;

        // "3 行目 6 列目 (Mem_All): 整数ではありません: x", "1 行目: ファイルが空です"
        QString text() const;
    };

    // Takes a row, its values in the table's column order and typed after
    // the columns, with the line it starts on; false with a reason when it
    // cannot take it (the reading then stops there).
    using RowSink = std::function<bool(const QVariantList &row, int line, QString &reason)>;

    // columns: the table's columns as the store has them (CsvExport::columns).
    DumpReader(const TableDef &table, const QVector<CsvExport::Column> &columns);

    // Reads the file's bytes; false with error() at the first fault.
    bool read(const QByteArray &bytes, const RowSink &sink);

    // The bytes of a regular file; false with the reason when it cannot be
    // read or is no regular file (a folder, a device, a pipe).
    static bool fileBytes(const QString &path, QByteArray &bytes, QString &error);

    Error error() const { return m_error; }
    // Rows handed to the sink.
    int rows() const { return m_rows; }

private:
    bool fail(int line, int column, const QString &reason);
    bool readHeader(const QStringList &names, int line, QVector<int> &target);

    const TableDef &m_table;
    QVector<CsvExport::Column> m_columns;
    QVector<ColumnDef> m_defs;
    QVector<int> m_keyColumns;
    QStringList m_headerNames;
    Error m_error;
    int m_rows = 0;
};
