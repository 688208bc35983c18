#include "LeaseDataCreation.h"

#include "store/Schema.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QDateTime>
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

Result run(TDMdata &dm)
{
    Result result;
    const auto text = [](const QString &value) { return StoreValue::text(value); };

    const QVector<QStringList> contracts = readAll(
        dm, QStringLiteral("SELECT DISTINCT LEASE, LEASE_NO FROM PC\n") + NamesAContract, 2);
    QSqlQuery findLease = dm.prepare(QStringLiteral("SELECT * FROM LEASE\n"
                                                    "WHERE LEASE = :LEASE\n"
                                                    "AND   LEASE_NO = :LEASE_NO"));
    QSqlQuery insertLease = dm.prepare(QStringLiteral("INSERT INTO LEASE(LEASE, LEASE_NO)\n"
                                                      "VALUES(:LEASE, :LEASE_NO)"));
    for (const QStringList &c : contracts) {
        for (QSqlQuery *q : {&findLease, &insertLease}) {
            q->bindValue(QStringLiteral(":LEASE"), text(c[0]));
            q->bindValue(QStringLiteral(":LEASE_NO"), text(c[1]));
        }
        if (found(findLease))
            continue;
        TDMdata::exec(insertLease);
        ++result.contractsAdded;
    }

    const QVector<QStringList> pcs
        = readAll(dm,
                  QStringLiteral("SELECT LEASE, LEASE_NO, KEY FROM PC\n") + NamesAContract
                      + QStringLiteral("\nORDER BY LEASE, LEASE_NO, KEY"),
                  3);
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
    for (const QStringList &pc : pcs) {
        const QVariant now = StoreValue::toStore(stamp, QDateTime::currentDateTime(), dm.engine());
        for (QSqlQuery *q : {&findPc, &insertPc, &stampPc}) {
            q->bindValue(QStringLiteral(":LEASE"), text(pc[0]));
            q->bindValue(QStringLiteral(":LEASE_NO"), text(pc[1]));
            q->bindValue(QStringLiteral(":PCKey"), text(pc[2]));
        }
        const bool exists = found(findPc);
        QSqlQuery &write = exists ? stampPc : insertPc;
        write.bindValue(QStringLiteral(":UPDATETIME"), now);
        TDMdata::exec(write);
        ++(exists ? result.pcsStamped : result.pcsAdded);
    }
    return result;
}

} // namespace LeaseDataCreation
