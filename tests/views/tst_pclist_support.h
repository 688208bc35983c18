#pragma once

// Stores with PCs and detail rows for the PC list tests.

#include "TestStores.h"
#include "store/RecordCursor.h"
#include "store/UDMdata.h"

#include <QSqlQuery>
#include <QVariantMap>

// Appends one row through the table object (values converted as the
// program stores them).
inline void insertRow(TDMdata &dm, TableId table, const QVariantMap &values)
{
    RecordCursor &cursor = dm.table(table);
    cursor.append();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        cursor.setValue(it.key(), it.value());
    cursor.post();
}

inline void insertPc(TDMdata &dm, const QString &key, QVariantMap values = {})
{
    values.insert(QStringLiteral("Key"), key);
    insertRow(dm, TableId::PC, values);
}

inline int countRows(TDMdata &dm, const QString &table, const QString &keyColumn,
                     const QString &key)
{
    QSqlQuery q
        = dm.exec(QStringLiteral("SELECT COUNT(*) FROM %1 WHERE %2 = :K").arg(table, keyColumn),
                  {{QStringLiteral(":K"), key}});
    const int n = q.next() ? q.value(0).toInt() : -1;
    q.finish();
    return n;
}
