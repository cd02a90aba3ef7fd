#pragma once

// Where the X server has a window, whatever Qt believes: a window taken into a tray host or
// placed by a window manager.

#include <QRect>

#include <X11/Xlib.h>

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
