#pragma once

#include "InputError.h"

#include <QDate>
#include <QString>

// Dates as the user types them into the ledger windows.
//
// NormalizeDateText turns typed text into "yyyy/mm/dd". Digit-only
// shorthand is widened first: four digits are month and day of the current
// year (0905), six digits a two-digit year with month and day (020905),
// eight digits a full date (20020905). Everything else is read as year,
// month and day separated by "/" (one or two digits for month and day); a
// time of day after the date is dropped. A year of one or two digits falls
// in the hundred years that begin fifty years before the current year.
//
// Throws DateError ("abcは日付ではありません") for a text shorter than four
// CP932 bytes, and ConversionError ("'%s' は日付または時刻ではありません",
// naming the text after the shorthand was widened) for anything that is no
// valid date.
QString NormalizeDateText(const QString &text);
// The same with today's date given (the current year and its window).
QString NormalizeDateText(const QString &text, const QDate &today);

namespace DateEntry {

// The year a typed one- or two-digit year stands for, in the window of the
// hundred years that begin fifty years before currentYear.
int windowedYear(int twoDigitYear, int currentYear);

} // namespace DateEntry
