#pragma once

#include <QDate>
#include <QDateTime>
#include <QString>

// The one place that turns dates into the texts the program shows and
// writes. The system's short date form is "yyyy/mm/dd".
namespace DateText {

// "2005/12/10": the short date form (lists, exports, the ledger).
QString shortDate(const QDate &date);
// "2005/12/10" for the date part of a date-time.
QString shortDate(const QDateTime &dateTime);
// "2005/12/10 14:30:00": the short date form and the time of day; the
// date alone at midnight (a date stored as a date-time).
QString shortDateTime(const QDateTime &dateTime);
// "2005/12/9": year/month/day without leading zeros (format "yyyy/m/d").
QString ymdNoPad(const QDate &date);
// "2005/12/9 9:05": the same with the hour unpadded and the minutes (format
// "yyyy/m/d h:nn").
QString ymdHnNoPad(const QDateTime &dateTime);

} // namespace DateText
