#pragma once

#include <QTableView>

// A grid whose cells are typed into, with one way into a cell that does
// not depend on timing: typing into the current cell replaces its value
// (the first key included), while F2 or a double click edit the value in
// place, the cursor after its end. A click never starts an edit, neither
// at once nor after a pause, so the keys that follow it always reach the
// same editor. A text the model refuses comes back into its cell
// (KeepTextDelegate).
class EditGrid : public QTableView
{
    Q_OBJECT

public:
    explicit EditGrid(QWidget *parent = nullptr);

protected:
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
};
