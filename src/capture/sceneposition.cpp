#include "sceneposition.h"

#include <QQuickItem>

QPointF scenePosition(QQuickItem *item)
{
    QPointF position;
    for (QQuickItem *current = item; current && current->parentItem(); current = current->parentItem())
        position = QPointF(int(position.x() + current->x()), int(position.y() + current->y()));
    return position;
}
