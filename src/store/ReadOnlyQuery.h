#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVector>

class TDMdata;

// One SELECT run so that it cannot change the store: a single statement
// whose first word is SELECT, executed read-only (SQLite's query_only,
// PostgreSQL's read-only transaction), all rows read before it returns.
namespace ReadOnlyQuery {

struct Result
{
    QStringList columns;
    QVector<QVariantList> rows;
};

// The first word of the statement, upper-cased, after blanks and comments.
QString firstWord(const QString &sql);
// True when the text holds more than one statement (a semicolon followed by
// anything but blanks and comments, outside literals and comments).
bool hasSeveralStatements(const QString &sql);

// Throws StoreError with the store's text, or with "SQL文に誤りがあります"
// when the text is not one SELECT.
Result run(TDMdata &dm, const QString &sql);

} // namespace ReadOnlyQuery
