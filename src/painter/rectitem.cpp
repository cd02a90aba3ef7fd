#include "rectitem.h"

#include <QPainter>

RectItem::RectItem(QQuickItem *parent) : AbstractGraphItem(QStringLiteral("Rect"), parent) {}

bool RectItem::isFilled() const
{
    return m_filled;
}

void RectItem::setFilled(bool filled)
{
    m_filled = filled;
    update();
}

void RectItem::paintContent(QPainter *painter)
{
    QPen pen = strokePen();
    pen.setJoinStyle(Qt::MiterJoin);
    painter->setPen(pen);
    painter->setBrush(m_filled ? QBrush(color()) : QBrush(Qt::NoBrush));
    painter->drawRect(shapeBounds());
}

RectModule::RectModule(QObject *parent) : DragShapeModule(QStringLiteral("Rect"), parent) {}

AbstractGraphItem *RectModule::createItem()
{
    auto *item = new RectItem;
    item->setFilled(DragShape::controlHeld());
    return item;
}

void RectModule::dragTo(AbstractGraphItem *item, const QPointF &start, const QPointF &point)
{
    item->setPoint(1, DragShape::shiftHeld() ? DragShape::squareCorner(start, point) : point);
}
