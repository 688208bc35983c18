#pragma once

#include "Dialect.h"
#include "Schema.h"
#include "StoreAccess.h"
#include "StoreSettings.h"

#include <QObject>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QVariantMap>
#include <array>
#include <functional>
#include <memory>

class PostgresPipeline;
class RecordCursor;
class TableCheckObserver;

// The data module: owns the store connection (local SQLite file or
// PostgreSQL server), the table objects, transactions, the table check with
// its upgrades, and the private in-memory database "Memory".
class TDMdata : public QObject
{
    Q_OBJECT

public:
    // Asks for user name and password when a server connection has no user
    // name; false when the user cancels.
    using LoginPrompt = std::function<bool(QString &user, QString &password)>;

    explicit TDMdata(QObject *parent = nullptr);
    ~TDMdata() override;

    // MySession / DataDB
    void setSettings(const StoreSettings &settings) { m_settings = settings; }
    StoreSettings settings() const { return m_settings; }
    // The settings of the open store with the user and password it was
    // opened with (those of the login prompt, when it asked).
    StoreSettings connectedSettings() const;
    void setPrivateDir(const QString &dir) { m_privateDir = dir; }
    QString privateDir() const { return m_privateDir; }
    void setLoginPrompt(LoginPrompt prompt) { m_loginPrompt = std::move(prompt); }

    // How long a lock held by another copy is waited for before the store's
    // error reaches the user: 1,500 ms (15 x 100 ms) unless set.
    void setLockWait(int milliseconds);
    int lockWait() const { return m_lockWaitMs; }
    // How the store is used; Writes unless set. With Reads a local store
    // that is not there is not made (open() says so), the file is opened
    // read-only (as it stands on a read-only mount), a server session
    // refuses every write, no transaction can be started and the table
    // check only makes sure that the tables are there and current.
    void setAccess(StoreAccess access) { m_access = access; }
    StoreAccess access() const { return m_access; }

    // The SQLite file of a local data folder.
    static QString localDatabaseFile(const QString &folder);

    // Opens the store the settings name. Throws StoreError.
    void open();
    void close();
    // A store is open (possibly with a lost server connection, see below).
    bool isConnected() const;

    // A server connection that broke (the server restarted, the network
    // failed) is noticed where a statement fails: the store is then lost,
    // every statement throws ConnectionLost at once, and connectionLost()
    // is emitted. The store keeps its settings and stays "connected" for
    // the views, whose rows stay until it is back.
    bool isLost() const;
    // Whether the store answers a trivial statement now; notices a loss.
    bool answers();
    // Opens the same store again after a loss, with the user and password
    // it was opened with (never asking), and takes over the new connection
    // only when it works: the table objects open again, statements prepared
    // before are prepared anew (generation()), and reconnected() is
    // emitted. Throws StoreError and stays lost otherwise.
    void reconnect();
    // Counts the connections this module opened.
    int generation() const { return m_generation; }
    // The settings reconnect() uses, with the user and password it uses.
    StoreSettings reconnectSettings() const { return m_openedWith; }
    // Throws the error of a statement that failed: ConnectionLost when its
    // server connection is gone (marking its module lost), StoreError with
    // the store's text otherwise.
    [[noreturn]] static void raise(const QSqlQuery &query);
    // The same for an error read from the server connection itself.
    [[noreturn]] void raise(const QSqlError &error);
    // The statements sent to the server without waiting (PostgresPipeline)
    // on the current connection; nullptr on SQLite or when not connected.
    std::shared_ptr<PostgresPipeline> pipeline();

    Engine engine() const { return m_dialect.engine(); }
    const Dialect &dialect() const { return m_dialect; }
    QSqlDatabase database() const;
    // True when the local data folder lies on a network file system, where
    // the store uses the rollback journal instead of WAL.
    bool onNetworkFileSystem() const { return m_networkFs; }

    // The private in-memory database "Memory", opened on first use.
    QSqlDatabase memory();

    // Transactions. A transaction on SQLite takes the write lock at once
    // (BEGIN IMMEDIATE). commit() flushes to disk unless told not to (a
    // long run of small transactions flushes once at its end).
    void startTransaction();
    enum class Flush { ToDisk, Later };
    void commit(Flush flush = Flush::ToDisk);
    // Makes every committed transaction durable on disk.
    void flush();
    void rollback();
    bool inTransaction() const { return m_inTransaction; }

    // The table check: each table, in catalog order, is upgraded when
    // present or created when missing, then its table object opened. Does
    // nothing when not connected. Throws StoreError. With Reads access it
    // writes nothing: a table that is missing or that its upgrade would
    // change is an error, and the observer hears nothing.
    void checkTables(TableCheckObserver &observer);

    // The table object of a table (Tpc, Tappli, ...).
    RecordCursor &table(TableId id);

    // Prepares a statement of the system, translated for the engine.
    // Throws StoreError.
    QSqlQuery prepare(const QString &sql);
    // Executes a prepared statement; throws StoreError with the store's text.
    static void exec(QSqlQuery &query);
    // Prepares, binds the named parameters and executes. The rows of a
    // SELECT are read by the caller; read them fully before the next call.
    QSqlQuery exec(const QString &sql, const QVariantMap &params = {});

    // The column names of a table as the store has them; empty when the
    // table does not exist.
    QStringList columnNames(const QString &table);
    bool tableExists(const QString &table);

signals:
    void connectionLost();
    void reconnected();

private:
    void openLocal();
    void openRemote();
    // Opens a server connection under this name; throws StoreError.
    void openRemoteAs(const QString &name, const QString &user, const QString &password);
    void noticeLoss();
    void throwIfLost();
    void settleQueued();
    void dropPipeline();
    // Ends a server session of this module that outlived its connection.
    void endSession(qint64 pid, const QString &start);
    void configureSqlite(QSqlDatabase &db);
    void applyLockWait();
    void verifyTables();
    bool reads() const { return m_access == StoreAccess::Reads; }

    StoreSettings m_settings;
    QString m_privateDir;
    LoginPrompt m_loginPrompt;
    QString m_connectionName;
    QString m_memoryName;
    Dialect m_dialect {Engine::SQLite};
    bool m_inTransaction = false;
    bool m_networkFs = false;
    bool m_lost = false;
    int m_generation = 0;
    StoreSettings m_openedWith;
    // The server session of the connection (its process and start), so a
    // session that outlived its connection can be ended at a reconnect.
    qint64 m_backendPid = 0;
    QString m_backendStart;
    StoreAccess m_access = StoreAccess::Writes;
    int m_lockWaitMs = 1500;
    std::array<std::unique_ptr<RecordCursor>, 10> m_tables;
    std::shared_ptr<PostgresPipeline> m_pipeline;
    int m_pipelineGeneration = 0;
};
