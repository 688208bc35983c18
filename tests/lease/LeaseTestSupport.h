#pragma once

// Stores with PCs and contracts for the lease tests.

#include "TestStores.h"
#include "lease/LeaseContract.h"
#include "store/RecordCursor.h"
#include "store/UDMdata.h"

#include <QSqlQuery>
#include <QSqlRecord>
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

// The rows of a statement, one text per row with the cells joined by "|"
// (dates yyyy-MM-dd, time stamps yyyy-MM-dd hh:mm:ss on both engines).
inline QStringList rowsOf(TDMdata &dm, const QString &sql, const QVariantMap &params = {})
{
    QSqlQuery q = dm.exec(sql, params);
    QStringList rows;
    while (q.next()) {
        QStringList cells;
        for (int i = 0; i < q.record().count(); ++i) {
            const QVariant v = q.value(i);
            if (v.isNull())
                cells << QString();
            else if (v.typeId() == QMetaType::QDate)
                cells << v.toDate().toString(Qt::ISODate);
            else if (v.typeId() == QMetaType::QDateTime)
                cells << v.toDateTime().toString(QStringLiteral("yyyy-MM-dd hh:mm:ss"));
            else
                cells << v.toString();
        }
        rows << cells.join(u'|');
    }
    return rows;
}

// A contract with its schedule and covered PCs, written row by row.
inline void insertContract(TDMdata &dm, const LeaseKey &key, const QVariantMap &values = {},
                           const QVector<ScheduleRow> &schedule = {}, const QStringList &pcs = {})
{
    QVariantMap row = values;
    row.insert(QStringLiteral("lease"), key.lease);
    row.insert(QStringLiteral("lease_No"), key.leaseNo);
    insertRow(dm, TableId::Lease, row);
    for (const ScheduleRow &s : schedule)
        insertRow(dm, TableId::LeaseMesai,
                  {{QStringLiteral("lease"), key.lease},
                   {QStringLiteral("lease_No"), key.leaseNo},
                   {QStringLiteral("SiharaiYMD"), s.date},
                   {QStringLiteral("kingaku"), s.kingaku},
                   {QStringLiteral("zei"), s.zei},
                   {QStringLiteral("hosyuryo"), s.hosyuryo}});
    for (const QString &pc : pcs)
        insertRow(dm, TableId::LeasePC,
                  {{QStringLiteral("lease"), key.lease},
                   {QStringLiteral("lease_No"), key.leaseNo},
                   {QStringLiteral("PCKey"), pc}});
}
