#pragma once

// A known picture on the X root window, for tests that read the screens: each pixel of the
// pattern differs from its neighbours, so that any shift or scaling of a capture shows.

#include "patternwindow.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

// Puts the picture (the size of the default screen) on the root window as its background.
inline void putRootPicture(Display *display, const QImage &picture)
{
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    const auto depth = unsigned(DefaultDepth(display, screen));
    const auto width = unsigned(picture.width());
    const auto height = unsigned(picture.height());
    Pixmap pixmap = XCreatePixmap(display, root, width, height, depth);
    QImage pixels = picture.convertToFormat(QImage::Format_RGB32);
    XImage *image = XCreateImage(display, DefaultVisual(display, screen), depth, ZPixmap, 0,
                                 reinterpret_cast<char *>(pixels.bits()), width, height, 32, 0);
    XPutImage(display, pixmap, DefaultGC(display, screen), image, 0, 0, 0, 0, width, height);
    image->data = nullptr; // the pixels belong to the QImage
    XDestroyImage(image);
    XSetWindowBackgroundPixmap(display, root, pixmap);
    XClearWindow(display, root);
    XFreePixmap(display, pixmap);
    XSync(display, False);
}

// Paints the pattern on the root window of the default display and returns it.
inline QImage paintRootPattern()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return QImage();
    const int screen = DefaultScreen(display);
    const QImage picture = patternImage(QSize(DisplayWidth(display, screen), DisplayHeight(display, screen)));
    putRootPicture(display, picture);
    XCloseDisplay(display);
    return picture;
}
