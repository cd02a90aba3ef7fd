#include "mregion.h"

#include <QLineF>

MRegion::MRegion(const QRectF &rect) : m_rect(rect) {}

QRectF MRegion::rect() const
{
    return m_rect;
}

QVector<QPointF> MRegion::handles() const
{
    const QRectF r = m_rect.normalized();
    const QPointF c = r.center();
    return {r.topLeft(),     QPointF(c.x(), r.top()),    r.topRight(),   QPointF(r.right(), c.y()),
            r.bottomRight(), QPointF(c.x(), r.bottom()), r.bottomLeft(), QPointF(r.left(), c.y())};
}

int MRegion::handleAt(const QPointF &point, qreal radius) const
{
    const QVector<QPointF> positions = handles();
    for (int i = 0; i < positions.size(); ++i) {
        if (QLineF(positions.at(i), point).length() <= radius)
            return i;
    }
    return -1;
}

MRegion MRegion::resized(int handle, const QPointF &point) const
{
    QRectF r = m_rect.normalized();
    switch (handle) {
    case TopLeft: r.setTopLeft(point); break;
    case Top: r.setTop(point.y()); break;
    case TopRight: r.setTopRight(point); break;
    case Right: r.setRight(point.x()); break;
    case BottomRight: r.setBottomRight(point); break;
    case Bottom: r.setBottom(point.y()); break;
    case BottomLeft: r.setBottomLeft(point); break;
    case Left: r.setLeft(point.x()); break;
    default: break;
    }
    return MRegion(r);
}

static qreal mapCoordinate(qreal value, qreal fromStart, qreal fromSize, qreal toStart, qreal toSize)
{
    // A flat source (a vertical or horizontal stroke) cannot be scaled; keep the offset.
    if (qFuzzyIsNull(fromSize))
        return toStart + (value - fromStart);
    return toStart + (value - fromStart) * toSize / fromSize;
}

QPolygonF MRegion::mapPoints(const QPolygonF &points, const MRegion &target) const
{
    const QRectF from = m_rect.normalized();
    const QRectF to = target.m_rect;
    QPolygonF mapped;
    mapped.reserve(points.size());
    for (const QPointF &p : points) {
        mapped << QPointF(mapCoordinate(p.x(), from.left(), from.width(), to.left(), to.width()),
                          mapCoordinate(p.y(), from.top(), from.height(), to.top(), to.height()));
    }
    return mapped;
}
