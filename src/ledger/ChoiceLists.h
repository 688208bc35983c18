#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

class TDMdata;

// The twelve choice lists of the PC ledger window: fixed entries first,
// then the values a statement on table PC finds.
namespace ChoiceLists {

struct List
{
    QString field; // the PC column the combo edits
    QString combo; // the combo's name
    QStringList fixed;
    QString statement; // the model list's has the parameter :MAKER
    int visibleItems = 0; // entries the drop-down shows at once; 0: the default
};

// In the order the window fills them.
const QVector<List> &all();
const List &ofField(const QString &field);

// The entries of a list: the fixed ones, then one per result row (an empty
// entry for no value). maker is the PC's maker for the model list. Throws
// StoreError.
QStringList entries(TDMdata &dm, const List &list, const QString &maker = QString());

} // namespace ChoiceLists
