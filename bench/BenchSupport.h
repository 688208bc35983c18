#pragma once

#include <sys/resource.h>

// Peak resident memory of this process so far, in megabytes.
inline double peakMemoryMb()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_maxrss / 1024.0;
}

// Processor time this process has used so far (user and system), in
// seconds: less disturbed than the clock when other work shares the
// machine.
inline double cpuSeconds()
{
    struct rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_utime.tv_sec + usage.ru_stime.tv_sec
        + (usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
}

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <functional>

// The longest stall of the window's thread: a 1 ms timer on that thread
// notes the largest gap between two of its turns (the time the event loop
// could not run). Measures while it lives; the figure in milliseconds.
class UiStallProbe
{
public:
    UiStallProbe()
    {
        m_timer.setTimerType(Qt::PreciseTimer);
        m_timer.setInterval(1);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { turn(); });
        m_since.start();
        m_timer.start();
    }
    double longestMs()
    {
        turn();
        return m_longestNs / 1e6;
    }

private:
    void turn()
    {
        m_longestNs = std::max(m_longestNs, m_since.nsecsElapsed());
        m_since.restart();
    }
    QTimer m_timer;
    QElapsedTimer m_since;
    qint64 m_longestNs = 0;
};

// Runs the event loop until done() holds (the window's thread stays live
// meanwhile, as in the program).
inline void runUntil(const std::function<bool()> &done)
{
    while (!done())
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
}
