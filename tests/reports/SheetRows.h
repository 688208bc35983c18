#pragma once

#include "store/RecordCursor.h"
#include "store/UDMdata.h"

#include <QVariantMap>

// Rows for the sheet tests, written through the table objects.
namespace SheetRows {

inline void add(TDMdata &dm, TableId table, const QVariantMap &values)
{
    RecordCursor &cursor = dm.table(table);
    cursor.append();
    for (auto it = values.cbegin(); it != values.cend(); ++it)
        cursor.setValue(it.key(), it.value());
    cursor.post();
}

// A PC with count applications "APP001"...
inline void addPc(TDMdata &dm, const QString &key, int applis)
{
    add(dm, TableId::PC, {{QStringLiteral("Key"), key}});
    for (int i = 1; i <= applis; ++i)
        add(dm, TableId::Appli,
            {{QStringLiteral("Key"), key},
             {QStringLiteral("Appli"), QStringLiteral("APP%1").arg(i, 3, 10, QLatin1Char('0'))}});
}

} // namespace SheetRows
