#include "SqlRunner.h"

#include "store/StoreError.h"

#include <QMutexLocker>
#include <new>

namespace {

constexpr qint64 PageBytes = 32 * 1024 * 1024;

} // namespace

SqlRunner::SqlRunner(QObject *parent) : QObject(parent), m_worker(new SqlRunnerWorker)
{
    qRegisterMetaType<StoreSettings>("StoreSettings");
    qRegisterMetaType<UserStatement::Limits>("UserStatement::Limits");
    m_worker->moveToThread(&m_thread);
    connect(&m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &SqlRunnerWorker::columnsReady, this, &SqlRunner::columnsReady);
    connect(m_worker, &SqlRunnerWorker::rowsReady, this,
            [this](const QVector<QVariantList> &rows, bool atEnd) {
                m_atEnd = atEnd;
                if (atEnd)
                    m_active = false;
                setBusy(false);
                emit rowsReady(rows, atEnd);
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
    m_thread.start();
}

SqlRunner::~SqlRunner()
{
    m_worker->cancel();
    QMetaObject::invokeMethod(m_worker, &SqlRunnerWorker::close);
    m_thread.quit();
    m_thread.wait();
}

void SqlRunner::setBusy(bool busy)
{
    if (m_busy == busy)
        return;
    m_busy = busy;
    emit busyChanged(busy);
}

void SqlRunner::startQuery(const StoreSettings &store, const QString &sql,
                           const UserStatement::Limits &limits, int firstRows)
{
    m_active = true;
    m_atEnd = false;
    setBusy(true);
    m_worker->prepareStart();
    QMetaObject::invokeMethod(m_worker, "start", Q_ARG(StoreSettings, store), Q_ARG(QString, sql),
                              Q_ARG(UserStatement::Limits, limits), Q_ARG(bool, false),
                              Q_ARG(int, firstRows));
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
                              Q_ARG(int, 0));
}

void SqlRunner::fetchMore(int rows)
{
    if (!hasMoreRows() || m_busy)
        return;
    setBusy(true);
    QMetaObject::invokeMethod(m_worker, "fetch", Q_ARG(int, rows));
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
                            const UserStatement::Limits &limits, bool change, int firstRows)
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
    fetch(firstRows);
}

void SqlRunnerWorker::fetch(int rows)
{
    if (!m_statement)
        return;
    QVector<QVariantList> page;
    bool atEnd = false;
    try {
        QVariantList row;
        // A page also ends at a size, so a few very wide rows cannot make
        // one page exhaust memory.
        qint64 bytes = 0;
        while (page.size() < rows && bytes < PageBytes) {
            if (!m_statement->next(row)) {
                atEnd = true;
                break;
            }
            for (const QVariant &value : std::as_const(row))
                bytes += value.typeId() == QMetaType::QString ? value.toString().size() * 2 : 16;
            page.append(row);
        }
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
    emit rowsReady(page, atEnd);
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
