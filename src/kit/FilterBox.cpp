#include "FilterBox.h"

#include "views/SearchFilterModel.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QShortcut>
#include <QTableView>

FilterBox::FilterBox(QTableView *grid, const QString &unit, QWidget *shortcutScope, QWidget *parent,
                     Qt::ShortcutContext context)
    : QWidget(parent), m_grid(grid), m_filter(new SearchFilterModel(this)),
      m_edit(new QLineEdit(this)), m_countLBL(new QLabel(this)), m_unit(unit)
{
    setObjectName(QStringLiteral("FilterBox"));
    m_edit->setObjectName(QStringLiteral("FilterEDT"));
    m_edit->setClearButtonEnabled(true);
    m_edit->setPlaceholderText(QStringLiteral("絞り込み (Ctrl+F)"));
    m_countLBL->setObjectName(QStringLiteral("FilterCountLBL"));

    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    auto *caption = new QLabel(QStringLiteral("絞り込み"), this);
    caption->setBuddy(m_edit);
    layout->addWidget(caption);
    layout->addWidget(m_edit, 1);
    layout->addWidget(m_countLBL);

    m_filter->setSourceModel(grid->model());
    grid->setModel(m_filter);

    auto *focus = new QShortcut(QKeySequence::Find, shortcutScope);
    focus->setContext(context);
    connect(focus, &QShortcut::activated, this, [this] {
        m_edit->setFocus(Qt::ShortcutFocusReason);
        m_edit->selectAll();
    });
    m_edit->installEventFilter(this); // Esc clears the box

    connect(m_edit, &QLineEdit::textChanged, this, &FilterBox::applyQuery);
    // A list read again may show other columns (the display settings).
    connect(m_filter, &QAbstractItemModel::modelReset, this, &FilterBox::searchShownColumns);
    for (auto signal : {&QAbstractItemModel::rowsInserted, &QAbstractItemModel::rowsRemoved})
        connect(m_filter, signal, this, &FilterBox::showCount);
    connect(m_filter, &QAbstractItemModel::modelReset, this, &FilterBox::showCount);
    connect(m_filter, &QAbstractItemModel::layoutChanged, this, &FilterBox::showCount);
    connect(grid->model(), &QAbstractItemModel::rowsInserted, this, &FilterBox::showCount);
    showCount();
}

bool FilterBox::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_edit
        && (event->type() == QEvent::KeyPress || event->type() == QEvent::ShortcutOverride)
        && static_cast<QKeyEvent *>(event)->key() == Qt::Key_Escape
        && static_cast<QKeyEvent *>(event)->modifiers() == Qt::NoModifier
        && !m_edit->text().isEmpty()) {
        // Taken before any shortcut of the window; the press clears.
        event->accept();
        if (event->type() == QEvent::KeyPress)
            m_edit->clear();
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void FilterBox::searchShownColumns()
{
    QList<bool> searched;
    for (int column = 0; column < m_filter->columnCount(); ++column)
        searched.append(!m_grid->isColumnHidden(column));
    m_filter->setSearchedColumns(searched);
}

void FilterBox::applyQuery()
{
    searchShownColumns();
    m_filter->setQuery(m_edit->text());
    // The current row stays when it matches; otherwise the grid shows the
    // first match.
    if (!m_grid->currentIndex().isValid() && m_filter->rowCount() > 0) {
        const int column = qMax(m_grid->horizontalHeader()->logicalIndexAt(0), 0);
        m_grid->setCurrentIndex(m_filter->index(0, column));
    }
    showCount();
}

int FilterBox::listRow(const QModelIndex &gridIndex) const
{
    return m_filter->mapToSource(gridIndex).row();
}

QModelIndex FilterBox::gridIndex(int listRow) const
{
    const QAbstractItemModel *source = m_filter->sourceModel();
    QModelIndex shown;
    if (source && listRow >= 0 && listRow < source->rowCount())
        shown = m_filter->mapFromSource(source->index(listRow, 0));
    return shown.isValid() ? shown : m_filter->index(0, 0);
}

QString FilterBox::countText() const
{
    const int all = m_filter->sourceModel() ? m_filter->sourceModel()->rowCount() : 0;
    return QStringLiteral("%1 %3中 %2 %3").arg(all).arg(m_filter->rowCount()).arg(m_unit);
}

void FilterBox::showCount()
{
    m_countLBL->setText(countText());
}
