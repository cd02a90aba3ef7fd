// The scrolling capture, the overlay's side: the selection lets input through to the window
// underneath while the engine stitches what it shows; the stitched image then lands on the
// page's scrolling-capture canvas, from which upload, save and copy take it like any capture.

#include "surfacewidget.h"

#include "capture/ponoram.h"
#include "capture/ponorampreview.h"
#include "painter/mpainterarea.h"
#include "platform/x11_helper_linux.h"

#include <QCoreApplication>
#include <QRegion>

// The mask is built in the window's own coordinates: the window may sit on any screen.
void SurfaceWidget::setEnableMask(bool enable)
{
    if (!m_selector)
        return;
    m_maskOn = enable;
    const QRegion whole(QRect(QPoint(0, 0), size()));
    if (enable) {
        setMask(whole.xored(QRegion(selectRect())));
        update();
    } else {
        setMask(whole);
    }
}

// Emits only on a real change: the toolbar answers the end of a scrolling capture by
// stopping it, which must not start the round again.
void SurfaceWidget::setPonoramWork(bool work)
{
    if (m_isPonoramWork == work)
        return;
    m_isPonoramWork = work;
    emit isPonoramWorkChanged(work);
    if (!work)
        takeKeyboardBack();
}

// While the selection lets input through, a click in the window underneath (on its scroll
// bar) gives that window the keyboard focus. However the run ends, the capture's keys must
// come here again. The window manager is asked, and the server told directly: a window
// manager may turn down an activation that comes later than the user's last click.
void SurfaceWidget::takeKeyboardBack()
{
    if (!m_capturing || !isVisible())
        return;
    raise();
    requestActivate();
    x11_focus_window(xcb_window_t(winId()));
}

void SurfaceWidget::setPonoramError(bool error)
{
    m_isPonoramError = error;
    m_isPonoramFull = m_isPonoramFull && error;
    emit isPonoramErrorChanged(error);
}

// The engine grabs the desktop, so the selection is taken there: the window need not sit at
// the desktop's origin.
QRect SurfaceWidget::globalSelection() const
{
    const QRect local = selectRect();
    return QRect(mapToGlobal(local.topLeft()), local.size());
}

Ponoram *SurfaceWidget::ponoramEngine()
{
    if (!m_engine) {
        m_engine = new Ponoram(this);
        connect(m_engine, &Ponoram::complete, this, &SurfaceWidget::ponoramComplete);
        connect(m_engine, &Ponoram::rectChange, this, &SurfaceWidget::setPonoramSize);
        connect(m_engine, &Ponoram::errorGlueImage, this, &SurfaceWidget::ponoramError);
        connect(m_engine, &Ponoram::sizeLimitReached, this, &SurfaceWidget::ponoramFull);
    }
    return m_engine;
}

// Each run starts from nothing: no earlier result, no error, the size of the selection. A
// selection without width or height is refused with the error state.
void SurfaceWidget::startPonoram()
{
    if (m_isPonoramWork)
        return;
    if (m_hasPonoramResult)
        eraseResultAnnotations();
    clearPonoramResult();
    const QRect area = globalSelection();
    if (area.width() < 1 || area.height() < 1) {
        setPonoramError(true);
        return;
    }
    setEnableMask(true);
    setPonoramWork(true);
    setPonoramError(false);
    setPonoramSize(area.size());
    QCoreApplication::processEvents();
    if (!m_isPonoramWork || !m_capturing)
        return;
    Ponoram *engine = ponoramEngine();
    if (PonoramPreview *preview = ponoramPreview()) {
        preview->setImage(QImage());
        connect(engine, &Ponoram::changePreview, preview, &PonoramPreview::setImage, Qt::UniqueConnection);
    }
    engine->startPonoram(area);
}

void SurfaceWidget::stopPonoram()
{
    if (m_engine && m_engine->isRunning())
        m_engine->stopPonoram();
    setPonoramWork(false);
}

void SurfaceWidget::cancelPonoram()
{
    if (m_engine)
        m_engine->cancelPonoram();
    setPonoramWork(false);
}

// A result taken while the capture runs is the image stitched so far.
void SurfaceWidget::finishRunningPonoram()
{
    if (m_isPonoramWork)
        stopPonoram();
}

void SurfaceWidget::ponoramComplete(QPixmap result)
{
    m_hasPonoramResult = true;
    if (MPainterArea *canvas = ponoramCanvas())
        canvas->setBackground(result.toImage());
    m_ponoramResult = result;
    emit ponoramResultChanged();
    setEnableMask(false);
    setPonoramWork(false);
    emit ponoramPixmapComplete();
    raise();
}

void SurfaceWidget::setPonoramSize(QSize size)
{
    m_ponoramSize = size;
    emit ponoramSizeChanged(size);
    setPonoramError(false);
}

void SurfaceWidget::ponoramError()
{
    m_isPonoramFull = false;
    setPonoramError(true);
}

void SurfaceWidget::ponoramFull()
{
    m_isPonoramFull = true;
    setPonoramError(true);
}

// Lets the stitched image go; the annotations on it stay until the page is reset or a new
// run starts (they may be in the middle of an event now).
void SurfaceWidget::clearPonoramResult()
{
    m_hasPonoramResult = false;
    m_canvas = m_mainCanvas;
    if (MPainterArea *canvas = ponoramCanvas())
        canvas->setBackground(QImage());
    if (m_ponoramResult.isNull())
        return;
    m_ponoramResult = QPixmap();
    emit ponoramResultChanged();
}

// The annotations of an earlier result would lie over the next one. The canvas keeps its
// tool: it follows the main canvas's.
void SurfaceWidget::eraseResultAnnotations()
{
    MPainterArea *canvas = ponoramCanvas();
    if (!canvas)
        return;
    const QString tool = canvas->currentModule();
    canvas->clear();
    canvas->setCurrentModule(tool);
}

// Deleted later: the engine may be in the middle of a signal of its own.
void SurfaceWidget::dropPonoram()
{
    if (!m_engine)
        return;
    m_engine->cancelPonoram();
    m_engine->deleteLater();
    m_engine = nullptr;
}

void SurfaceWidget::resetPonoram()
{
    dropPonoram();
    setPonoramWork(false);
    setPonoramError(false);
    clearPonoramResult();
    m_ponoramSize = QSize(-1, -1);
    emit ponoramSizeChanged(m_ponoramSize);
    if (PonoramPreview *preview = ponoramPreview())
        preview->setImage(QImage());
}
