#include "LRPreviewThread.h"

TLRPreviewThread::TLRPreviewThread(std::function<bool()> step, QObject *parent)
    : QObject(parent), m_step(std::move(step))
{
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &TLRPreviewThread::runStep);
}

void TLRPreviewThread::start()
{
    m_running = true;
    m_paused = false;
    m_timer.start();
}

void TLRPreviewThread::terminate()
{
    m_timer.stop();
    m_running = false;
    m_paused = false;
}

void TLRPreviewThread::setPaused(bool paused)
{
    if (!m_running)
        return;
    m_paused = paused;
    if (paused)
        m_timer.stop();
    else
        m_timer.start();
}

void TLRPreviewThread::runStep()
{
    if (!m_running || m_paused)
        return;
    if (m_step())
        return;
    terminate();
    emit finished();
}
