#pragma once

// Test helpers for the global hotkeys: a second X client that grabs keys on the root
// window, key presses sent through the XTEST extension (xdotool), and a barrier that
// tells when the pressed keys have been handled.

#include "app/qxtglobalshortcut.h"

#include <QProcess>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>

#include <X11/Xlib.h>
#include <X11/keysym.h>

// Another program on the same display: its own Xlib connection, its errors caught here.
class X11TestClient
{
public:
    X11TestClient() : m_display(XOpenDisplay(nullptr)) {}
    ~X11TestClient()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    X11TestClient(const X11TestClient &) = delete;
    X11TestClient &operator=(const X11TestClient &) = delete;

    bool isValid() const { return m_display != nullptr; }

    int keycode(KeySym keysym) const { return XKeysymToKeycode(m_display, keysym); }

    // Grabs the key code (AnyKey is 0) under one modifier mask; false when refused.
    bool grab(int keycode, unsigned int modifiers)
    {
        return checked([&] {
            XGrabKey(m_display, keycode, modifiers, DefaultRootWindow(m_display), True,
                     GrabModeAsync, GrabModeAsync);
        });
    }

    // Grabs the keysym under the modifiers combined with each NumLock/CapsLock state.
    bool grabUnderAllLockStates(KeySym keysym, unsigned int modifiers)
    {
        for (unsigned int lock : {0u, unsigned(Mod2Mask), unsigned(LockMask), unsigned(Mod2Mask | LockMask)}) {
            if (!grab(keycode(keysym), modifiers | lock))
                return false;
        }
        return true;
    }

private:
    template <typename Request>
    bool checked(Request request)
    {
        s_refused = false;
        XErrorHandler previous = XSetErrorHandler(&X11TestClient::onError);
        request();
        XSync(m_display, False);
        XSetErrorHandler(previous);
        return !s_refused;
    }

    static int onError(Display *, XErrorEvent *)
    {
        s_refused = true;
        return 0;
    }

    static inline bool s_refused = false;
    Display *m_display;
};

// Presses and releases each of the space-separated combinations ("ctrl+Print F1") in turn.
inline bool sendKeys(const QString &combinations)
{
    const QStringList arguments = QStringList{QStringLiteral("key")}
        + combinations.split(QLatin1Char(' '), Qt::SkipEmptyParts);
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

// Ctrl+F12 held by a shortcut of the test itself. Its activation proves that every key
// pressed before it has been through the event filter, so "nothing fired" can be asserted
// without waiting for a time-out.
class KeyPressBarrier
{
public:
    KeyPressBarrier() { m_sentinel.setShortcut(QKeySequence(QStringLiteral("Ctrl+F12"))); }

    bool isArmed() const { return !m_sentinel.shortcut().isEmpty(); }

    // Presses the combinations, then the sentinel, and returns once the sentinel fired.
    bool pressAndSettle(const QString &combinations)
    {
        QSignalSpy sentinelSpy(&m_sentinel, &QxtGlobalShortcut::activated);
        return (combinations.isEmpty() || sendKeys(combinations))
            && sendKeys(QStringLiteral("ctrl+F12")) && sentinelSpy.wait(5000);
    }

private:
    QxtGlobalShortcut m_sentinel;
};
