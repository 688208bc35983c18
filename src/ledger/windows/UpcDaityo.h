#pragma once

#include "kit/Unit1.h"
#include "ledger/LedgerLists.h"
#include "ledger/PcLedger.h"

#include <QHash>
#include <array>

class DetailDialog;
class DrivePanelList;
class FieldBinder;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class QueryRowsModel;
class TDMdata;

// "PC台帳": one PC's ledger entry, new or existing, with its drives,
// printers, applications and shares (edited through the detail dialogs),
// its network adapters and memory modules. Everything changed while the
// window is open is kept apart (PcLedger) and written as one at OK; Cancel
// or closing the window discards all of it.
//
// The caller creates the window, calls beginNew() or beginEdit() and shows
// it modally; addPc() and editPc() do all of that for the lists.
class TFpcDaityo : public TForm1
{
    Q_OBJECT

public:
    TFpcDaityo(TDMdata &dm, const ProgramPaths &paths, QWidget *parent = nullptr);
    ~TFpcDaityo() override;

    PcLedger &ledger() { return m_ledger; }
    void beginNew() { m_ledger.beginNew(); }
    // False when no PC has the key. Throws ClaimError (another copy holds
    // the PC) or StoreError.
    bool beginEdit(const QString &key) { return m_ledger.beginEdit(key); }

    // The window for a new PC, or for the PC of the key: the user is told
    // when another copy holds it or it is gone, and nothing opens. True when
    // the window closed with OK.
    static bool addPc(QWidget *parent, TDMdata &dm, const ProgramPaths &paths);
    static bool editPc(QWidget *parent, TDMdata &dm, const ProgramPaths &paths, const QString &key);

    // The message when OK finds the store gone.
    static QString storeGoneText();

protected:
    void formShow() override;
    void formClose() override;

private:
    using List = LedgerLists::List;
    static constexpr int ListCount = 6;

    // Layout (UpcDaityoLayout.cpp).
    void buildLayout();
    QWidget *buildHeader();
    QWidget *buildCpuTab();
    QWidget *buildDriveTab();
    QWidget *buildDetailTab(List list, const char *prefix, const char *gridName);
    QWidget *buildNetworkTab();
    QWidget *buildSonotaTab();
    QWidget *buildBikoTab();
    QWidget *buildWmiTab();
    QTableView *grid(List list, const char *name);
    QLineEdit *edit(const QString &field, const QString &objectName = QString());
    QComboBox *combo(const QString &field, const QString &objectName);
    QComboBox *unitCombo(const QString &field, const QString &entry);
    QWidget *dateEdit(const QString &field, const char *buttonName);
    static void addRow(QGridLayout *grid, int row, int column, const QString &label,
                       QWidget *control, int span = 1);

    // Behaviour (UpcDaityo.cpp).
    void DSpcStateChange(RowBuffer::State state);
    void OkBTNClick();
    void CanBTNClick();
    // Another copy took the PC while the connection was being restored.
    void claimLost();
    void PageControl1Change(int index);
    void fieldCommitted(const QString &field);
    void fillChoiceLists();
    void pickDate(const QString &field);
    void refreshList(List list, const QString &keepName = QString());
    void addDetail(List list);
    void editDetail(List list);
    void deleteDetail(List list);
    DetailDialog *createDialog(List list);
    QString currentName(List list) const;
    int currentRow(List list) const;

    TDMdata &m_dm;
    PcLedger m_ledger;
    FieldBinder *m_binder;
    QLabel *m_modeLBL = nullptr;
    QLineEdit *m_keyEDT = nullptr;
    QLineEdit *m_kanriNoEDT = nullptr;
    QTabWidget *m_pages = nullptr;
    QPushButton *m_okBTN = nullptr;
    QHash<QString, QComboBox *> m_choiceCombos; // by field
    std::array<QueryRowsModel *, ListCount> m_models {};
    std::array<QTableView *, ListCount> m_grids {};
    std::array<QPushButton *, 4> m_addBTN {};
    std::array<QPushButton *, 4> m_editBTN {};
    std::array<QPushButton *, 4> m_delBTN {};
    DrivePanelList *m_drivePanels = nullptr;
    QHash<int, QWidget *> m_firstControls; // by tab index
};
