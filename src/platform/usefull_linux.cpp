// The screen image chain and the desktop functions of the Linux platform.

#include "usefull_linux.h"

#include "platform/x11_helper_linux.h"
#include "settings/debuglog.h"

#include <QApplication>
#include <QDebug>
#include <QGuiApplication>
#include <QImageReader>
#include <QProcess>
#include <QScreen>
#include <QSet>
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <functional>

#include <signal.h>
#include <unistd.h>

namespace {

using ToolArguments = std::function<QStringList(const QString &path)>;

bool isWayland()
{
    if (qgetenv("XDG_SESSION_TYPE") == "wayland")
        return true;
    return !qgetenv("WAYLAND_DISPLAY").isEmpty();
}

QScreen *screenAt(int screen)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screens.isEmpty())
        return nullptr;
    return screen >= 0 && screen < screens.size() ? screens.at(screen) : screens.first();
}

void noteSuccess(const char *method, const QPixmap &image)
{
    if (!image.isNull())
        qCDebug(lcMavu) << "linuxCreateScreenShot:" << method << "success, size:" << image.size();
}

QPixmap screenshotViaQt(int screen)
{
    qCDebug(lcMavu) << "linuxCreateScreenShot: Using Qt grabWindow (X11 only)...";
    QScreen *target = screenAt(screen);
    if (!target)
        return QPixmap();
    const QPixmap image = target->grabWindow(0, 0, 0, -1, -1);
    noteSuccess("Qt grabWindow", image);
    return image;
}

// The tool leads a process group of its own, so that whatever it started ends with it.
void endWithChildren(QProcess &tool)
{
    if (tool.processId() > 0)
        ::kill(-pid_t(tool.processId()), SIGKILL);
    tool.waitForFinished();
}

// The tool writes into a folder only this user can enter; the folder goes, with whatever
// the tool left there, on every way out, a tool that was killed included.
QPixmap screenshotViaTool(const QString &program, const ToolArguments &arguments)
{
    QTemporaryDir folder;
    if (!folder.isValid()) {
        qCDebug(lcMavu) << "linuxCreateScreenShot: no temporary folder for" << program << folder.errorString();
        return QPixmap();
    }
    const QString path = folder.filePath(QStringLiteral("screenshot.png"));
    QProcess tool;
    tool.setChildProcessModifier([] { ::setpgid(0, 0); });
    tool.start(program, arguments(path));
    const bool finished = tool.waitForFinished(toolTimeoutMsecs);
    endWithChildren(tool);
    if (!finished) {
        qCDebug(lcMavu).noquote() << QStringLiteral("linuxCreateScreenShot: %1 timeout").arg(program);
        return QPixmap();
    }
    QImageReader reader(path);
    reader.setDecideFormatFromContent(true);
    return QPixmap::fromImage(reader.read());
}

QPixmap screenshotViaGnomeScreenshot(int)
{
    qCDebug(lcMavu) << "linuxCreateScreenShot: Trying gnome-screenshot...";
    const QPixmap image = screenshotViaTool(QStringLiteral("gnome-screenshot"), [](const QString &path) {
        return QStringList{QStringLiteral("-f"), path};
    });
    noteSuccess("gnome-screenshot", image);
    return image;
}

QPixmap screenshotViaSpectacle(int screen)
{
    qCDebug(lcMavu) << "linuxCreateScreenShot: Trying spectacle (KDE)...";
    return screenshotViaTool(QStringLiteral("spectacle"), [screen](const QString &path) {
        QStringList arguments{QStringLiteral("-b"), QStringLiteral("-n"), QStringLiteral("-o"), path};
        if (screen >= 0)
            arguments << QStringLiteral("-m") << QString::number(screen);
        return arguments;
    });
}

QPixmap screenshotViaScrot(int)
{
    qCDebug(lcMavu) << "linuxCreateScreenShot: Trying scrot...";
    return screenshotViaTool(QStringLiteral("scrot"), [](const QString &path) { return QStringList{path}; });
}

QPixmap screenshotViaXlib(int screen)
{
    qCDebug(lcMavu) << "linuxCreateScreenShot: Using X11 XGetImage...";
    if (!x11_is_available()) {
        qCDebug(lcMavu) << "linuxCreateScreenShot: X11 not available";
        return QPixmap();
    }
    X11ScreenshotData shot = x11_screenshot(screen);
    if (!shot.success || !shot.data) {
        x11_screenshot_free(&shot);
        qCDebug(lcMavu) << "linuxCreateScreenShot: X11 screenshot failed";
        return QPixmap();
    }
    const QImage copy = QImage(shot.data, shot.width, shot.height, shot.stride, QImage::Format_RGB32).copy();
    x11_screenshot_free(&shot);
    qCDebug(lcMavu) << "linuxCreateScreenShot: X11 success, size:" << copy.size();
    return QPixmap::fromImage(copy);
}

QRect unitedScreens()
{
    QRect united;
    for (QScreen *screen : QGuiApplication::screens())
        united = united.united(screen->geometry());
    return united;
}

QSize devicePixels(const QSize &size, qreal ratio)
{
    return (QSizeF(size) * ratio).toSize();
}

// The root window and the desktop's tools picture the whole desktop: one screen's window
// shows only its own part. A picture of any other size than the desktop's or the screen's
// is no picture of the screen (a window of it would show it squeezed): the chain goes on.
QPixmap screenPart(const QPixmap &image, int screen)
{
    QScreen *target = screenAt(screen);
    if (!target || image.isNull())
        return QPixmap();
    const qreal ratio = target->devicePixelRatio();
    const QRect desktop = unitedScreens();
    if (image.size() == devicePixels(desktop.size(), ratio)) {
        const QRect part = target->geometry().translated(-desktop.topLeft());
        return image.copy(QRectF(QPointF(part.topLeft()) * ratio, QSizeF(part.size()) * ratio).toRect());
    }
    if (image.size() == devicePixels(target->size(), ratio))
        return image;
    qCDebug(lcMavu) << "linuxCreateScreenShot: a picture of" << image.size() << "is neither the screen's nor the desktop's";
    return QPixmap();
}

using Method = QPixmap (*)(int);

// One pass of the chain over the screens of a capture. Each tool is started once at most:
// the picture of a tool that is not told the screen serves every screen, and a tool that
// failed (or hung until its time bound) is not asked again.
class ScreenChain
{
public:
    ScreenChain()
    {
        if (isWayland()) {
            qCDebug(lcMavu) << "linuxCreateScreenShot: Detected Wayland session";
            m_methods = {screenshotViaGnomeScreenshot, screenshotViaSpectacle, screenshotViaQt};
        } else {
            qCDebug(lcMavu) << "linuxCreateScreenShot: Detected X11 session";
            m_methods = {screenshotViaQt, screenshotViaXlib, screenshotViaGnomeScreenshot, screenshotViaScrot};
        }
    }

    QPixmap screenShot(int screen)
    {
        for (int method = 0; method < m_methods.size(); ++method) {
            const QPixmap taken = run(method, screen);
            // Qt's grab is of the screen itself, whatever its rounding of a scaled size.
            const QPixmap image = m_methods.at(method) == screenshotViaQt ? taken : screenPart(taken, screen);
            if (!image.isNull())
                return image;
        }
        qCDebug(lcMavu) << "linuxCreateScreenShot: All methods failed!";
        return QPixmap();
    }

private:
    QPixmap run(int method, int screen)
    {
        const Method take = m_methods.at(method);
        const bool tool = take != screenshotViaQt && take != screenshotViaXlib;
        const bool desktopWide = tool && take != screenshotViaSpectacle; // spectacle is told the screen
        if (m_failedTools.contains(method))
            return QPixmap();
        if (m_desktops.contains(method))
            return m_desktops.value(method);
        const QPixmap image = take(screen);
        if (tool && image.isNull())
            m_failedTools.insert(method);
        else if (desktopWide)
            m_desktops.insert(method, image);
        return image;
    }

    QList<Method> m_methods;
    QSet<int> m_failedTools;
    QHash<int, QPixmap> m_desktops;
};

} // namespace

QPixmap linuxCreateScreenShot(int screen)
{
    return ScreenChain().screenShot(screen);
}

QList<QPixmap> linuxCreateScreenShots()
{
    ScreenChain chain;
    QList<QPixmap> images;
    for (int screen = 0; screen < QGuiApplication::screens().size(); ++screen)
        images.append(chain.screenShot(screen));
    return images;
}

void appFocus()
{
    if (QWidget *active = QApplication::activeWindow()) {
        active->raise();
        active->activateWindow();
    }
}

void raiseApp()
{
    appFocus();
}

// A window manager places a full-screen window on the screen it stands on when it is
// mapped. Qt skips a geometry it believes the window already has, and after the window was
// hidden that belief may be stale (the manager moves a window it lets go of); a geometry
// that differs first makes sure the window really is on the screen when it is mapped.
void showFullScreenOn(QWindow *window, const QRect &screenGeometry)
{
    window->setGeometry(QRect(screenGeometry.topLeft(), screenGeometry.size() / 2));
    window->setGeometry(screenGeometry);
    window->showFullScreen();
}
