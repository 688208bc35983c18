#include "QueryRows.h"

#include <QSqlQuery>
#include <QSqlRecord>

QueryRows QueryRows::read(QSqlQuery &query)
{
    QueryRows result;
    const QSqlRecord record = query.record();
    for (int f = 0; f < record.count(); ++f)
        result.columns << record.fieldName(f);
    while (query.next()) {
        QVariantList row;
        row.reserve(record.count());
        for (int f = 0; f < record.count(); ++f)
            row << query.value(f);
        result.rows << row;
    }
    query.finish();
    return result;
}
