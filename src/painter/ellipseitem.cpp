#include "ellipseitem.h"

#include <QPainter>

EllipseItem::EllipseItem(QQuickItem *parent) : AbstractGraphItem(QStringLiteral("Ellipse"), parent) {}

bool EllipseItem::isFilled() const
{
    return m_filled;
}

void EllipseItem::setFilled(bool filled)
{
    m_filled = filled;
    update();
}

void EllipseItem::paintContent(QPainter *painter)
{
    const QPen pen = strokePen();
    painter->setPen(pen);
    painter->setBrush(m_filled ? QBrush(color()) : QBrush(Qt::NoBrush));
    painter->drawEllipse(shapeBounds());
}

EllipseModule::EllipseModule(QObject *parent) : DragShapeModule(QStringLiteral("Ellipse"), parent) {}

AbstractGraphItem *EllipseModule::createItem()
{
    auto *item = new EllipseItem;
    item->setFilled(DragShape::controlHeld());
    return item;
}

void EllipseModule::dragTo(AbstractGraphItem *item, const QPointF &start, const QPointF &point)
{
    item->setPoint(1, DragShape::shiftHeld() ? DragShape::squareCorner(start, point) : point);
}
