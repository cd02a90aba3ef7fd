#pragma once

#include <QPointer>
#include <QTimer>

#include <functional>

// Memory kept for the next capture goes back to the system once no capture has wanted it
// for a while: restart() (from any thread) puts the release off by `msecs()` again; the
// release runs on the application's thread.
class IdleRelease
{
public:
    IdleRelease(std::function<int()> msecs, std::function<void()> release);

    void restart();

private:
    std::function<int()> m_msecs;
    std::function<void()> m_release;
    QPointer<QTimer> m_timer;
};
