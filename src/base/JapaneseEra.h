#pragma once

#include <QDate>
#include <QString>
#include <QVector>

// The eras of the Japanese calendar from Meiji on, with the first day of
// each as the Japanese calendar of ICU counts it.
namespace JapaneseEra {

struct Era
{
    QString name; // "平成"
    QDate firstDay;
};

// The eras in time order.
const QVector<Era> &eras();

// The era a date falls in and the date's year within it (1 in the era's
// first year); false for a date before the first era.
bool eraYear(const QDate &date, QString *name, int *year);

// The picker's year text: the era, the two-digit year within it, "年（",
// the four-digit year and "）" ("平成10年（1998）"). A date before the first
// era gives the year alone ("1850年").
QString warekiText(const QDate &date);

} // namespace JapaneseEra
