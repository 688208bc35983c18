#include "PcClaims.h"

#include "PostgresPipeline.h"
#include "StoreTransaction.h"
#include "StoreValue.h"
#include "UDMdata.h"

#include <QCoreApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QElapsedTimer>
#include <QHash>
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
// Separates the parts of a contract's claim; no stored key holds it.
const QChar Separator = QChar(0x1F);

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

// A value as its column holds it (cut to its width).
QString stored(const TDMdata &dm, TableId table, const char *column, const QString &value)
{
    const ColumnDef &def = *Schema::table(table).column(QLatin1String(column));
    return StoreValue::toStore(def, value, dm.engine()).toString();
}

// The subject as the claim table names it: a PC by its stored key, a
// contract by a text no PC key can be (it starts with the separator).
QString claimKey(const TDMdata &dm, const ClaimSubject &subject)
{
    if (subject.kind == ClaimSubject::Kind::Pc)
        return stored(dm, TableId::PC, "Key", subject.key);
    return Separator + QStringLiteral("Lease") + Separator
        + stored(dm, TableId::Lease, "lease", subject.key) + Separator
        + stored(dm, TableId::Lease, "lease_No", subject.number);
}

// The advisory lock number on PostgreSQL: 64 bits of a hash.
qint64 lockNumber(const TDMdata &dm, const ClaimSubject &subject)
{
    const QString name = subject.kind == ClaimSubject::Kind::Pc
        ? QStringLiteral("PC:") + claimKey(dm, subject)
        : QStringLiteral("Lease:") + stored(dm, TableId::Lease, "lease", subject.key) + Separator
            + stored(dm, TableId::Lease, "lease_No", subject.number);
    const QByteArray digest = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1);
    return qFromBigEndian<qint64>(digest.constData());
}

// One advisory lock function of PostgreSQL on the subject's number.
QSqlQuery advisoryQuery(TDMdata &dm, const char *function, const ClaimSubject &subject)
{
    QSqlQuery q = dm.prepare(QStringLiteral("SELECT %1(:Lock)").arg(QLatin1String(function)));
    q.bindValue(QStringLiteral(":Lock"), lockNumber(dm, subject));
    return q;
}

// Runs it; a lock not had in time is a ClaimError. Returns the function's
// result.
QVariant runAdvisory(QSqlQuery &q, const ClaimSubject &subject)
{
    if (!q.exec()) {
        if (q.lastError().nativeErrorCode() == LockNotAvailable)
            throw ClaimError(PcClaims::claimedText(subject));
        TDMdata::raise(q);
    }
    const QVariant result = q.next() ? q.value(0) : QVariant();
    q.finish();
    return result;
}

QVariant advisory(TDMdata &dm, const char *function, const ClaimSubject &subject)
{
    QSqlQuery q = advisoryQuery(dm, function, subject);
    return runAdvisory(q, subject);
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
    QString stamp; // the holder's last renewal, as its own clock wrote it
};

Claim readClaim(TDMdata &dm, const QString &key)
{
    QSqlQuery q
        = dm.exec(QStringLiteral("SELECT Holder, Host, Pid, AliveAt FROM PcClaim WHERE Key = :Key"),
                  {{QStringLiteral(":Key"), key}});
    Claim claim;
    if (q.next()) {
        claim.exists = true;
        claim.holder = q.value(0).toString();
        claim.host = q.value(1).toString();
        claim.pid = q.value(2).toLongLong();
        claim.stamp = q.value(3).toString();
    }
    q.finish();
    return claim;
}

// What this process last saw of a claim of another copy, and since when by
// its own clock.
struct Sighting
{
    QString holder;
    QString stamp;
    QElapsedTimer since;
};

QHash<QString, Sighting> &sightings()
{
    static QHash<QString, Sighting> seen;
    return seen;
}

QString sightingKey(const TDMdata &dm, const QString &key)
{
    return dm.database().databaseName() + QLatin1Char('\n') + key;
}

// Whether a claim of another copy is still renewed: its stamp changed
// within the lapse time of this reader's clock. The holder's clock is only
// compared with itself, so a computer whose clock is off keeps its claims
// like any other. A claim first seen counts as renewed just now.
bool stillRenewed(const TDMdata &dm, const QString &key, const Claim &claim)
{
    Sighting &seen = sightings()[sightingKey(dm, key)];
    if (!seen.since.isValid() || seen.holder != claim.holder || seen.stamp != claim.stamp) {
        seen.holder = claim.holder;
        seen.stamp = claim.stamp;
        seen.since.start();
        return true;
    }
    return seen.since.elapsed() < qint64(g_lapseSeconds) * 1000;
}

// Held by another copy that still lives: a process of this computer that
// is running, or a copy elsewhere that renews the claim in time.
bool heldByAnother(const TDMdata &dm, const QString &key, const Claim &claim)
{
    if (!claim.exists || claim.holder == holderOf(dm)) {
        sightings().remove(sightingKey(dm, key));
        return false;
    }
    if (claim.host == QSysInfo::machineHostName() && !processAlive(claim.pid))
        return false;
    return stillRenewed(dm, key, claim);
}

QString nowText()
{
    return QDateTime::currentDateTimeUtc().toString(TimeFormat);
}

// In an open transaction: the claim becomes this copy's unless another live
// copy holds it.
bool claimInTransaction(TDMdata &dm, const ClaimSubject &subject)
{
    const QString key = claimKey(dm, subject);
    const Claim claim = readClaim(dm, key);
    if (heldByAnother(dm, key, claim))
        return false;
    sightings().remove(sightingKey(dm, key));
    if (claim.exists)
        dm.exec(QStringLiteral("DELETE FROM PcClaim WHERE Key = :Key"),
                {{QStringLiteral(":Key"), key}});
    dm.exec(QStringLiteral("INSERT INTO PcClaim (Key, Holder, Host, Pid, AliveAt)\n"
                           "VALUES (:Key, :Holder, :Host, :Pid, :AliveAt)"),
            {{QStringLiteral(":Key"), key},
             {QStringLiteral(":Holder"), holderOf(dm)},
             {QStringLiteral(":Host"), QSysInfo::machineHostName()},
             {QStringLiteral(":Pid"), QCoreApplication::applicationPid()},
             {QStringLiteral(":AliveAt"), nowText()}});
    return true;
}

} // namespace

QString ClaimSubject::text() const
{
    return kind == Kind::Pc ? key : key + QLatin1Char('(') + number + QLatin1Char(')');
}

namespace PcClaims {

QString claimedText(const QString &key)
{
    return QStringLiteral("%1 は他のユーザーが編集中です。しばらくしてからやり直してください。")
        .arg(key);
}

QString claimedText(const ClaimSubject &subject)
{
    return claimedText(subject.text());
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
    waitWhileClaimed(dm, ClaimSubject::pc(key));
}

void waitWhileClaimed(TDMdata &dm, const ClaimSubject &subject)
{
    if (isPostgres(dm))
        return;
    const QString key = claimKey(dm, subject);
    for (int attempt = 0;; ++attempt) {
        if (!heldByAnother(dm, key, readClaim(dm, key)))
            return;
        if (attempt >= retries(dm))
            throw ClaimError(claimedText(subject));
        QThread::msleep(RetryMs);
    }
}

namespace {

// The first of the keys whose PC another copy holds; empty when none. The
// claims are read once, however many keys there are.
QString firstClaimed(TDMdata &dm, const QStringList &keys)
{
    if (isPostgres(dm)) {
        // The advisory locks that other sessions hold on this database, by
        // number (a bigint lock stands as its high and low halves). The
        // server's other databases keep their own ledgers and claims.
        QSet<qint64> held;
        QSqlQuery q = dm.exec(
            QStringLiteral("SELECT (classid::bigint << 32) | objid::bigint FROM pg_locks\n"
                           "WHERE locktype = 'advisory' AND objsubid = 1 AND granted\n"
                           "  AND pid <> pg_backend_pid()\n"
                           "  AND database = (SELECT oid FROM pg_database\n"
                           "                  WHERE datname = current_database())"));
        while (q.next())
            held.insert(q.value(0).toLongLong());
        q.finish();
        if (held.isEmpty())
            return QString();
        for (const QString &key : keys) {
            if (held.contains(lockNumber(dm, ClaimSubject::pc(key))))
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
        const QString stored = claimKey(dm, ClaimSubject::pc(key));
        if (claimed.contains(stored) && heldByAnother(dm, stored, readClaim(dm, stored)))
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
    ensureFree(dm, ClaimSubject::pc(key));
}

void ensureFree(TDMdata &dm, const ClaimSubject &subject)
{
    if (isPostgres(dm)) {
        // The lock within a step of its own (a lock not had in time spoils
        // only the step), sent as one message: the import asks this for
        // every file.
        const QByteArray number = QByteArray::number(lockNumber(dm, subject));
        const char *values[] = {number.constData()};
        const int lengths[] = {int(number.size())};
        StoreSavepoint step(dm, StoreSavepoint::Sending::Queued);
        const auto pipeline = dm.pipeline();
        pipeline->send(QByteArrayLiteral("SELECT pg_advisory_xact_lock($1::bigint)"), 1, values,
                       lengths);
        try {
            step.release();
        } catch (const StoreError &) {
            if (pipeline->failureCode() == LockNotAvailable)
                throw ClaimError(claimedText(subject));
            throw;
        }
        return;
    }
    const QString key = claimKey(dm, subject);
    if (heldByAnother(dm, key, readClaim(dm, key)))
        throw ClaimError(claimedText(subject));
}

} // namespace PcClaims

PcClaim::PcClaim(TDMdata &dm, QObject *parent) : QObject(parent), m_dm(dm), m_beat(new QTimer(this))
{
    m_beat->setInterval(BeatMs);
    connect(m_beat, &QTimer::timeout, this, &PcClaim::beat);
    connect(&m_dm, &TDMdata::reconnected, this, &PcClaim::retake);
}

PcClaim::~PcClaim()
{
    release();
}

void PcClaim::take(const QString &key)
{
    take(ClaimSubject::pc(key));
}

void PcClaim::take(const ClaimSubject &subject)
{
    release();
    if (isPostgres(m_dm)) {
        advisory(m_dm, "pg_advisory_lock", subject);
    } else {
        for (int attempt = 0;; ++attempt) {
            m_dm.startTransaction();
            bool claimed = false;
            try {
                claimed = claimInTransaction(m_dm, subject);
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
                throw ClaimError(PcClaims::claimedText(subject));
            QThread::msleep(RetryMs);
        }
        m_beat->start();
    }
    m_subject = subject;
    m_held = true;
    m_lost = false;
}

void PcClaim::release()
{
    if (!m_held)
        return;
    m_held = false;
    const bool lost = m_lost;
    m_lost = false;
    m_beat->stop();
    // A claim lost to another copy is not this copy's to give back, and a
    // lost connection took its locks with it.
    if (lost || !m_dm.isConnected() || m_dm.isLost())
        return;
    try {
        if (isPostgres(m_dm))
            advisory(m_dm, "pg_advisory_unlock", m_subject);
        else
            m_dm.exec(QStringLiteral("DELETE FROM PcClaim WHERE Key = :Key AND Holder = :Holder"),
                      {{QStringLiteral(":Key"), claimKey(m_dm, m_subject)},
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
        // A claim lost at a reconnect is this copy's again once its holder
        // let go.
        if (m_lost) {
            advisory(m_dm, "pg_advisory_lock", m_subject);
            m_lost = false;
        }
        // The session already holds the lock; taking it for the transaction
        // as well returns at once and proves the session is still there.
        advisory(m_dm, "pg_advisory_xact_lock", m_subject);
        return;
    }
    if (!claimInTransaction(m_dm, m_subject))
        throw ClaimError(PcClaims::claimedText(m_subject));
    m_lost = false;
}

void PcClaim::retake()
{
    if (!m_held)
        return;
    bool mine = false;
    try {
        if (isPostgres(m_dm)) {
            mine = advisory(m_dm, "pg_try_advisory_lock", m_subject).toBool();
        } else {
            StoreTransaction transaction(m_dm);
            mine = claimInTransaction(m_dm, m_subject);
            if (mine)
                transaction.commit();
        }
    } catch (const StoreError &) {
        // The store failed again; OK finds out at its confirm.
        return;
    }
    if (mine) {
        m_lost = false;
        return;
    }
    m_lost = true;
    emit lost();
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
                   {QStringLiteral(":Key"), claimKey(m_dm, m_subject)},
                   {QStringLiteral(":Holder"), holderOf(m_dm)}});
    } catch (const StoreError &) { }
    try {
        m_dm.setLockWait(wait);
    } catch (const StoreError &) { }
}
