#include "UDMdata.h"

#include "PostgresPipeline.h"
#include "ReadOnlyRole.h"
#include "RecordCursor.h"
#include "StoreError.h"
#include "StoreTransaction.h"
#include "TableCheckObserver.h"
#include "Upgrades.h"

#include <QDir>
#include <QFileInfo>
#include <QSqlDriver>
#include <QSqlError>
#include <QSqlRecord>
#include <QThread>
#include <QUrl>
#include <QUuid>
#include <libpq-fe.h>
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

// The property of a server connection's driver that names its module.
const char *const ModuleProperty = "orvaneDataModule";

// Whether the server connection behind a driver is gone: libpq marks it bad
// once a statement found the server away.
// The libpq connection behind a driver; nullptr for any other driver.
PGconn *postgresHandle(const QSqlDriver *driver)
{
    if (!driver || driver->dbmsType() != QSqlDriver::PostgreSQL)
        return nullptr;
    const QVariant handle = driver->handle();
    if (!handle.isValid()
        || (qstrcmp(handle.typeName(), "PGconn*") != 0
            && qstrcmp(handle.typeName(), "pg_conn*") != 0))
        return nullptr;
    return *static_cast<PGconn *const *>(handle.constData());
}

bool connectionBroken(const QSqlDriver *driver)
{
    const PGconn *connection = postgresHandle(driver);
    return connection && PQstatus(connection) == CONNECTION_BAD;
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
    // The driver closes a server connection that broke; the store stays
    // this module's until it is closed.
    return QSqlDatabase::contains(m_connectionName) && (database().isOpen() || isLost());
}

bool TDMdata::isLost() const
{
    return m_lost
        || (QSqlDatabase::contains(m_connectionName) && connectionBroken(database().driver()));
}

void TDMdata::open()
{
    close();
    if (m_settings.mode == StoreSettings::Mode::Local) {
        openLocal();
        m_openedWith = m_settings;
    } else {
        openRemote();
    }
    ++m_generation;
}

void TDMdata::openLocal()
{
    const QString folder = m_settings.folder;
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        throw StoreError(QStringLiteral("データベースフォルダがありません: %1").arg(folder));
    // SQLite would make an empty store where there is none; reading never
    // makes one.
    if (reads() && !QFileInfo(localDatabaseFile(folder)).isFile())
        throw StoreError(QStringLiteral("データフォルダ %1 にデータベースがありません")
                             .arg(QDir::toNativeSeparators(folder)));
    m_dialect = Dialect(Engine::SQLite);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
        db.setDatabaseName(localDatabaseFile(folder));
        // Another copy's lock is waited for (15 x 100 ms unless set) before
        // the error reaches the user.
        QString options = QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(m_lockWaitMs);
        if (reads()) {
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
            const QString error = sqlErrorText(db.lastError());
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
        throw StoreError(q.lastError());
    q.finish();
    // The journal mode is kept in the file: setting it is a write.
    if (reads())
        return;
    const QStringList pragmas = m_networkFs
        ? QStringList {QStringLiteral("PRAGMA journal_mode = DELETE"),
                       QStringLiteral("PRAGMA synchronous = FULL")}
        : QStringList {QStringLiteral("PRAGMA journal_mode = WAL"),
                       QStringLiteral("PRAGMA synchronous = NORMAL")};
    for (const QString &p : pragmas) {
        if (!q.exec(p))
            throw StoreError(q.lastError());
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
    openRemoteAs(m_connectionName, user, password);
    m_openedWith = m_settings;
    m_openedWith.user = user;
    m_openedWith.password = password;
}

void TDMdata::openRemoteAs(const QString &name, const QString &user, const QString &password)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QPSQL"), name);
    db.setHostName(m_settings.host);
    db.setPort(m_settings.port);
    db.setDatabaseName(m_settings.database);
    db.setUserName(user);
    db.setPassword(password);
    db.setConnectOptions(QStringLiteral("connect_timeout=5"));
    QString error;
    if (!db.open()) {
        error = sqlErrorText(db.lastError());
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
        if (reads())
            settings << QStringLiteral("SET default_transaction_read_only = on");
        for (const QString &s : std::as_const(settings)) {
            if (!q.exec(s)) {
                error = sqlErrorText(q.lastError());
                break;
            }
        }
        // Which server session this is.
        if (error.isEmpty()
            && q.exec(QStringLiteral("SELECT pid, backend_start::text FROM pg_stat_activity "
                                     "WHERE pid = pg_backend_pid()"))
            && q.next()) {
            m_backendPid = q.value(0).toLongLong();
            m_backendStart = q.value(1).toString();
        }
    }
    if (!error.isEmpty()) {
        db.close();
        db = QSqlDatabase();
        QSqlDatabase::removeDatabase(name);
        throw StoreError(error);
    }
    db.driver()->setProperty(ModuleProperty, QVariant::fromValue(static_cast<QObject *>(this)));
}

void TDMdata::reconnect()
{
    // Only a server connection gets lost.
    if (!isLost())
        return;
    // The old session may outlive its connection on the server (a network
    // failure rather than a restart); it is ended below, so its claims are
    // free again. Its number may belong to another session after a restart:
    // the session's start tells them apart.
    const qint64 oldPid = m_backendPid;
    const QString oldStart = m_backendStart;
    const QString name = uniqueName("orvane-store-");
    {
        const StoreSettings current = m_settings;
        m_settings = m_openedWith;
        try {
            openRemoteAs(name, m_openedWith.user, m_openedWith.password);
        } catch (const StoreError &) {
            m_settings = current;
            throw;
        }
        m_settings = current;
    }
    std::vector<bool> wasOpen;
    for (auto &t : m_tables) {
        wasOpen.push_back(t->isOpen());
        t->close();
    }
    dropPipeline();
    {
        QSqlDatabase old = database();
        old.close();
    }
    QSqlDatabase::removeDatabase(m_connectionName);
    m_connectionName = name;
    m_inTransaction = false;
    m_lost = false;
    ++m_generation;
    if (oldPid > 0)
        endSession(oldPid, oldStart);
    for (size_t i = 0; i < m_tables.size(); ++i) {
        if (wasOpen[i])
            m_tables[i]->open();
    }
    emit reconnected();
}

void TDMdata::endSession(qint64 pid, const QString &start)
{
    // Best effort: a session already gone needs no ending.
    QSqlQuery q(database());
    const QString same = QStringLiteral("WHERE pid = :Pid AND backend_start::text = :Start");
    if (!q.prepare(QStringLiteral("SELECT pg_terminate_backend(pid) FROM pg_stat_activity\n")
                   + same))
        return;
    q.bindValue(QStringLiteral(":Pid"), pid);
    q.bindValue(QStringLiteral(":Start"), start);
    if (!q.exec() || !q.next() || !q.value(0).toBool())
        return;
    q.finish();
    // Its locks are free once it is gone.
    if (!q.prepare(QStringLiteral("SELECT 1 FROM pg_stat_activity\n") + same))
        return;
    q.bindValue(QStringLiteral(":Pid"), pid);
    q.bindValue(QStringLiteral(":Start"), start);
    for (int i = 0; i < 40 && q.exec() && q.next(); ++i) {
        q.finish();
        QThread::msleep(25);
    }
    q.finish();
}

bool TDMdata::answers()
{
    if (!isConnected())
        return false;
    if (isLost()) {
        noticeLoss();
        return false;
    }
    if (engine() != Engine::PostgreSQL)
        return true;
    QSqlQuery q(database());
    if (!q.exec(QStringLiteral("SELECT 1")) && connectionBroken(q.driver())) {
        noticeLoss();
        return false;
    }
    return true;
}

void TDMdata::noticeLoss()
{
    if (m_lost)
        return;
    m_lost = true;
    m_inTransaction = false;
    emit connectionLost();
}

void TDMdata::settleQueued()
{
    // Statements queued on a server connection are answered before any
    // other statement, which would otherwise wait for ever behind them.
    if (m_pipeline && m_pipeline->pending())
        m_pipeline->finish();
}

void TDMdata::throwIfLost()
{
    if (!isLost())
        return;
    noticeLoss();
    throw ConnectionLost();
}

void TDMdata::raise(const QSqlQuery &query)
{
    const QSqlDriver *driver = query.driver();
    // A statement of a connection that broke, or of one already replaced by
    // a reconnect (its driver is gone).
    if (!driver) {
        throw ConnectionLost();
    }
    if (connectionBroken(driver)) {
        if (auto *dm = qobject_cast<TDMdata *>(driver->property(ModuleProperty).value<QObject *>()))
            dm->noticeLoss();
        throw ConnectionLost();
    }
    throw StoreError(sqlErrorText(query.lastError()));
}

void TDMdata::raise(const QSqlError &error)
{
    if (connectionBroken(database().driver())) {
        noticeLoss();
        throw ConnectionLost();
    }
    throw StoreError(error);
}

void TDMdata::dropPipeline()
{
    if (!m_pipeline)
        return;
    // What is still pending on a live connection goes with the transaction
    // that is rolled back or lost with it.
    if (PQstatus(m_pipeline->connection()) == CONNECTION_OK) {
        try {
            m_pipeline->abandon();
        } catch (const ConnectionLost &) {
            // The connection is being dropped anyway.
        }
    }
    m_pipeline->detach();
    m_pipeline.reset();
}

std::shared_ptr<PostgresPipeline> TDMdata::pipeline()
{
    if (m_pipeline && m_pipelineGeneration != m_generation)
        dropPipeline();
    if (!m_pipeline && isConnected() && engine() == Engine::PostgreSQL) {
        m_pipelineGeneration = m_generation;
        if (PGconn *connection = postgresHandle(database().driver()))
            m_pipeline = std::make_shared<PostgresPipeline>(*this, connection);
    }
    return m_pipeline;
}

void TDMdata::close()
{
    for (auto &t : m_tables)
        t->close();
    dropPipeline();
    if (!QSqlDatabase::contains(m_connectionName))
        return;
    {
        QSqlDatabase db = database();
        if (m_inTransaction && db.isOpen())
            QSqlQuery(db).exec(QStringLiteral("ROLLBACK"));
        db.close();
    }
    m_inTransaction = false;
    m_lost = false;
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
        throw StoreError(db.lastError());
    return db;
}

void TDMdata::startTransaction()
{
    if (!isConnected())
        throw StoreError(QStringLiteral("データベースに接続していません"));
    throwIfLost();
    settleQueued();
    if (m_inTransaction)
        throw StoreError(QStringLiteral("トランザクションは既に開始されています"));
    if (reads())
        throw StoreError(
            QStringLiteral("データベースを読み取り専用で開いているため書き込めません"));
    QSqlQuery q(database());
    // A transaction that will write takes SQLite's write lock at once, so a
    // lock held by another copy is waited for here rather than failing later.
    const QString begin
        = engine() == Engine::SQLite ? QStringLiteral("BEGIN IMMEDIATE") : QStringLiteral("BEGIN");
    if (!q.exec(begin))
        raise(q);
    m_inTransaction = true;
}

void TDMdata::commit(Flush flush)
{
    if (!m_inTransaction)
        throw StoreError(QStringLiteral("トランザクションが開始されていません"));
    throwIfLost();
    settleQueued();
    QSqlQuery q(database());
    // A server commit that is flushed later returns without waiting for
    // the server's disk; flush() waits for all of them at once. A
    // transaction the server has failed refuses the setting: its COMMIT
    // below ends it as before.
    if (flush == Flush::Later && engine() == Engine::PostgreSQL
        && !q.exec(QStringLiteral("SET LOCAL synchronous_commit TO OFF"))
        && connectionBroken(q.driver()))
        raise(q);
    if (!q.exec(QStringLiteral("COMMIT")))
        raise(q);
    m_inTransaction = false;
    // A server commit that waited is on disk already.
    if (flush == Flush::ToDisk && engine() != Engine::PostgreSQL)
        this->flush();
}

void TDMdata::flush()
{
    // With synchronous=NORMAL the write-ahead log reaches the disk at a
    // checkpoint; a passive one makes the commits durable without waiting
    // for readers. The rollback journal (FULL) is durable at every commit.
    // On PostgreSQL a commit of a transaction with an id of its own waits
    // for the server's log to reach the disk, the log of the commits that
    // did not wait (Flush::Later) included.
    // Both write: never when only reading.
    if (!isConnected() || isLost() || reads())
        return;
    QSqlQuery q(database());
    if (engine() == Engine::PostgreSQL) {
        if (!m_inTransaction)
            q.exec(QStringLiteral("SELECT txid_current()"));
    } else if (!m_networkFs) {
        q.exec(QStringLiteral("PRAGMA wal_checkpoint(PASSIVE)"));
    }
    q.finish();
}

void TDMdata::rollback()
{
    if (!m_inTransaction)
        return;
    m_inTransaction = false;
    // A lost connection took its transaction with it.
    if (isLost())
        return;
    // Statements still queued are undone with the rest.
    if (m_pipeline) {
        try {
            m_pipeline->abandon();
        } catch (const ConnectionLost &) {
            return;
        }
    }
    QSqlQuery q(database());
    if (!q.exec(QStringLiteral("ROLLBACK")))
        raise(q);
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
    throwIfLost();
    settleQueued();
    QSqlQuery q(database());
    q.setForwardOnly(true);
    if (!q.prepare(m_dialect.translate(sql)))
        raise(q);
    return q;
}

void TDMdata::exec(QSqlQuery &query)
{
    if (!query.exec())
        raise(query);
}

QSqlQuery TDMdata::exec(const QString &sql, const QVariantMap &params)
{
    if (params.isEmpty()) {
        // Run as it stands: PostgreSQL cannot prepare every statement
        // (structure changes among them).
        if (!isConnected())
            throw StoreError(QStringLiteral("データベースに接続していません"));
        throwIfLost();
        settleQueued();
        QSqlQuery q(database());
        q.setForwardOnly(true);
        if (!q.exec(m_dialect.translate(sql)))
            raise(q);
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
    throwIfLost();
    settleQueued();
    const QStringList names = database().tables(QSql::Tables);
    // A connection that broke lists no table: that is no store without
    // tables.
    if (names.isEmpty() && connectionBroken(database().driver())) {
        noticeLoss();
        throw ConnectionLost();
    }
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
    // A lost connection takes it at its reconnect.
    if (isConnected() && !isLost())
        applyLockWait();
}

void TDMdata::applyLockWait()
{
    QSqlQuery q(database());
    const QString statement = engine() == Engine::SQLite
        ? QStringLiteral("PRAGMA busy_timeout = %1").arg(m_lockWaitMs)
        : QStringLiteral("SET lock_timeout = %1").arg(m_lockWaitMs);
    if (!q.exec(statement))
        raise(q);
    q.finish();
}

void TDMdata::checkTables(TableCheckObserver &observer)
{
    if (!isConnected())
        return;
    if (reads()) {
        verifyTables();
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
                    raise(q);
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
        // Queries typed by the user run on a server as a role that can only
        // read (ReadOnlyRole.h).
        if (engine() == Engine::PostgreSQL)
            ReadOnlyRole::install(*this);
        // Copies sharing a SQLite store mark the PCs they edit in a table of
        // their own; on a server the engine's own locks do that (PcClaims.h).
        if (engine() == Engine::SQLite && !tableExists(Schema::claimTable().name)) {
            StoreSavepoint step(*this);
            QSqlQuery q(database());
            if (!q.exec(m_dialect.createStatement(Schema::claimTable())))
                raise(q);
            step.release();
        }
        // The history of changes, with its indexes, and the pairs of PCs
        // marked as distinct; made in a store of an older program as in a
        // new one.
        for (const TableDef *extra : {&Schema::historyTable(), &Schema::distinctPcTable()}) {
            if (tableExists(extra->name))
                continue;
            StoreSavepoint step(*this);
            const QStringList statements = QStringList {m_dialect.createStatement(*extra)}
                + m_dialect.indexStatements(*extra);
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

void TDMdata::verifyTables()
{
    // Only reads the catalog: what the check of a writing start would make
    // or widen is reported instead.
    try {
        for (const TableDef &t : Schema::tables()) {
            if (!tableExists(t.name))
                throw StoreError(QStringLiteral("テーブル %1 がありません").arg(t.name));
            if (UpgradeNeeded(*this, t.id))
                throw StoreError(QStringLiteral("テーブル %1 は古い形式のままです (更新が必要です)")
                                     .arg(t.name));
            RecordCursor &cursor = table(t.id);
            cursor.close();
            cursor.open();
        }
    } catch (const StoreError &) {
        for (auto &cursor : m_tables)
            cursor->close();
        throw;
    }
}
