#include "TDBGridEx.h"

#include "GridCopy.h"
#include "base/GridRoles.h"

#include <QHeaderView>
#include <QStyledItemDelegate>
#include <QWheelEvent>

namespace {

// Tints the cells of the current row that are not selected, so the row
// the cursor stands on shows without being selected.
class CurrentRowDelegate : public QStyledItemDelegate
{
public:
    explicit CurrentRowDelegate(QTableView *grid) : QStyledItemDelegate(grid), m_grid(grid) { }

protected:
    void initStyleOption(QStyleOptionViewItem *option, const QModelIndex &index) const override
    {
        QStyledItemDelegate::initStyleOption(option, index);
        if (index.row() != m_grid->currentIndex().row()
            || option->state.testFlag(QStyle::State_Selected))
            return;
        const QColor base = option->backgroundBrush.style() == Qt::NoBrush
            ? option->palette.color(QPalette::Base)
            : option->backgroundBrush.color();
        const QColor tint = option->palette.color(QPalette::Highlight);
        option->backgroundBrush
            = QColor((base.red() * 3 + tint.red()) / 4, (base.green() * 3 + tint.green()) / 4,
                     (base.blue() * 3 + tint.blue()) / 4);
    }

private:
    QTableView *m_grid;
};

} // namespace

TDBGridEx::TDBGridEx(QWidget *parent) : QTableView(parent)
{
    setItemDelegate(new CurrentRowDelegate(this));
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    verticalHeader()->hide();
    horizontalHeader()->setSectionsMovable(true);
    setWordWrap(false);
}

QList<int> TDBGridEx::allColumns() const
{
    QList<int> columns;
    for (int c = 0; model() && c < model()->columnCount(); ++c)
        columns << c;
    return columns;
}

QList<int> TDBGridEx::shownColumns() const
{
    QList<int> columns;
    const QHeaderView *header = horizontalHeader();
    for (int visual = 0; visual < header->count(); ++visual) {
        const int logical = header->logicalIndex(visual);
        if (!header->isSectionHidden(logical))
            columns << logical;
    }
    return columns;
}

QString TDBGridEx::allFieldsText() const
{
    return GridCopy::text(model(), allColumns());
}

QString TDBGridEx::shownColumnsText() const
{
    return GridCopy::text(model(), shownColumns());
}

void TDBGridEx::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    // The tint covers whole rows: repaint the row left and the row reached.
    if (previous.row() != current.row())
        viewport()->update();
}

void TDBGridEx::CopyAllFields()
{
    startCopy(allColumns());
}

void TDBGridEx::CopyShownColumns()
{
    startCopy(shownColumns());
}

void TDBGridEx::startCopy(const QList<int> &columns)
{
    // A copy still running gives way to the new one.
    delete m_copy;
    m_copy = new GridCopy(model(), columns, this);
    if (!m_copy->isRunning()) {
        m_copy->deleteLater();
        m_copy = nullptr;
        return;
    }
    connect(m_copy, &GridCopy::finished, this, [this] {
        m_copy->deleteLater();
        m_copy = nullptr;
    });
}

bool TDBGridEx::isCopying() const
{
    return m_copy && m_copy->isRunning();
}

void TDBGridEx::wheelEvent(QWheelEvent *event)
{
    if (!model() || model()->rowCount() == 0) {
        event->ignore();
        return;
    }
    const int notches = event->angleDelta().y() / 120;
    if (notches == 0) {
        event->accept();
        return;
    }
    const QModelIndex current = currentIndex();
    const int row
        = qBound(0, (current.isValid() ? current.row() : 0) - notches, model()->rowCount() - 1);
    const int column = current.isValid() ? current.column() : 0;
    // A plain wheel turn moves the cursor and drops the selection; with a
    // modifier or a button held the selection stays.
    const bool keep = event->modifiers() != Qt::NoModifier || event->buttons() != Qt::NoButton;
    const QModelIndex target = model()->index(row, column);
    selectionModel()->setCurrentIndex(
        target, keep ? QItemSelectionModel::NoUpdate : QItemSelectionModel::Clear);
    scrollTo(target);
    event->accept();
}
