#include "DrivePanelList.h"

#include "DrivePie.h"
#include "views/QueryRowsModel.h"

#include <QMouseEvent>
#include <QPainter>
#include <QStyledItemDelegate>

namespace {

// The panel of one drive row, painted.
class DrivePanelDelegate : public QStyledItemDelegate
{
public:
    explicit DrivePanelDelegate(DrivePanelList *list) : QStyledItemDelegate(list), m_list(list) { }

    QSize sizeHint(const QStyleOptionViewItem &, const QModelIndex &) const override
    {
        return QSize(200, DrivePanelList::PanelHeight);
    }

    void paint(QPainter *painter, const QStyleOptionViewItem &option,
               const QModelIndex &index) const override
    {
        const QueryRowsModel *drives = m_list->drives();
        const int row = index.row();
        auto value = [&](const char *field) { return drives->value(row, QLatin1String(field)); };
        auto number = [&](const char *field) {
            return QueryRowsModel::formatted(value(field), QueryRowsModel::Format::Thousands);
        };
        const bool current = m_list->currentIndex().row() == row;
        const QRect r = option.rect.adjusted(1, 1, -1, -1);
        painter->save();
        painter->fillRect(r, current ? QColor(255, 255, 204) : option.palette.base().color());
        painter->setPen(option.palette.mid().color());
        painter->drawRect(r);
        painter->setPen(option.palette.text().color());

        const int pieSide = r.height() - 8;
        const QRect pie(r.right() - pieSide - 4, r.top() + 4, pieSide, pieSide);
        const qint64 capa = value("Capa").toLongLong();
        const qint64 free = value("Free").toLongLong();
        if (capa > 0 && free > 0)
            DrivePie::paint(*painter, pie, free, value("Used").toLongLong());

        QFont bold = option.font;
        bold.setBold(true);
        const int line = option.fontMetrics.height() + 2;
        const QRect text = r.adjusted(6, 3, -(pieSide + 12), -3);
        painter->setFont(bold);
        painter->drawText(QRect(text.left(), text.top(), text.width(), line), Qt::AlignLeft,
                          value("DRIVE").toString() + QStringLiteral("  ")
                              + value("Type").toString());
        painter->setFont(option.font);
        const QString lines[]
            = {QStringLiteral("全容量：") + number("Capa") + u' ' + value("Capa_Tani").toString(),
               QStringLiteral("使用領域：") + number("Used") + u' ' + value("Used_Tani").toString(),
               QStringLiteral("空容量：") + number("Free") + u' ' + value("Free_Tani").toString(),
               QStringLiteral("備考：") + value("Biko").toString()};
        int y = text.top() + line;
        for (const QString &l : lines) {
            painter->drawText(QRect(text.left() + 8, y, text.width() - 8, line),
                              Qt::AlignLeft | Qt::TextSingleLine, l);
            y += line;
        }
        painter->restore();
    }

private:
    DrivePanelList *m_list;
};

} // namespace

DrivePanelList::DrivePanelList(QWidget *parent) : QListView(parent)
{
    setObjectName(QStringLiteral("DrivelGrid"));
    setItemDelegate(new DrivePanelDelegate(this));
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setUniformItemSizes(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
}

void DrivePanelList::setDrives(QueryRowsModel *model)
{
    m_drives = model;
    setModel(model);
    setModelColumn(0);
    connect(selectionModel(), &QItemSelectionModel::currentChanged, viewport(),
            qOverload<>(&QWidget::update));
}

int DrivePanelList::currentRow() const
{
    return currentIndex().isValid() ? currentIndex().row() : -1;
}

void DrivePanelList::mouseDoubleClickEvent(QMouseEvent *event)
{
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid()) {
        setCurrentIndex(index);
        emit editRequested();
        return;
    }
    QListView::mouseDoubleClickEvent(event);
}

void DrivePanelList::resizeEvent(QResizeEvent *event)
{
    const int available = height() - 2 * frameWidth();
    const int panels = qMax(1, available / PanelHeight);
    setViewportMargins(0, 0, 0, qMax(0, available - panels * PanelHeight));
    QListView::resizeEvent(event);
}
