#pragma once

// Where the X server has a window, whatever Qt believes: a window taken into a tray host or
// placed by a window manager.

#include <QDeadlineTimer>
#include <QImage>
#include <QRect>
#include <QThread>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

// The window's place in root window coordinates; an empty rectangle when it has none.
inline QRect xGeometry(unsigned long id)
{
    Display *display = XOpenDisplay(nullptr);
    Window root = 0;
    Window child = 0;
    int x = 0;
    int y = 0;
    unsigned int width = 0;
    unsigned int height = 0;
    unsigned int border = 0;
    unsigned int depth = 0;
    const bool known = display && XGetGeometry(display, Window(id), &root, &x, &y, &width, &height, &border, &depth)
        && XTranslateCoordinates(display, Window(id), root, 0, 0, &x, &y, &child);
    if (display)
        XCloseDisplay(display);
    return known ? QRect(x, y, int(width), int(height)) : QRect();
}

// True when the window has been taken out of the root window into another one.
inline bool xReparented(unsigned long id)
{
    Display *display = XOpenDisplay(nullptr);
    Window root = 0;
    Window parent = 0;
    Window *children = nullptr;
    unsigned int count = 0;
    const bool known = display && XQueryTree(display, Window(id), &root, &parent, &children, &count);
    if (children)
        XFree(children);
    if (display)
        XCloseDisplay(display);
    return known && parent != root;
}

// What the X server shows of the window in `area` (window coordinates) once it is viewable,
// read on a connection of its own while Qt's event loop may stand still; null when the
// window does not become viewable within `msecs`.
inline QImage xWindowPicture(unsigned long id, const QRect &area, int msecs = 5000)
{
    Display *display = XOpenDisplay(nullptr);
    XWindowAttributes attributes{};
    QDeadlineTimer deadline(msecs);
    while (display && !deadline.hasExpired()
           && !(XGetWindowAttributes(display, Window(id), &attributes) && attributes.map_state == IsViewable))
        QThread::msleep(5);
    QImage picture;
    XImage *image = attributes.map_state == IsViewable ? XGetImage(display, Window(id), area.x(), area.y(),
                                                                   unsigned(area.width()), unsigned(area.height()),
                                                                   AllPlanes, ZPixmap)
                                                       : nullptr;
    if (image) {
        picture = QImage(area.size(), QImage::Format_RGB32);
        for (int y = 0; y < area.height(); ++y) {
            for (int x = 0; x < area.width(); ++x)
                picture.setPixel(x, y, QRgb(XGetPixel(image, x, y)) | 0xff000000u);
        }
        XDestroyImage(image);
    }
    if (display)
        XCloseDisplay(display);
    return picture;
}
