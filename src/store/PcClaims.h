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
// in one short transaction at OK. Every other writer of that PC (another
// copy's ledger window, the PC deletion, the import of the PC's file) waits
// 15 x 100 ms while the PC is claimed and then fails with ClaimError;
// everything else goes on without waiting.
//
// SQLite: a claim is a row of table PcClaim (Schema::claimTable), written
// in a short transaction. Its holder renews it every 15 seconds; a claim
// not renewed for a minute, or one whose process is gone on the same
// computer, has lapsed and is taken over. So no write transaction stays open
// while a window is, and a copy that crashed or lost the shared folder
// blocks its PC for a minute at most.
//
// PostgreSQL: a claim is a session-level advisory lock on a number drawn
// from the key. The server waits lock_timeout for it and frees it when the
// session ends; the connection's keep-alive settings make it notice a lost
// copy within about a minute.

// The error of a PC that another copy holds; a StoreError to those that do
// not ask.
class ClaimError : public StoreError
{
public:
    using StoreError::StoreError;
};

namespace PcClaims {

// The message of ClaimError.
QString claimedText(const QString &key);

// Waits while another copy holds the PC, 15 times 100 ms; throws ClaimError
// when it still does. Call it before the write transaction: on SQLite the
// wait holds no lock. (On PostgreSQL ensureFree waits instead.)
void waitWhileClaimed(TDMdata &dm, const QString &key);

// Inside the caller's write transaction: throws ClaimError when another
// copy holds the PC. SQLite checks at once; PostgreSQL takes the PC's lock
// until the transaction ends, waiting lock_timeout for it, and keeps the
// transaction usable when it fails.
void ensureFree(TDMdata &dm, const QString &key);

// The same for the rows of many PCs at once (a restore, the maintenance
// window's OK), reading the claims once: waits while another copy holds any
// of these PCs, and checks them inside the write transaction. On PostgreSQL
// the check looks at the locks that other sessions hold and takes none.
// Both throw ClaimError naming the first PC held.
void waitWhileAnyClaimed(TDMdata &dm, const QStringList &keys);
void ensureNoneClaimed(TDMdata &dm, const QStringList &keys);

// How long a claim of a copy on another computer stays valid without being
// renewed (60 s); tests shorten it.
void setLapseSeconds(int seconds);
int lapseSeconds();

} // namespace PcClaims

// The claim of one window on one PC; released when it is destroyed.
class PcClaim : public QObject
{
    Q_OBJECT

public:
    explicit PcClaim(TDMdata &dm, QObject *parent = nullptr);
    ~PcClaim() override;
    PcClaim(const PcClaim &) = delete;
    PcClaim &operator=(const PcClaim &) = delete;

    // Claims the PC, waiting 15 x 100 ms while another copy holds it.
    // Throws ClaimError, or StoreError when the store fails.
    void take(const QString &key);
    // Gives the claim up; a failure leaves it to lapse.
    void release();
    bool isHeld() const { return m_held; }
    QString key() const { return m_key; }

    // Inside the transaction that saves the window's work: makes sure the
    // claim is still this copy's, taking it anew when it had lapsed and no
    // one else has taken it. Throws ClaimError.
    void confirm();

    // Renews the claim (the holder's sign of life); a store that is busy
    // just now is tried again at the next beat.
    void beat();

private:
    TDMdata &m_dm;
    QString m_key;
    bool m_held = false;
    QTimer *m_beat;
};
