#include "PcListPage.h"

#include "base/AppSettings.h"
#include "kit/FilterBox.h"
#include "kit/MessageBoxes.h"
#include "kit/StoreRequired.h"
#include "kit/TDBGridEx.h"
#include "ledger/windows/UpcDaityo.h"
#include "reports/PcSheetReport.h"
#include "reports/windows/UpcSheetLR.h"
#include "store/PcClaims.h"
#include "store/StoreError.h"
#include "store/StoreReconnector.h"
#include "views/PcDeletion.h"
#include "views/PcListFields.h"
#include "views/PcListModel.h"
#include "views/PcListStatement.h"
#include "views/windows/PcGridColumns.h"
#include "views/windows/UhyojiJyun.h"

#include <QAction>
#include <QCheckBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <utility>

namespace {

constexpr int LargestFontSize = 72;

} // namespace

PcListPage::PcListPage(QWidget *parent)
    : QWidget(parent), m_keyLBL(new QLabel(this)),
      m_autoRefreshCB(new QCheckBox(QStringLiteral("自動更新"), this)),
      m_refreshBTN(new QPushButton(QStringLiteral("最新の状態に更新"), this)),
      m_grid(new TDBGridEx(this)), m_model(new PcListModel(this))
{
    setObjectName(QStringLiteral("PcListPage"));
    m_keyLBL->setObjectName(QStringLiteral("KeyLBL"));
    QFont bold = m_keyLBL->font();
    bold.setBold(true);
    m_keyLBL->setFont(bold);
    m_keyLBL->setMinimumWidth(160);
    m_autoRefreshCB->setObjectName(QStringLiteral("JidoKosinCB"));
    m_refreshBTN->setObjectName(QStringLiteral("RefreshBTN"));
    m_refreshBTN->setAutoDefault(false);

    m_grid->setObjectName(QStringLiteral("PCGrid"));
    m_grid->setToolTip(QStringLiteral("右ﾎﾞﾀﾝ→ﾎﾟｯﾌﾟﾒﾆｭｰ,項目名ﾄﾞﾗｯｸﾞ&ﾄﾞﾛｯﾌﾟ→表示順入れ替え"));
    m_grid->setModel(m_model);
    // Ctrl+F anywhere in the main window while this tab is shown.
    m_filterBox = new FilterBox(m_grid, QStringLiteral("台"), this, this, Qt::WindowShortcut);
    m_grid->horizontalHeader()->setSectionsClickable(true);
    m_grid->horizontalHeader()->setHighlightSections(false);
    m_designedFontSize = m_grid->font().pointSize() > 0 ? m_grid->font().pointSize() : 9;
    m_columns = std::make_unique<PcGridColumns>(m_grid->horizontalHeader());
    m_columns->applyDesigned();
    buildContextMenu();

    auto *tools = new QHBoxLayout;
    tools->addWidget(m_keyLBL);
    tools->addWidget(button(QStringLiteral("PCaddBTN"), QStringLiteral("追　加")));
    tools->addWidget(button(QStringLiteral("PCupdBTN"), QStringLiteral("修　正")));
    tools->addWidget(button(QStringLiteral("PCdelBTN"), QStringLiteral("削　除")));
    tools->addWidget(button(QStringLiteral("HyojiBTN"), QStringLiteral("表示設定...")));
    tools->addWidget(button(QStringLiteral("PrintBTN"), QStringLiteral("管理シート印刷")));
    tools->addStretch();
    tools->addWidget(m_autoRefreshCB);
    tools->addWidget(m_refreshBTN);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(tools);
    layout->addWidget(m_filterBox);
    layout->addWidget(m_grid, 1);

    setAutoRefresh(true);
    connect(m_autoRefreshCB, &QCheckBox::toggled, this, [this](bool on) {
        m_refreshBTN->setEnabled(!on);
        emit autoRefreshChanged(on);
    });
    connect(m_refreshBTN, &QPushButton::clicked, this, &PcListPage::refreshKeepingRow);
    connect(findChild<QPushButton *>(QStringLiteral("PCaddBTN")), &QPushButton::clicked, this,
            &PcListPage::PCaddBTNClick);
    connect(findChild<QPushButton *>(QStringLiteral("PCupdBTN")), &QPushButton::clicked, this,
            &PcListPage::PCupdBTNClick);
    connect(findChild<QPushButton *>(QStringLiteral("PCdelBTN")), &QPushButton::clicked, this,
            &PcListPage::PCdelBTNClick);
    connect(findChild<QPushButton *>(QStringLiteral("HyojiBTN")), &QPushButton::clicked, this,
            &PcListPage::HyojiBTNClick);
    connect(findChild<QPushButton *>(QStringLiteral("PrintBTN")), &QPushButton::clicked, this,
            &PcListPage::KanriSheetBTNClick);
    connect(m_grid, &QAbstractItemView::doubleClicked, this, &PcListPage::PCupdBTNClick);
    connect(m_grid->horizontalHeader(), &QHeaderView::sectionClicked, this,
            &PcListPage::titleClick);
    connect(m_grid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &PcListPage::showCurrentKey);
    connect(m_model, &QAbstractItemModel::modelReset, this, [this] {
        m_newRowsIn = true;
        showCurrentKey();
        rowsArrived(0);
    });
    connect(m_model, &QAbstractItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int) { rowsArrived(first); });
    connect(m_model, &PcListModel::loaded, this, [this] {
        rowsArrived(m_model->rowCount());
        runPendingCopy();
    });
    connect(m_model, &PcListModel::failed, this, &PcListPage::listFailed);
    // A row the user goes to is not taken from him by a key still awaited.
    connect(m_grid, &QAbstractItemView::pressed, this, [this] { m_waitingForKey = false; });
}

PcListPage::~PcListPage() = default;

QPushButton *PcListPage::button(const QString &name, const QString &caption)
{
    auto *b = new QPushButton(caption, this);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

void PcListPage::buildContextMenu()
{
    const auto add = [this](const QString &name, const QString &caption, auto handler) {
        auto *action = new QAction(caption, m_grid);
        action->setObjectName(name);
        connect(action, &QAction::triggered, this, handler);
        m_grid->addAction(action);
    };
    add(QStringLiteral("UpdMI"), QStringLiteral("修正"), &PcListPage::PCupdBTNClick);
    add(QStringLiteral("DelMI"), QStringLiteral("削除"), &PcListPage::PCdelBTNClick);
    add(QStringLiteral("PrintMI"), QStringLiteral("管理ｼｰﾄ印刷"), &PcListPage::KanriSheetBTNClick);
    auto *separator = new QAction(m_grid);
    separator->setSeparator(true);
    m_grid->addAction(separator);
    add(QStringLiteral("CopyAllMI"), QStringLiteral("全項目ｺﾋﾟｰ"), &PcListPage::copyAllFields);
    add(QStringLiteral("CopyShownMI"), QStringLiteral("表示項目のみｺﾋﾟｰ"),
        &PcListPage::copyShownColumns);
    m_grid->setContextMenuPolicy(Qt::ActionsContextMenu);
}

void PcListPage::attach(AppSettings &settings, const ProgramPaths &paths)
{
    m_settings = &settings;
    m_paths = &paths;
}

void PcListPage::setAutoRefresh(bool on)
{
    m_autoRefreshCB->setChecked(on);
    m_refreshBTN->setEnabled(!on);
}

bool PcListPage::autoRefresh() const
{
    return m_autoRefreshCB->isChecked();
}

void PcListPage::applyGridSettings()
{
    if (!m_settings)
        return;
    m_columns->apply(m_settings->pcGrid.columns);
    if (m_settings->pcGrid.fontSize != 0)
        setFontSize(m_settings->pcGrid.fontSize);
}

void PcListPage::storeGridSettings()
{
    if (!m_settings)
        return;
    m_columns->takeBack(m_settings->pcGrid.columns);
    m_settings->pcGrid.fontSize = fontSize();
}

void PcListPage::refresh(TDMdata &dm)
{
    if (!m_settings)
        return;
    m_dm = &dm;
    const QString statement
        = PcListStatement::build(m_settings->pcGrid.sort, m_settings->tekkyoHiHyoji);
    // The rows come on the reader's thread; the grid goes to the first row
    // when they arrive, unless a key is to be gone back to (goToKey).
    m_pendingKey.clear();
    m_waitingForKey = true;
    m_newRowsIn = false;
    m_model->read(dm, statement);
}

void PcListPage::clear()
{
    m_dm = nullptr;
    m_waitingForKey = false;
    m_model->clear();
}

void PcListPage::rowsArrived(int from)
{
    if (!m_waitingForKey)
        return;
    const int row = m_pendingKey.isEmpty() ? -1 : m_model->rowOfKey(m_pendingKey, from);
    if (row >= 0 || (m_pendingKey.isEmpty() && m_model->rowCount() > 0)) {
        m_waitingForKey = false;
        goToRow(qMax(row, 0));
    } else if (m_model->isComplete()) {
        // The remembered PC is gone: the list stays on its first row.
        m_waitingForKey = false;
        goToRow(0);
    }
}

void PcListPage::listFailed(const QString &message, bool lost)
{
    m_waitingForKey = false;
    m_pendingCopy = nullptr; // a list not read whole is not copied
    // A lost server connection keeps the rows on the screen (the main window
    // marks them as not current) and brings the connection back.
    if (lost && m_dm) {
        StoreReconnector::of(*m_dm).ensure();
        return;
    }
    m_model->clear();
    MessageBoxes::error(this, message);
}

void PcListPage::completeList()
{
    m_model->waitForAll();
}

void PcListPage::goToRow(int row)
{
    if (row < 0 || row >= m_grid->model()->rowCount())
        return;
    const QModelIndex current = m_grid->currentIndex();
    int column = current.isValid() ? current.column() : -1;
    if (column < 0 || m_grid->isColumnHidden(column))
        column = m_grid->horizontalHeader()->logicalIndexAt(0);
    if (column < 0)
        column = 0;
    const QModelIndex target = m_grid->model()->index(row, column);
    m_grid->selectionModel()->setCurrentIndex(target, QItemSelectionModel::Clear);
    m_grid->scrollTo(target);
}

QString PcListPage::currentKey() const
{
    const QModelIndex current = m_grid->currentIndex();
    return current.isValid() ? m_model->key(m_filterBox->listRow(current)) : QString();
}

void PcListPage::goToKey(const QString &key)
{
    if (!m_model->isComplete()) {
        // The rows are still coming: the row is gone to when it arrives.
        m_pendingKey = key;
        m_waitingForKey = true;
        if (m_newRowsIn)
            rowsArrived(0);
        return;
    }
    m_waitingForKey = false;
    const int row = key.isEmpty() ? -1 : m_model->rowOfKey(key);
    const QModelIndex shown = m_filterBox->gridIndex(row);
    goToRow(shown.isValid() ? shown.row() : 0);
}

QStringList PcListPage::actionKeys() const
{
    QList<int> rows;
    for (const QModelIndex &index : m_grid->selectionModel()->selectedRows())
        rows.append(m_filterBox->listRow(index));
    std::sort(rows.begin(), rows.end());
    if (rows.isEmpty() && m_grid->currentIndex().isValid())
        rows.append(m_filterBox->listRow(m_grid->currentIndex()));
    QStringList keys;
    for (int row : rows)
        keys.append(m_model->key(row));
    return keys;
}

void PcListPage::refreshKeepingRow()
{
    const QString key = currentKey();
    emit refreshRequested();
    goToKey(key);
}

void PcListPage::showCurrentKey()
{
    m_keyLBL->setText(currentKey());
}

void PcListPage::PCaddBTNClick()
{
    if (!StoreRequired::ensureConnected(this, m_dm) || !m_paths)
        return;
    if (TFpcDaityo::addPc(this, *m_dm, *m_paths))
        emit refreshRequested();
}

void PcListPage::PCupdBTNClick()
{
    if (!StoreRequired::ensureConnected(this, m_dm) || !m_paths)
        return;
    const QStringList keys = actionKeys();
    if (keys.isEmpty())
        return;
    const QString current = currentKey();
    if (TFpcDaityo::editPc(this, *m_dm, *m_paths, keys.first()) && autoRefresh()) {
        emit refreshRequested();
        goToKey(current);
    }
}

void PcListPage::KanriSheetBTNClick()
{
    if (!StoreRequired::ensureConnected(this, m_dm))
        return;
    // The sheet reads its own queries, so the list stays where it is; the
    // current row is taken up again afterwards all the same.
    const QString key = currentKey();
    {
        TLRPCsheet window(*m_dm, PcSheetReport::selectedPcs(actionKeys()), this);
        window.exec();
    }
    goToKey(key);
}

void PcListPage::PCdelBTNClick()
{
    if (!StoreRequired::ensureConnected(this, m_dm))
        return;
    const QStringList keys = actionKeys();
    if (keys.isEmpty())
        return;
    if (!MessageBoxes::yesNo(this, PcDeletion::confirmationText(keys)))
        return;
    try {
        PcDeletion::deletePcs(*m_dm, keys);
    } catch (const ClaimError &e) {
        // Another copy is editing one of them.
        MessageBoxes::error(this, e.message());
        return;
    } catch (const StoreError &) {
        MessageBoxes::error(this, QStringLiteral("削除に失敗しました"));
        return;
    }
    emit refreshRequested();
    goToRow(0);
}

void PcListPage::HyojiBTNClick()
{
    if (!m_settings || !m_paths)
        return;
    HyojiJyunValues current;
    for (const QString &field : m_columns->order())
        current.columns.append({field, m_columns->isShown(field)});
    current.sort = m_settings->pcGrid.sort;
    current.fontSize = QString::number(fontSize());
    current.hideRemoved = m_settings->tekkyoHiHyoji;

    TFhyojiJyun dialog(current, *m_paths, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const HyojiJyunValues chosen = dialog.values();
    for (const HyojiJyunValues::Column &column : chosen.columns)
        m_columns->setShown(column.field, column.shown);
    m_settings->pcGrid.sort = chosen.sort;
    setFontSize(chosen.fontSize.toInt());
    m_settings->tekkyoHiHyoji = chosen.hideRemoved;
    emit listsRefreshRequested();
}

void PcListPage::titleClick(int section)
{
    if (!m_settings || section < 0 || section >= PcListFields::Count)
        return;
    PcListStatement::titleClick(m_settings->pcGrid.sort, PcListFields::all().at(section).caption);
    emit listsRefreshRequested();
}

void PcListPage::copyAllFields()
{
    copyWhenComplete(&TDBGridEx::CopyAllFields);
}

void PcListPage::copyShownColumns()
{
    copyWhenComplete(&TDBGridEx::CopyShownColumns);
}

void PcListPage::copyWhenComplete(void (TDBGridEx::*copy)())
{
    m_pendingCopy = copy;
    if (m_model->isComplete())
        runPendingCopy();
}

void PcListPage::runPendingCopy()
{
    if (const auto copy = std::exchange(m_pendingCopy, nullptr))
        (m_grid->*copy)();
}

int PcListPage::fontSize() const
{
    return m_grid->font().pointSize();
}

void PcListPage::setFontSize(int points)
{
    // A typed number too long to read arrives as 0 and also keeps the
    // designed size.
    const int size = points <= 0 ? m_designedFontSize : qMin(points, LargestFontSize);
    QFont font = m_grid->font();
    font.setPointSize(size);
    m_grid->setFont(font);
    m_grid->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 6);
}
