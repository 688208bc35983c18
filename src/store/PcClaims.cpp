#include "PcClaims.h"

#include "StoreTransaction.h"
#include "StoreValue.h"
#include "UDMdata.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QSet>
#include <QSqlError>
#include <QSqlQuery>
#include <QSysInfo>
#include <QThread>
#include <QTimer>
#include <QtEndian>
#include <cerrno>
#include <csignal>

namespace {

constexpr int RetryMs = 100;
constexpr int BeatMs = 15000;
int g_lapseSeconds = 60;

const QString TimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
// PostgreSQL's code of a lock not had within lock_timeout.
const QString LockNotAvailable = QStringLiteral("55P03");

bool isPostgres(const TDMdata &dm)
{
    return dm.engine() == Engine::PostgreSQL;
}

// The tries after the first, 100 ms apart, within the store's lock wait
// (15 for the 1.5 s it has unless set).
int retries(const TDMdata &dm)
{
    return dm.lockWait() / RetryMs;
}

// The key as the PC table holds it (cut to its width).
QString storedKey(const TDMdata &dm, const QString &key)
{
    const ColumnDef &column = *Schema::table(TableId::PC).column(QStringLiteral("Key"));
    return StoreValue::toStore(column, key, dm.engine()).toString();
}

// The advisory lock number of a PC on PostgreSQL: 64 bits of a hash.
qint64 lockNumber(const TDMdata &dm, const QString &key)
{
    const QByteArray digest = QCryptographicHash::hash(
        (QStringLiteral("PC:") + storedKey(dm, key)).toUtf8(), QCryptographicHash::Sha1);
    return qFromBigEndian<qint64>(digest.constData());
}

// One advisory lock function of PostgreSQL on the PC's number.
QSqlQuery advisoryQuery(TDMdata &dm, const char *function, const QString &key)
{
    QSqlQuery q = dm.prepare(QStringLiteral("SELECT %1(:Lock)").arg(QLatin1String(function)));
    q.bindValue(QStringLiteral(":Lock"), lockNumber(dm, key));
    return q;
}

// Runs it; a lock not had in time is a ClaimError.
void runAdvisory(QSqlQuery &q, const QString &key)
{
    if (!q.exec()) {
        if (q.lastError().nativeErrorCode() == LockNotAvailable)
            throw ClaimError(PcClaims::claimedText(key));
        throw StoreError(q.lastError().text());
    }
    q.finish();
}

void advisory(TDMdata &dm, const char *function, const QString &key)
{
    QSqlQuery q = advisoryQuery(dm, function, key);
    runAdvisory(q, key);
}

QString holderOf(const TDMdata &dm)
{
    return dm.database().connectionName();
}

bool processAlive(qint64 pid)
{
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

struct Claim
{
    bool exists = false;
    QString holder;
    QString host;
    qint64 pid = 0;
    QDateTime aliveAt;
};

Claim readClaim(TDMdata &dm, const QString &key)
{
    QSqlQuery q
        = dm.exec(QStringLiteral("SELECT Holder, Host, Pid, AliveAt FROM PcClaim WHERE Key = :Key"),
                  {{QStringLiteral(":Key"), storedKey(dm, key)}});
    Claim claim;
    if (q.next()) {
        claim.exists = true;
        claim.holder = q.value(0).toString();
        claim.host = q.value(1).toString();
        claim.pid = q.value(2).toLongLong();
        claim.aliveAt = QDateTime::fromString(q.value(3).toString(), TimeFormat);
        claim.aliveAt.setTimeSpec(Qt::UTC);
    }
    q.finish();
    return claim;
}

// Held by another copy that still lives: a process of this computer that
// is running, or a copy elsewhere that renewed the claim in time.
bool heldByAnother(const TDMdata &dm, const Claim &claim)
{
    if (!claim.exists || claim.holder == holderOf(dm))
        return false;
    if (claim.host == QSysInfo::machineHostName() && !processAlive(claim.pid))
        return false;
    const QDateTime now = QDateTime::currentDateTimeUtc();
    return claim.aliveAt.isValid() && claim.aliveAt.secsTo(now) < g_lapseSeconds;
}

QString nowText()
{
    return QDateTime::currentDateTimeUtc().toString(TimeFormat);
}

// In an open transaction: the claim becomes this copy's unless another live
// copy holds it.
bool claimInTransaction(TDMdata &dm, const QString &key)
{
    const Claim claim = readClaim(dm, key);
    if (heldByAnother(dm, claim))
        return false;
    const QString stored = storedKey(dm, key);
    if (claim.exists)
        dm.exec(QStringLiteral("DELETE FROM PcClaim WHERE Key = :Key"),
                {{QStringLiteral(":Key"), stored}});
    dm.exec(QStringLiteral("INSERT INTO PcClaim (Key, Holder, Host, Pid, AliveAt)\n"
                           "VALUES (:Key, :Holder, :Host, :Pid, :AliveAt)"),
            {{QStringLiteral(":Key"), stored},
             {QStringLiteral(":Holder"), holderOf(dm)},
             {QStringLiteral(":Host"), QSysInfo::machineHostName()},
             {QStringLiteral(":Pid"), QCoreApplication::applicationPid()},
             {QStringLiteral(":AliveAt"), nowText()}});
    return true;
}

} // namespace

namespace PcClaims {

QString claimedText(const QString &key)
{
    return QStringLiteral("%1 は他のユーザーが編集中です。しばらくしてからやり直してください。")
        .arg(key);
}

void setLapseSeconds(int seconds)
{
    g_lapseSeconds = seconds;
}

int lapseSeconds()
{
    return g_lapseSeconds;
}

void waitWhileClaimed(TDMdata &dm, const QString &key)
{
    if (isPostgres(dm))
        return;
    for (int attempt = 0;; ++attempt) {
        if (!heldByAnother(dm, readClaim(dm, key)))
            return;
        if (attempt >= retries(dm))
            throw ClaimError(claimedText(key));
        QThread::msleep(RetryMs);
    }
}

namespace {

// The first of the keys whose PC another copy holds; empty when none. The
// claims are read once, however many keys there are.
QString firstClaimed(TDMdata &dm, const QStringList &keys)
{
    if (isPostgres(dm)) {
        // The advisory locks that other sessions hold, by number (a bigint
        // lock stands as its high and low halves).
        QSet<qint64> held;
        QSqlQuery q = dm.exec(
            QStringLiteral("SELECT (classid::bigint << 32) | objid::bigint FROM pg_locks\n"
                           "WHERE locktype = 'advisory' AND objsubid = 1 AND granted\n"
                           "  AND pid <> pg_backend_pid()"));
        while (q.next())
            held.insert(q.value(0).toLongLong());
        q.finish();
        if (held.isEmpty())
            return QString();
        for (const QString &key : keys) {
            if (held.contains(lockNumber(dm, key)))
                return key;
        }
        return QString();
    }
    QSet<QString> claimed;
    QSqlQuery q = dm.exec(QStringLiteral("SELECT Key FROM PcClaim"));
    while (q.next())
        claimed.insert(q.value(0).toString());
    q.finish();
    for (const QString &key : keys) {
        if (claimed.contains(storedKey(dm, key)) && heldByAnother(dm, readClaim(dm, key)))
            return key;
    }
    return QString();
}

} // namespace

void waitWhileAnyClaimed(TDMdata &dm, const QStringList &keys)
{
    for (int attempt = 0;; ++attempt) {
        const QString claimed = firstClaimed(dm, keys);
        if (claimed.isEmpty())
            return;
        if (attempt >= retries(dm))
            throw ClaimError(claimedText(claimed));
        QThread::msleep(RetryMs);
    }
}

void ensureNoneClaimed(TDMdata &dm, const QStringList &keys)
{
    const QString claimed = firstClaimed(dm, keys);
    if (!claimed.isEmpty())
        throw ClaimError(claimedText(claimed));
}

void ensureFree(TDMdata &dm, const QString &key)
{
    if (isPostgres(dm)) {
        // The statement outlives the step: PostgreSQL frees it only once
        // the failed step is undone.
        QSqlQuery q = advisoryQuery(dm, "pg_advisory_xact_lock", key);
        StoreSavepoint step(dm);
        runAdvisory(q, key);
        step.release();
        return;
    }
    if (heldByAnother(dm, readClaim(dm, key)))
        throw ClaimError(claimedText(key));
}

} // namespace PcClaims

PcClaim::PcClaim(TDMdata &dm, QObject *parent) : QObject(parent), m_dm(dm), m_beat(new QTimer(this))
{
    m_beat->setInterval(BeatMs);
    connect(m_beat, &QTimer::timeout, this, &PcClaim::beat);
}

PcClaim::~PcClaim()
{
    release();
}

void PcClaim::take(const QString &key)
{
    release();
    if (isPostgres(m_dm)) {
        advisory(m_dm, "pg_advisory_lock", key);
    } else {
        for (int attempt = 0;; ++attempt) {
            m_dm.startTransaction();
            bool claimed = false;
            try {
                claimed = claimInTransaction(m_dm, key);
            } catch (const StoreError &) {
                m_dm.rollback();
                throw;
            }
            // A claim needs no flush to disk: after a crash it has lapsed.
            if (claimed) {
                m_dm.commit(TDMdata::Flush::Later);
                break;
            }
            m_dm.rollback(); // the write lock is given back before waiting
            if (attempt >= retries(m_dm))
                throw ClaimError(PcClaims::claimedText(key));
            QThread::msleep(RetryMs);
        }
        m_beat->start();
    }
    m_key = key;
    m_held = true;
}

void PcClaim::release()
{
    if (!m_held)
        return;
    m_held = false;
    m_beat->stop();
    if (!m_dm.isConnected())
        return;
    try {
        if (isPostgres(m_dm))
            advisory(m_dm, "pg_advisory_unlock", m_key);
        else
            m_dm.exec(QStringLiteral("DELETE FROM PcClaim WHERE Key = :Key AND Holder = :Holder"),
                      {{QStringLiteral(":Key"), storedKey(m_dm, m_key)},
                       {QStringLiteral(":Holder"), holderOf(m_dm)}});
    } catch (const StoreError &) {
        // The claim lapses by itself (SQLite) or with the session.
    }
}

void PcClaim::confirm()
{
    if (!m_held)
        return;
    if (isPostgres(m_dm)) {
        // The session already holds the lock; taking it for the transaction
        // as well returns at once and proves the session is still there.
        advisory(m_dm, "pg_advisory_xact_lock", m_key);
        return;
    }
    if (!claimInTransaction(m_dm, m_key))
        throw ClaimError(PcClaims::claimedText(m_key));
}

void PcClaim::beat()
{
    if (!m_held || isPostgres(m_dm) || m_dm.inTransaction() || !m_dm.isConnected())
        return;
    // Never wait for another copy's write here: a busy store just skips one
    // beat, and the claim lives four beats without one.
    const int wait = m_dm.lockWait();
    try {
        m_dm.setLockWait(0);
        m_dm.exec(QStringLiteral("UPDATE PcClaim SET AliveAt = :AliveAt\n"
                                 "WHERE Key = :Key AND Holder = :Holder"),
                  {{QStringLiteral(":AliveAt"), nowText()},
                   {QStringLiteral(":Key"), storedKey(m_dm, m_key)},
                   {QStringLiteral(":Holder"), holderOf(m_dm)}});
    } catch (const StoreError &) { }
    try {
        m_dm.setLockWait(wait);
    } catch (const StoreError &) { }
}
