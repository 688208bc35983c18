#include "EditGrid.h"

#include "KeepTextDelegate.h"

#include <QLineEdit>

EditGrid::EditGrid(QWidget *parent) : QTableView(parent)
{
    setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed
                    | QAbstractItemView::AnyKeyPressed);
    setItemDelegate(new KeepTextDelegate(this));
}

bool EditGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    const bool opened = QTableView::edit(index, trigger, event);
    // The view selects the whole value of a new editor, so that a typed key
    // replaces it; F2 and a double click keep it to be edited.
    if (opened && (trigger == DoubleClicked || trigger == EditKeyPressed)) {
        if (auto *line = qobject_cast<QLineEdit *>(indexWidget(index))) {
            line->deselect();
            line->end(false);
        }
    }
    return opened;
}
