#pragma once

#include "Dialect.h"
#include "Schema.h"

#include <QVariant>

// Conversions between the program's values and what the store holds, in
// one place: empty text is stored as NULL, text is cut to the column's
// width in CP932 bytes, dates travel as real dates.
namespace StoreValue {

// The value to bind for a column.
QVariant toStore(const ColumnDef &column, const QVariant &value, Engine engine);
// A value read from the store, typed after the column (QString, int,
// double, QDate, QDateTime; NULL stays a null QVariant).
QVariant fromStore(const ColumnDef &column, const QVariant &value);

// A text parameter without a catalog column: NULL for the empty text.
QVariant text(const QString &value);

// A value of the column (typed, or as the store gives it) as the program
// writes it for people: numbers in C notation with "." as the decimal
// separator (a floating-point number in the shortest form that reads back
// the same), dates "yyyy/mm/dd", timestamps "yyyy/mm/dd hh:mm:ss" on a
// 24-hour clock (the date alone at midnight), text as it stands; empty for
// no value.
QString displayText(const ColumnDef &column, const QVariant &value);

} // namespace StoreValue
