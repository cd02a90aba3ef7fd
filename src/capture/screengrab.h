#pragma once

#include <QImage>
#include <QRect>

#include <memory>

struct ApplicationConnection;
class QPainter;

// The picture of a rectangle of the virtual desktop (logical coordinates), carrying the
// application's device pixel ratio. Null when there is no screen.
//
// On X11 the root window is read straight into a shared-memory segment, which is kept for
// the next grab; the image wraps the segment without a copy. A segment is handed out again
// only once every copy of the image wrapping it is gone, so a picture never changes under
// whoever holds it. Whoever keeps a picture for long should copy it, or the next grab has to
// make a new segment. A segment nothing has used for grabMemoryKeepMsecs() goes back to the
// system.
// Where the X server cannot reach this process's shared memory (ssh -X, a container), the
// root is read by plain image requests, a band of rows at a time, into memory of the picture's
// own. Elsewhere (other platforms, scaled screens) the picture comes from QScreen::grabWindow.
QImage grabScreenArea(const QRect &area);

// A grab whose pixels the X server copies while the caller goes on, for example to map a
// window: the server reads the screen before anything asked for later, so a window shown
// meanwhile is not in the picture. picture() waits for the pixels; where the root cannot be
// read directly, or not through shared memory, the picture is taken at once, in the constructor.
class PendingScreenGrab
{
public:
    explicit PendingScreenGrab(const QRect &area);
    // Reads `area` of an X drawable of the root's depth instead (null when it cannot).
    PendingScreenGrab(quint32 drawable, const QRect &area);
    ~PendingScreenGrab();
    PendingScreenGrab(const PendingScreenGrab &) = delete;
    PendingScreenGrab &operator=(const PendingScreenGrab &) = delete;

    QImage picture();

    struct Strips;

private:
    void startReading(const ApplicationConnection &root, quint32 drawable);

    QRect m_area;
    QImage m_picture;
    std::unique_ptr<Strips> m_strips;
};

// Draws `area` of an X drawable of the root's depth with the painter at `at`, a band of rows
// at a time (through a small segment kept for the purpose where the server reaches shared
// memory, else in the replies), so that no copy of the whole area is ever made here. False
// when the drawable cannot be read this way.
bool drawDrawableArea(quint32 drawable, const QRect &area, QPainter *painter, const QPoint &at);

// The whole virtual desktop: the union of every screen's geometry.
QRect desktopArea();

// The application's X connection and its root window when the screens are read straight
// from the root, one pixel a point, as Format_RGB32; null otherwise.
ApplicationConnection directlyReadableRoot();

// True when the X server reads the screen straight into this process's shared memory; asked
// of the server once per connection, by a segment it must attach and copy faithfully.
bool screenReadThroughSharedMemory();

// How long the memory of a grab (the segments, and the X server's copies of the screen) stays
// for the next capture once nothing uses it; a new time counts from the next grab.
int grabMemoryKeepMsecs();
void setGrabMemoryKeepMsecs(int msecs);
