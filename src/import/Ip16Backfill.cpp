#include "Ip16Backfill.h"

#include "base/TextHelpers.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"
#include "store/Upgrades.h"

#include <QStringList>

namespace Ip16Backfill {

int countMissing(TDMdata &dm)
{
    return CountPcsWithoutIp16(dm);
}

int run(TDMdata &dm, const std::function<void(int)> &progress)
{
    // Read the rows first: no statement stays open while rows are written.
    QSqlQuery q = dm.exec(QStringLiteral("SELECT KEY, IP FROM PC\n"
                                         "WHERE IP <> ''\n"
                                         "AND COALESCE(IP16, '') = ''\n"
                                         "ORDER BY KEY"));
    QVector<QPair<QString, QString>> rows;
    while (q.next())
        rows.append({q.value(0).toString(), q.value(1).toString()});
    q.finish();

    QSqlQuery update = dm.prepare(QStringLiteral("UPDATE PC SET IP16 = :IP16 WHERE KEY = :KEY"));
    int count = 0;
    for (const auto &[key, ip] : rows) {
        update.bindValue(QStringLiteral(":IP16"), StoreValue::text(IPToIP16(ip)));
        update.bindValue(QStringLiteral(":KEY"), key);
        TDMdata::exec(update);
        ++count;
        if (progress)
            progress(count);
    }
    return count;
}

} // namespace Ip16Backfill
