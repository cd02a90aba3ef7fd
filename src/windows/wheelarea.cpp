#include "windows/wheelarea.h"

#include <QWheelEvent>

WheelArea::WheelArea(QQuickItem *parent)
    : QQuickItem(parent)
{
}

void WheelArea::wheelEvent(QWheelEvent *event)
{
    const QPoint delta = event->angleDelta();
    if (delta.y() != 0)
        emit verticalWheel(delta.y());
    if (delta.x() != 0)
        emit horizontalWheel(delta.x());
    event->accept();
}
