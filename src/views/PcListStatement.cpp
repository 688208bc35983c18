#include "PcListStatement.h"

#include "PcListFields.h"
#include "base/AppSettings.h"

namespace PcListStatement {

QString noKey()
{
    return QStringLiteral("（なし）");
}

QString ascending()
{
    return QStringLiteral("昇順");
}

QString descending()
{
    return QStringLiteral("降順");
}

QStringList orderItems(SortSettings &sort)
{
    QStringList items;
    for (int k = 0; k < 3; ++k) {
        const int field = PcListFields::indexOfCaption(sort.komoku[k]);
        if (field < 0) {
            sort.komoku[k] = noKey();
            continue;
        }
        const bool desc = sort.jyun[k] == descending();
        if (!desc)
            sort.jyun[k] = ascending();
        items.append(PcListFields::all().at(field).name
                     + (desc ? QStringLiteral(" DESC") : QStringLiteral(" ASC")));
    }
    return items;
}

QStringList lines(const QStringList &orderItems, bool hideRemoved)
{
    QStringList sql {
        QStringLiteral("SELECT Key, KanriNo, KanriCD, MEM_All, CPU_Clock, User, PC_Name, Host, "
                       "IP, IP16, "),
        QStringLiteral("       Mac, Domain, WorkGroup, Bu, Ka, Riyosya, Maker, Kisyu, "
                       "Hosyu_Kaisya, Hosyu_No,"),
        QStringLiteral("       Kataban, Lease, Lease_No, TekkyoYMD, UpdateYMD, SettiBasyo,"),
        QStringLiteral("       Win_Type, SerialNo, SP, InvaroYMD, Yoto, SisanKBN, Konyusaki, "
                       "CompSetumei, DonyuYMD, FREE, CPU_Name, LAN_Adapter FROM PC"),
    };
    if (hideRemoved)
        sql.append(QStringLiteral("WHERE TekkyoYMD is null"));
    const QStringList items = withKeyLast(orderItems, QStringLiteral("Key"));
    for (qsizetype i = 0; i < items.size(); ++i) {
        if (i == 0) {
            sql.append(QStringLiteral("ORDER BY "));
        } else {
            sql.append(QStringLiteral(", "));
        }
        sql.append(items.at(i));
    }
    return sql;
}

QStringList withKeyLast(const QStringList &orderItems, const QString &key)
{
    const QString bareKey = key.mid(key.lastIndexOf(u'.') + 1);
    for (const QString &item : orderItems) {
        const QString field = item.section(u' ', 0, 0);
        if (field.compare(key, Qt::CaseInsensitive) == 0
            || field.compare(bareKey, Qt::CaseInsensitive) == 0)
            return orderItems;
    }
    return orderItems + QStringList {key};
}

QString build(SortSettings &sort, bool hideRemoved)
{
    return lines(orderItems(sort), hideRemoved).join(u'\n');
}

void titleClick(SortSettings &sort, const QString &caption)
{
    if (sort.komoku[0] == caption)
        sort.jyun[0] = sort.jyun[0] == ascending() ? descending() : ascending();
    sort.komoku[0] = caption;
}

} // namespace PcListStatement
