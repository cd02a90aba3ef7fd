#include "x11_helper_linux.h"

#include <QGuiApplication>

#include <X11/Xlib.h>

ApplicationConnection applicationConnection()
{
    auto *app = qobject_cast<QGuiApplication *>(QCoreApplication::instance());
    auto *x11 = app ? app->nativeInterface<QNativeInterface::QX11Application>() : nullptr;
    xcb_connection_t *connection = x11 ? x11->connection() : nullptr;
    if (!connection || xcb_connection_has_error(connection))
        return {};
    ApplicationConnection result;
    result.connection = connection;
    if (Display *display = x11->display())
        result.root = XDefaultRootWindow(display);
    else
        result.root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    return result;
}
