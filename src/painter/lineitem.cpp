#include "lineitem.h"

#include <QLineF>
#include <QPainter>
#include <limits>

LineItem::LineItem(QQuickItem *parent) : LineItem(QStringLiteral("Line"), parent) {}

LineItem::LineItem(const QString &name, QQuickItem *parent) : AbstractGraphItem(name, parent) {}

bool LineItem::hitTest(const QPointF &point) const
{
    return isVisible()
        && StrokeGeometry::distanceToPolyline(point, points()) <= lineWidth() / 2.0 + 4.0;
}

QVector<QPointF> LineItem::handlePositions() const
{
    return points();
}

QPolygonF LineItem::resizedPoints(const QPolygonF &start, int handle, const QPointF &point) const
{
    QPolygonF moved = start;
    if (handle >= 0 && handle < moved.size())
        moved[handle] = point;
    return moved;
}

void LineItem::paintContent(QPainter *painter)
{
    const QPolygonF line = points();
    if (line.size() < 2)
        return;
    painter->setPen(strokePen());
    painter->drawLine(line.first(), line.last());
}

LineModule::LineModule(QObject *parent) : LineModule(QStringLiteral("Line"), parent) {}

LineModule::LineModule(const QString &name, QObject *parent) : DragShapeModule(name, parent) {}

AbstractGraphItem *LineModule::createItem()
{
    return new LineItem;
}

void LineModule::dragTo(AbstractGraphItem *item, const QPointF &start, const QPointF &point)
{
    item->setPoint(1, DragShape::shiftHeld() ? DragShape::snapTo45(start, point) : point);
}

namespace StrokeGeometry {

qreal distanceToSegment(const QPointF &point, const QPointF &a, const QPointF &b)
{
    const QPointF ab = b - a;
    const qreal lengthSquared = QPointF::dotProduct(ab, ab);
    if (qFuzzyIsNull(lengthSquared))
        return QLineF(point, a).length();
    const qreal t = qBound(0.0, QPointF::dotProduct(point - a, ab) / lengthSquared, 1.0);
    return QLineF(point, a + ab * t).length();
}

qreal distanceToPolyline(const QPointF &point, const QPolygonF &line)
{
    if (line.isEmpty())
        return std::numeric_limits<qreal>::max();
    qreal best = QLineF(point, line.first()).length();
    for (int i = 1; i < line.size(); ++i)
        best = qMin(best, distanceToSegment(point, line.at(i - 1), line.at(i)));
    return best;
}

} // namespace StrokeGeometry
