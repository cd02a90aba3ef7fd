#pragma once

#include <xcb/xcb.h>

// The application's own X connection, the one Qt reads, and the default root window on it.
// Both are null when the application does not run on Qt's XCB platform or the connection
// has failed.
struct ApplicationConnection
{
    xcb_connection_t *connection = nullptr;
    xcb_window_t root = XCB_WINDOW_NONE;
};

ApplicationConnection applicationConnection();

// Gives a window of this application the keyboard focus on the X server at once, whatever
// the window manager makes of activation requests; false without X or when the window is not
// viewable.
bool x11_focus_window(xcb_window_t window);

// Names `parent` in the window's WM_TRANSIENT_FOR, or removes it for XCB_WINDOW_NONE, on a
// window that is already mapped: Qt writes it only when it maps a window. Sent on Qt's own
// connection, so that it reaches the server after everything Qt asked before.
void x11_set_transient_for(xcb_window_t window, xcb_window_t parent);

// The pixels of an X screen's root window read through Xlib, on a connection of its own.
// Rows top to bottom, 4 bytes a pixel: blue, green, red, 255 (QImage::Format_RGB32 here).
// The record owns data (malloc); x11_screenshot_free releases it.
struct X11ScreenshotData
{
    unsigned char *data = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
    bool success = false;
};

// True when the default display can be opened; the connection is closed again at once.
bool x11_is_available();

// The root window of X screen `screen`, or of the default X screen when there is no such
// screen. Fails (success false, data null) unless the root is true colour with 8 bits for
// each of red, green and blue, where any other layout would give wrong colours.
X11ScreenshotData x11_screenshot(int screen);

// Frees the pixels once; a second call does nothing.
void x11_screenshot_free(X11ScreenshotData *shot);
