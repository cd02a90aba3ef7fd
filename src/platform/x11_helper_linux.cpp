// The X11 side of the platform layer: the application's own connection, and the Xlib read of
// a root window for the screen image chain.

#include "x11_helper_linux.h"

#include <QGuiApplication>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <cstdlib>

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

// Checked, so that a window that is not viewable yet is a false here, not an error that Qt
// reports.
bool x11_focus_window(xcb_window_t window)
{
    const ApplicationConnection x11 = applicationConnection();
    if (!x11.connection)
        return false;
    xcb_generic_error_t *error = xcb_request_check(
        x11.connection, xcb_set_input_focus_checked(x11.connection, XCB_INPUT_FOCUS_PARENT, window, XCB_CURRENT_TIME));
    std::free(error);
    return !error;
}

void x11_set_transient_for(xcb_window_t window, xcb_window_t parent)
{
    const ApplicationConnection x11 = applicationConnection();
    if (!x11.connection)
        return;
    if (parent == XCB_WINDOW_NONE)
        xcb_delete_property(x11.connection, window, XCB_ATOM_WM_TRANSIENT_FOR);
    else
        xcb_change_property(x11.connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_TRANSIENT_FOR,
                            XCB_ATOM_WINDOW, 32, 1, &parent);
    xcb_flush(x11.connection);
}

namespace {

// 8 bits each of red, green and blue from the high byte down, the layout the pixels are
// converted from; anything else (16-bit or 30-bit colour, swapped channels) is refused.
bool hasEightBitChannels(const XWindowAttributes &attributes)
{
    const Visual *visual = attributes.visual;
    return (attributes.depth == 24 || attributes.depth == 32) && visual && visual->c_class == TrueColor
        && visual->red_mask == 0xff0000 && visual->green_mask == 0xff00 && visual->blue_mask == 0xff;
}

void convertPixels(XImage *image, X11ScreenshotData *shot)
{
    for (int y = 0; y < shot->height; ++y) {
        unsigned char *line = shot->data + y * shot->stride;
        for (int x = 0; x < shot->width; ++x) {
            const unsigned long pixel = XGetPixel(image, x, y);
            line[x * 4] = pixel & 0xff;
            line[x * 4 + 1] = (pixel >> 8) & 0xff;
            line[x * 4 + 2] = (pixel >> 16) & 0xff;
            line[x * 4 + 3] = 0xff;
        }
    }
}

bool readRoot(Display *display, int screen, X11ScreenshotData *shot)
{
    const Window root = RootWindow(display, screen);
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(display, root, &attributes) || !hasEightBitChannels(attributes))
        return false;
    XImage *image = XGetImage(display, root, 0, 0, unsigned(attributes.width), unsigned(attributes.height),
                              AllPlanes, ZPixmap);
    if (!image)
        return false;
    shot->width = attributes.width;
    shot->height = attributes.height;
    shot->stride = attributes.width * 4;
    shot->data = static_cast<unsigned char *>(std::malloc(size_t(shot->height) * size_t(shot->stride)));
    if (shot->data)
        convertPixels(image, shot);
    XDestroyImage(image);
    return shot->data != nullptr;
}

} // namespace

bool x11_is_available()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return false;
    XCloseDisplay(display);
    return true;
}

X11ScreenshotData x11_screenshot(int screen)
{
    X11ScreenshotData shot;
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return shot;
    if (screen < 0 || screen >= ScreenCount(display))
        screen = DefaultScreen(display);
    shot.success = readRoot(display, screen, &shot);
    XCloseDisplay(display);
    return shot;
}

void x11_screenshot_free(X11ScreenshotData *shot)
{
    if (!shot || !shot->data)
        return;
    std::free(shot->data);
    shot->data = nullptr;
    shot->success = false;
}
