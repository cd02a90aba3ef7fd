#include "windows/compositor.h"

#include <QByteArray>
#include <QColor>
#include <QGuiApplication>
#include <QQuickWindow>
#include <QSurfaceFormat>

#include <X11/Xlib.h>

namespace {

bool x11SelectionOwned(Display *display)
{
    const QByteArray name = "_NET_WM_CM_S" + QByteArray::number(DefaultScreen(display));
    const Atom selection = XInternAtom(display, name.constData(), False);
    return selection != None && XGetSelectionOwner(display, selection) != None;
}

} // namespace

bool compositingManagerRunning()
{
    if (QGuiApplication::platformName() != QLatin1String("xcb"))
        return true;
    auto *x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
    Display *display = x11 ? x11->display() : nullptr;
    if (!display)
        return false;
    return x11SelectionOwned(display);
}

bool applyWindowBackground(QWindow *window, const QColor &opaque)
{
    const bool translucent = compositingManagerRunning();
    QColor fill = opaque;
    if (translucent) {
        QSurfaceFormat surface = window->format();
        surface.setAlphaBufferSize(8);
        window->setFormat(surface);
        fill = Qt::transparent;
    }
    if (auto *quick = qobject_cast<QQuickWindow *>(window))
        quick->setColor(fill);
    return translucent;
}
