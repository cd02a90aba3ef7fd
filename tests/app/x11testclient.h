#pragma once

// Helpers for the hotkey tests: a second X client that grabs keys on the root window,
// key presses sent through XTEST (xdotool), and a barrier that tells when they were handled.

#include "app/qxtglobalshortcut.h"

#include <QProcess>
#include <QSignalSpy>
#include <QTest>

#include <X11/Xlib.h>
#include <X11/keysym.h>

class X11TestClient
{
public:
    X11TestClient() : m_display(XOpenDisplay(nullptr)) {}
    ~X11TestClient() { XCloseDisplay(m_display); }
    X11TestClient(const X11TestClient &) = delete;
    X11TestClient &operator=(const X11TestClient &) = delete;

    int keycode(KeySym keysym) const { return XKeysymToKeycode(m_display, keysym); }

    // Grabs the key code (AnyKey is 0) under the modifiers; false when the server refuses.
    bool grab(int keycode, unsigned int modifiers)
    {
        s_refused = false;
        XErrorHandler previous = XSetErrorHandler([](Display *, XErrorEvent *) { return (s_refused = true), 0; });
        XGrabKey(m_display, keycode, modifiers, DefaultRootWindow(m_display), True, GrabModeAsync, GrabModeAsync);
        XSync(m_display, False);
        XSetErrorHandler(previous);
        return !s_refused;
    }

    bool grabUnderAllLockStates(KeySym keysym, unsigned int modifiers)
    {
        for (unsigned int lock : {0, Mod2Mask, LockMask, Mod2Mask | LockMask}) {
            if (!grab(keycode(keysym), modifiers | lock))
                return false;
        }
        return true;
    }

private:
    static inline bool s_refused = false;
    Display *m_display;
};

// Presses each of the space-separated combinations ("ctrl+Print F1") in turn.
inline bool sendKeys(const QString &combinations)
{
    const QStringList keys = combinations.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return QProcess::execute(QStringLiteral("xdotool"), QStringList{QStringLiteral("key")} + keys) == 0;
}

// Ctrl+F12 held by the test itself: once it fired, every key pressed before it has been
// through the event filter, so "nothing fired" needs no time-out.
class KeyPressBarrier
{
public:
    KeyPressBarrier() { m_armed = m_sentinel.setShortcut(QKeySequence(QStringLiteral("Ctrl+F12"))); }
    bool isArmed() const { return m_armed; }

    bool pressAndSettle(const QString &combinations)
    {
        QSignalSpy sentinelSpy(&m_sentinel, &QxtGlobalShortcut::activated);
        return sendKeys(combinations + QStringLiteral(" ctrl+F12")) && sentinelSpy.wait(5000);
    }

private:
    QxtGlobalShortcut m_sentinel;
    bool m_armed = false;
};
