#pragma once

#include "store/StoreError.h"
#include "store/TableCheckObserver.h"
#include "store/UDMdata.h"

#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTest>
#include <QVariant>

// Records what the table check reports.
class RecordingObserver : public TableCheckObserver
{
public:
    void status(const QString &text) override { statuses << text; }
    void ip16BackfillNeeded(int count) override { backfillCounts << count; }

    QStringList statuses;
    QList<int> backfillCounts;
};

// Reads one value from the store.
inline QVariant scalar(TDMdata &dm, const QString &sql, const QVariantMap &params = {})
{
    QSqlQuery q = dm.exec(sql, params);
    const QVariant v = q.next() ? q.value(0) : QVariant();
    q.finish();
    return v;
}

// The declared width of a text column as the store reports it (SQLite:
// from the declared type; PostgreSQL: character_maximum_length).
inline int declaredWidth(TDMdata &dm, const QString &table, const QString &column)
{
    if (dm.engine() == Engine::PostgreSQL)
        return scalar(
                   dm,
                   QStringLiteral("SELECT character_maximum_length FROM information_schema.columns "
                                  "WHERE table_name = :t AND column_name = :c"),
                   {{QStringLiteral(":t"), table.toLower()},
                    {QStringLiteral(":c"), column.toLower()}})
            .toInt();
    QSqlQuery q(dm.database());
    q.exec(QStringLiteral("PRAGMA table_info(%1)").arg(table));
    while (q.next()) {
        if (q.value(1).toString().compare(column, Qt::CaseInsensitive) == 0) {
            const QString type = q.value(2).toString();
            const int open = type.indexOf(QLatin1Char('('));
            return type.mid(open + 1, type.indexOf(QLatin1Char(')')) - open - 1).toInt();
        }
    }
    return -1;
}
