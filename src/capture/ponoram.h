#pragma once

#include "capture/ponoramstitch.h"

#include <QImage>
#include <QObject>
#include <QPixmap>
#include <QRect>
#include <QTimer>

#include <functional>

// The scrolling capture: while the user scrolls the window under an area of the desktop,
// the area is grabbed every 50 ms, each frame is found in the picture stitched so far by its
// top rows and drawn there, so that the picture grows downward.
//
// A run ends when the pointer, having been in the area, leaves it; when the content, having
// moved, stands still for five frames in a row (a plain frame shows neither); or when the
// owner stops it. It fails when a frame fits nowhere, or when the picture would grow past
// its bound: the picture so far is delivered, then the error is signalled.
class Ponoram : public QObject
{
    Q_OBJECT

public:
    using FrameSource = std::function<QImage(const QRect &area)>;

    explicit Ponoram(QObject *parent = nullptr);

    // Starts a run on an area of the virtual desktop. Everything of an earlier run is
    // forgotten. An area without width or height is refused (false).
    bool startPonoram(QRect rect);
    // Ends the run without a result.
    void cancelPonoram();
    bool isRunning() const { return m_timer.isActive(); }
    QRect rect() const { return m_rect; }
    // Frames come from the screen unless a source is given (tests, benchmarks).
    void setFrameSource(FrameSource source);

public slots:
    void shotTimer();
    // Ends the run and delivers the picture through complete().
    void stopPonoram();

signals:
    void complete(QPixmap image);
    void rectChange(QSize size);
    void changePreview(QImage image);
    void errorGlueImage();
    // The picture reached the largest size it may have (see StitchedImage).
    void sizeLimitReached();

private:
    bool followCursor();
    void placeFrame(const QImage &frame);
    void countStill();
    void showProgress();
    void fail();
    void reachLimit();

    QTimer m_timer;
    QRect m_rect;
    StitchedImage m_stitched;
    int m_lastOffset = 0;
    int m_unchangedCount = 0;
    bool m_cursorEntered = false;
    bool m_moved = false;
    FrameSource m_frameSource;
};
