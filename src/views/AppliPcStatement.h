#pragma once

#include "QueryRowsModel.h"

#include <QString>
#include <QStringList>
#include <QVector>

struct SortSettings;

// The applications view's queries: the application list (Qappli) and the
// PCs in service of the selected application (QappliPC), whose order comes
// from three sort keys.
namespace AppliPcStatement {

// Qappli: the applications on PCs in service, with their number of PCs.
QString appliList();
QVector<QueryRowsModel::Column> appliListColumns();

// QappliPC's columns in field order, with their titles and forms.
QVector<QueryRowsModel::Column> appliPcColumns();

// Normalises the sort keys and returns the order items ("BU ASC", ...): a
// key whose text is the title of no column becomes "（なし）" and gives no
// item; for a key that is one (the last such column counts), any direction
// but "降順" becomes "昇順".
QStringList orderItems(SortSettings &sort);
// QappliPC's statement lines for these order items; one parameter :APPLI.
QStringList lines(const QStringList &orderItems);
// The statement as the store receives it; normalises the keys as
// orderItems() does.
QString build(SortSettings &sort);

} // namespace AppliPcStatement
