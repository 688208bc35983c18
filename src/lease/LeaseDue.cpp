#include "LeaseDue.h"

#include "Amounts.h"
#include "store/Schema.h"
#include "store/StoreError.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QSqlQuery>

namespace LeaseDue {

namespace {

LeaseKey keyAt(const QSqlQuery &q)
{
    return {q.value(0).toString(), q.value(1).toString()};
}

} // namespace

QString markText(Mark mark)
{
    switch (mark) {
    case Mark::NearEnd:
        return QStringLiteral("期限間近");
    case Mark::Expired:
        return QStringLiteral("期限切れ");
    case Mark::None:
        break;
    }
    return QString();
}

Mark markOf(const QDate &end, bool namedByPcInService, const QDate &today, int withinDays)
{
    if (!end.isValid())
        return Mark::None;
    if (end < today)
        return namedByPcInService ? Mark::Expired : Mark::None;
    return end < today.addDays(withinDays) ? Mark::NearEnd : Mark::None;
}

QHash<LeaseKey, Figures> figures(TDMdata &dm, const QDate &today)
{
    QHash<LeaseKey, Figures> result;
    const ColumnDef &date
        = *Schema::table(TableId::LeaseMesai).column(QStringLiteral("SiharaiYMD"));
    // Added up here, each addition checked: the engine's SUM and a sum of
    // its sums would stop with its own text or turn negative.
    QSqlQuery due
        = dm.exec(QStringLiteral("SELECT lease, lease_No, kingaku, zei, hosyuryo\n"
                                 "FROM LeaseMesai\n"
                                 "WHERE SiharaiYMD >= :TODAY"),
                  {{QStringLiteral(":TODAY"), StoreValue::toStore(date, today, dm.engine())}});
    while (due.next()) {
        Figures &f = result[keyAt(due)];
        ++f.paymentsDue;
        std::optional<qint64> amount = f.amountDue;
        for (int column = 2; column <= 4; ++column)
            amount = Amounts::add(amount, Amounts::of(due.value(column)));
        if (!amount)
            throw StoreError(Amounts::overflowText());
        f.amountDue = *amount;
    }
    QSqlQuery pcs = dm.exec(QStringLiteral("SELECT lease, lease_No, COUNT(*)\n"
                                           "FROM LeasePC\n"
                                           "GROUP BY lease, lease_No"));
    while (pcs.next())
        result[keyAt(pcs)].coveredPcs = pcs.value(2).toInt();
    QSqlQuery inService
        = dm.exec(QStringLiteral("SELECT DISTINCT lease, lease_No\n"
                                 "FROM PC\n"
                                 "WHERE TekkyoYMD IS NULL\n"
                                 "  AND lease IS NOT NULL AND lease_No IS NOT NULL"));
    while (inService.next())
        result[keyAt(inService)].namedByPcInService = true;
    return result;
}

QVector<Row> rows(TDMdata &dm, const QDate &today, int withinDays)
{
    const QHash<LeaseKey, Figures> all = figures(dm, today);
    const ColumnDef &end = *Schema::table(TableId::Lease).column(QStringLiteral("kikan_end"));
    QSqlQuery q = dm.exec(QStringLiteral("SELECT lease, lease_No, kikan_end FROM Lease\n"
                                         "ORDER BY lease, lease_No"));
    QVector<Row> result;
    while (q.next()) {
        Row row;
        row.key = keyAt(q);
        row.end = StoreValue::fromStore(end, q.value(2)).toDate();
        row.figures = all.value(row.key);
        row.mark = markOf(row.end, row.figures.namedByPcInService, today, withinDays);
        result.append(row);
    }
    return result;
}

} // namespace LeaseDue
