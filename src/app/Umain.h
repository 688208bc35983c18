#pragma once

#include "base/AppSettings.h"
#include "kit/Unit1.h"

#include <QPointer>
#include <memory>

class ApplicationsPage;
class LeasePage;
class MainMenu;
class OverallStatusPage;
class PcListPage;
class QLabel;
class QPushButton;
class QTabWidget;
class ReportsPage;
class TDMdata;
class TFfolderSel;

// The main window: menus, the five tabs and the start-up and shutdown of
// the program. It holds the settings read at start-up until it closes and
// owns the data module from the start-up on.
class TFmain : public TForm1
{
    Q_OBJECT

public:
    explicit TFmain(const ProgramPaths &paths, QWidget *parent = nullptr);
    ~TFmain() override;

    // The data module; null until the start-up has created it.
    TDMdata *dataModule() const { return m_dm.get(); }
    const AppSettings &settings() const { return m_settings; }
    bool isStartupDone() const { return m_startupDone; }
    MainMenu *mainMenu() const { return m_menu; }
    QTabWidget *tabs() const { return m_tabs; }

    // The table check with its status texts. Does nothing when the store is
    // not connected. Throws StoreError.
    void CheckTables();
    // The views; without a connected store they are emptied (the title
    // still names the store of the settings).
    void RefreshStatistics();
    void RefreshLists();
    void RefreshAppliPcGrid();
    // The views read the store away from the window's thread and show what
    // they read when it is in; this waits for the reads running and shows
    // their rows now.
    void finishReading();

signals:
    // The start-up steps have run (whatever their outcome).
    void startupFinished();

protected:
    void formShow() override;
    void formClose() override;

private:
    void runStartup();
    // A lost server connection: the status bar says it is being restored;
    // when that fails the user is told why, and the views keep their rows
    // marked as not current; once it is back the views are read again.
    void showReconnecting();
    void clearReconnecting();
    void reconnectFailed(const QString &reason);
    void storeBack();
    // Whether the store can be read for the views now; a store that cannot
    // leaves them as they are, marked as not current.
    bool storeReadable();
    void markNotCurrent(bool notCurrent);
    // Steps from the folder check to the opened store; false when the
    // default data folder cannot be made and the start-up stops.
    bool prepareStore();
    void openStoreAtStartup();
    TDMdata &dataModuleCreated();
    bool isConnected() const;

    void DBSettingClick();
    void N1Click();
    void PCP1Click();
    void OptionClick();
    // "パソコン管理シート" of the reports tab: the sheets of all PCs.
    void Button1Click();
    // "部・課別パソコン一覧" of the reports tab.
    void CuteButton1Click();
    // "共有情報一覧" of the reports tab: the options window of the list.
    void MakatiButton2Click();
    void HelpClick();
    void ReadMeClick();
    void VersionClick();
    void N15Click();

    AppSettings m_settings;
    std::unique_ptr<TDMdata> m_dm;
    bool m_startupDone = false;

    MainMenu *m_menu;
    QTabWidget *m_tabs;
    OverallStatusPage *m_statusPage;
    PcListPage *m_pcListPage;
    ApplicationsPage *m_appliPage;
    LeasePage *m_leasePage;
    ReportsPage *m_reportsPage;
    QPushButton *m_endBTN;
    QLabel *m_notCurrentLBL;
    // The window that shows "サーバーに再接続しています…" besides this one.
    QPointer<TForm1> m_reconnectingWindow;
    // The import's folder window, created at the first import and kept.
    TFfolderSel *m_folderSel = nullptr;
};
