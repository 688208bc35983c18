#include "Umain.h"

#include "ApplicationsPage.h"
#include "ImportCommand.h"
#include "LeasePage.h"
#include "MainMenu.h"
#include "OverallStatusPage.h"
#include "PcListPage.h"
#include "ReportsPage.h"
#include "base/IniFile.h"
#include "base/TextHelpers.h"
#include "export/windows/ExportCommand.h"
#include "import/ImportRun.h"
#include "import/windows/UfolderSel.h"
#include "import/windows/Uoption.h"
#include "kit/HelpViewer.h"
#include "kit/MessageBoxes.h"
#include "kit/StoreRequired.h"
#include "ledger/windows/UjyufukuPC.h"
#include "maintenance/windows/Upc.h"
#include "reports/PcSheetReport.h"
#include "reports/windows/UbuKaBetu.h"
#include "reports/windows/UkyoyuItiran.h"
#include "reports/windows/UpcSheetLR.h"
#include "shell/LoginDialog.h"
#include "shell/TableCheckReporter.h"
#include "shell/UDBSetting.h"
#include "shell/UreadMe.h"
#include "shell/VersionDialog.h"
#include "store/ConnectionReason.h"
#include "store/StoreConnection.h"
#include "store/StoreError.h"
#include "store/StoreReconnector.h"
#include "store/StoreRights.h"
#include "store/UDMdata.h"
#include "tools/windows/Usql.h"
#include "views/AppliCorrection.h"
#include "views/windows/UappliUpd.h"
#include "views/windows/UhenkoRireki.h"
#include "views/windows/Ukensaku.h"

#include <QApplication>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QVBoxLayout>

TFmain::TFmain(const ProgramPaths &paths, QWidget *parent)
    : TForm1(QStringLiteral("Fmain"), paths, parent), m_settings(paths.defaultDataDir()),
      m_menu(new MainMenu(this)), m_tabs(new QTabWidget(contentArea())),
      m_statusPage(new OverallStatusPage(m_tabs)), m_pcListPage(new PcListPage(m_tabs)),
      m_appliPage(new ApplicationsPage(m_tabs)), m_leasePage(new LeasePage(paths, m_tabs)),
      m_reportsPage(new ReportsPage(m_tabs)),
      m_endBTN(new QPushButton(QStringLiteral("終　了"), contentArea())),
      m_notCurrentLBL(new QLabel(contentArea()))
{
    setWindowTitle(QStringLiteral("Orvane"));
    setWindowFlags(Qt::Window);
    setClosesOnEscape(false);
    resize(1000, 700);
    setMenuBar(m_menu);

    m_tabs->setObjectName(QStringLiteral("PageControl1"));
    m_tabs->addTab(m_statusPage, QStringLiteral("全体状況"));
    m_tabs->addTab(m_pcListPage, QStringLiteral("パソコン一覧"));
    m_tabs->addTab(m_appliPage, QStringLiteral("アプリケーション"));
    m_tabs->addTab(m_leasePage, QStringLiteral("リース管理"));
    m_tabs->addTab(m_reportsPage, QStringLiteral("帳票印刷"));

    m_endBTN->setObjectName(QStringLiteral("EndBTN"));
    m_endBTN->setAutoDefault(false);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch();
    bottom->addWidget(m_endBTN);

    m_notCurrentLBL->setObjectName(QStringLiteral("NotCurrentLBL"));
    m_notCurrentLBL->setText(QStringLiteral(
        "データベースサーバーに接続できないため、表示している内容は最新ではありません。"));
    m_notCurrentLBL->setStyleSheet(
        QStringLiteral("QLabel { background: #FFE0E0; color: #A00000; padding: 3px; }"));
    m_notCurrentLBL->hide();

    auto *layout = new QVBoxLayout(contentArea());
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_notCurrentLBL);
    layout->addWidget(m_tabs, 1);
    layout->addLayout(bottom);

    connect(m_endBTN, &QPushButton::clicked, this, &QWidget::close);
    connect(m_menu->exit, &QAction::triggered, this, &QWidget::close);
    connect(m_menu->dbSetting, &QAction::triggered, this, &TFmain::DBSettingClick);
    connect(m_menu->importInvaro, &QAction::triggered, this, &TFmain::N1Click);
    connect(m_menu->option, &QAction::triggered, this, &TFmain::OptionClick);
    connect(m_menu->help, &QAction::triggered, this, &TFmain::HelpClick);
    connect(m_menu->readMe, &QAction::triggered, this, &TFmain::ReadMeClick);
    connect(m_menu->version, &QAction::triggered, this, &TFmain::VersionClick);
    // The four export items of the File menu.
    auto *exportCommand = new ExportCommand(*this, [this] { return m_dm.get(); });
    connect(m_menu->exportPc, &QAction::triggered, exportCommand, &ExportCommand::PCP2Click);
    connect(m_menu->exportDrive, &QAction::triggered, exportCommand, &ExportCommand::D2Click);
    connect(m_menu->exportPrinter, &QAction::triggered, exportCommand, &ExportCommand::E1Click);
    connect(m_menu->exportAppli, &QAction::triggered, exportCommand, &ExportCommand::A1Click);
    connect(m_menu->pcTable, &QAction::triggered, this, &TFmain::PCP1Click);
    // The SQL window; the views are not refreshed after it.
    connect(m_menu->sqlWindow, &QAction::triggered, this,
            [this] { TFsql(m_dm.get(), this->paths(), this).exec(); });
    connect(m_reportsPage->pcSheetButton(), &QPushButton::clicked, this, &TFmain::Button1Click);
    connect(m_reportsPage->buKaButton(), &QPushButton::clicked, this, &TFmain::CuteButton1Click);
    connect(m_reportsPage->kyoyuButton(), &QPushButton::clicked, this, &TFmain::MakatiButton2Click);
    connect(m_pcListPage, &PcListPage::autoRefreshChanged, this,
            [this](bool on) { m_settings.jidoKosin = on; });
    m_pcListPage->attach(m_settings, this->paths());
    connect(m_pcListPage, &PcListPage::refreshRequested, this, [this] {
        RefreshStatistics();
        RefreshLists();
    });
    connect(m_pcListPage, &PcListPage::listsRefreshRequested, this, &TFmain::RefreshLists);
    connect(m_leasePage, &LeasePage::listsRefreshRequested, this, &TFmain::RefreshLists);
    connect(m_leasePage, &LeasePage::refreshRequested, m_pcListPage,
            &PcListPage::refreshKeepingRow);
    m_appliPage->attach(m_settings, this->paths());
    connect(m_appliPage, &ApplicationsPage::refreshRequested, this, [this] {
        RefreshStatistics();
        RefreshLists();
    });
    connect(m_menu->appliUpd, &QAction::triggered, this, &TFmain::N15Click);
    // The history of changes; it only reads, the views stay as they are.
    connect(m_menu->history, &QAction::triggered, this, [this] {
        if (StoreRequired::ensureConnected(this, m_dm.get()))
            TFhenkoRireki(*m_dm, this->paths(), this).exec();
    });
    // PCs entered twice; the views are refreshed when a merge changed them.
    connect(m_menu->duplicates, &QAction::triggered, this, [this] {
        if (!StoreRequired::ensureConnected(this, m_dm.get()))
            return;
        TFjyufukuPC window(*m_dm, this->paths(), this);
        window.exec();
        if (window.changedPcs()) {
            RefreshStatistics();
            RefreshLists();
        }
    });
    // The search over the whole ledger; a match opened and changed there
    // refreshes the views.
    connect(m_menu->search, &QAction::triggered, this, [this] {
        if (!StoreRequired::ensureConnected(this, m_dm.get()))
            return;
        TFkensaku window(*m_dm, this->paths(), this);
        connect(&window, &TFkensaku::ledgerChanged, this, [this] {
            RefreshStatistics();
            RefreshLists();
        });
        window.exec();
    });
    // The overall status tab: its radio buttons refresh the statistics, its
    // "最新の状態に更新" is the PC list's (SaisinBTNClick).
    connect(m_statusPage, &OverallStatusPage::groupingChanged, this, &TFmain::RefreshStatistics);
    connect(m_statusPage, &OverallStatusPage::refreshRequested, m_pcListPage,
            &PcListPage::refreshKeepingRow);
}

TFmain::~TFmain() = default;

void TFmain::formShow()
{
    // The start-up runs once the window is on the screen, so its status
    // texts and messages appear over it.
    QTimer::singleShot(0, this, &TFmain::runStartup);
}

void TFmain::runStartup()
{
    if (m_startupDone)
        return;

    {
        IniFile ini(iniFilePath());
        if (ini.readFailed()) {
            MessageBoxes::warning(
                this,
                QStringLiteral(
                    "設定ファイルを読み込めませんでした。既定の設定で起動します。\n%1\n%2")
                    .arg(QDir::toNativeSeparators(ini.path()), ini.errorString()));
        }
        m_settings.readAtStart(
            ini, [this](const QString &text) { setStatusText(text); },
            [] { return LocalIPAddress(); });
        m_pcListPage->setAutoRefresh(m_settings.jidoKosin);
        m_pcListPage->applyGridSettings();
        m_appliPage->applyGridSettings();
        AppSettings::writeVersion(ini);
        // A file that cannot be written is reported when the window closes.
        ini.updateFile();
    }

    if (prepareStore()) {
        m_tabs->setCurrentIndex(0);
        RefreshStatistics();
        RefreshLists();
        RefreshAppliPcGrid();
        if (isConnected())
            m_appliPage->fitColumns();
    }

    m_startupDone = true;
    emit startupFinished();
}

bool TFmain::prepareStore()
{
    setStatusText(QStringLiteral("フォルダのチェック"));
    TDMdata &dm = dataModuleCreated();
    if (dm.isConnected())
        dm.close();

    const QString folderError = StoreConnection::ensureDefaultDataFolder(paths().homeDir());
    if (!folderError.isEmpty()) {
        MessageBoxes::error(this, folderError);
        return false;
    }

    dm.setPrivateDir(QDir::tempPath());
    dm.setSettings(StoreConnection::toStoreSettings(m_settings.db));
    setWindowTitle(StoreConnection::mainWindowTitle(m_settings.db));
    openStoreAtStartup();
    return true;
}

void TFmain::openStoreAtStartup()
{
    // The fixed text, with the reason on a second line.
    QString reason;
    try {
        m_dm->open();
        reason = StoreRights::missingRights(*m_dm);
        if (reason.isEmpty()) {
            CheckTables();
            return;
        }
    } catch (const StoreError &e) {
        reason = m_dm->isConnected() ? e.message()
                                     : ConnectionReason::of(m_dm->settings(), e.message());
    }
    // A store whose tables could not be checked is not used: the views stay
    // empty until another store is connected.
    if (m_dm->isConnected())
        m_dm->close();
    MessageBoxes::error(this, QStringLiteral("データベースへの接続に失敗しました\n") + reason);
}

TDMdata &TFmain::dataModuleCreated()
{
    if (!m_dm) {
        m_dm = std::make_unique<TDMdata>();
        // The prompt opens over whichever window asked for the connection
        // (the store connection window or this one).
        m_dm->setLoginPrompt([this](QString &user, QString &password) {
            QWidget *modal = QApplication::activeModalWidget();
            return LoginDialog::ask(modal ? modal : this, m_dm->settings(), user, password);
        });
        StoreReconnector &reconnector = StoreReconnector::of(*m_dm);
        connect(&reconnector, &StoreReconnector::reconnecting, this, &TFmain::showReconnecting);
        connect(&reconnector, &StoreReconnector::gaveUp, this, &TFmain::reconnectFailed);
        // After the command that brought it back has run.
        connect(m_dm.get(), &TDMdata::reconnected, this, &TFmain::storeBack, Qt::QueuedConnection);
    }
    return *m_dm;
}

bool TFmain::isConnected() const
{
    return m_dm && m_dm->isConnected();
}

void TFmain::CheckTables()
{
    if (!isConnected())
        return;
    TableCheckReporter reporter(*this, *m_dm);
    m_dm->checkTables(reporter);
}

void TFmain::RefreshStatistics()
{
    if (!isConnected())
        m_statusPage->clear();
    else if (storeReadable())
        m_statusPage->refresh(*m_dm);
}

void TFmain::RefreshLists()
{
    // The title names the store of the settings, connected or not.
    setWindowTitle(StoreConnection::mainWindowTitle(m_settings.db));
    if (!isConnected()) {
        // No rows of a store that is gone stay on the screen.
        markNotCurrent(false);
        m_pcListPage->clear();
        m_appliPage->clear();
        m_leasePage->clear();
        return;
    }
    if (!storeReadable())
        return;
    m_pcListPage->refresh(*m_dm);
    m_appliPage->refreshLists(*m_dm);
    m_leasePage->refresh(*m_dm);
}

void TFmain::RefreshAppliPcGrid()
{
    if (isConnected() && storeReadable())
        m_appliPage->refreshAppliPcGrid(*m_dm);
}

void TFmain::finishReading()
{
    m_statusPage->finishReading();
    m_pcListPage->finishReading();
    m_appliPage->finishReading();
}

bool TFmain::storeReadable()
{
    const bool readable = StoreReconnector::of(*m_dm).ensure();
    markNotCurrent(!readable);
    return readable;
}

void TFmain::markNotCurrent(bool notCurrent)
{
    m_notCurrentLBL->setVisible(notCurrent);
}

void TFmain::showReconnecting()
{
    const QString text = ImportRun::reconnectingText();
    setStatusText(text);
    // The window the user works in says it too.
    m_reconnectingWindow = qobject_cast<TForm1 *>(QApplication::activeModalWidget());
    if (m_reconnectingWindow)
        m_reconnectingWindow->setStatusText(text);
}

void TFmain::clearReconnecting()
{
    setStatusText(QString());
    if (m_reconnectingWindow)
        m_reconnectingWindow->setStatusText(QString());
    m_reconnectingWindow = nullptr;
}

void TFmain::reconnectFailed(const QString &reason)
{
    clearReconnecting();
    markNotCurrent(true);
    QString text = QStringLiteral("データベースサーバーに再接続できませんでした。");
    if (!reason.isEmpty())
        text += u'\n' + reason;
    text += QStringLiteral("\n表示している内容は最新ではありません。別のデータベースを使うときは、"
                           "「ファイル → DB接続...」で接続先を変更してください。");
    QWidget *modal = QApplication::activeModalWidget();
    MessageBoxes::error(modal ? modal : this, text);
}

void TFmain::storeBack()
{
    clearReconnecting();
    markNotCurrent(false);
    // What other copies changed meanwhile; each list stays on its row.
    if (m_startupDone && isConnected() && !m_dm->isLost())
        m_pcListPage->refreshKeepingRow();
}

void TFmain::formClose()
{
    m_pcListPage->storeGridSettings();
    m_appliPage->storeGridSettings();
    IniFile ini(iniFilePath());
    m_settings.writeAtClose(ini);
    if (!ini.updateFile()) {
        MessageBoxes::warning(this,
                              QStringLiteral("設定ファイルを保存できませんでした。\n%1\n%2")
                                  .arg(QDir::toNativeSeparators(ini.path()), ini.errorString()));
    }
}

void TFmain::DBSettingClick()
{
    TDMdata &dm = dataModuleCreated();
    {
        TFDBSetting window(dm, m_settings.db, paths(), this);
        window.exec();
    }
    try {
        CheckTables();
    } catch (const StoreError &error) {
        // As at start-up, a store that failed its check is not used.
        m_dm->close();
        MessageBoxes::error(this, error.message());
    }
    RefreshStatistics();
    RefreshLists();
}

void TFmain::N1Click()
{
    if (!m_folderSel)
        m_folderSel = new TFfolderSel(paths(), this);
    ImportCommand(*this, *m_folderSel).run();
}

void TFmain::PCP1Click()
{
    // The views are not refreshed after it.
    if (!StoreRequired::ensureConnected(this, m_dm.get()))
        return;
    TFpc window(*m_dm, paths(), this);
    window.exec();
}

void TFmain::OptionClick()
{
    TFoption window(m_dm.get(), m_settings.appliDel, m_settings.net, paths(), this);
    if (window.exec() != QDialog::Accepted)
        return;
    // AppliDel lasts until the program ends; the networks are written at
    // shutdown.
    m_settings.appliDel = window.appliDel();
    m_settings.net = window.networks();
    RefreshLists();
}

void TFmain::Button1Click()
{
    if (!StoreRequired::ensureConnected(this, m_dm.get()))
        return;
    TLRPCsheet window(*m_dm, PcSheetReport::allPcs(), this);
    window.exec();
}

void TFmain::CuteButton1Click()
{
    if (!StoreRequired::ensureConnected(this, m_dm.get()))
        return;
    TQRbuKaBetu::preview(this, *m_dm);
}

void TFmain::MakatiButton2Click()
{
    if (!StoreRequired::ensureConnected(this, m_dm.get()))
        return;
    TFkyoyuItiran window(*m_dm, paths(), this);
    window.exec();
}

void TFmain::HelpClick()
{
    HelpViewer::showContents(this, paths());
}

void TFmain::ReadMeClick()
{
    TFreadMe window(paths(), this);
    window.exec();
}

void TFmain::VersionClick()
{
    VersionDialog dialog(this);
    dialog.exec();
}

void TFmain::N15Click()
{
    if (!StoreRequired::ensureConnected(this, m_dm.get()))
        return;
    try {
        if (!AppliCorrection::needed(*m_dm)) {
            MessageBoxes::warning(this, QStringLiteral("修正が必要なデータはありません"));
            return;
        }
    } catch (const StoreError &error) {
        MessageBoxes::error(this, error.message());
        return;
    }
    // The views are not refreshed afterwards.
    TFappliUpd window(*m_dm, paths(), this);
    window.exec();
}
