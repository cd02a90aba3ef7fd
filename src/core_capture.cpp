// Capture entry points: hotkeys and pages start a capture here; the overlay is made,
// shown and destroyed here.

#include "core.h"

#include "capture/screenbackdrop.h"
#include "capture/screengrab.h"
#include "capture/serverpicture.h"
#include "capture/sharedmemoryprobe.h"
#include "capture/screenjoin.h"
#include "capture/surfacewidget.h"
#include "network/analytics.h"
#include "network/autorization.h"
#include "settings/constants.h"
#include "windows/maintoolwidget.h"

#include <QDebug>
#include <QGuiApplication>
#include <QScreen>
#include <QTimer>
#include <QWindow>

#include <malloc.h>

namespace {

void sendCaptureEvent(const QString &label)
{
    new AnalyticsEvent(AnalyticsEvent::CategoryCapture, AnalyticsEvent::ActionHotkey, true, label);
}

} // namespace

void Core::fragmentScreen()
{
    sendCaptureEvent(QStringLiteral("fragment"));
    screen(false, false);
}

void Core::fullScreen()
{
    sendCaptureEvent(QStringLiteral("screen"));
    screen(true, false);
}

void Core::quickScreen()
{
    sendCaptureEvent(QStringLiteral("smart"));
    screenUpload(0, true, QPixmap());
}

// One screen: the overlay over it. Several: a selector window on each screen, or, for the
// whole desktop, all screens joined in the editor window (core_screens.cpp).
void Core::screen(bool fullscreen, bool quick)
{
    // A new capture starts without an earlier recording; one that is still open keeps its own.
    if (startsNewCapture(fullscreen))
        clearAudioFile();
    if (!checkAutorization())
        return;
    // A window that blocks all others (a file dialog) would leave the capture dead to input.
    if (QWindow *modal = QGuiApplication::modalWindow()) {
        modal->raise();
        modal->requestActivate();
        return;
    }
    if (QGuiApplication::screens().size() >= 2) {
        // The screens are not read while a capture's own windows cover them.
        if (captureUnderWay())
            return;
        if (fullscreen)
            ponoramEdit(joinScreens());
        else
            openSelectorWindows();
        return;
    }
    if (m_mainToolWidget) { // off the screen before the screen is read
        m_mainToolWidget->hide();
        m_mainToolWidget->setPosition(-1000, -1000);
    }
    SurfaceWidget *overlay = surfaceWidget();
    overlay->setFullscreen(fullscreen);
    overlay->setQuickScreen(quick);
    overlay->show();
}

// The overlay window is made once and serves every capture; m_surface names it while a
// capture runs.
SurfaceWidget *Core::surfaceWidget()
{
    if (!m_surface)
        m_surface = overlayWindow();
    return m_surface;
}

SurfaceWidget *Core::overlayWindow()
{
    if (!m_overlayWindow) {
        m_overlayWindow = new SurfaceWidget();
        connect(m_overlayWindow, &SurfaceWidget::uploadedScreen, this, [this] { screenUpload(); });
        connect(m_overlayWindow, &SurfaceWidget::closed, this, &Core::deleteSurfaceScreen);
    }
    return m_overlayWindow;
}

// The overlay is made right after start-up, with the X server's memory for its first
// capture, so that a hotkey pressed at once gets the overlay as fast as any later one.
void Core::prepareOverlay()
{
    SurfaceWidget *overlay = overlayWindow();
    const QRect area = desktopArea();
    ServerPicture::prepare(area);
    prepareScreenBackdrop(overlay, area);
}

void Core::openSurfaceRect(int index, QRect rect, QPixmap pxm)
{
    surfaceWidget()->showOnWindow(index, rect, pxm);
}

void Core::deleteSurfaceScreen()
{
    if (!m_surface)
        return;
    m_surface->endCapture();
    m_surface = nullptr;
    // A capture moves hundreds of megabytes at large screen sizes; hand them back to the
    // system once it is over instead of keeping them in the heap.
    QTimer::singleShot(0, this, [] { malloc_trim(0); });
    m_overlayRenewal.restart();
}

// Where the X server cannot reach this process's shared memory, Qt draws a window into a
// picture of the whole window in this process's own memory, sent through a buffer of up to
// 16 MB, and keeps both for as long as the window lives: 50 MB at 4K. So once no capture has
// come for the keep time, a fresh overlay that has never been shown takes the place of the
// old one, as after start-up.
void Core::renewOverlay()
{
    const ApplicationConnection x11 = applicationConnection();
    if (!x11.connection || sharedMemoryReachesServer(x11) || m_surface || !m_overlayWindow
        || m_overlayWindow->isVisible())
        return;
    delete m_overlayWindow;
    m_overlayWindow = nullptr;
    overlayWindow()->create();
    malloc_trim(0);
}

// Each screen is read on its own, so that the parts of the union no screen shows stay black.
QPixmap joinScreens()
{
    QList<ScreenImage> screens;
    for (QScreen *screen : QGuiApplication::screens()) {
        QPixmap grab = QPixmap::fromImage(grabScreenArea(screen->geometry()));
        grab.setDevicePixelRatio(screen->devicePixelRatio());
        screens.append({screen->geometry(), grab});
    }
    return joinScreenImages(screens, desktopArea().normalized());
}
