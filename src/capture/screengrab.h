#pragma once

#include <QImage>
#include <QRect>

// The picture of a rectangle of the virtual desktop (logical coordinates), carrying the
// application's device pixel ratio. Null when there is no screen.
//
// On X11 the root window is read straight into a shared-memory segment, which is kept for
// the next grab of the same size; the image wraps the segment without a copy. A segment
// is handed out again only once every copy of the image wrapping it is gone, so a picture
// never changes under whoever holds it. Whoever keeps a picture for long should copy it,
// or the next grab has to make a new segment.
// Elsewhere (other platforms, scaled screens, a server without shared memory) the picture
// comes from QScreen::grabWindow.
QImage grabScreenArea(const QRect &area);

// The whole virtual desktop: the union of every screen's geometry.
QRect desktopArea();
