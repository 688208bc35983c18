#include "AppliPcStatement.h"

#include "PcListStatement.h"
#include "base/AppSettings.h"

namespace AppliPcStatement {

QString appliList()
{
    return QStringLiteral("SELECT APPLI, COUNT(*) as DAISU FROM APPLI, PC\n"
                          "WHERE APPLI.KEY = PC.KEY\n"
                          "AND PC.TEKKYOYMD is Null\n"
                          "GROUP BY APPLI");
}

QVector<QueryRowsModel::Column> appliListColumns()
{
    return {{QStringLiteral("APPLI"), QStringLiteral("ｱﾌﾟﾘｹｰｼｮﾝ")},
            {QStringLiteral("DAISU"), QStringLiteral("台数")}};
}

QVector<QueryRowsModel::Column> appliPcColumns()
{
    using F = QueryRowsModel::Format;
    return {{QStringLiteral("KEY"), QStringLiteral("KEY")},
            {QStringLiteral("BU"), QStringLiteral("部")},
            {QStringLiteral("KA"), QStringLiteral("課")},
            {QStringLiteral("RIYOSYA"), QStringLiteral("利用者")},
            {QStringLiteral("PC_NAME"), QStringLiteral("ｺﾝﾋﾟｭｰﾀ名")},
            {QStringLiteral("HOST"), QStringLiteral("ﾎｽﾄ名")},
            {QStringLiteral("ProductID"), QStringLiteral("ﾌﾟﾛﾀﾞｸﾄID")},
            {QStringLiteral("InstallKey"), QStringLiteral("ｲﾝｽﾄｰﾙｷｰ")},
            {QStringLiteral("AddYMD"), QStringLiteral("登録日"), F::DateNoPad},
            {QStringLiteral("NyuryokuKBN"), QStringLiteral("入力方法")}};
}

QStringList orderItems(SortSettings &sort)
{
    const QVector<QueryRowsModel::Column> columns = appliPcColumns();
    QStringList items;
    for (int k = 0; k < 3; ++k) {
        QString field;
        for (const QueryRowsModel::Column &c : columns) {
            if (c.title == sort.komoku[k])
                field = c.field;
        }
        if (field.isEmpty()) {
            sort.komoku[k] = PcListStatement::noKey();
            continue;
        }
        const bool desc = sort.jyun[k] == PcListStatement::descending();
        if (!desc)
            sort.jyun[k] = PcListStatement::ascending();
        items.append(field + (desc ? QStringLiteral(" DESC") : QStringLiteral(" ASC")));
    }
    return items;
}

QStringList lines(const QStringList &orderItems)
{
    // KEY is named with its table: both tables of the join have one.
    QStringList sql {
        QStringLiteral("SELECT PC.KEY, BU, KA, RIYOSYA, PC_NAME, HOST, ProductID, InstallKey,"),
        QStringLiteral("       AddYMD, NyuryokuKBN"),
        QStringLiteral(" FROM PC, APPLI"),
        QStringLiteral("WHERE PC.KEY = APPLI.KEY"),
        QStringLiteral("AND APPLI.APPLI = :APPLI"),
        QStringLiteral("AND PC.TEKKYOYMD is Null"),
    };
    // The PC's key orders last, so the grid keeps one order on both
    // engines.
    const QStringList items = PcListStatement::withKeyLast(orderItems, QStringLiteral("PC.KEY"));
    for (qsizetype i = 0; i < items.size(); ++i) {
        sql.append(i == 0 ? QStringLiteral("ORDER BY ") : QStringLiteral(", "));
        sql.append(items.at(i));
    }
    return sql;
}

QString build(SortSettings &sort)
{
    return lines(orderItems(sort)).join(u'\n');
}

} // namespace AppliPcStatement
