// Pointer and key handling of the selection item: hover zones, drawing, side and corner
// drags, the Space slide, release, and the hit test that lets the canvas have the inside.
#include "surfaceselector.h"

#include "crosscursor.h"
#include "selectionlimits.h"

#include <QHoverEvent>
#include <QKeyEvent>
#include <QMouseEvent>

#include <cmath>

bool SurfaceSelector::contains(const QPointF &point) const
{
    if (!QRectF(0, 0, width(), height()).contains(point))
        return false;
    if (isEmptySelection())
        return true;
    return !m_rubberRect.contains(point);
}

void SurfaceSelector::keyPressEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Space) {
        QQuickItem::keyPressEvent(event);
        return;
    }
    // Only a first drag slides with it (mouseMoveEvent); a finished selection is resized.
    setMoveSelector(true);
    event->accept();
}

void SurfaceSelector::keyReleaseEvent(QKeyEvent *event)
{
    if (event->key() != Qt::Key_Space) {
        QQuickItem::keyReleaseEvent(event);
        return;
    }
    // A repeated release comes while the key is still held.
    if (!event->isAutoRepeat())
        setMoveSelector(false);
    event->accept();
}

void SurfaceSelector::mousePressEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    if (!isEmptySelection() && m_rubberRect.contains(QPointF(position))) {
        // The canvas owns the inside; no drag of ours starts here.
        QQuickItem::mousePressEvent(event);
        update();
        return;
    }
    setIsPress(true);
    m_startPoint = QPointF(position);
    m_lastPoint = QPointF(position);
    event->accept();
    update();
}

void SurfaceSelector::mouseMoveEvent(QMouseEvent *event)
{
    const QPoint position = event->position().toPoint();
    setCursorPosition(position);
    const double xBefore = m_rubberRect.x();
    const double yBefore = m_rubberRect.y();
    if (m_moveSelector && !m_complete) {
        slideWhileDrawing();
    } else if (!m_complete) {
        m_rubberRect = QRectF(m_startPoint, QPointF(position));
    } else if (m_isPress && m_outside) {
        resizeBySides(position);
        applyDragLimits(xBefore, yBefore);
        m_lastPoint = QPointF(position);
    } else if (!m_outside && m_rubberRect.contains(QPointF(position))) {
        QQuickItem::mouseMoveEvent(event);
    }
    emit gRectChanged(m_rubberRect);
    announceRubberRect();
    update();
}

void SurfaceSelector::mouseReleaseEvent(QMouseEvent *event)
{
    m_outside = false;
    if (isEmptySelection()) {
        const bool hadRect = !m_rubberRect.isNull();
        m_rubberRect = QRectF();
        returnToWaiting();
        if (hadRect)
            announceRubberRect();
    } else {
        finishSelection();
        if (m_rubberRect.contains(event->position()))
            QQuickItem::mouseReleaseEvent(event);
        m_rubberRect = m_rubberRect.normalized();
    }
    update();
}

void SurfaceSelector::finishSelection()
{
    setShowToolBar(true);
    m_firstDraw = false;
    m_complete = true;
    m_isPress = false;
    m_moveSelector = false;
    emit firstDrawChanged(false);
    emit isPressChanged(false);
    emit selectComplete();
}

// Back to "no selection": the toolbar goes too, so nothing can act on an empty rectangle.
void SurfaceSelector::returnToWaiting()
{
    m_isPress = false;
    m_firstDraw = true;
    m_complete = false;
    emit firstDrawChanged(true);
    emit isPressChanged(false);
    if (m_showToolBar)
        setShowToolBar(false);
}

// The pointer may enter at a zone (coming from inside the selection, where the canvas has it):
// the entry point counts like a move, so a press right there finds its zone.
void SurfaceSelector::hoverEnterEvent(QHoverEvent *event)
{
    QQuickItem::hoverEnterEvent(event);
    followHover(event->position().toPoint());
    event->accept();
}

void SurfaceSelector::hoverLeaveEvent(QHoverEvent *event)
{
    QQuickItem::hoverLeaveEvent(event);
    event->accept();
}

void SurfaceSelector::hoverMoveEvent(QHoverEvent *event)
{
    if (!followHover(event->position().toPoint())) {
        QQuickItem::hoverMoveEvent(event);
        event->ignore();
    }
}

// Returns false when the pointer is inside a finished selection, which the canvas handles.
bool SurfaceSelector::followHover(const QPoint &position)
{
    if (m_firstDraw) {
        setCursorPosition(position);
        update();
        return true;
    }
    if (m_rubberRect.contains(QPointF(position))) {
        m_outside = false;
        setCursor(captureCrossCursor());
        return false;
    }
    m_outside = true;
    updateZones(position);
    updateZoneCursor();
    update();
    return true;
}

// Eight zones around the selection, reaching to the item's edges.
void SurfaceSelector::updateZones(const QPoint &position)
{
    const QRectF selection = rubberRect();
    m_zoneTop = position.y() < selection.top();
    m_zoneBottom = position.y() > selection.top() + selection.height();
    m_zoneLeft = position.x() < selection.left();
    m_zoneRight = position.x() > selection.left() + selection.width();
    m_zoneCorner = (m_zoneLeft || m_zoneRight) && (m_zoneTop || m_zoneBottom);
}

void SurfaceSelector::updateZoneCursor()
{
    if (m_zoneCorner) {
        const bool mainDiagonal = m_zoneTop == m_zoneLeft;
        setCursor(mainDiagonal ? Qt::SizeFDiagCursor : Qt::SizeBDiagCursor);
    } else if (m_zoneTop || m_zoneBottom) {
        setCursor(Qt::SizeVerCursor);
    } else if (m_zoneLeft || m_zoneRight) {
        setCursor(Qt::SizeHorCursor);
    }
}

// The grabbed edges follow the pointer by its step since the last move.
void SurfaceSelector::resizeBySides(const QPoint &position)
{
    const double dx = m_lastPoint.x() - position.x();
    const double dy = m_lastPoint.y() - position.y();
    QRectF &rect = m_rubberRect;
    if (m_zoneRight)
        rect.setRight(std::trunc(rect.right() - dx));
    if (m_zoneBottom)
        rect.setBottom(std::trunc(rect.bottom() - dy));
    if (m_zoneTop)
        rect.setTop(std::trunc(rect.top() - dy));
    if (m_zoneLeft)
        rect.setLeft(std::trunc(rect.left() - dx));
}

// Space held while drawing: the rectangle keeps its size and its far corner follows the pointer.
void SurfaceSelector::slideWhileDrawing()
{
    const double w = m_rubberRect.width();
    const double h = m_rubberRect.height();
    m_rubberRect = QRectF(m_gx - w, m_gy - h, w, h);
    const QPointF topLeft(std::round(m_rubberRect.x()), std::round(m_rubberRect.y()));
    m_startPoint = topLeft;
    m_lastPoint = topLeft;
}

void SurfaceSelector::applyDragLimits(double xBefore, double yBefore)
{
    using namespace SelectionLimits;
    QRectF &rect = m_rubberRect;
    if (m_maxSelectWidth != noLimit) {
        const Span span = limitDragStep(Span{rect.x(), rect.width()}, xBefore, width(),
                                        m_maxSelectWidth);
        rect = QRectF(span.start, rect.y(), span.length, rect.height());
    }
    if (m_maxSelectHeight != noLimit) {
        const Span span = limitDragStep(Span{rect.y(), rect.height()}, yBefore, height(),
                                        m_maxSelectHeight);
        rect = QRectF(rect.x(), span.start, rect.width(), span.length);
    }
}

void SurfaceSelector::calcFreeSpace()
{
    using namespace SelectionLimits;
    QRectF &rect = m_rubberRect;
    if (m_maxSelectWidth != noLimit) {
        const Span span = limitWholeSpan(Span{rect.x(), rect.width()}, width(), m_maxSelectWidth);
        rect = QRectF(span.start, rect.y(), span.length, rect.height());
    }
    if (m_maxSelectHeight != noLimit) {
        const Span span = limitWholeSpan(Span{rect.y(), rect.height()}, height(),
                                         m_maxSelectHeight);
        rect = QRectF(rect.x(), span.start, rect.width(), span.length);
    }
    announceRubberRect();
    update();
}
