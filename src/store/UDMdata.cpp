#include "UDMdata.h"

#include "RecordCursor.h"
#include "StoreError.h"
#include "StoreTransaction.h"
#include "TableCheckObserver.h"
#include "Upgrades.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlRecord>
#include <QUrl>
#include <QUuid>
#include <sys/vfs.h>

namespace {

// Serialises the table checks of several copies on one server.
constexpr qint64 TableCheckLock = 7206160134;

// Magic numbers of network file systems, on which SQLite's WAL (which needs
// shared memory between the copies) cannot work.
bool isNetworkFileSystem(const QString &folder)
{
    struct statfs fs;
    if (statfs(QFile::encodeName(folder).constData(), &fs) != 0)
        return false;
    switch (static_cast<unsigned long>(fs.f_type)) {
    case 0x6969UL: // NFS
    case 0x517BUL: // SMB
    case 0xFF534D42UL: // CIFS
    case 0xFE534D42UL: // SMB2
    case 0x01021997UL: // 9P
    case 0x65735546UL: // FUSE (sshfs and the like)
    case 0x564C0000UL: // NCP
    case 0x73757245UL: // Coda
    case 0x5346414FUL: // AFS
        return true;
    default:
        return false;
    }
}

QString uniqueName(const char *prefix)
{
    return QLatin1String(prefix) + QUuid::createUuid().toString(QUuid::WithoutBraces);
}

} // namespace

TDMdata::TDMdata(QObject *parent)
    : QObject(parent), m_connectionName(uniqueName("orvane-store-")),
      m_memoryName(uniqueName("orvane-memory-"))
{
    for (const TableDef &t : Schema::tables())
        m_tables[static_cast<size_t>(t.id)] = std::make_unique<RecordCursor>(*this, t.id);
}

TDMdata::~TDMdata()
{
    close();
    if (QSqlDatabase::contains(m_memoryName)) {
        QSqlDatabase::database(m_memoryName, false).close();
        QSqlDatabase::removeDatabase(m_memoryName);
    }
}

QString TDMdata::localDatabaseFile(const QString &folder)
{
    return QDir(folder).filePath(QStringLiteral("Orvane.db"));
}

QSqlDatabase TDMdata::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

StoreSettings TDMdata::connectedSettings() const
{
    StoreSettings settings = m_settings;
    if (settings.mode == StoreSettings::Mode::Remote && isConnected()) {
        settings.user = database().userName();
        settings.password = database().password();
    }
    return settings;
}

bool TDMdata::isConnected() const
{
    return QSqlDatabase::contains(m_connectionName) && database().isOpen();
}

void TDMdata::open()
{
    close();
    if (m_settings.mode == StoreSettings::Mode::Local)
        openLocal();
    else
        openRemote();
}

void TDMdata::openLocal()
{
    const QString folder = m_settings.folder;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        throw StoreError(QStringLiteral("データベースフォルダがありません: %1").arg(folder));
    m_dialect = Dialect(Engine::SQLite);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        db.setDatabaseName(localDatabaseFile(folder));
        // Another copy's lock is waited for (15 x 100 ms unless set) before
        // the error reaches the user.
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_lockWaitMs);
        if (m_readOnly) {
            options += QStringLiteral(";QSQLITE_OPEN_READONLY");
            // On a read-only mount no copy can write, and SQLite could not
            // make the files it reads a WAL store with: the file is taken as
            // it stands.
            if (!QFileInfo(folder).isWritable()) {
                options += QStringLiteral(";QSQLITE_OPEN_URI");
                db.setDatabaseName(
                    QUrl::fromLocalFile(localDatabaseFile(folder)).toString(QUrl::FullyEncoded)
                    + QStringLiteral("?immutable=1"));
            }
        }
        db.setConnectOptions(options);
        if (!db.open()) {
            const QString error = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_connectionName);
            throw StoreError(error);
        }
        try {
            configureSqlite(db);
        } catch (const StoreError &) {
            db.close();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(m_connectionName);
            throw;
        }
    }
}

void TDMdata::configureSqlite(QSqlDatabase &db)
{
    m_networkFs = isNetworkFileSystem(m_settings.folder);
    QSqlQuery q(db);
    // Reading the catalog first tells a file that is not a database.
    if (!q.exec(QStringLiteral("SELECT count(*) FROM sqlite_master")))
        throw StoreError(q.lastError().text());
    q.finish();
    if (m_readOnly)
        return;
    const QStringList pragmas = m_networkFs
        ? QStringList {QStringLiteral("PRAGMA journal_mode = DELETE"),
                       QStringLiteral("PRAGMA synchronous = FULL")}
        : QStringList {QStringLiteral("PRAGMA journal_mode = WAL"),
                       QStringLiteral("PRAGMA synchronous = NORMAL")};
    for (const QString &p : pragmas) {
        if (!q.exec(p))
            throw StoreError(q.lastError().text());
        q.finish();
    }
}

void TDMdata::openRemote()
{
    QString user = m_settings.user;
    QString password = m_settings.password;
    if (user.isEmpty()) {
        if (!m_loginPrompt || !m_loginPrompt(user, password))
            throw StoreError(QStringLiteral("ログインが取り消されました"));
    }
    m_dialect = Dialect(Engine::PostgreSQL);
    m_networkFs = false;
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), m_connectionName);
    db.setHostName(m_settings.host);
    db.setPort(m_settings.port);
    db.setDatabaseName(m_settings.database);
    db.setUserName(user);
    db.setPassword(password);
    db.setConnectOptions(QStringLiteral("connect_timeout=5"));
    QString error;
    if (!db.open()) {
        error = db.lastError().text();
    } else {
        QSqlQuery q(db);
        // A lock held by another copy is waited for (1.5 s, 15 x 100 ms,
        // unless set); a read-only store refuses every write. The server
        // probes a quiet connection after 30 s and drops it after three
        // unanswered probes, so the locks of a copy that crashed or lost the
        // network are freed within about a minute.
        QStringList settings {QStringLiteral("SET lock_timeout = %1").arg(m_lockWaitMs),
                              QStringLiteral("SET client_min_messages = warning"),
                              QStringLiteral("SET tcp_keepalives_idle = 30"),
                              QStringLiteral("SET tcp_keepalives_interval = 10"),
                              QStringLiteral("SET tcp_keepalives_count = 3")};
        if (m_readOnly)
            settings << QStringLiteral("SET default_transaction_read_only = on");
        for (const QString &s : std::as_const(settings)) {
            if (!q.exec(s)) {
                error = q.lastError().text();
                break;
            }
        }
    }
    if (!error.isEmpty()) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(m_connectionName);
        throw StoreError(error);
    }
}

void TDMdata::close()
{
    for (auto &t : m_tables)
        t->close();
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    {
        QSqlDatabase db = database();
        if (m_inTransaction && db.isOpen())
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    m_inTransaction = false;
    QSqlDatabase::removeDatabase(m_connectionName);
}

QSqlDatabase TDMdata::memory()
{
    if (!QSqlDatabase::contains(m_memoryName)) {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_memoryName);
        db.setDatabaseName(QStringLiteral(":memory:"));
    }
    QSqlDatabase db = QSqlDatabase::database(m_memoryName, false);
    if (!db.isOpen() && !db.open())
        throw StoreError(db.lastError().text());
    return db;
}

void TDMdata::startTransaction()
{
    if (!isConnected())
        throw StoreError(QStringLiteral("データベースに接続していません"));
    if (m_inTransaction)
        throw StoreError(QStringLiteral("トランザクションは既に開始されています"));
    QSqlQuery q(database());
    // A transaction that will write takes SQLite's write lock at once, so a
    // lock held by another copy is waited for here rather than failing later.
    const QString begin
        = engine() == Engine::SQLite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN");
    if (!q.exec(begin))
        throw StoreError(q.lastError().text());
    m_inTransaction = true;
}

void TDMdata::commit(Flush flush)
{
    if (!m_inTransaction)
        throw StoreError(QStringLiteral("トランザクションが開始されていません"));
    QSqlQuery q(database());
    if (!q.exec(QStringLiteral("COMMIT")))
        throw StoreError(q.lastError().text());
    m_inTransaction = false;
    if (flush == Flush::ToDisk)
        this->flush();
}

void TDMdata::flush()
{
    // With synchronous=NORMAL the write-ahead log reaches the disk at a
    // checkpoint; a passive one makes the commits durable without waiting
    // for readers. The rollback journal (FULL) and PostgreSQL are durable at
    // every commit.
    if (!isConnected() || engine() != Engine::SQLite || m_networkFs)
        return;
    QSqlQuery q(database());
    q.exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
    q.finish();
}

void TDMdata::rollback()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    QSqlQuery q(database());
    if (!q.exec(QStringLiteral("ROLLBACK")))
        throw StoreError(q.lastError().text());
}

RecordCursor &TDMdata::table(TableId id)
{
    Q_ASSERT(static_cast<size_t>(id) < m_tables.size());
    return *m_tables[static_cast<size_t>(id)];
}

QSqlQuery TDMdata::prepare(const QString &sql)
{
    if (!isConnected())
        throw StoreError(QStringLiteral("データベースに接続していません"));
    QSqlQuery q(database());
    q.setForwardOnly(true);
    if (!q.prepare(m_dialect.translate(sql)))
        throw StoreError(q.lastError().text());
    return q;
}

void TDMdata::exec(QSqlQuery &query)
{
    if (!query.exec())
        throw StoreError(query.lastError().text());
}

QSqlQuery TDMdata::exec(const QString &sql, const QVariantMap &params)
{
    if (params.isEmpty()) {
        // Run as it stands: PostgreSQL cannot prepare every statement
        // (structure changes among them).
        if (!isConnected())
            throw StoreError(QStringLiteral("データベースに接続していません"));
        QSqlQuery q(database());
        q.setForwardOnly(true);
        if (!q.exec(m_dialect.translate(sql)))
            throw StoreError(q.lastError().text());
        return q;
    }
    QSqlQuery q = prepare(sql);
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        q.bindValue(it.key(), it.value());
    exec(q);
    return q;
}

bool TDMdata::tableExists(const QString &table)
{
    if (!isConnected())
        return false;
    const QStringList names = database().tables(QSql::Tables);
    return names.contains(table, Qt::CaseInsensitive);
}

QStringList TDMdata::columnNames(const QString &table)
{
    if (!tableExists(table))
        return {};
    const QSqlRecord rec
        = database().record(m_dialect.engine() == Engine::PostgreSQL ? table.toLower() : table);
    QStringList names;
    for (int i = 0; i < rec.count(); ++i)
        names << rec.fieldName(i);
    return names;
}

void TDMdata::setLockWait(int milliseconds)
{
    m_lockWaitMs = qMax(0, milliseconds);
    if (isConnected())
        applyLockWait();
}

void TDMdata::applyLockWait()
{
    QSqlQuery q(database());
    const QString statement = engine() == Engine::SQLite
        ? QStringLiteral("PRAGMA busy_timeout = %1").arg(m_lockWaitMs)
        : QStringLiteral("SET lock_timeout = %1").arg(m_lockWaitMs);
    if (!q.exec(statement))
        throw StoreError(q.lastError().text());
    q.finish();
}

void TDMdata::checkTables(TableCheckObserver &observer)
{
    if (!isConnected())
        return;
    if (m_readOnly) {
        // Nothing may be made or widened; the table objects open on what
        // is there.
        for (const TableDef &t : Schema::tables()) {
            if (tableExists(t.name))
                table(t.id).open();
        }
        return;
    }
    // The whole check is one write transaction: a second copy opening the
    // same new store waits for the first like for any other lock, and then
    // finds the tables the first one made.
    startTransaction();
    int withoutIp16 = 0;
    try {
        if (engine() == Engine::PostgreSQL)
            exec(QStringLiteral("SELECT pg_advisory_xact_lock(%1)").arg(TableCheckLock));
        int n = 0;
        for (const TableDef &t : Schema::tables()) {
            observer.status(t.checkStatus);
            if (!tableExists(t.name)) {
                StoreSavepoint step(*this);
                QSqlQuery q(database());
                if (!q.exec(m_dialect.createStatement(t)))
                    throw StoreError(q.lastError().text());
                step.release();
            }
            // A table just made from the creation script gets the upgrades
            // at once, so its columns are as wide as the catalog before any
            // row is written.
            switch (t.id) {
            case TableId::PC:
                withoutIp16 = UpgradePcTable(*this);
                break;
            case TableId::Printer:
                UpgradePrinterTable(*this);
                break;
            case TableId::Appli:
                UpgradeAppliTable(*this);
                break;
            case TableId::Drive:
                UpgradeDriveTable(*this);
                break;
            default:
                break;
            }
            RecordCursor &cursor = table(t.id);
            cursor.close(); // the upgrade may have changed the columns
            cursor.open();
            if (++n > 2)
                observer.status(QString());
        }
        // Copies sharing a SQLite store mark the PCs they edit in a table of
        // their own; on a server the engine's own locks do that (PcClaims.h).
        if (engine() == Engine::SQLite && !tableExists(Schema::claimTable().name)) {
            StoreSavepoint step(*this);
            QSqlQuery q(database());
            if (!q.exec(m_dialect.createStatement(Schema::claimTable())))
                throw StoreError(q.lastError().text());
            step.release();
        }
        // The history of changes, with its indexes; made in a store of an
        // older program as in a new one.
        if (const TableDef &history = Schema::historyTable(); !tableExists(history.name)) {
            StoreSavepoint step(*this);
            const QStringList statements = QStringList {m_dialect.createStatement(history)}
                + m_dialect.indexStatements(history);
            for (const QString &statement : statements) {
                QSqlQuery q(database());
                if (!q.exec(statement))
                    throw StoreError(q.lastError().text());
            }
            step.release();
        }
        commit();
    } catch (...) {
        // What was made or widened before the failure stays (each group and
        // table is a step of its own); the next check goes on from there.
        try {
            commit();
        } catch (const StoreError &) {
            try {
                rollback();
            } catch (const StoreError &) {
                // The connection is gone, and the transaction with it.
            }
        }
        for (auto &cursor : m_tables)
            cursor->close();
        throw;
    }
    // Asked after the check's transaction, as the back-fill writes.
    if (withoutIp16 > 0)
        observer.ip16BackfillNeeded(withoutIp16);
}
