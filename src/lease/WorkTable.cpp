#include "WorkTable.h"

#include "store/StoreError.h"
#include "store/UDMdata.h"

#include <QDate>
#include <QSqlError>

namespace WorkTable {

void recreate(TDMdata &dm, const QString &name, const QString &columns)
{
    exec(dm, QStringLiteral("DROP TABLE IF EXISTS \"%1\"").arg(name));
    exec(dm, QStringLiteral("CREATE TABLE IF NOT EXISTS \"%1\"\n(\n%2\n)").arg(name, columns));
}

QSqlQuery exec(TDMdata &dm, const QString &sql, const QVariantMap &params)
{
    QSqlQuery q(dm.memory());
    q.setForwardOnly(true);
    if (!q.prepare(sql))
        throw StoreError(q.lastError());
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        q.bindValue(it.key(), it.value());
    if (!q.exec())
        throw StoreError(q.lastError());
    return q;
}

void execEach(TDMdata &dm, const QString &sql, const QVector<QVariantMap> &rows)
{
    QSqlDatabase db = dm.memory();
    QSqlQuery q(db);
    if (!q.prepare(sql))
        throw StoreError(sqlErrorText(q.lastError()));
    if (!db.transaction())
        throw StoreError(db.lastError().text());
    for (const QVariantMap &params : rows) {
        for (auto it = params.cbegin(); it != params.cend(); ++it)
            q.bindValue(it.key(), it.value());
        if (!q.exec()) {
            const QString error = sqlErrorText(q.lastError());
            db.rollback();
            throw StoreError(error);
        }
    }
    if (!db.commit()) {
        const QString error = db.lastError().text();
        db.rollback();
        throw StoreError(error);
    }
}

QVariant dateValue(const QDate &date)
{
    return date.isValid() ? QVariant(date.toString(Qt::ISODate))
                          : QVariant(QMetaType(QMetaType::QString));
}

QDate dateOf(const QVariant &value)
{
    return QDate::fromString(value.toString(), Qt::ISODate);
}

} // namespace WorkTable
