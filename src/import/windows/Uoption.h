#pragma once

#include "base/AppSettings.h"
#include "kit/Unit1.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QTabWidget;
class TDMdata;

// "オプション": the import's option to delete uninstalled applications and
// the two networks that choose the adapter a PC shows. The window edits its
// own copy; the caller takes appliDel() and networks() when it was closed
// with "O K". Only the update button writes, at once, to the store.
class TFoption : public TForm1
{
    Q_OBJECT

public:
    // dm: the store the update button works on; may be null.
    TFoption(TDMdata *dm, bool appliDel, const NetSettings &networks, const ProgramPaths &paths,
             QWidget *parent = nullptr);

    bool appliDel() const;
    NetSettings networks() const;

    QTabWidget *pages() const { return m_pages; }

private:
    QWidget *makeImportPage(bool appliDel);
    QWidget *makeNetworkPage(const NetSettings &networks);
    void UpdateBTNClick();

    TDMdata *m_dm;
    QTabWidget *m_pages;
    QCheckBox *m_appliDelCB = nullptr;
    QLineEdit *m_ipAddrEDT = nullptr;
    QLineEdit *m_subNetMaskEDT = nullptr;
    QLineEdit *m_ipAddr2EDT = nullptr;
    QLineEdit *m_subNetMask2EDT = nullptr;
    QPushButton *m_updateBTN = nullptr;
    QPushButton *m_okBTN;
    QPushButton *m_cancelBTN;
};
