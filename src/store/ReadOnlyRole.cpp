#include "ReadOnlyRole.h"

#include "Schema.h"
#include "StoreError.h"
#include "StoreTransaction.h"
#include "UDMdata.h"

#include <QSqlError>
#include <QSqlQuery>
#include <functional>

namespace ReadOnlyRole {

namespace {

// The cursor both functions work on; the query's connection is its own.
// Their names carry the version of their bodies: a new body gets new names.
const QString OpenFunction = QStringLiteral("orvane_query_open(text)");
const QString FetchFunction = QStringLiteral("orvane_query_fetch(integer,bigint,bigint[])");

const QString OpenBody = QStringLiteral(R"(CREATE FUNCTION orvane_query_open(statement text)
RETURNS void LANGUAGE plpgsql SECURITY DEFINER AS $orvane$
DECLARE
    c refcursor := 'orvane_query';
BEGIN
    OPEN c NO SCROLL FOR EXECUTE statement;
END
$orvane$)");

const QString FetchBody = QStringLiteral(R"(CREATE FUNCTION orvane_query_fetch(
    max_rows integer, max_bytes bigint, value_limits bigint[])
RETURNS SETOF text LANGUAGE plpgsql SECURITY DEFINER AS $orvane$
DECLARE
    c refcursor := 'orvane_query';
    r text[];
    i integer;
    done integer := 0;
    total bigint := 0;
BEGIN
    WHILE done < max_rows AND total < max_bytes LOOP
        FETCH c INTO r;
        EXIT WHEN NOT FOUND;
        FOR i IN 1 .. coalesce(array_length(r, 1), 0) LOOP
            IF octet_length(r[i]) > value_limits[i] THEN
                RAISE EXCEPTION 'value too large' USING ERRCODE = 'OR001';
            END IF;
            total := total + coalesce(octet_length(r[i]), 0);
            RETURN NEXT r[i];
        END LOOP;
        done := done + 1;
    END LOOP;
END
$orvane$)");

QString quotedName(const QString &name)
{
    return u'"' + QString(name).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

void run(QSqlDatabase &db, const QString &sql, const QVariantMap &params = {})
{
    QSqlQuery q(db);
    const bool ok = params.isEmpty() ? q.exec(sql) : [&] {
        if (!q.prepare(sql))
            return false;
        for (auto it = params.cbegin(); it != params.cend(); ++it)
            q.bindValue(it.key(), it.value());
        return q.exec();
    }();
    if (!ok)
        throw StoreError(q.lastError());
}

QVariant scalar(QSqlDatabase &db, const QString &sql, const QVariantMap &params = {})
{
    QSqlQuery q(db);
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw StoreError(q.lastError());
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        q.bindValue(it.key(), it.value());
    if (!q.exec())
        throw StoreError(q.lastError());
    return q.next() ? q.value(0) : QVariant();
}

// One part of the set-up in a step of its own: a part the login may not
// do is undone alone and the table check goes on; false then.
bool step(TDMdata &dm, const std::function<void()> &part)
{
    StoreSavepoint savepoint(dm);
    try {
        part();
    } catch (const StoreError &) {
        return false; // the savepoint undoes the part
    }
    savepoint.release();
    return true;
}

} // namespace

QString roleName(const QString &database)
{
    // The server cuts longer names at 63 bytes, between characters.
    QString name = QStringLiteral("orvane_read_") + database;
    while (name.toUtf8().size() > 63)
        name.chop(name.size() >= 2 && name.at(name.size() - 1).isLowSurrogate() ? 2 : 1);
    return name;
}

void install(TDMdata &dm)
{
    QSqlDatabase db = dm.database();
    const QString role
        = roleName(scalar(db, QStringLiteral("SELECT current_database()")).toString());
    const QString quoted = quotedName(role);
    const QVariantMap roleParam {{QStringLiteral(":role"), role}};
    const bool exists
        = scalar(db, QStringLiteral("SELECT count(*) FROM pg_roles WHERE rolname = :role"),
                 roleParam)
              .toInt()
        > 0;
    if (!exists
        && !step(dm, [&] { run(db, QStringLiteral("CREATE ROLE %1 NOLOGIN").arg(quoted)); }))
        return;

    QStringList tables;
    for (const TableDef &t : Schema::tables())
        tables << dm.dialect().identifier(t.name).toLower();
    if (!step(dm, [&] {
            run(db, QStringLiteral("GRANT SELECT ON %1 TO %2").arg(tables.join(u','), quoted));
        }))
        return;

    const bool installed
        = scalar(db,
                 QStringLiteral(
                     "SELECT count(*) FROM pg_proc p JOIN pg_roles r ON r.oid = p.proowner\n"
                     "WHERE r.rolname = :role AND p.prosecdef\n"
                     "  AND p.oid IN (to_regprocedure(:open), to_regprocedure(:fetch))"),
                 {{QStringLiteral(":role"), role},
                  {QStringLiteral(":open"), OpenFunction},
                  {QStringLiteral(":fetch"), FetchFunction}})
              .toInt()
        == 2;
    if (installed)
        return;
    step(dm, [&] {
        // Making the role the functions' owner takes the login's membership
        // in the role (kept, so that a later check can replace them) and the
        // role's right to create in the schema (taken back at once). Only
        // the login that installs them may call them.
        const QString schema
            = quotedName(scalar(db, QStringLiteral("SELECT current_schema()")).toString());
        run(db, QStringLiteral("GRANT %1 TO CURRENT_USER").arg(quoted));
        run(db, QStringLiteral("GRANT CREATE ON SCHEMA %1 TO %2").arg(schema, quoted));
        for (const QString &function : {OpenFunction, FetchFunction})
            run(db, QStringLiteral("DROP FUNCTION IF EXISTS %1").arg(function));
        run(db, OpenBody);
        run(db, FetchBody);
        for (const QString &function : {OpenFunction, FetchFunction}) {
            run(db, QStringLiteral("ALTER FUNCTION %1 OWNER TO %2").arg(function, quoted));
            run(db, QStringLiteral("REVOKE ALL ON FUNCTION %1 FROM PUBLIC").arg(function));
            run(db, QStringLiteral("GRANT EXECUTE ON FUNCTION %1 TO CURRENT_USER").arg(function));
        }
        run(db, QStringLiteral("REVOKE CREATE ON SCHEMA %1 FROM %2").arg(schema, quoted));
    });
}

QString probeStatement()
{
    // Installed: the role with its two functions, which the login may call.
    // Harmless: the role may write nowhere (no superuser or replication
    // rights, no dblink function it may call, no foreign data it may
    // reach).
    return QStringLiteral(
        "SELECT r.oid IS NOT NULL AND o.oid IS NOT NULL AND f.oid IS NOT NULL\n"
        "       AND o.proowner = r.oid AND f.proowner = r.oid AND o.prosecdef AND f.prosecdef\n"
        "       AND has_function_privilege(o.oid, 'EXECUTE')\n"
        "       AND has_function_privilege(f.oid, 'EXECUTE'),\n"
        "       r.oid IS NOT NULL\n"
        "       AND NOT r.rolsuper AND NOT r.rolreplication AND NOT r.rolbypassrls\n"
        "       AND NOT EXISTS (SELECT 1 FROM pg_depend d JOIN pg_extension e ON e.oid = "
        "d.refobjid\n"
        "                       WHERE d.refclassid = 'pg_extension'::regclass\n"
        "                         AND d.classid = 'pg_proc'::regclass AND e.extname = 'dblink'\n"
        "                         AND has_function_privilege(r.oid, d.objid, 'EXECUTE'))\n"
        "       AND NOT EXISTS (SELECT 1 FROM pg_foreign_data_wrapper w\n"
        "                       WHERE has_foreign_data_wrapper_privilege(r.oid, w.oid, 'USAGE'))\n"
        "       AND NOT EXISTS (SELECT 1 FROM pg_foreign_server s\n"
        "                       WHERE has_server_privilege(r.oid, s.oid, 'USAGE'))\n"
        "       AND NOT EXISTS (SELECT 1 FROM pg_foreign_table t\n"
        "                       WHERE has_table_privilege(r.oid, t.ftrelid, 'SELECT')),\n"
        "       (SELECT rolsuper OR rolreplication FROM pg_roles WHERE rolname = session_user),\n"
        "       EXISTS (SELECT 1 FROM pg_extension WHERE extname IN ('dblink', 'postgres_fdw'))\n"
        "FROM (SELECT 1) AS one\n"
        "LEFT JOIN pg_roles r ON r.rolname = $1\n"
        "LEFT JOIN pg_proc o ON o.oid = to_regprocedure('orvane_query_open(text)')\n"
        "LEFT JOIN pg_proc f ON f.oid = "
        "to_regprocedure('orvane_query_fetch(integer,bigint,bigint[])')");
}

QString openStatement()
{
    return QStringLiteral("SELECT orvane_query_open($1)");
}

QString fetchStatement()
{
    return QStringLiteral("SELECT v FROM orvane_query_fetch($1, $2, $3::bigint[]) AS v");
}

QByteArray valueTooLargeState()
{
    return QByteArrayLiteral("OR001");
}

QString wrapped(const QString &statement, int columns)
{
    // The statement stands alone on its lines, so that a comment at its end
    // cannot swallow what follows.
    QStringList values;
    QStringList names;
    for (int i = 1; i <= columns; ++i) {
        values << QStringLiteral("q.c%1::text").arg(i);
        names << QStringLiteral("c%1").arg(i);
    }
    return QStringLiteral("SELECT ARRAY[%1]::text[] FROM (\n%2\n) AS q(%3)")
        .arg(values.join(u','), statement, names.join(u','));
}

QString refusalText(const Probe &probe, const QString &role)
{
    QString text = QStringLiteral("このデータベースでは SQL を読み取り専用で実行できることを"
                                  "確かめられないため、実行しません。");
    if (probe.installed) {
        text += QStringLiteral("\n読み取り専用ロール %1 が、dblink の関数または外部データを"
                               "使えます (README の「サーバーの準備」を参照してください)。")
                    .arg(role);
        return text;
    }
    if (probe.privilegedLogin)
        text += QStringLiteral("\nログインユーザがスーパーユーザまたはレプリケーションの権限を"
                               "持っています。");
    if (probe.linksInstalled)
        text += QStringLiteral("\nデータベースに dblink または postgres_fdw 拡張があります。");
    text += QStringLiteral("\n読み取り専用ロール %1 は、ロールを作成できるログインで"
                           "テーブルのチェック (Orvane の起動、orvanectl check) を行うと"
                           "作られます (README の「サーバーの準備」を参照してください)。")
                .arg(role);
    return text;
}

} // namespace ReadOnlyRole
