#include "KeepTextDelegate.h"

#include <QAbstractItemView>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

KeepTextDelegate::KeepTextDelegate(QAbstractItemView *view)
    : QStyledItemDelegate(view), m_view(view)
{ }

void KeepTextDelegate::setModelData(QWidget *editor, QAbstractItemModel *model,
                                    const QModelIndex &index) const
{
    const auto *line = qobject_cast<const QLineEdit *>(editor);
    if (!line) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    const QString text = line->text();
    if (model->setData(index, text, Qt::EditRole))
        return;
    // The editor closes after this; the cell opens again once it has.
    QPointer<QAbstractItemView> view = m_view;
    const QPersistentModelIndex cell(index);
    QTimer::singleShot(0, m_view, [view, cell, text] {
        if (!view || !cell.isValid() || !view->isVisible())
            return;
        view->setCurrentIndex(cell);
        view->edit(cell);
        if (auto *reopened = qobject_cast<QLineEdit *>(view->indexWidget(cell))) {
            reopened->setText(text);
            reopened->setFocus();
        }
    });
}
