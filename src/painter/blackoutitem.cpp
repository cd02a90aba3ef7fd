#include "blackoutitem.h"

#include <QPainter>

BlackoutItem::BlackoutItem(QQuickItem *parent) : AbstractGraphItem(QStringLiteral("Blackout"), parent) {}

void BlackoutItem::paintContent(QPainter *painter)
{
    painter->fillRect(shapeBounds().normalized(), Qt::black);
}

BlackoutModule::BlackoutModule(QObject *parent) : DragShapeModule(QStringLiteral("Blackout"), parent) {}

AbstractGraphItem *BlackoutModule::createItem()
{
    return new BlackoutItem;
}
