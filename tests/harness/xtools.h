#pragma once

// The X server as another client sees it: the pointer, keys and focus through xdotool, the
// clipboard through xclip, the screen's pixels, the window manager's stacking, and a tray
// host.

#include "processes.h"

#include <QGuiApplication>
#include <QPoint>
#include <QScreen>
#include <QSystemTrayIcon>

inline bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

inline QStringList xdotoolPoint(const QPoint &point)
{
    return {QString::number(point.x()), QString::number(point.y())};
}

inline bool xdotoolClick(const QPoint &point, const QString &button = QStringLiteral("1"))
{
    return xdotool(QStringList{"mousemove"} + xdotoolPoint(point) + QStringList{"click", button});
}

// Presses the left button at one point and lets it go at another, through the middle.
inline bool xdotoolDrag(const QPoint &from, const QPoint &to)
{
    return xdotool(QStringList{"mousemove"} + xdotoolPoint(from) + QStringList{"sleep", "0.2", "mousedown", "1", "mousemove"}
                   + xdotoolPoint((from + to) / 2) + QStringList{"sleep", "0.1", "mousemove"} + xdotoolPoint(to)
                   + QStringList{"sleep", "0.1", "mouseup", "1"});
}

// How many of the process's windows are on the screen at this size, as the X server has
// them: for windows without a title of their own, such as the sign-in window.
inline int shownWindowsOfSize(qint64 process, const QSize &size)
{
    const QString sized = QStringLiteral("WIDTH=%1\nHEIGHT=%2").arg(size.width()).arg(size.height());
    const QStringList ids =
        commandOutput(QStringLiteral("xdotool"), {"search", "--onlyvisible", "--pid", QString::number(process)})
            .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    int shown = 0;
    for (const QString &id : ids)
        shown += commandOutput(QStringLiteral("xdotool"), {"getwindowgeometry", "--shell", id}).contains(sized);
    return shown;
}

// The window that has the keyboard focus on the X server ("getwindowfocus"), or the one the
// window manager holds active and acts on ("getactivewindow"), as xdotool names it.
inline WId xdotoolWindow(const QString &query)
{
    return commandOutput(QStringLiteral("xdotool"), {query}).toULongLong();
}

// The managed windows from bottom to top, as the window manager stacks them.
inline QList<WId> stackingOrder()
{
    const QString line = commandOutput(QStringLiteral("xprop"), {"-root", "_NET_CLIENT_LIST_STACKING"});
    QList<WId> order;
    for (const QString &id : line.mid(line.indexOf(QLatin1Char('#')) + 1).split(QLatin1Char(','), Qt::SkipEmptyParts))
        order.append(id.trimmed().toULongLong(nullptr, 16));
    return order;
}

// The window that the window is transient for (WM_TRANSIENT_FOR), 0 when it names none.
inline WId xTransientFor(WId window)
{
    const QString line = commandOutput(QStringLiteral("xprop"), {"-id", QString::number(window), "WM_TRANSIENT_FOR"});
    const int hash = line.indexOf(QLatin1Char('#'));
    return hash < 0 ? 0 : line.mid(hash + 1).trimmed().toULongLong(nullptr, 16);
}

// The clipboard as another X client reads it, in the given type; this process keeps
// serving its selection meanwhile.
inline QByteArray xclipRead(const QStringList &type = {})
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), QStringList{"-o", "-selection", "clipboard"} + type);
    if (!xclip.waitForStarted())
        return "<xclip did not start>";
    (void)QTest::qWaitFor([&] { return xclip.state() == QProcess::NotRunning; }, 10000);
    return xclip.readAllStandardOutput();
}

inline void xclipWrite(const QByteArray &text)
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), {"-i", "-selection", "clipboard"});
    xclip.write(text);
    xclip.closeWriteChannel();
    xclip.waitForFinished(5000);
}

inline QRgb screenPixel(const QPoint &point)
{
    return QGuiApplication::primaryScreen()->grabWindow(0, point.x(), point.y(), 1, 1).toImage().pixel(0, 0);
}

// A tray host at the screen's top right edge; true once the tray is there.
inline bool startTrayHost(QProcess &trayer)
{
    endWithParent(trayer);
    trayer.start(QStringLiteral("trayer"), {"--edge", "top", "--align", "right", "--widthtype", "request", "--height",
                                            "24", "--SetDockType", "true"});
    return trayer.waitForStarted() && QTest::qWaitFor([] { return QSystemTrayIcon::isSystemTrayAvailable(); }, 10000);
}
