#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The fields of the PC list's data set, in field order, with the caption
// each shows as its column title and the way its values are displayed.
namespace PcListFields {

enum class Kind {
    Text, // as stored
    Number, // a plain number
    Thousands, // format "#,#": separators, nothing for 0
    Date, // yyyy/mm/dd
    DateNoPad, // yyyy/m/d
};

struct Field
{
    QString name;
    QString caption;
    Kind kind;
    int designedWidth; // pixels
};

// The 38 fields in field order (the order of the copies and of the model's
// columns).
const QList<Field> &all();
constexpr int Count = 38;

// The field with this name (exact spelling) or caption; -1 when none.
int indexOfName(const QString &name);
int indexOfCaption(const QString &caption);

// The captions in field order.
QStringList captions();

// The grid's designed column order (field names; differs from the field
// order around the dates).
QStringList designedOrder();

// The field of TekkyoYMD (removal date) and of Key.
int tekkyoField();
int keyField();

} // namespace PcListFields
