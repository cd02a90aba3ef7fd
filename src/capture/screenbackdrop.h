#pragma once

#include <QColor>
#include <QList>
#include <QRect>

class QQuickWindow;

// The X server paints a window's own background the moment the window maps, before this
// program has drawn a thing into it. Made the still picture of the screen, with the areas
// that the first frame dims already dimmed, it shows the capture at once while the first frame
// is still being drawn; it goes again once that frame is out or the window hides, so that it
// never shows in another capture.
//
// `area` is the window's geometry on the desktop; `dimmed` rectangles are in the window's
// coordinates. Call it before the window maps: the server copies the screen before anything
// asked for later. Does nothing (false) where the screen cannot be read directly.
bool showScreenBackdrop(QQuickWindow *window, const QRect &area, const QList<QRect> &dimmed, const QColor &dim);

// Makes the window and the server's copy of `area` ready before the first capture (the server
// writes the copy once); the copy goes back after grabMemoryKeepMsecs() without a capture.
void prepareScreenBackdrop(QQuickWindow *window, const QRect &area);
