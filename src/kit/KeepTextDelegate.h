#pragma once

#include <QStyledItemDelegate>

class QAbstractItemView;

// The cell editor of grids whose models refuse some typed texts (setData
// false, the model telling the window why): a refused text is not lost,
// its cell opens again holding it, for the user to correct.
class KeepTextDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    explicit KeepTextDelegate(QAbstractItemView *view);

    void setModelData(QWidget *editor, QAbstractItemModel *model,
                      const QModelIndex &index) const override;

private:
    QAbstractItemView *m_view;
};
