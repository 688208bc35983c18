#pragma once

#include "DetailWorkCopy.h"
#include "LedgerLists.h"
#include "RowBuffer.h"
#include "store/PcClaims.h"
#include "store/QueryRows.h"
#include "store/RecordCursor.h"

#include <QDate>
#include <QObject>

class TDMdata;

// The work of one PC ledger window, apart from the store until OK: the PC
// row, the PC's detail rows as a working copy (DetailWorkCopy), and the
// claim on the PC that keeps other copies of the program from writing it
// meanwhile (PcClaims.h). save() writes all of it in one short transaction;
// discard() drops it. So the window holds no store transaction while it is
// open, and other copies wait only for this PC.
//
// Rules of the PC row kept here: a new address sets IP16 to its eight
// hexadecimal digits; a new PC's detail rows follow its key as it is typed.
class PcLedger : public QObject
{
    Q_OBJECT

public:
    explicit PcLedger(TDMdata &dm, QObject *parent = nullptr);
    ~PcLedger() override;

    TDMdata &dataModule() const { return m_dm; }

    // A new PC: an empty row in insert state, no detail rows.
    void beginNew();
    // An existing PC: claims it (waiting 15 x 100 ms while another copy
    // holds it; ClaimError), then reads its row and detail rows. False
    // (nothing claimed) when no PC has the key. Throws StoreError.
    bool beginEdit(const QString &key);

    RowBuffer &pc() { return m_pc; }
    // The PC's key as its row holds it now.
    QString key() const { return m_pc.text(QStringLiteral("Key")); }

    // A list of the PC: the editable ones from the working copy, the
    // adapters and memory modules as read at the start.
    QueryRows list(LedgerLists::List list) const;

    // Detail rows through the dialogs: a new row with the PC's key; the row
    // of this name (false when there is none); the dialog's post (StoreError
    // with the field texts); the delete statement of the list.
    void appendDetail(RowBuffer &row) const;
    bool editDetail(LedgerLists::List list, const QString &name, RowBuffer &row) const;
    void postDetail(LedgerLists::List list, RowBuffer &row);
    void deleteDetail(LedgerLists::List list, const QString &name);

    // OK: stamps UpdateYMD with today, then writes the PC row and every
    // detail change in one transaction and releases the claim. Throws
    // StoreError (ClaimError) with everything rolled back and kept here for
    // another try: a missing or duplicate key, a PC that another copy
    // deleted, a claim another copy took over, a store that failed.
    void save(const QDate &today);
    // Cancel: drops the work and releases the claim.
    void discard();

    // Another copy took the PC's claim while the connection was away.
    bool isClaimLost() const { return m_claim.isLost(); }

    // Whether the store still answers (after a failed save: a store that
    // went away, as against a refused row).
    bool storeAnswers() const;

    // The message when the PC is no longer in the store.
    static QString deletedText(const QString &key);

signals:
    // Another copy took the PC while the store's connection was being
    // restored: save() is refused until it lets go; the work stays.
    void claimLost();

private:
    void pcValueChanged(const QString &field);

    TDMdata &m_dm;
    RowBuffer m_pc;
    RecordCursor m_tpc; // the PC table, written at save
    DetailWorkCopy m_work;
    PcClaim m_claim;
    QueryRows m_adapters;
    QueryRows m_memory;
    bool m_loading = false;
};
