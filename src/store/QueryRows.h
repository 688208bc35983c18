#pragma once

#include <QStringList>
#include <QVariantList>
#include <QVector>

class QSqlQuery;

// The rows of a query read in full, so no statement stays open on the
// store: the column names as the store gives them, then the values.
struct QueryRows
{
    QStringList columns;
    QVector<QVariantList> rows;

    // Reads every row of an executed query and finishes it.
    static QueryRows read(QSqlQuery &query);
};
