#include "SqlRunner.h"

#include "SqlResultModel.h"
#include "store/StoreError.h"

#include <QCoreApplication>
#include <QMutexLocker>
#include <new>

namespace {

constexpr qint64 PageBytes = 32 * 1024 * 1024;
// How long closing waits for a cancelled statement to stop.
constexpr int StopWaitMs = 50;

} // namespace

SqlRunner::SqlRunner(QObject *parent)
    : QObject(parent), m_thread(new QThread), m_worker(new SqlRunnerWorker)
{
    qRegisterMetaType<StoreSettings>("StoreSettings");
    qRegisterMetaType<UserStatement::Limits>("UserStatement::Limits");
    m_worker->moveToThread(m_thread);
    connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &SqlRunnerWorker::columnsReady, this, &SqlRunner::columnsReady);
    connect(m_worker, &SqlRunnerWorker::rowsReady, this,
            [this](const QVector<QVariantList> &rows, bool atEnd, bool full) {
                m_atEnd = atEnd;
                if (atEnd)
                    m_active = false;
                setBusy(false);
                emit rowsReady(rows, atEnd, full);
            });
    connect(m_worker, &SqlRunnerWorker::changeDone, this, [this] {
        m_active = false;
        setBusy(false);
        emit changeDone();
    });
    connect(m_worker, &SqlRunnerWorker::failed, this, [this](const QString &message) {
        m_active = false;
        m_atEnd = true;
        setBusy(false);
        emit failed(message);
    });
    m_thread->start();
}

SqlRunner::~SqlRunner()
{
    m_worker->cancel();
    QMetaObject::invokeMethod(m_worker, &SqlRunnerWorker::close);
    m_thread->quit();
    if (m_thread->wait(StopWaitMs)) {
        delete m_thread;
        return;
    }
    QThread *thread = m_thread;
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, thread, [thread] { thread->wait(); });
    if (thread->isFinished()) // it ended meanwhile
        delete thread;
}

void SqlRunner::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    emit busyChanged(busy);
}

void SqlRunner::startQuery(const StoreSettings &store, const QString &sql,
                           const UserStatement::Limits &limits, int firstRows, qint64 maxBytes)
{
    m_active = true;
    m_atEnd = false;
    setBusy(true);
    m_worker->prepareStart();
    QMetaObject::invokeMethod(m_worker, "start", Q_ARG(StoreSettings, store), Q_ARG(QString, sql),
                              Q_ARG(UserStatement::Limits, limits), Q_ARG(bool, false),
                              Q_ARG(int, firstRows), Q_ARG(qint64, maxBytes));
}

void SqlRunner::startChange(const StoreSettings &store, const QString &sql,
                            const UserStatement::Limits &limits)
{
    m_active = true;
    m_atEnd = true;
    setBusy(true);
    m_worker->prepareStart();
    QMetaObject::invokeMethod(m_worker, "start", Q_ARG(StoreSettings, store), Q_ARG(QString, sql),
                              Q_ARG(UserStatement::Limits, limits), Q_ARG(bool, true),
                              Q_ARG(int, 0), Q_ARG(qint64, 0));
}

void SqlRunner::fetchMore(int rows, qint64 maxBytes)
{
    if (!hasMoreRows() || m_busy)
        return;
    setBusy(true);
    QMetaObject::invokeMethod(m_worker, "fetch", Q_ARG(int, rows), Q_ARG(qint64, maxBytes));
}

void SqlRunner::cancel()
{
    if (m_active)
        m_worker->cancel();
}

void SqlRunner::close()
{
    if (!m_active)
        return;
    m_worker->cancel();
    m_active = false;
    m_atEnd = true;
    QMetaObject::invokeMethod(m_worker, &SqlRunnerWorker::close);
}

void SqlRunnerWorker::cancel()
{
    QMutexLocker lock(&m_mutex);
    m_cancelRequested.store(true);
    if (m_statement)
        m_statement->cancel();
}

void SqlRunnerWorker::start(const StoreSettings &store, const QString &sql,
                            const UserStatement::Limits &limits, bool change, int firstRows,
                            qint64 maxBytes)
{
    end();
    try {
        std::unique_ptr<UserStatement> statement = UserStatement::connect(
            store, change ? UserStatement::Mode::Change : UserStatement::Mode::Query);
        {
            QMutexLocker lock(&m_mutex);
            m_statement = std::move(statement);
            if (m_cancelRequested.load())
                m_statement->cancel();
        }
        m_statement->start(sql, limits);
        if (change) {
            m_statement->finish();
            end();
            emit changeDone();
            return;
        }
        emit columnsReady(m_statement->columns());
    } catch (const StoreError &error) {
        end();
        emit failed(error.message());
        return;
    }
    fetch(firstRows, maxBytes);
}

void SqlRunnerWorker::fetch(int rows, qint64 maxBytes)
{
    if (!m_statement)
        return;
    QVector<QVariantList> page;
    bool atEnd = false;
    bool full = false;
    try {
        QVariantList row;
        // Every row is weighed before it is kept: a page ends at a size too,
        // and a row beyond the bound is not kept at all.
        qint64 bytes = 0;
        while (page.size() < rows && bytes < qMin(PageBytes, maxBytes)) {
            if (!m_statement->next(row)) {
                atEnd = true;
                break;
            }
            const qint64 size = SqlResultModel::rowBytes(row);
            if (bytes + size > maxBytes) {
                full = true;
                break;
            }
            bytes += size;
            page.append(row);
        }
        if (bytes >= maxBytes)
            full = true;
        if (atEnd)
            m_statement->finish();
    } catch (const StoreError &error) {
        end();
        emit failed(error.message());
        return;
    } catch (const std::bad_alloc &) {
        page.clear();
        end();
        emit failed(QStringLiteral("結果が大きすぎるため読み込めません"));
        return;
    }
    if (atEnd)
        end();
    emit rowsReady(page, atEnd, full && !atEnd);
}

void SqlRunnerWorker::close()
{
    end();
}

void SqlRunnerWorker::end()
{
    std::unique_ptr<UserStatement> statement;
    {
        QMutexLocker lock(&m_mutex);
        statement = std::move(m_statement);
    }
    // The statement's connection goes with it; an open query's transaction
    // ends there.
}
