#pragma once

#include <QObject>
#include <QTimer>
#include <functional>

// The background producer of preview pages. Its steps run on the
// user-interface thread, one page per turn of the event loop, so a
// report's page events never run at the same time as the user's commands
// (which are handled between the steps). It runs until a step reports that
// the report is finished or it is terminated; it can be paused.
class TLRPreviewThread : public QObject
{
    Q_OBJECT

public:
    // step produces one page; it returns false when nothing more is to be
    // produced.
    explicit TLRPreviewThread(std::function<bool()> step, QObject *parent = nullptr);

    void start();
    // Stops for good (a paused producer too).
    void terminate();
    void setPaused(bool paused);
    bool isPaused() const { return m_paused; }
    // From start() until it ends or is terminated, paused or not.
    bool isRunning() const { return m_running; }

signals:
    // It ended on its own: the report is finished.
    void finished();

private:
    void runStep();

    std::function<bool()> m_step;
    QTimer m_timer;
    bool m_running = false;
    bool m_paused = false;
};
