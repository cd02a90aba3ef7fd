#include "arrowitem.h"

#include <QLineF>
#include <QPainter>

ArrowItem::ArrowItem(QQuickItem *parent) : LineItem(QStringLiteral("Arrow"), parent) {}

qreal ArrowItem::headLength() const
{
    return lineWidth() * 4.0 + 8.0;
}

qreal ArrowItem::contentMargin() const
{
    return headLength() / 2.0 + lineWidth();
}

void ArrowItem::paintContent(QPainter *painter)
{
    const QPolygonF line = points();
    if (line.size() < 2)
        return;
    const QLineF shaft(line.first(), line.last());
    const qreal length = shaft.length();
    if (qFuzzyIsNull(length))
        return;
    const qreal head = qMin(headLength(), length);
    const QPointF direction = (shaft.p2() - shaft.p1()) / length;
    const QPointF normal(-direction.y(), direction.x());
    const QPointF base = shaft.p2() - direction * head;

    painter->setPen(strokePen());
    // The shaft stops inside the head so that its round cap never shows past the tip.
    painter->drawLine(shaft.p1(), base + direction * (head / 3.0));
    painter->setPen(Qt::NoPen);
    painter->setBrush(color());
    painter->drawPolygon(QPolygonF({shaft.p2(), base + normal * (head / 2.0), base - normal * (head / 2.0)}));
}

ArrowModule::ArrowModule(QObject *parent) : LineModule(QStringLiteral("Arrow"), parent) {}

AbstractGraphItem *ArrowModule::createItem()
{
    return new ArrowItem;
}
