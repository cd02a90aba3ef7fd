#include "windows/cursorshapearea.h"

#include <QCursor>

CursorShapeArea::CursorShapeArea(QQuickItem *parent)
    : QQuickItem(parent)
{
    setCursor(QCursor(Qt::ArrowCursor));
}

Qt::CursorShape CursorShapeArea::cursorShape() const
{
    return cursor().shape();
}

void CursorShapeArea::setCursorShape(Qt::CursorShape shape)
{
    if (cursor().shape() == shape)
        return;
    setCursor(QCursor(shape));
    emit cursorShapeChanged();
}
