// Capture entry points: hotkeys and pages start a capture here; the overlay is made,
// shown and destroyed here.

#include "core.h"

#include "capture/surfacewidget.h"
#include "network/analytics.h"
#include "network/autorization.h"
#include "settings/constants.h"

#include <QDebug>
#include <QGuiApplication>
#include <QPainter>
#include <QScreen>
#include <QTimer>

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

// Until the per-screen selector windows and the editor window exist, every capture opens
// the overlay over the whole desktop, also with several screens.
void Core::screen(bool fullscreen, bool quick)
{
    clearAudioFile();
    if (!checkAutorization())
        return;
    SurfaceWidget *overlay = surfaceWidget();
    overlay->setFullscreen(fullscreen);
    overlay->setQuickScreen(quick);
    overlay->show();
}

SurfaceWidget *Core::surfaceWidget()
{
    if (!m_surface) {
        m_surface = new SurfaceWidget();
        connect(m_surface, &SurfaceWidget::uploadedScreen, this, [this] { screenUpload(); });
        connect(m_surface, &SurfaceWidget::closed, this, &Core::deleteSurfaceScreen);
        // A capture moves hundreds of megabytes at large screen sizes; hand them back to
        // the system once the overlay is gone instead of keeping them in the heap.
        connect(m_surface, &QObject::destroyed, this, [] { QTimer::singleShot(0, [] { malloc_trim(0); }); });
    }
    return m_surface;
}

void Core::openSurfaceRect(int index, QRect rect, QPixmap pxm)
{
    surfaceWidget()->showOnWindow(index, rect, pxm);
}

void Core::deleteSurfaceScreen()
{
    if (!m_surface)
        return;
    m_surface->deleteLater();
    m_surface = nullptr;
}

QPixmap joinScreens()
{
    QRect united;
    const QList<QScreen *> screens = QGuiApplication::screens();
    for (QScreen *screen : screens)
        united = united.united(screen->geometry());
    united = united.normalized();
    QPixmap joined(united.size());
    joined.fill(Qt::black);
    QPainter painter(&joined);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    for (QScreen *screen : screens) {
        const QRect area = screen->geometry();
        QPixmap grab = screen->grabWindow(0, area.x(), area.y(), area.width(), area.height());
        grab.setDevicePixelRatio(screen->devicePixelRatio());
        painter.drawPixmap(QRect(area.topLeft() - united.topLeft(), area.size()), grab,
                           QRect(QPoint(0, 0), grab.size()));
    }
    painter.end();
    return joined;
}
