#pragma once

#include "StoreSettings.h"

#include <QMutex>
#include <QObject>
#include <QWaitCondition>
#include <atomic>
#include <deque>
#include <functional>
#include <memory>

class QThread;
class TDMdata;

// Reads the store away from the window's thread: a job runs on a thread of
// its own, on a read-only connection of its own to the store a data module
// has open (the same settings, user and password, the same lock wait), and
// hands what it read to the window's thread in deliveries, which run there
// in order. Starting a job supersedes the one before: it stops at its next
// row, and deliveries of a superseded job are dropped, so a refresh that
// arrives meanwhile restarts the read.
//
// The connection stays open between jobs and is opened again when the data
// module opened another connection (another store, a reconnect) or when it
// broke; a job whose connection turns out lost before it delivered
// anything is run once more on a new one.
class BackgroundReader : public QObject
{
    Q_OBJECT

public:
    // What a job sees on the reader's thread.
    class Job
    {
    public:
        TDMdata &store() const { return *m_store; }
        // Another job was started (or the reader cancelled): stop reading.
        bool cancelled() const;
        // Runs on the window's thread, after the deliveries before it,
        // unless the job has been superseded by then.
        void deliver(std::function<void()> delivery);

    private:
        friend class BackgroundReader;
        BackgroundReader *m_reader = nullptr;
        TDMdata *m_store = nullptr;
        quint64 m_id = 0;
        bool m_delivered = false;
    };
    using Work = std::function<void(Job &)>;
    // A failed job: the store's text; lost when the connection broke.
    using Failure = std::function<void(const QString &message, bool lost)>;

    explicit BackgroundReader(QObject *parent = nullptr);
    // Stops the job and waits for the thread to end.
    ~BackgroundReader() override;

    // Runs work on the store that dm has open (dm must be connected). A
    // StoreError thrown by work is handed to failure on the window's thread.
    void start(const TDMdata &dm, Work work, Failure failure);
    // Stops the running job and drops what it still delivers.
    void cancel();
    // A job runs or its deliveries still wait.
    bool isBusy() const;
    // Waits until the running job has ended and runs its deliveries now.
    void finish();

private:
    struct Delivery
    {
        quint64 id;
        std::function<void()> run;
    };
    struct Source
    {
        const TDMdata *module = nullptr;
        int generation = 0;
        StoreSettings settings;
        int lockWait = 0;
    };
    void post(quint64 id, std::function<void()> delivery);
    void drain();
    // Runs the deliveries waiting, for at most that long (-1: all of them).
    void drainFor(int milliseconds);
    void run(quint64 id, const Source &source, const Work &work, const Failure &failure);
    void ensureConnection(const Source &source);

    QThread *m_thread;
    QObject *m_worker; // lives in m_thread; jobs are posted to it
    std::atomic<quint64> m_current {0}; // the latest job
    // Guarded by m_mutex:
    mutable QMutex m_mutex;
    QWaitCondition m_ended;
    quint64 m_done = 0; // the latest job that has ended (or was skipped)
    std::deque<Delivery> m_deliveries;
    bool m_drainPosted = false;
    // Owned by the reader's thread:
    std::unique_ptr<TDMdata> m_store;
    Source m_opened;
};
