#pragma once

#include "StoreError.h"

#include <QObject>
#include <QString>
#include <QStringList>

class QTimer;
class TDMdata;

// Claims between copies of the program that share one store. A window that
// edits one PC's data for as long as the user likes (the PC ledger, the
// application dialog) claims the PC while it is open and writes its work
// in one short transaction at OK; the lease window claims its contract the
// same way. Every other writer of that PC or contract (another copy's
// window, the deletions, the import of the PC's file, the lease data
// creation) waits 15 x 100 ms while it is claimed and then fails with
// ClaimError; everything else goes on without waiting.
//
// SQLite: a claim is a row of table PcClaim (Schema::claimTable), written
// in a short transaction. Its holder renews it every 15 seconds; a claim
// whose renewal stamp has not changed for a minute of the reader's own
// clock (whatever the holder's clock says), or one whose process is gone on
// the same computer, has lapsed and is taken over. So no write transaction
// stays open while a window is, and a copy that crashed or lost the shared
// folder blocks its PC for a minute at most after another copy first asks.
//
// PostgreSQL: a claim is a session-level advisory lock on a number drawn
// from the key. The server waits lock_timeout for it and frees it when the
// session ends; the connection's keep-alive settings make it notice a lost
// copy within about a minute. After a lost connection is restored the
// claims of the open windows are taken again (PcClaim::lost when another
// copy took one meanwhile).

// The error of a PC or contract that another copy holds; a StoreError to
// those that do not ask.
class ClaimError : public StoreError
{
public:
    using StoreError::StoreError;
};

// What a claim is on: a PC by its key, or a lease contract by its company
// and number.
struct ClaimSubject
{
    enum class Kind { Pc, Lease };
    Kind kind = Kind::Pc;
    QString key; // the PC's key, or the lease company
    QString number; // the contract number

    static ClaimSubject pc(const QString &key) { return {Kind::Pc, key, QString()}; }
    static ClaimSubject lease(const QString &lease, const QString &number)
    {
        return {Kind::Lease, lease, number};
    }
    // As messages name it: the key, or "company(number)".
    QString text() const;
};

namespace PcClaims {

// The message of ClaimError.
QString claimedText(const QString &key);
QString claimedText(const ClaimSubject &subject);

// Waits while another copy holds the PC or contract, 15 times 100 ms;
// throws ClaimError when it still does. Call it before the write
// transaction: on SQLite the wait holds no lock. (On PostgreSQL ensureFree
// waits instead.)
void waitWhileClaimed(TDMdata &dm, const QString &key);
void waitWhileClaimed(TDMdata &dm, const ClaimSubject &subject);

// Inside the caller's write transaction: throws ClaimError when another
// copy holds it. SQLite checks at once; PostgreSQL takes its lock until the
// transaction ends, waiting lock_timeout for it, and keeps the transaction
// usable when it fails.
void ensureFree(TDMdata &dm, const QString &key);
void ensureFree(TDMdata &dm, const ClaimSubject &subject);

// The same for the rows of many PCs at once (a restore, the maintenance
// window's OK), reading the claims once: waits while another copy holds any
// of these PCs, and checks them inside the write transaction. On PostgreSQL
// the check looks at the locks that other sessions hold and takes none.
// Both throw ClaimError naming the first PC held.
void waitWhileAnyClaimed(TDMdata &dm, const QStringList &keys);
void ensureNoneClaimed(TDMdata &dm, const QStringList &keys);

// How long a claim of a copy on another computer stays valid without being
// renewed (60 s of the reader's clock); tests shorten it.
void setLapseSeconds(int seconds);
int lapseSeconds();

} // namespace PcClaims

// The claim of one window on one PC or contract; released when it is
// destroyed.
class PcClaim : public QObject
{
    Q_OBJECT

public:
    explicit PcClaim(TDMdata &dm, QObject *parent = nullptr);
    ~PcClaim() override;
    PcClaim(const PcClaim &) = delete;
    PcClaim &operator=(const PcClaim &) = delete;

    // Claims the PC (or contract), waiting 15 x 100 ms while another copy
    // holds it. Throws ClaimError, or StoreError when the store fails.
    void take(const QString &key);
    void take(const ClaimSubject &subject);
    // Gives the claim up; a failure leaves it to lapse.
    void release();
    bool isHeld() const { return m_held; }
    // Another copy took it while the connection was being restored; the
    // window keeps its work, and confirm() refuses it until the claim is
    // this copy's again.
    bool isLost() const { return m_lost; }
    QString key() const { return m_subject.key; }
    const ClaimSubject &subject() const { return m_subject; }

    // Inside the transaction that saves the window's work: makes sure the
    // claim is still this copy's, taking it anew when it had lapsed or was
    // lost and no one else holds it. Throws ClaimError.
    void confirm();

    // Renews the claim (the holder's sign of life); a store that is busy
    // just now is tried again at the next beat.
    void beat();

signals:
    // The claim could not be taken again after a reconnect: another copy
    // holds it.
    void lost();

private:
    // After the store's connection was restored: takes the claim again.
    void retake();

    TDMdata &m_dm;
    ClaimSubject m_subject;
    bool m_held = false;
    bool m_lost = false;
    QTimer *m_beat;
};
