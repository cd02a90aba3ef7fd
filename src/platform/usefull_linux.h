#pragma once

#include <QPixmap>
#include <QRect>

class QWindow;

// A still image of screen `screen` (an index in QGuiApplication::screens()), taken by the
// first method that works, in the order that suits the session. X11: Qt's grab, the Xlib
// read of the root window, gnome-screenshot, scrot. Wayland: gnome-screenshot, spectacle,
// Qt's grab. The tools are started without a shell, each given at most toolTimeoutMsecs, in
// a private temporary folder that goes with whatever they wrote; what a tool started ends
// with it. A method that pictures the whole desktop gives the screen's part of it; a
// picture the size of neither the desktop nor the screen counts as a failure. Null when
// every method failed; debug lines tell which methods were tried.
QPixmap linuxCreateScreenShot(int screen);
// The same for every screen, in the order of QGuiApplication::screens(), each tool started
// once at most: a tool's picture of the desktop serves all screens, and a tool that failed
// or hung is not waited for again.
QList<QPixmap> linuxCreateScreenShots();

inline constexpr int toolTimeoutMsecs = 5000;

// Raises and activates the application's active widget window, if there is one (QML
// windows are not widget windows: then nothing happens).
void raiseApp();
void appFocus();

// Shows a window full screen on the screen of the given geometry, covering exactly that
// screen, with or without a window manager, also when it was shown on another screen before.
void showFullScreenOn(QWindow *window, const QRect &screenGeometry);
