#pragma once

#include <QCursor>
#include <QGuiApplication>

// The hourglass cursor while a command works; the normal cursor comes back
// however the command ends.
class WaitCursor
{
public:
    WaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor &) = delete;
    WaitCursor &operator=(const WaitCursor &) = delete;

    // The normal cursor for as long as it lives, for a message box that
    // waits for the user in the middle of the work.
    class Pause
    {
    public:
        Pause() { QGuiApplication::restoreOverrideCursor(); }
        ~Pause() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
        Pause(const Pause &) = delete;
        Pause &operator=(const Pause &) = delete;
    };
};
