#include "penitem.h"

#include "lineitem.h"

#include <QPainter>
#include <QPainterPath>

PenItem::PenItem(QQuickItem *parent) : PenItem(QStringLiteral("Pen"), parent) {}

PenItem::PenItem(const QString &name, QQuickItem *parent) : AbstractGraphItem(name, parent) {}

QPen PenItem::pathPen() const
{
    return strokePen();
}

qreal PenItem::contentMargin() const
{
    return pathPen().widthF() / 2.0 + 1.0;
}

bool PenItem::hitTest(const QPointF &point) const
{
    return isVisible()
        && StrokeGeometry::distanceToPolyline(point, points()) <= pathPen().widthF() / 2.0 + 4.0;
}

// Quadratic segments through the midpoints smooth out the corners of the sampled pointer path.
static QPainterPath smoothPath(const QPolygonF &points)
{
    QPainterPath path(points.first());
    if (points.size() < 3) {
        path.lineTo(points.last());
        return path;
    }
    for (int i = 1; i < points.size() - 1; ++i) {
        const QPointF middle = (points.at(i) + points.at(i + 1)) / 2.0;
        path.quadTo(points.at(i), middle);
    }
    path.lineTo(points.last());
    return path;
}

void PenItem::paintContent(QPainter *painter)
{
    const QPolygonF stroke = points();
    if (stroke.isEmpty())
        return;
    painter->setPen(pathPen());
    painter->setBrush(Qt::NoBrush);
    painter->drawPath(smoothPath(stroke));
}

PenModule::PenModule(QObject *parent) : PenModule(QStringLiteral("Pen"), parent) {}

PenModule::PenModule(const QString &name, QObject *parent) : DragShapeModule(name, parent) {}

AbstractGraphItem *PenModule::createItem()
{
    return new PenItem;
}

void PenModule::dragTo(AbstractGraphItem *item, const QPointF &start, const QPointF &point)
{
    if (DragShape::shiftHeld()) {
        item->setPoints(QPolygonF({start, point}));
        return;
    }
    const QPolygonF stroke = item->points();
    if (stroke.size() == 2 && stroke.first() == stroke.last())
        item->setPoint(1, point);
    else if (stroke.isEmpty() || stroke.last() != point)
        item->appendPoint(point);
}
