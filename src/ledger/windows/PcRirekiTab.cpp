#include "PcRirekiTab.h"

#include "kit/MessageBoxes.h"
#include "kit/TDBGridEx.h"
#include "store/History.h"
#include "store/StoreError.h"
#include "views/HistoryModel.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QVBoxLayout>

namespace {

const QString AllTables = QStringLiteral("（すべて）");

} // namespace

PcRirekiTab::PcRirekiTab(TDMdata &dm, std::function<QString()> key, QWidget *parent)
    : QWidget(parent), m_dm(dm), m_key(std::move(key)), m_tableCB(new QComboBox),
      m_countLBL(new QLabel), m_grid(new TDBGridEx),
      m_model(new HistoryModel({HistoryModel::Column::At, HistoryModel::Column::Operation,
                                HistoryModel::Column::Who, HistoryModel::Column::Table,
                                HistoryModel::Column::Row, HistoryModel::Column::ColumnName,
                                HistoryModel::Column::OldValue, HistoryModel::Column::NewValue},
                               this))
{
    m_tableCB->setObjectName(QStringLiteral("RirekiTableCB"));
    m_tableCB->setMinimumWidth(110);
    m_tableCB->addItem(AllTables);
    for (const TableDef &t : Schema::tables()) {
        if (Schema::holdsPcRows(t.id))
            m_tableCB->addItem(t.name);
    }
    connect(m_tableCB, &QComboBox::currentIndexChanged, this, &PcRirekiTab::applyFilter);
    m_countLBL->setObjectName(QStringLiteral("RirekiCountLBL"));

    m_grid->setObjectName(QStringLiteral("RirekiGrid"));
    m_grid->setModel(m_model);
    m_grid->verticalHeader()->hide();
    m_grid->verticalHeader()->setDefaultSectionSize(m_grid->fontMetrics().height() + 6);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_grid->horizontalHeader()->setStretchLastSection(true);
    m_grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    const QVector<int> widths {140, 55, 100, 75, 150, 100, 130};
    for (int c = 0; c < widths.size(); ++c)
        m_grid->setColumnWidth(c, widths[c]);
    auto *copy = new QAction(QStringLiteral("全項目ｺﾋﾟｰ"), m_grid);
    copy->setObjectName(QStringLiteral("RirekiCopyMI"));
    connect(copy, &QAction::triggered, m_grid, &TDBGridEx::CopyAllFields);
    m_grid->addAction(copy);
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);

    auto *filterRow = new QHBoxLayout;
    filterRow->addWidget(new QLabel(QStringLiteral("テーブル")));
    filterRow->addWidget(m_tableCB);
    filterRow->addStretch();
    filterRow->addWidget(m_countLBL);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(filterRow);
    layout->addWidget(m_grid, 1);
}

void PcRirekiTab::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_loaded)
        reload();
}

void PcRirekiTab::reload()
{
    m_loaded = true;
    m_lines.clear();
    const QString key = m_key();
    if (!key.isEmpty()) {
        HistoryFilter filter;
        filter.key = key;
        filter.newestFirst = true;
        try {
            m_lines = HistoryReader::read(m_dm, filter);
        } catch (const StoreError &e) {
            MessageBoxes::error(this, e.message());
        }
    }
    applyFilter();
}

void PcRirekiTab::setTable(const QString &table)
{
    m_tableCB->setCurrentIndex(qMax(0, m_tableCB->findText(table.isEmpty() ? AllTables : table)));
}

void PcRirekiTab::applyFilter()
{
    const QString table = m_tableCB->currentIndex() > 0 ? m_tableCB->currentText() : QString();
    QVector<HistoryLine> shown;
    for (const HistoryLine &line : std::as_const(m_lines)) {
        if (table.isEmpty() || line.table == table)
            shown.append(line);
    }
    m_countLBL->setText(QStringLiteral("%1 件").arg(shown.size()));
    m_model->setLines(shown);
}
