#pragma once

#include "kit/Unit1.h"
#include "lease/LeaseContract.h"

class CoveredPcModel;
class PcClaim;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabWidget;
class QTableView;
class ScheduleModel;
class TDMdata;

// "リース台帳": one lease contract with its payment schedule and the PCs it
// covers. The schedule and the PCs are edited in working tables of the
// in-memory database and written to the store only by OK, together with
// the contract, in one transaction. A save that fails writes nothing: the
// store's message is shown and the window stays open with what was entered.
//
// An existing contract is claimed while the window is open (PcClaims.h),
// so other copies can neither open, delete nor add to it meanwhile, and OK
// refuses a contract whose UpdateTime changed since it was read.
//
// The caller sets Mode ("add" or "upd") and, for "upd", the key of the
// contract before showing the window; claim() takes the claim beforehand
// (showing takes it otherwise).
class TFleaseDaityo : public TForm1
{
    Q_OBJECT

public:
    TFleaseDaityo(TDMdata &dm, const ProgramPaths &paths, QWidget *parent = nullptr);
    ~TFleaseDaityo() override;

    QString Mode;
    QString LeaseKey;
    QString LeaseNoKey;

    ScheduleModel *schedule() const { return m_schedule; }
    CoveredPcModel *coveredPcs() const { return m_pcs; }

    // "upd": claims the contract of LeaseKey and LeaseNoKey, waiting
    // 15 x 100 ms while another copy has it open. Throws ClaimError or
    // StoreError.
    void claim();
    // The message when OK finds the store server gone.
    static QString storeGoneText();

protected:
    void formShow() override;

private:
    bool isAddMode() const { return Mode == QLatin1String("add"); }
    void buildControls();
    QLineEdit *edit(const QString &column);
    QComboBox *combo(const QString &column);
    QWidget *dateBox(QLineEdit *edit, const char *buttonName, void (TFleaseDaityo::*click)());
    // Fills the window; false when the edit must be abandoned.
    bool load();
    void abandon(const QString &message);
    LeaseContract::Texts texts() const;
    void setTexts(const LeaseContract::Texts &texts);

    void focusChanged(QWidget *old, QWidget *now);
    void GroupBox1Exit();
    void dateBoxExit(QLineEdit *edit);
    void pickDate(QLineEdit *edit);
    void SpeedButton1Click();
    void SpeedButton2Click();
    void SpeedButton3Click();
    void LeaseAddBTNClick();
    void LeaseDelBTNClick();
    void PCaddBTNClick();
    void PCDelBTNClick();
    void TmesaiAfterPost();
    void OkBTNClick();
    void showRefused(const QString &message);
    void claimLost();

    TDMdata &m_dm;
    PcClaim *m_claim;
    QVariant m_readStamp; // the contract's UpdateTime as read
    ScheduleModel *m_schedule;
    CoveredPcModel *m_pcs;
    // The contract's controls by column name (line edits and combo boxes).
    QHash<QString, QWidget *> m_controls;
    QLabel *m_modeLBL;
    QGroupBox *m_keyGroup;
    QComboBox *m_leaseCB;
    QLineEdit *m_leaseNoEDT;
    QList<QLineEdit *> m_dateEdits;
    QTabWidget *m_tabs;
    QTableView *m_mesaiDBG;
    QTableView *m_pcDBG;
    QLabel *m_kaisuLBL;
    QLabel *m_kingakuLBL;
    QLabel *m_zeiLBL;
    QLabel *m_hosyuryoLBL;
    QLabel *m_gokeiLBL;
    QPushButton *m_okBTN;
    QPushButton *m_canBTN;
    bool m_refused = false; // a typed value was refused since OK was pressed
};
