#include "DistinctPcs.h"

#include "store/History.h"
#include "store/KeptStatements.h"
#include "store/StoreTransaction.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"

#include <QDateTime>
#include <QSqlQuery>

namespace DistinctPcs {

namespace {

// A value as its column of DistinctPc holds it.
QVariant stored(const TDMdata &dm, const char *column, const QVariant &value)
{
    return StoreValue::toStore(*Schema::distinctPcTable().column(QLatin1String(column)), value,
                               dm.engine());
}

bool exists(KeptStatements &statements, const Pair &p)
{
    QSqlQuery &q = statements.exec(
        QStringLiteral("SELECT COUNT(*) FROM DistinctPc\n"
                       "WHERE Key1 = :KEY1 AND Key2 = :KEY2"),
        {{QStringLiteral(":KEY1"), p.first}, {QStringLiteral(":KEY2"), p.second}});
    const bool found = q.next() && q.value(0).toInt() > 0;
    q.finish();
    return found;
}

void insert(KeptStatements &statements, const Pair &p)
{
    if (exists(statements, p))
        return;
    const TDMdata &dm = statements.store();
    statements.exec(QStringLiteral("INSERT INTO DistinctPc (Key1, Key2, At, Who)\n"
                                   "VALUES (:KEY1, :KEY2, :AT, :WHO)"),
                    {{QStringLiteral(":KEY1"), p.first},
                     {QStringLiteral(":KEY2"), p.second},
                     {QStringLiteral(":AT"), stored(dm, "At", QDateTime::currentDateTime())},
                     {QStringLiteral(":WHO"), stored(dm, "Who", History::who())}});
}

} // namespace

Pair pair(const QString &a, const QString &b)
{
    return a < b ? Pair(a, b) : Pair(b, a);
}

QSet<Pair> read(TDMdata &dm)
{
    QSet<Pair> pairs;
    if (!dm.tableExists(Schema::distinctPcTable().name))
        return pairs;
    QSqlQuery q = dm.exec(QStringLiteral("SELECT Key1, Key2 FROM DistinctPc"));
    while (q.next())
        pairs.insert(pair(q.value(0).toString(), q.value(1).toString()));
    q.finish();
    return pairs;
}

void mark(TDMdata &dm, const QString &a, const QString &b)
{
    KeptStatements statements(dm);
    StoreTransaction transaction(dm);
    insert(statements, pair(a, b));
    transaction.commit();
}

void carryOver(KeptStatements &statements, const QString &oldKey, const QString &newKey)
{
    const QVariantMap old {{QStringLiteral(":KEY1"), oldKey}, {QStringLiteral(":KEY2"), oldKey}};
    QSqlQuery &q = statements.exec(
        QStringLiteral("SELECT Key1, Key2 FROM DistinctPc\nWHERE Key1 = :KEY1 OR Key2 = :KEY2"),
        old);
    QStringList others;
    while (q.next())
        others << (q.value(0).toString() == oldKey ? q.value(1) : q.value(0)).toString();
    q.finish();
    for (const QString &other : std::as_const(others)) {
        if (other != newKey)
            insert(statements, pair(newKey, other));
    }
    statements.exec(QStringLiteral("DELETE FROM DistinctPc\nWHERE Key1 = :KEY1 OR Key2 = :KEY2"),
                    old);
}

} // namespace DistinctPcs
