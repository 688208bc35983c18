#pragma once

#include "store/Schema.h"

#include <QDateTime>
#include <QString>
#include <QVariant>

// The texts of a table's values as the maintenance grid shows them and as
// table dumps carry them, and the reading of such texts back into values.
namespace FieldText {

// A typed value (as StoreValue::fromStore gives it) as text: numbers in C
// notation with "." as the decimal separator (a floating-point number in
// the shortest form that reads back the same), dates "yyyy/mm/dd",
// timestamps "yyyy/mm/dd hh:mm:ss" on a 24-hour clock (the date alone at
// midnight), text as it stands; empty for no value.
QString text(const ColumnDef &column, const QVariant &value);

// A timestamp as dumps write it: "yyyy/mm/dd hh:mm:ss.zzz" with the hour on
// a 12-hour clock (12 for midnight and noon), then "午前" or "午後".
QString dumpTimestamp(const QDateTime &value);

// Reads a text typed into the grid or found in a dump: the value typed
// after the column (QString, int, double, QDate, QDateTime; null for an
// empty text). Dates are "yyyy/mm/dd" (month and day may have one digit);
// a timestamp is a date, then optionally a time "hh:mm[:ss[.zzz]]", on a
// 24-hour clock or followed by "午前"/"午後" or "AM"/"PM". Numbers and
// dates may be surrounded by blanks; text is taken as it stands.
//
// False, with the reason in Japanese, for a text that does not fit the
// column: no number, an integer beyond 32 bits, no date, a text longer
// than the column's width in CP932 bytes. (A dump in UTF-8 carries texts
// that CP932 cannot hold; what a user types is checked by EntryText.)
bool parse(const ColumnDef &column, const QString &text, QVariant &value, QString &reason);

} // namespace FieldText
