#include "HistoryReader.h"

#include "History.h"
#include "StoreTransaction.h"
#include "StoreValue.h"
#include "UDMdata.h"

#include <QHash>
#include <QStringList>
#include <QVariantMap>

namespace {

const ColumnDef &column(const char *name)
{
    return *Schema::historyTable().column(QLatin1String(name));
}

// The first moment of a day as the store compares it with At.
QVariant dayStart(TDMdata &dm, const QDate &day)
{
    return StoreValue::toStore(column("At"), day.startOfDay(), dm.engine());
}

QString text(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

} // namespace

namespace HistoryReader {

bool available(TDMdata &dm)
{
    return dm.tableExists(Schema::historyTable().name);
}

QVector<HistoryLine> read(TDMdata &dm, const HistoryFilter &filter)
{
    if (!available(dm))
        return {};
    QString sql = QStringLiteral("SELECT H.Id, H.At, H.Operation, H.Who, H.Key, H.TableName, "
                                 "H.RowName, H.ColumnName, H.OldValue, H.NewValue\n"
                                 "FROM History H");
    QStringList where;
    QVariantMap params;
    if (!filter.department.isEmpty()) {
        sql += QStringLiteral(", PC P");
        where << QStringLiteral("P.Key = H.Key") << QStringLiteral("P.Bu = :Bu");
        params.insert(QStringLiteral(":Bu"), filter.department);
    }
    if (!filter.key.isEmpty()) {
        where << QStringLiteral("H.Key = :Key");
        params.insert(QStringLiteral(":Key"),
                      StoreValue::toStore(column("Key"), filter.key, dm.engine()));
    }
    if (filter.since.isValid()) {
        where << QStringLiteral("H.At >= :Since");
        params.insert(QStringLiteral(":Since"), dayStart(dm, filter.since));
    }
    if (filter.until.isValid()) {
        where << QStringLiteral("H.At < :Until");
        params.insert(QStringLiteral(":Until"), dayStart(dm, filter.until.addDays(1)));
    }
    if (!filter.table.isEmpty()) {
        where << QStringLiteral("H.TableName = :TableName");
        params.insert(QStringLiteral(":TableName"), filter.table);
    }
    if (!filter.operation.isEmpty()) {
        where << QStringLiteral("H.Operation = :Operation");
        params.insert(QStringLiteral(":Operation"), filter.operation);
    }
    if (!where.isEmpty())
        sql += QStringLiteral("\nWHERE ") + where.join(QStringLiteral("\nAND "));
    sql += filter.newestFirst ? QStringLiteral("\nORDER BY H.At DESC, H.Id DESC")
                              : QStringLiteral("\nORDER BY H.At, H.Id");

    QSqlQuery q = dm.exec(sql, params);
    const ColumnDef &at = column("At");
    QVector<HistoryLine> lines;
    while (q.next()) {
        HistoryLine line;
        line.id = q.value(0).toLongLong();
        line.at = StoreValue::fromStore(at, q.value(1)).toDateTime();
        line.operation = text(q.value(2));
        line.who = text(q.value(3));
        line.key = text(q.value(4));
        line.table = text(q.value(5));
        line.rowName = text(q.value(6));
        line.column = text(q.value(7));
        line.oldValue = text(q.value(8));
        line.newValue = text(q.value(9));
        lines.append(line);
    }
    q.finish();
    return lines;
}

QSet<QString> handEnteredColumns(TDMdata &dm, const QString &key)
{
    if (!available(dm))
        return {};
    QSqlQuery q
        = dm.exec(QStringLiteral("SELECT ColumnName, Operation FROM History\n"
                                 "WHERE Key = :Key AND TableName = :TableName\n"
                                 "ORDER BY At, Id"),
                  {{QStringLiteral(":Key"), StoreValue::toStore(column("Key"), key, dm.engine())},
                   {QStringLiteral(":TableName"), Schema::table(TableId::PC).name}});
    QHash<QString, QString> last; // operation by column
    while (q.next()) {
        const QString name = text(q.value(0));
        if (!name.isEmpty())
            last.insert(name, text(q.value(1)));
    }
    q.finish();
    QSet<QString> hand;
    for (auto it = last.cbegin(); it != last.cend(); ++it) {
        if (it.value() == History::manual())
            hand.insert(it.key());
    }
    return hand;
}

int pruneBefore(TDMdata &dm, const QDate &day)
{
    if (!available(dm))
        return 0;
    StoreTransaction transaction(dm);
    QSqlQuery q = dm.exec(QStringLiteral("DELETE FROM History WHERE At < :Day"),
                          {{QStringLiteral(":Day"), dayStart(dm, day)}});
    const int deleted = q.numRowsAffected();
    transaction.commit();
    return deleted;
}

} // namespace HistoryReader
