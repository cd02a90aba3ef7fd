#pragma once

#include <QPointF>

class QQuickItem;

// Where an item stands in its window: the positions of the item and its ancestors up to,
// not including, the root item, summed with each step truncated to whole pixels.
QPointF scenePosition(QQuickItem *item);
