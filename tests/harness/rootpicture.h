#pragma once

// A known picture on the X root window, for tests that read the screens: each pixel of the
// pattern differs from its neighbours, so that any shift or scaling of a capture shows.

#include <QImage>

#include <X11/Xlib.h>
#include <X11/Xutil.h>

inline QImage rootPattern(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb((x * 7) & 255, (y * 13) & 255, (x + 3 * y) & 255);
    }
    return image;
}

// Paints the pattern as the root window's background on the default display and returns it.
inline QImage paintRootPattern()
{
    Display *display = XOpenDisplay(nullptr);
    if (!display)
        return QImage();
    const int screen = DefaultScreen(display);
    const Window root = RootWindow(display, screen);
    const QSize size(DisplayWidth(display, screen), DisplayHeight(display, screen));
    QImage picture = rootPattern(size);
    const auto depth = unsigned(DefaultDepth(display, screen));
    Pixmap pixmap = XCreatePixmap(display, root, unsigned(size.width()), unsigned(size.height()), depth);
    XImage *image = XCreateImage(display, DefaultVisual(display, screen), depth, ZPixmap, 0,
                                 reinterpret_cast<char *>(picture.bits()), unsigned(size.width()),
                                 unsigned(size.height()), 32, 0);
    XPutImage(display, pixmap, DefaultGC(display, screen), image, 0, 0, 0, 0, unsigned(size.width()),
              unsigned(size.height()));
    image->data = nullptr; // the pixels belong to the QImage
    XDestroyImage(image);
    XSetWindowBackgroundPixmap(display, root, pixmap);
    XClearWindow(display, root);
    XFreePixmap(display, pixmap);
    XSync(display, False);
    XCloseDisplay(display);
    return picture;
}
