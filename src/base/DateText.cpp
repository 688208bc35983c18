#include "DateText.h"

namespace DateText {

QString shortDate(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy/MM/dd")) : QString();
}

QString shortDate(const QDateTime &dateTime)
{
    return shortDate(dateTime.date());
}

QString shortDateTime(const QDateTime &dateTime)
{
    if (!dateTime.isValid())
        return QString();
    const QTime time = dateTime.time();
    if (time == QTime(0, 0))
        return shortDate(dateTime.date());
    return shortDate(dateTime.date()) + u' ' + time.toString(QStringLiteral("hh:mm:ss"));
}

QString ymdNoPad(const QDate &date)
{
    return date.isValid() ? date.toString(QStringLiteral("yyyy/M/d")) : QString();
}

QString ymdHnNoPad(const QDateTime &dateTime)
{
    return dateTime.isValid() ? dateTime.toString(QStringLiteral("yyyy/M/d H:mm")) : QString();
}

} // namespace DateText
