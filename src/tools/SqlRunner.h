#pragma once

#include "store/StoreSettings.h"
#include "store/UserStatement.h"

#include <QMutex>
#include <QObject>
#include <QStringList>
#include <QThread>
#include <QVariantList>
#include <QVector>
#include <memory>

class SqlRunnerWorker;

// Runs the SQL window's statement away from the window's thread, on a
// connection of its own (UserStatement), so that the window stays usable:
// a query's rows come in pages as they are asked for, a running statement
// can be cancelled, and the time limit stops it with a message.
class SqlRunner : public QObject
{
    Q_OBJECT

public:
    explicit SqlRunner(QObject *parent = nullptr);
    // Cancels what runs. A statement that takes longer to stop (a large
    // value on its way) ends in the background, so the window closes at
    // once; the program waits for it when it quits.
    ~SqlRunner() override;

    // A query: columnsReady, then rowsReady for the first page of rows;
    // later pages on fetchMore(). A page holds at most the rows asked for
    // and rows of at most maxBytes (SqlResultModel::rowBytes); a row that
    // would go beyond is not kept, and the page says that the bound is
    // reached (full). A change: changeDone once it is committed. Any
    // failure: failed with the message.
    void startQuery(const StoreSettings &store, const QString &sql,
                    const UserStatement::Limits &limits, int firstRows, qint64 maxBytes);
    void startChange(const StoreSettings &store, const QString &sql,
                     const UserStatement::Limits &limits);
    void fetchMore(int rows, qint64 maxBytes);
    // Stops the running statement; a query whose rows are being read is
    // closed.
    void cancel();
    // Ends an open query without reading further.
    void close();

    // True from start until the statement has ended or failed, or, for a
    // query, while rows may follow.
    bool isActive() const { return m_active; }
    // True while a page of rows or a change is being worked on.
    bool isBusy() const { return m_busy; }
    bool hasMoreRows() const { return m_active && !m_atEnd; }

signals:
    void columnsReady(const QStringList &columns);
    void rowsReady(const QVector<QVariantList> &rows, bool atEnd, bool full);
    void changeDone();
    void failed(const QString &message);
    void busyChanged(bool busy);

private:
    void setBusy(bool busy);

    QThread *m_thread;
    SqlRunnerWorker *m_worker;
    bool m_active = false;
    bool m_busy = false;
    bool m_atEnd = true;
};

// Lives in the runner's thread; owns the statement.
class SqlRunnerWorker : public QObject
{
    Q_OBJECT

public:
    // Called by the runner before it posts a start, so that a cancel given
    // before the statement exists still stops it.
    void prepareStart() { m_cancelRequested.store(false); }
    void cancel(); // any thread

public slots:
    void start(const StoreSettings &store, const QString &sql, const UserStatement::Limits &limits,
               bool change, int firstRows, qint64 maxBytes);
    void fetch(int rows, qint64 maxBytes);
    void close();

signals:
    void columnsReady(const QStringList &columns);
    void rowsReady(const QVector<QVariantList> &rows, bool atEnd, bool full);
    void changeDone();
    void failed(const QString &message);

private:
    void end();

    QMutex m_mutex; // guards m_statement against cancel()
    std::unique_ptr<UserStatement> m_statement;
    std::atomic<bool> m_cancelRequested {false};
};
