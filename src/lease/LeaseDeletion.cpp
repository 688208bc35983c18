#include "LeaseDeletion.h"

#include "store/PcClaims.h"
#include "store/StoreTransaction.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <deque>

namespace LeaseDeletion {

QString confirmationText(const LeaseKey &key)
{
    const QString lineBreak = QStringLiteral("\n\r");
    return key.lease + QLatin1Char('(') + key.leaseNo + QLatin1Char(')') + lineBreak
        + QStringLiteral("に関する情報をすべて削除します。") + lineBreak
        + QStringLiteral("よろしいですか？");
}

QStringList statements()
{
    QStringList result;
    for (const char *table : {"LEASEPC", "LEASEMESAI", "LEASE"})
        result.append(QStringLiteral("DELETE FROM ") + QLatin1String(table)
                      + QStringLiteral("\nWHERE LEASE = :LEASE\n  AND LEASE_NO = :LEASE_NO"));
    return result;
}

void deleteLease(TDMdata &dm, const LeaseKey &key)
{
    // The statements outlive the transaction: PostgreSQL frees them only
    // once a failed transaction is rolled back.
    std::deque<QSqlQuery> queries;
    const ClaimSubject contract = ClaimSubject::lease(key.lease, key.leaseNo);
    PcClaims::waitWhileClaimed(dm, contract);
    StoreTransaction transaction(dm);
    PcClaims::ensureFree(dm, contract);
    for (const QString &statement : statements()) {
        QSqlQuery &query = queries.emplace_back(dm.prepare(statement));
        query.bindValue(QStringLiteral(":LEASE"), StoreValue::text(key.lease));
        query.bindValue(QStringLiteral(":LEASE_NO"), StoreValue::text(key.leaseNo));
        TDMdata::exec(query);
    }
    transaction.commit();
}

} // namespace LeaseDeletion
