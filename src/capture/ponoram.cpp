#include "ponoram.h"

#include "capture/screengrab.h"

#include <QCursor>
#include <QDebug>

namespace {

constexpr int tickMsecs = 50;
constexpr int stillFramesToStop = 5;

} // namespace

Ponoram::Ponoram(QObject *parent)
    : QObject(parent)
    , m_frameSource(grabScreenArea)
{
    m_timer.setInterval(tickMsecs);
    connect(&m_timer, &QTimer::timeout, this, &Ponoram::shotTimer);
}

void Ponoram::setFrameSource(FrameSource source)
{
    m_frameSource = source ? std::move(source) : FrameSource(grabScreenArea);
}

// The first frame is taken at the first tick, not here: the window under the area has just
// been uncovered and needs a moment to draw itself again.
bool Ponoram::startPonoram(QRect rect)
{
    m_timer.stop();
    m_rect = rect;
    m_stitched.clear();
    m_lastOffset = 0;
    m_unchangedCount = 0;
    m_cursorEntered = false;
    m_moved = false;
    if (rect.width() < 1 || rect.height() < 1)
        return false;
    m_timer.start();
    return true;
}

void Ponoram::cancelPonoram()
{
    m_timer.stop();
}

void Ponoram::stopPonoram()
{
    if (!isRunning())
        return;
    qDebug() << Q_FUNC_INFO;
    m_timer.stop();
    if (m_stitched.isEmpty())
        m_stitched.begin(m_frameSource(m_rect));
    // The picture is handed over, not copied: at its bound a copy would take as much memory
    // again, and the engine has no use for it after the run.
    const QImage picture = m_stitched.image();
    m_stitched.clear();
    emit complete(QPixmap::fromImage(picture));
}

void Ponoram::shotTimer()
{
    if (!isRunning())
        return;
    if (!followCursor()) {
        stopPonoram();
        return;
    }
    const QImage frame = m_frameSource(m_rect);
    if (m_stitched.isEmpty()) {
        if (m_stitched.begin(frame))
            showProgress();
        else
            fail();
        return;
    }
    placeFrame(frame);
}

// The run is started from outside the area (the toolbar); only leaving it after having
// been in it ends the run.
bool Ponoram::followCursor()
{
    const bool inside = m_rect.contains(QCursor::pos());
    m_cursorEntered = m_cursorEntered || inside;
    return inside || !m_cursorEntered;
}

void Ponoram::placeFrame(const QImage &frame)
{
    int offset = -1;
    switch (m_stitched.add(frame, m_lastOffset, &offset)) {
    case StitchedImage::Outcome::NoFit:
        fail();
        return;
    case StitchedImage::Outcome::TooLarge:
        reachLimit();
        return;
    case StitchedImage::Outcome::Plain: // no telling whether the page moves
        return;
    case StitchedImage::Outcome::Glued:
        break;
    }
    const bool moved = offset != m_lastOffset;
    m_lastOffset = offset;
    showProgress();
    if (moved) {
        m_moved = true;
        m_unchangedCount = 0;
    } else {
        countStill();
    }
}

// Before the content first moves, the user is still getting ready: standing still then ends
// nothing.
void Ponoram::countStill()
{
    if (m_moved && ++m_unchangedCount == stillFramesToStop)
        stopPonoram();
}

void Ponoram::showProgress()
{
    const QImage picture = m_stitched.image();
    emit changePreview(picture);
    emit rectChange(picture.size());
}

void Ponoram::fail()
{
    qDebug() << Q_FUNC_INFO << "errorGlueImage";
    stopPonoram();
    emit errorGlueImage();
}

void Ponoram::reachLimit()
{
    qDebug() << Q_FUNC_INFO << m_stitched.size();
    stopPonoram();
    emit sizeLimitReached();
}
