#include "StoreRights.h"

#include "Schema.h"
#include "UDMdata.h"

#include <QSqlQuery>
#include <QStringList>

namespace StoreRights {

QString missingRights(TDMdata &dm)
{
    if (dm.engine() != Engine::PostgreSQL || dm.access() == StoreAccess::Reads)
        return QString();
    QStringList names;
    for (const TableDef &t : Schema::tables())
        names << t.name.toLower();
    const QString ours
        = QStringLiteral("FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace\n"
                         "WHERE c.relkind = 'r' AND n.nspname = current_schema()\n"
                         "  AND c.relname = ANY (string_to_array(:Names, ','))");
    QSqlQuery q = dm.exec(
        QStringLiteral("SELECT (SELECT string_agg(c.relname, ',') ") + ours
            + QStringLiteral("\n  AND NOT has_table_privilege(c.oid, 'SELECT, INSERT, UPDATE, "
                             "DELETE')),\n"
                             "(SELECT count(*) ")
            + ours
            + QStringLiteral("),\n"
                             "COALESCE(has_schema_privilege(current_schema(), 'CREATE'), false), "
                             "current_user"),
        {{QStringLiteral(":Names"), names.join(u',')}});
    if (!q.next())
        return QString();
    const QStringList lacking = q.value(0).toString().split(u',', Qt::SkipEmptyParts);
    const int present = q.value(1).toInt();
    const bool canCreate = q.value(2).toBool();
    const QString user = q.value(3).toString();
    q.finish();
    const QString database = dm.settings().database;
    if (!lacking.isEmpty()) {
        QStringList tables;
        for (const TableDef &t : Schema::tables()) {
            if (lacking.contains(t.name.toLower()))
                tables << t.name;
        }
        return QStringLiteral("ユーザー %1 には、データベース %2 のテーブルを読み書きする権限が"
                              "ありません（%3）。")
            .arg(user, database, tables.join(QStringLiteral("、")));
    }
    if (present < names.size() && !canCreate)
        return QStringLiteral(
                   "ユーザー %1 には、データベース %2 にテーブルを作る権限がありません。")
            .arg(user, database);
    return QString();
}

} // namespace StoreRights
