#include "BackgroundReader.h"

#include "StoreError.h"
#include "UDMdata.h"

#include <QElapsedTimer>
#include <QMutexLocker>
#include <QThread>

namespace {

// How long the deliveries waiting may take the window's thread before the
// event loop gets a turn.
constexpr int DrainTurnMs = 10;

bool sameSettings(const StoreSettings &a, const StoreSettings &b)
{
    return a.mode == b.mode && a.folder == b.folder && a.host == b.host && a.port == b.port
        && a.database == b.database && a.user == b.user && a.password == b.password;
}

} // namespace

bool BackgroundReader::Job::cancelled() const
{
    return m_reader->m_current.load() != m_id;
}

void BackgroundReader::Job::deliver(std::function<void()> delivery)
{
    m_delivered = true;
    m_reader->post(m_id, std::move(delivery));
}

BackgroundReader::BackgroundReader(QObject *parent)
    : QObject(parent), m_thread(new QThread), m_worker(new QObject)
{
    m_thread->setObjectName(QStringLiteral("BackgroundReader"));
    m_worker->moveToThread(m_thread);
    m_thread->start();
}

BackgroundReader::~BackgroundReader()
{
    cancel();
    // The connection is closed on the thread that opened it.
    QMetaObject::invokeMethod(m_worker, [this] {
        m_store.reset();
        QThread::currentThread()->quit();
    });
    m_thread->wait();
    delete m_worker;
    delete m_thread;
}

void BackgroundReader::start(const TDMdata &dm, Work work, Failure failure)
{
    const quint64 id = ++m_current;
    Source source;
    source.module = &dm;
    source.generation = dm.generation();
    source.settings = dm.reconnectSettings();
    source.lockWait = dm.lockWait();
    QMetaObject::invokeMethod(m_worker,
                              [this, id, source, work = std::move(work),
                               failure = std::move(failure)] { run(id, source, work, failure); });
}

void BackgroundReader::cancel()
{
    ++m_current;
    // A skipped job ends nothing: the cancelled id counts as ended at once.
    QMutexLocker lock(&m_mutex);
    m_done = qMax(m_done, m_current.load());
    m_ended.wakeAll();
}

bool BackgroundReader::isBusy() const
{
    QMutexLocker lock(&m_mutex);
    if (m_done < m_current.load())
        return true;
    for (const Delivery &d : m_deliveries)
        if (d.id == m_current.load())
            return true;
    return false;
}

void BackgroundReader::finish()
{
    {
        QMutexLocker lock(&m_mutex);
        while (m_done < m_current.load())
            m_ended.wait(&m_mutex);
    }
    drainFor(-1);
}

void BackgroundReader::post(quint64 id, std::function<void()> delivery)
{
    QMutexLocker lock(&m_mutex);
    m_deliveries.push_back({id, std::move(delivery)});
    if (m_drainPosted)
        return;
    m_drainPosted = true;
    QMetaObject::invokeMethod(this, &BackgroundReader::drain, Qt::QueuedConnection);
}

void BackgroundReader::drain()
{
    drainFor(DrainTurnMs);
}

void BackgroundReader::drainFor(int milliseconds)
{
    QElapsedTimer turn;
    turn.start();
    for (;;) {
        Delivery next;
        {
            QMutexLocker lock(&m_mutex);
            if (m_deliveries.empty()) {
                m_drainPosted = false;
                return;
            }
            // The event loop gets a turn between deliveries that take long.
            if (milliseconds >= 0 && turn.elapsed() >= milliseconds) {
                QMetaObject::invokeMethod(this, &BackgroundReader::drain, Qt::QueuedConnection);
                return;
            }
            next = std::move(m_deliveries.front());
            m_deliveries.pop_front();
        }
        // A delivery may start another job, which drops the rest of this one.
        if (next.id == m_current.load())
            next.run();
    }
}

void BackgroundReader::run(quint64 id, const Source &source, const Work &work,
                           const Failure &failure)
{
    Job job;
    job.m_reader = this;
    job.m_id = id;
    const auto ended = [this, id] {
        QMutexLocker lock(&m_mutex);
        m_done = qMax(m_done, id);
        m_ended.wakeAll();
    };
    if (job.cancelled()) {
        ended();
        return;
    }
    for (int attempt = 0;; ++attempt) {
        try {
            ensureConnection(source);
            job.m_store = m_store.get();
            work(job);
            break;
        } catch (const ConnectionLost &lost) {
            // The connection broke (the server restarted while it was idle):
            // a job that handed nothing over yet runs once more on a new one.
            m_store.reset();
            if (attempt == 0 && !job.m_delivered && !job.cancelled())
                continue;
            job.deliver([failure, message = lost.message()] { failure(message, true); });
            break;
        } catch (const StoreError &error) {
            job.deliver([failure, message = error.message()] { failure(message, false); });
            break;
        }
    }
    ended();
}

void BackgroundReader::ensureConnection(const Source &source)
{
    if (m_store && m_opened.module == source.module && m_opened.generation == source.generation
        && sameSettings(m_opened.settings, source.settings) && !m_store->isLost())
        return;
    m_store.reset();
    auto store = std::make_unique<TDMdata>();
    store->setSettings(source.settings);
    store->setAccess(StoreAccess::Reads);
    store->setLockWait(source.lockWait);
    store->open();
    m_store = std::move(store);
    m_opened = source;
}
