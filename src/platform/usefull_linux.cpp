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
#include <QTemporaryDir>
#include <QWidget>
#include <QWindow>

#include <functional>

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
    tool.start(program, arguments(path));
    if (!tool.waitForFinished(toolTimeoutMsecs)) {
        qCDebug(lcMavu).noquote() << QStringLiteral("linuxCreateScreenShot: %1 timeout").arg(program);
        tool.kill();
        tool.waitForFinished();
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

// The root window and the desktop's tools picture the whole desktop: with several screens,
// one screen's window shows only its own part.
QPixmap screenPart(const QPixmap &image, int screen)
{
    QScreen *target = screenAt(screen);
    const QRect desktop = unitedScreens();
    if (!target || image.isNull() || QGuiApplication::screens().size() < 2)
        return image;
    const qreal ratio = target->devicePixelRatio();
    if (image.size() != (QSizeF(desktop.size()) * ratio).toSize())
        return image;
    const QRect part = target->geometry().translated(-desktop.topLeft());
    return image.copy(QRectF(QPointF(part.topLeft()) * ratio, QSizeF(part.size()) * ratio).toRect());
}

} // namespace

QPixmap linuxCreateScreenShot(int screen)
{
    QList<QPixmap (*)(int)> methods;
    if (isWayland()) {
        qCDebug(lcMavu) << "linuxCreateScreenShot: Detected Wayland session";
        methods = {screenshotViaGnomeScreenshot, screenshotViaSpectacle, screenshotViaQt};
    } else {
        qCDebug(lcMavu) << "linuxCreateScreenShot: Detected X11 session";
        methods = {screenshotViaQt, screenshotViaXlib, screenshotViaGnomeScreenshot, screenshotViaScrot};
    }
    for (const auto method : methods) {
        const QPixmap image = method(screen);
        if (!image.isNull())
            return screenPart(image, screen);
    }
    qCDebug(lcMavu) << "linuxCreateScreenShot: All methods failed!";
    return QPixmap();
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
