#include "PcDeletion.h"

#include "store/HistoryRecorder.h"
#include "store/PcClaims.h"
#include "store/StoreTransaction.h"
#include "store/UDMdata.h"

#include <QSqlQuery>
#include <vector>

namespace PcDeletion {

QString confirmationText(const QStringList &keys)
{
    const QString lineBreak = QStringLiteral("\n\r");
    QString text = keys.value(0);
    if (keys.size() >= 2)
        text += QStringLiteral("、") + lineBreak + QStringLiteral("他")
            + QString::number(keys.size() - 1) + QStringLiteral("台");
    return text + QStringLiteral("に関する情報をすべて削除します。") + lineBreak
        + QStringLiteral("よろしいですか？");
}

QStringList statements()
{
    QStringList result;
    for (const char *table : {"DRIVE", "PRINTER", "APPLI", "LAN", "SHARE", "PMEMORY", "PC"})
        result.append(QStringLiteral("DELETE FROM ") + QLatin1String(table)
                      + QStringLiteral("\nWHERE KEY = :KEY"));
    return result;
}

namespace {

const char *const DetailTables[] = {"DRIVE", "PRINTER", "APPLI", "LAN", "SHARE", "PMEMORY"};

} // namespace

RelatedRows relatedRows(TDMdata &dm, const QString &key)
{
    // Each count has a parameter of its own: not every driver takes one
    // name twice.
    QStringList counts;
    QVariantMap params;
    for (const char *table : DetailTables) {
        const QString name = QStringLiteral(":KEY%1").arg(params.size());
        counts << QStringLiteral("(SELECT COUNT(*) FROM %1 WHERE KEY = %2)")
                      .arg(QLatin1String(table), name);
        params.insert(name, key);
    }
    params.insert(QStringLiteral(":LEASEKEY"), key);
    QSqlQuery q = dm.exec(QStringLiteral("SELECT %1,\n(SELECT COUNT(*) FROM LEASEPC WHERE "
                                         "PCKEY = :LEASEKEY)")
                              .arg(counts.join(QStringLiteral(" + "))),
                          params);
    RelatedRows rows;
    if (q.next()) {
        rows.details = q.value(0).toInt();
        rows.leases = q.value(1).toInt();
    }
    q.finish();
    return rows;
}

QStringList relatedStatements()
{
    QStringList result;
    for (const char *table : DetailTables)
        result.append(QStringLiteral("DELETE FROM ") + QLatin1String(table)
                      + QStringLiteral("\nWHERE KEY = :KEY"));
    result.append(QStringLiteral("DELETE FROM LEASEPC\nWHERE PCKEY = :KEY"));
    return result;
}

QString confirmationText(const QString &key, const RelatedRows &rows)
{
    const QString lineBreak = QStringLiteral("\n\r");
    return key + QStringLiteral("に関する情報をすべて削除します。") + lineBreak
        + QStringLiteral("明細 %1 行とリースの対象PC %2 行も削除されます。")
              .arg(rows.details)
              .arg(rows.leases)
        + lineBreak + QStringLiteral("よろしいですか？");
}

void deletePcs(TDMdata &dm, const QStringList &keys)
{
    // The statements outlive the transaction: PostgreSQL frees them only
    // once a failed transaction is rolled back.
    std::vector<QSqlQuery> queries;
    // A PC that another copy is editing is not deleted: it is waited for
    // before the transaction, and checked again inside it.
    for (const QString &key : keys)
        PcClaims::waitWhileClaimed(dm, key);
    for (const QString &statement : statements())
        queries.push_back(dm.prepare(statement));
    // A deleted PC is one line of the history, its detail rows none.
    HistoryRecorder history(dm, History::deleting());
    StoreTransaction transaction(dm);
    for (const QString &key : keys) {
        PcClaims::ensureFree(dm, key);
        for (QSqlQuery &query : queries) {
            query.bindValue(QStringLiteral(":KEY"), key);
            TDMdata::exec(query);
        }
        // The last statement deletes the PC row itself.
        if (queries.back().numRowsAffected() > 0)
            history.pcRemoved(key);
    }
    transaction.commit();
}

} // namespace PcDeletion
