#pragma once

#include <QString>
#include <QStringList>

struct SortSettings;

// The PC list's query: the sort keys turned into order items, the
// statement built line by line, and the sort rule of a title click.
namespace PcListStatement {

// "（なし）", "昇順", "降順".
QString noKey();
QString ascending();
QString descending();

// Normalises the sort keys and returns the order items ("Bu DESC", ...):
// a key that names no field's caption becomes "（なし）" and gives no item;
// for a key that does, any direction but "降順" becomes "昇順".
QStringList orderItems(SortSettings &sort);

// The statement's lines for these order items; the key orders last (and
// alone when no key is chosen), so rows of equal sort values come in one
// order on both engines and stay in it after an edit.
QStringList lines(const QStringList &orderItems, bool hideRemoved);

// The order items with the key column after them, unless one of them
// already orders by it.
QStringList withKeyLast(const QStringList &orderItems, const QString &key);

// The statement as the store receives it (lines joined by line feeds);
// normalises the sort keys as orderItems() does.
QString build(SortSettings &sort, bool hideRemoved);

// A click on the title of the column with this caption: the same caption
// as key 1 flips its direction, another caption becomes key 1 keeping key
// 1's direction; keys 2 and 3 stay.
void titleClick(SortSettings &sort, const QString &caption);

} // namespace PcListStatement
