#include "LeaseReader.h"

#include "store/Schema.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QSqlQuery>
#include <QSqlRecord>

namespace LeaseReader {

namespace {

QVariantMap keyParams(const LeaseKey &key)
{
    return {{QStringLiteral(":LEASE"), StoreValue::text(key.lease)},
            {QStringLiteral(":LEASE_NO"), StoreValue::text(key.leaseNo)}};
}

// "SELECT * FROM <table>" for one contract, with its order line.
QString contractStatement(const QString &table, const QString &orderBy = QString())
{
    QString sql = QStringLiteral("SELECT * FROM %1\n"
                                 "WHERE LEASE = :LEASE\n"
                                 "  AND LEASE_NO = :LEASE_NO")
                      .arg(table);
    if (!orderBy.isEmpty())
        sql += QStringLiteral("\nORDER BY ") + orderBy;
    return sql;
}

QVariant stampOf(const QSqlRecord &record)
{
    const ColumnDef &column = *Schema::table(TableId::Lease).column(QStringLiteral("UpdateTime"));
    const int i = record.indexOf(QStringLiteral("UpdateTime"));
    return i < 0 ? QVariant() : StoreValue::fromStore(column, record.value(i));
}

} // namespace

QStringList distinctValues(TDMdata &dm, const QString &column)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT DISTINCT %1 FROM LEASE").arg(column));
    QStringList values;
    while (q.next()) {
        if (!q.isNull(0) && !q.value(0).toString().isEmpty())
            values << q.value(0).toString();
    }
    return values;
}

bool exists(TDMdata &dm, const LeaseKey &key)
{
    QSqlQuery q = dm.exec(contractStatement(QStringLiteral("LEASE")), keyParams(key));
    const bool found = q.next();
    q.finish();
    return found;
}

std::optional<LeaseContract::Texts> contract(TDMdata &dm, const LeaseKey &key, QVariant *stamp)
{
    QSqlQuery q = dm.exec(contractStatement(QStringLiteral("LEASE")), keyParams(key));
    if (!q.next())
        return std::nullopt;
    const QSqlRecord record = q.record();
    const LeaseContract::Texts texts = LeaseContract::textsOf(record);
    if (stamp)
        *stamp = stampOf(record);
    q.finish();
    return texts;
}

std::optional<QVariant> stamp(TDMdata &dm, const LeaseKey &key)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT UpdateTime FROM LEASE\n"
                                         "WHERE LEASE = :LEASE\n"
                                         "  AND LEASE_NO = :LEASE_NO"),
                          keyParams(key));
    if (!q.next())
        return std::nullopt;
    const QVariant value = stampOf(q.record());
    q.finish();
    return value;
}

QVector<ScheduleRow> schedule(TDMdata &dm, const LeaseKey &key)
{
    const TableDef &table = Schema::table(TableId::LeaseMesai);
    QSqlQuery q
        = dm.exec(contractStatement(QStringLiteral("LEASEMESAI"), QStringLiteral("SiharaiYMD")),
                  keyParams(key));
    const QSqlRecord record = q.record();
    const auto column = [&](const char *name) { return record.indexOf(QLatin1String(name)); };
    const int date = column("SiharaiYMD"), kingaku = column("kingaku"), zei = column("zei"),
              hosyuryo = column("hosyuryo");
    const auto value = [&](int i, const char *name) {
        return StoreValue::fromStore(*table.column(QLatin1String(name)), q.value(i));
    };
    QVector<ScheduleRow> rows;
    while (q.next()) {
        rows.append({value(date, "SiharaiYMD").toDate(), value(kingaku, "kingaku"),
                     value(zei, "zei"), value(hosyuryo, "hosyuryo")});
    }
    return rows;
}

QStringList coveredPcs(TDMdata &dm, const LeaseKey &key)
{
    QSqlQuery q = dm.exec(contractStatement(QStringLiteral("LEASEPC"), QStringLiteral("PCKey")),
                          keyParams(key));
    const int pcKey = q.record().indexOf(QStringLiteral("PCKey"));
    QStringList keys;
    while (q.next())
        keys << q.value(pcKey).toString();
    return keys;
}

std::optional<QString> pcName(TDMdata &dm, const QString &pcKey)
{
    QSqlQuery q = dm.exec(QStringLiteral("SELECT PC_Name FROM PC\nWHERE KEY = :KEY"),
                          {{QStringLiteral(":KEY"), StoreValue::text(pcKey)}});
    if (!q.next())
        return std::nullopt;
    const QString name = q.value(0).toString();
    q.finish();
    return name;
}

} // namespace LeaseReader
