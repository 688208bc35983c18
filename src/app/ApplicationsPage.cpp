#include "ApplicationsPage.h"

#include "base/AppSettings.h"
#include "base/ProgramPaths.h"
#include "kit/FilterBox.h"
#include "kit/MessageBoxes.h"
#include "kit/StoreRequired.h"
#include "kit/TDBGridEx.h"
#include "ledger/DirectRowEdit.h"
#include "ledger/windows/Uappli.h"
#include "ledger/windows/UpcDaityo.h"
#include "reports/windows/UappliQR.h"
#include "store/BackgroundReader.h"
#include "store/StoreError.h"
#include "store/StoreReconnector.h"
#include "store/StoreValue.h"
#include "store/UDMdata.h"
#include "views/AppliPcStatement.h"
#include "views/QueryRowsModel.h"
#include "views/windows/GridColumns.h"
#include "views/windows/UappliPcHyojiSettei.h"

#include <QAction>
#include <QEvent>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QSqlQuery>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <utility>

namespace {

constexpr int LargestFontSize = 72;

QPushButton *button(const QString &caption, const QString &name)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

void addGridAction(QWidget *grid, const QString &name, const QString &caption,
                   const std::function<void()> &handler)
{
    auto *action = new QAction(caption, grid);
    action->setObjectName(name);
    QObject::connect(action, &QAction::triggered, grid, handler);
    grid->addAction(action);
}

void setupGrid(TDBGridEx *grid)
{
    grid->setSelectionBehavior(QAbstractItemView::SelectRows);
    grid->setContextMenuPolicy(Qt::ActionsContextMenu);
    grid->verticalHeader()->hide();
    grid->verticalHeader()->setDefaultSectionSize(grid->fontMetrics().height() + 6);
}

} // namespace

ApplicationsPage::ApplicationsPage(QWidget *parent)
    : QWidget(parent), m_leftPanel(new QWidget), m_appliNameLBL(new QLabel),
      m_appliGrid(new TDBGridEx), m_appliPcGrid(new TDBGridEx),
      m_appliModel(new QueryRowsModel(AppliPcStatement::appliListColumns(), this)),
      m_appliPcModel(new QueryRowsModel(AppliPcStatement::appliPcColumns(), this)),
      m_reader(new BackgroundReader(this))
{
    setObjectName(QStringLiteral("AppliPage"));

    // Left: the applications.
    m_leftPanel->setObjectName(QStringLiteral("Panel11"));
    m_leftPanel->installEventFilter(this); // Panel11Resize
    m_appliGrid->setObjectName(QStringLiteral("AppliGrid"));
    m_appliGrid->setModel(m_appliModel);
    m_appliFilter = new FilterBox(m_appliGrid, QStringLiteral("件"), m_leftPanel, m_leftPanel);
    setupGrid(m_appliGrid);
    addGridAction(m_appliGrid, QStringLiteral("Copy2"), QStringLiteral("ｺﾋﾟｰ"),
                  [this] { m_appliGrid->CopyAllFields(); });
    auto *left = new QVBoxLayout(m_leftPanel);
    left->setContentsMargins(0, 0, 0, 0);
    left->addWidget(new QLabel(QStringLiteral("アプリケーション一覧")));
    left->addWidget(m_appliFilter);
    left->addWidget(m_appliGrid, 1);

    // Right: the PCs of the selected application.
    m_appliNameLBL->setObjectName(QStringLiteral("AppliNameLBL"));
    QFont bold = m_appliNameLBL->font();
    bold.setBold(true);
    m_appliNameLBL->setFont(bold);
    QPushButton *print = button(QStringLiteral("印刷"), QStringLiteral("BitBtn1"));
    QPushButton *settings = button(QStringLiteral("表示設定..."), QStringLiteral("CuteButton5"));
    QPushButton *appliInfo
        = button(QStringLiteral("アプリ情報..."), QStringLiteral("AppliAppliInfoBTN"));
    QPushButton *pcInfo = button(QStringLiteral("PC台帳..."), QStringLiteral("AppliPCinfoBTN"));
    connect(print, &QPushButton::clicked, this, &ApplicationsPage::BitBtn1Click);
    connect(settings, &QPushButton::clicked, this, &ApplicationsPage::CuteButton5Click);
    connect(appliInfo, &QPushButton::clicked, this, &ApplicationsPage::AppliAppliInfoBTNClick);
    connect(pcInfo, &QPushButton::clicked, this, &ApplicationsPage::AppliPCinfoBTNClick);

    m_appliPcGrid->setObjectName(QStringLiteral("AppliPcGrid"));
    m_appliPcGrid->setModel(m_appliPcModel);
    m_appliPcFilter = new FilterBox(m_appliPcGrid, QStringLiteral("台"), m_appliPcGrid);
    setupGrid(m_appliPcGrid);
    m_designedFontSize
        = m_appliPcGrid->font().pointSize() > 0 ? m_appliPcGrid->font().pointSize() : 9;
    addGridAction(m_appliPcGrid, QStringLiteral("AppliInfoMI"), QStringLiteral("ｱﾌﾟﾘ情報..."),
                  [this] { AppliAppliInfoBTNClick(); });
    addGridAction(m_appliPcGrid, QStringLiteral("PcInfoMI"), QStringLiteral("PC台帳..."),
                  [this] { AppliPCinfoBTNClick(); });
    auto *separator = new QAction(m_appliPcGrid);
    separator->setSeparator(true);
    m_appliPcGrid->addAction(separator);
    addGridAction(m_appliPcGrid, QStringLiteral("N12"), QStringLiteral("全項目ｺﾋﾟｰ"),
                  [this] { m_appliPcGrid->CopyAllFields(); });
    addGridAction(m_appliPcGrid, QStringLiteral("N14"), QStringLiteral("表示項目のみｺﾋﾟｰ"),
                  [this] { m_appliPcGrid->CopyShownColumns(); });
    const QStringList fields = AppSettings::appliPcGridFields();
    m_columns = std::make_unique<GridColumns>(m_appliPcGrid->horizontalHeader(), fields, fields,
                                              QVector<int>(fields.size(), 90));
    m_columns->applyDesigned();
    m_appliPcGrid->horizontalHeader()->setSectionsMovable(true);

    auto *right = new QWidget;
    auto *nameRow = new QHBoxLayout;
    nameRow->addWidget(new QLabel(QStringLiteral("アプリ名：")));
    nameRow->addWidget(m_appliNameLBL, 1);
    auto *tools = new QHBoxLayout;
    tools->addWidget(new QLabel(QStringLiteral("インストール状況")));
    tools->addStretch();
    for (QPushButton *b : {print, settings, appliInfo, pcInfo})
        tools->addWidget(b);
    auto *rightLayout = new QVBoxLayout(right);
    rightLayout->setContentsMargins(0, 0, 0, 0);
    rightLayout->addLayout(nameRow);
    rightLayout->addLayout(tools);
    rightLayout->addWidget(m_appliPcFilter);
    rightLayout->addWidget(m_appliPcGrid, 1);

    auto *splitter = new QSplitter(Qt::Horizontal);
    splitter->setObjectName(QStringLiteral("Splitter1"));
    splitter->addWidget(m_leftPanel);
    splitter->addWidget(right);
    splitter->setStretchFactor(1, 1);
    splitter->setSizes({300, 600});
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(splitter);

    // Master-detail: another application reads its PCs.
    connect(m_appliGrid->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            &ApplicationsPage::openAppliPcs);
}

ApplicationsPage::~ApplicationsPage() = default;

void ApplicationsPage::attach(AppSettings &settings, const ProgramPaths &paths)
{
    m_settings = &settings;
    m_paths = &paths;
}

void ApplicationsPage::applyGridSettings()
{
    if (!m_settings)
        return;
    m_columns->apply(m_settings->appliPcGrid.columns);
    if (m_settings->appliPcGrid.fontSize != 0)
        setFontSize(m_settings->appliPcGrid.fontSize);
}

void ApplicationsPage::storeGridSettings()
{
    if (!m_settings)
        return;
    m_columns->takeBack(m_settings->appliPcGrid.columns);
    m_settings->appliPcGrid.fontSize = fontSize();
}

int ApplicationsPage::fontSize() const
{
    return m_appliPcGrid->font().pointSize();
}

void ApplicationsPage::setFontSize(int points)
{
    const int size = points <= 0 ? m_designedFontSize : qMin(points, LargestFontSize);
    QFont font = m_appliPcGrid->font();
    font.setPointSize(size);
    m_appliPcGrid->setFont(font);
    m_appliPcGrid->verticalHeader()->setDefaultSectionSize(QFontMetrics(font).height() + 6);
}

void ApplicationsPage::showError(const QString &text)
{
    MessageBoxes::error(this, text);
}

QString ApplicationsPage::currentAppli() const
{
    const QModelIndex current = m_appliGrid->currentIndex();
    return current.isValid()
        ? m_appliModel->value(m_appliFilter->listRow(current), QStringLiteral("APPLI")).toString()
        : QString();
}

QString ApplicationsPage::currentPcKey() const
{
    const QModelIndex current = m_appliPcGrid->currentIndex();
    return current.isValid()
        ? m_appliPcModel->value(m_appliPcFilter->listRow(current), QStringLiteral("KEY")).toString()
        : QString();
}

void ApplicationsPage::refreshAppliPcGrid(TDMdata &dm)
{
    m_dm = &dm;
    if (!m_settings)
        return;
    m_statement = AppliPcStatement::build(m_settings->appliPcGrid.sort);
    read(false);
}

void ApplicationsPage::refreshLists(TDMdata &dm)
{
    m_dm = &dm;
    read(true);
}

void ApplicationsPage::openAppliPcs()
{
    read(false);
}

void ApplicationsPage::read(bool withList)
{
    // A list still being read is read again with the PCs: the new read
    // supersedes it.
    withList = withList || m_listPending;
    const QString appli = currentAppli();
    m_appliNameLBL->setText(appli);
    if (!m_dm || !m_dm->isConnected()) {
        m_listPending = false;
        m_appliPcModel->clear();
        return;
    }
    if (!withList && (m_statement.isEmpty() || appli.isEmpty())) {
        m_reader->cancel();
        m_appliPcModel->clear();
        return;
    }
    m_listPending = withList;
    const QString statement = m_statement;
    TDMdata &dm = *m_dm;
    m_reader->start(
        dm,
        [this, withList, appli, statement](BackgroundReader::Job &job) {
            TDMdata &store = job.store();
            std::optional<QueryRows> list;
            QString chosen = appli;
            if (withList) {
                QSqlQuery q = store.exec(AppliPcStatement::appliList());
                list = QueryRows::read(q);
                // One order on both engines: the grouping order SQLite gives.
                std::sort(list->rows.begin(), list->rows.end(),
                          [](const QVariantList &a, const QVariantList &b) {
                              return a.value(0).toString() < b.value(0).toString();
                          });
                // The current application stays where it can; else the first.
                const bool kept = std::any_of(
                    list->rows.cbegin(), list->rows.cend(),
                    [&appli](const QVariantList &row) { return row.value(0).toString() == appli; });
                if (!kept)
                    chosen
                        = list->rows.isEmpty() ? QString() : list->rows.first().value(0).toString();
            }
            std::optional<QueryRows> pcs;
            if (!statement.isEmpty() && !chosen.isEmpty() && !job.cancelled()) {
                QSqlQuery q = store.exec(store.dialect().withSqliteNullOrder(statement),
                                         {{QStringLiteral(":APPLI"), chosen}});
                pcs = QueryRows::read(q);
            }
            job.deliver([this, list, chosen, pcs] { showRead(list, chosen, pcs); });
        },
        [this, &dm](const QString &message, bool lost) {
            const bool listFailed = std::exchange(m_listPending, false);
            if (lost) {
                // The lists stay, marked as not current by the main window.
                StoreReconnector::of(dm).ensure();
                return;
            }
            m_appliPcModel->clear();
            if (listFailed)
                m_appliModel->clear();
            showError(message);
        });
}

void ApplicationsPage::showRead(const std::optional<QueryRows> &list, const QString &appli,
                                const std::optional<QueryRows> &pcs)
{
    if (list) {
        m_listPending = false;
        const QSignalBlocker blocker(m_appliGrid->selectionModel());
        m_appliModel->setRows(*list);
        const int row = m_appliModel->rowOf(QStringLiteral("APPLI"), appli);
        if (row >= 0)
            m_appliGrid->setCurrentIndex(m_appliFilter->gridIndex(row));
        fitColumns();
    }
    m_appliNameLBL->setText(appli);
    if (!pcs) {
        m_appliPcModel->clear();
        return;
    }
    m_appliPcModel->setRows(*pcs);
    const QString key = std::exchange(m_pendingPcKey, QString());
    if (m_appliPcGrid->model()->rowCount() > 0)
        m_appliPcGrid->setCurrentIndex(
            m_appliPcFilter->gridIndex(m_appliPcModel->rowOf(QStringLiteral("KEY"), key)));
}

bool ApplicationsPage::isReading() const
{
    return m_reader->isBusy();
}

void ApplicationsPage::finishReading()
{
    m_reader->finish();
}

void ApplicationsPage::goToPc(const QString &key)
{
    if (m_reader->isBusy()) {
        // The PCs are still being read: their row is gone to when they come.
        m_pendingPcKey = key;
        return;
    }
    if (m_appliPcGrid->model()->rowCount() > 0)
        m_appliPcGrid->setCurrentIndex(
            m_appliPcFilter->gridIndex(m_appliPcModel->rowOf(QStringLiteral("KEY"), key)));
}

void ApplicationsPage::fitColumns()
{
    if (m_appliModel->columnCount() < 2)
        return;
    m_appliGrid->setColumnWidth(1, 50);
    m_appliGrid->setColumnWidth(0, qMax(m_leftPanel->width() - 90, 40));
}

bool ApplicationsPage::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_leftPanel && event->type() == QEvent::Resize)
        fitColumns();
    return QWidget::eventFilter(watched, event);
}

void ApplicationsPage::clear()
{
    m_dm = nullptr;
    m_reader->cancel();
    m_listPending = false;
    m_appliModel->clear();
    m_appliPcModel->clear();
    m_appliNameLBL->clear();
}

void ApplicationsPage::BitBtn1Click()
{
    // The installation list of the application the list stands on.
    if (!StoreRequired::ensureConnected(this, m_dm))
        return;
    const QString appli = currentAppli();
    if (!appli.isEmpty())
        TQRappli::preview(this, *m_dm, appli);
}

void ApplicationsPage::CuteButton5Click()
{
    if (!m_settings || !m_paths)
        return;
    HyojiJyunValues current;
    for (const QString &field : m_columns->order())
        current.columns.append({field, m_columns->isShown(field)});
    current.sort = m_settings->appliPcGrid.sort;
    current.fontSize = QString::number(fontSize());
    TFappliPcHyojiSeetei dialog(current, *m_paths, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const HyojiJyunValues chosen = dialog.values();
    for (const HyojiJyunValues::Column &column : chosen.columns)
        m_columns->setShown(column.field, column.shown);
    m_settings->appliPcGrid.sort = chosen.sort;
    setFontSize(chosen.fontSize.toInt());
    if (m_dm && m_dm->isConnected())
        refreshAppliPcGrid(*m_dm);
}

void ApplicationsPage::AppliAppliInfoBTNClick()
{
    if (!StoreRequired::ensureConnected(this, m_dm) || !m_paths)
        return;
    const QString key = currentPcKey();
    const QString appli = currentAppli();
    if (key.isEmpty() || appli.isEmpty())
        return;
    TFappli dialog(*m_dm, *m_paths, this);
    // Outside any window's work: the dialog's OK is final.
    DirectRowEdit edit(*m_dm, TableId::Appli);
    try {
        if (!edit.begin({key, appli}, dialog.row()))
            return;
    } catch (const StoreError &e) {
        showError(e.message());
        return;
    }
    dialog.setPoster([this, &edit](RowBuffer &row) {
        // A connection that died meanwhile is restored first, quietly when
        // the server answers; otherwise the dialog stays open with its text.
        if (!StoreReconnector::of(*m_dm).ensure())
            throw ConnectionLost();
        edit.post(row);
    });
    const bool ok = dialog.exec() == QDialog::Accepted;
    edit.end();
    if (ok) {
        openAppliPcs();
        goToPc(key);
    }
}

void ApplicationsPage::AppliPCinfoBTNClick()
{
    if (!StoreRequired::ensureConnected(this, m_dm) || !m_paths)
        return;
    const QString key = currentPcKey();
    if (key.isEmpty())
        return;
    if (!TFpcDaityo::editPc(this, *m_dm, *m_paths, key))
        return;
    emit refreshRequested();
    goToPc(key);
}
