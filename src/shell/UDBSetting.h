#pragma once

#include "base/AppSettings.h"
#include "kit/Unit1.h"
#include "store/StoreSettings.h"

class QLineEdit;
class QPushButton;
class QRadioButton;
class TDMdata;

// "データベース接続": points the store at a local data folder or a server
// and connects at once. Only a connection that succeeds (with a login that
// may use the tables) changes the main window's copy of the connection
// settings; after a failure the reason is shown and the previous store is
// opened again, with the login it had (no second login prompt).
class TFDBSetting : public TForm1
{
    Q_OBJECT

public:
    TFDBSetting(TDMdata &dm, DbSettings &mainSettings, const ProgramPaths &paths,
                QWidget *parent = nullptr);

private:
    void fillFromSettings();
    void applyEnabling();
    void FolderBTNClick();
    void ConnectBTNClick();
    // Opens the store the main window's copy names again, after a failed
    // attempt: previous holds the user and password it was open with, none
    // when it was not open.
    void reopenPrevious(const StoreSettings &previous, bool wasOpen);

    TDMdata &m_dm;
    DbSettings &m_mainSettings;

    QRadioButton *m_localRB;
    QRadioButton *m_serverRB;
    QLineEdit *m_folderEDT;
    QPushButton *m_folderBTN;
    QLineEdit *m_ipEDT;
    QLineEdit *m_portEDT;
    QLineEdit *m_dbNameEDT;
    QLineEdit *m_userEDT;
    QLineEdit *m_passEDT;
    QPushButton *m_connectBTN;
    QPushButton *m_cancelBTN;
};
