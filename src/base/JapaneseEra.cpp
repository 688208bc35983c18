#include "JapaneseEra.h"

namespace JapaneseEra {

const QVector<Era> &eras()
{
    static const QVector<Era> all {
        {QStringLiteral("明治"), QDate(1868, 9, 8)},   {QStringLiteral("大正"), QDate(1912, 7, 30)},
        {QStringLiteral("昭和"), QDate(1926, 12, 25)}, {QStringLiteral("平成"), QDate(1989, 1, 8)},
        {QStringLiteral("令和"), QDate(2019, 5, 1)},
    };
    return all;
}

bool eraYear(const QDate &date, QString *name, int *year)
{
    const QVector<Era> &all = eras();
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        if (date >= it->firstDay) {
            *name = it->name;
            *year = date.year() - it->firstDay.year() + 1;
            return true;
        }
    }
    return false;
}

QString warekiText(const QDate &date)
{
    const QString fourDigits = QString::number(date.year()).rightJustified(4, u'0');
    QString name;
    int year = 0;
    if (!eraYear(date, &name, &year))
        return fourDigits + QStringLiteral("年");
    return name + QString::number(year).rightJustified(2, u'0') + QStringLiteral("年（")
        + fourDigits + QStringLiteral("）");
}

} // namespace JapaneseEra
