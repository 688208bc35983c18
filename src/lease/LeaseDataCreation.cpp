#include "LeaseDataCreation.h"

#include "store/PcClaims.h"
#include "store/Schema.h"
#include "store/StoreTransaction.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QDateTime>
#include <QHash>
#include <QSqlQuery>
#include <QVector>

namespace LeaseDataCreation {

namespace {

// PCs whose lease company and contract number both hold a value; an empty
// text counts as no value.
const QString NamesAContract
    = QStringLiteral("WHERE (COALESCE(LEASE, '') <> '') AND (COALESCE(LEASE_NO, '') <> '')");

QVector<QStringList> readAll(TDMdata &dm, const QString &sql, int columns)
{
    QSqlQuery q = dm.exec(sql);
    QVector<QStringList> rows;
    while (q.next()) {
        QStringList row;
        for (int i = 0; i < columns; ++i)
            row << q.value(i).toString();
        rows.append(row);
    }
    return rows;
}

bool found(QSqlQuery &query)
{
    TDMdata::exec(query);
    const bool any = query.next();
    query.finish();
    return any;
}

} // namespace

QString claimedText(const QStringList &contracts, bool othersWritten)
{
    QString text = PcClaims::claimedText(contracts.join(QStringLiteral("、")));
    if (othersWritten)
        text += QStringLiteral("\n他の契約のリース情報は作成されました。");
    return text;
}

Result run(TDMdata &dm)
{
    Result result;
    const auto text = [](const QString &value) { return StoreValue::text(value); };

    const QVector<QStringList> contracts = readAll(
        dm, QStringLiteral("SELECT DISTINCT LEASE, LEASE_NO FROM PC\n") + NamesAContract, 2);
    const QVector<QStringList> pcs
        = readAll(dm,
                  QStringLiteral("SELECT LEASE, LEASE_NO, KEY FROM PC\n") + NamesAContract
                      + QStringLiteral("\nORDER BY LEASE, LEASE_NO, KEY"),
                  3);
    QSqlQuery findLease = dm.prepare(QStringLiteral("SELECT * FROM LEASE\n"
                                                    "WHERE LEASE = :LEASE\n"
                                                    "AND   LEASE_NO = :LEASE_NO"));
    QSqlQuery insertLease = dm.prepare(QStringLiteral("INSERT INTO LEASE(LEASE, LEASE_NO)\n"
                                                      "VALUES(:LEASE, :LEASE_NO)"));
    const QString pcCondition = QStringLiteral("WHERE LEASE = :LEASE\n"
                                               "AND   LEASE_NO = :LEASE_NO\n"
                                               "AND   PCKey = :PCKey");
    QSqlQuery findPc = dm.prepare(QStringLiteral("SELECT * FROM LeasePC\n") + pcCondition);
    QSqlQuery insertPc
        = dm.prepare(QStringLiteral("INSERT INTO LEASEPC(LEASE, LEASE_NO, PCKey, UPDATETIME)\n"
                                    "VALUES(:LEASE, :LEASE_NO, :PCKey, :UPDATETIME)"));
    QSqlQuery stampPc = dm.prepare(QStringLiteral("UPDATE LEASEPC\nSET UPDATETIME = :UPDATETIME\n")
                                   + pcCondition);
    const ColumnDef &stamp = *Schema::table(TableId::LeasePC).column(QStringLiteral("UpdateTime"));
    // The PCs of each contract, in the order of the PC statement.
    QHash<QPair<QString, QString>, QStringList> pcsOf;
    for (const QStringList &pc : pcs)
        pcsOf[{pc[0], pc[1]}].append(pc[2]);

    for (const QStringList &c : contracts) {
        const ClaimSubject subject = ClaimSubject::lease(c[0], c[1]);
        Result added;
        try {
            PcClaims::waitWhileClaimed(dm, subject);
            StoreTransaction transaction(dm);
            PcClaims::ensureFree(dm, subject);
            for (QSqlQuery *q : {&findLease, &insertLease}) {
                q->bindValue(QStringLiteral(":LEASE"), text(c[0]));
                q->bindValue(QStringLiteral(":LEASE_NO"), text(c[1]));
            }
            if (!found(findLease)) {
                TDMdata::exec(insertLease);
                ++added.contractsAdded;
            }
            for (const QString &pcKey : pcsOf.value({c[0], c[1]})) {
                const QVariant now
                    = StoreValue::toStore(stamp, QDateTime::currentDateTime(), dm.engine());
                for (QSqlQuery *q : {&findPc, &insertPc, &stampPc}) {
                    q->bindValue(QStringLiteral(":LEASE"), text(c[0]));
                    q->bindValue(QStringLiteral(":LEASE_NO"), text(c[1]));
                    q->bindValue(QStringLiteral(":PCKey"), text(pcKey));
                }
                const bool exists = found(findPc);
                QSqlQuery &write = exists ? stampPc : insertPc;
                write.bindValue(QStringLiteral(":UPDATETIME"), now);
                TDMdata::exec(write);
                ++(exists ? added.pcsStamped : added.pcsAdded);
            }
            transaction.commit();
        } catch (const ClaimError &) {
            result.claimed.append(subject.text());
            continue;
        }
        result.contractsAdded += added.contractsAdded;
        result.pcsAdded += added.pcsAdded;
        result.pcsStamped += added.pcsStamped;
    }
    return result;
}

} // namespace LeaseDataCreation
