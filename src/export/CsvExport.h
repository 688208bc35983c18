#pragma once

#include "store/Schema.h"

#include <QMetaType>
#include <QString>
#include <QVariant>
#include <QVector>
#include <functional>

class TDMdata;

// Writes a whole table of the store as a comma-separated file for
// spreadsheets (not for re-import): CP932 text, CR LF after every line, a
// header of the column names, then one line per row in primary-key order.
// A table holding a text that CP932 cannot carry is written as UTF-8
// behind a byte order mark instead, so that nothing is lost.
//
// Numbers are written bare (NULL as an empty field), timestamps as their
// date "yyyy/mm/dd" in double quotes, everything else (text, dates in the
// short date form, memos) in double quotes; nothing inside a value is
// escaped, so a line break in a memo continues the record on the next line.
//
// The rows are read in pages of separate statements, so no statement stays
// open on the store while the file is written. An error stops the export;
// the lines written before it stay in the file.
class CsvExport
{
public:
    // How a column's values are written.
    enum class FieldKind { Number, Timestamp, Date, Text };

    struct Column
    {
        QString name; // the header text
        FieldKind kind = FieldKind::Text;
        const ColumnDef *def = nullptr; // null for a column the catalog lacks
    };

    struct Result
    {
        bool ok = false;
        QString error; // the file's or the store's error text
        qint64 rows = 0; // rows written
    };

    // One field of a row as it stands in the file (before encoding).
    using FieldFormat = std::function<QString(const Column &column, const QVariant &value)>;
    // Fills page with the next rows (values in column order); an empty page
    // ends the rows. False, with error set, when the rows cannot be read.
    using PageSource = std::function<bool(QVector<QVariantList> &page, QString &error)>;
    // A page source that starts from the first row.
    using PageSourceMaker = std::function<PageSource()>;

    static constexpr int DefaultPageRows = 2000;

    CsvExport(TDMdata &dm, TableId table);

    // Rows per statement; the default suits every table.
    void setPageRows(int rows) { m_pageRows = rows > 0 ? rows : DefaultPageRows; }

    // True when the store is connected and the table exists.
    bool isAvailable() const;

    // Creates (or overwrites) the file and writes the whole table.
    Result writeFile(const QString &path);

    // The table's columns in the store's order. The names are the catalog's
    // spelling for the columns it knows (matched without regard to case, as
    // PostgreSQL reports them in lower case), else the store's.
    QVector<Column> columns() const;

    // The table's rows in primary-key order, a page at a time, each page
    // read by a statement of its own. Valid while the store stays open.
    PageSource storePages(const QVector<Column> &columns) const;

    // One field of a row as it stands in the file (before encoding).
    static QString field(const Column &column, const QVariant &value);

    // A column of the catalog as the export writes it.
    static Column column(const ColumnDef &def);
    // The catalog's definition of a column; for a column the catalog lacks,
    // a memo text of that name.
    static ColumnDef definition(const Column &column);

    // Creates (or overwrites) the file with the header of the columns'
    // names and a line per row that the page source gives, its fields
    // formatted by format. The file takes the name only when it is complete.
    // It is CP932, or UTF-8 behind a byte order mark when a text needs it
    // (the rows are then read once more from a new page source).
    static Result writeRows(const QString &path, const QVector<Column> &columns,
                            const PageSourceMaker &pages, const FieldFormat &format);

private:
    TDMdata &m_dm;
    const TableDef &m_table;
    int m_pageRows = DefaultPageRows;
};
