#pragma once

#include "store/StoreError.h"
#include "store/UDMdata.h"

#include <QSqlQuery>
#include <QStringList>

// The history's lines in the order written, each as operation, key, table,
// row, column, old and new value joined by "|".
inline QStringList historyLines(TDMdata &dm)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT Operation, Key, TableName, RowName, ColumnName, "
                                         "OldValue, NewValue FROM History ORDER BY Id"));
    QStringList out;
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < 7; ++i)
            cells << q.value(i).toString();
        out << cells.join(QLatin1Char('|'));
    }
    q.finish();
    return out;
}
