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
