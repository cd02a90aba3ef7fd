#pragma once

#include <QPointF>
#include <QPolygonF>
#include <QRectF>
#include <QVector>

// A rectangle with eight grab handles: the frame an item is resized by.
class MRegion
{
public:
    enum Handle { TopLeft, Top, TopRight, Right, BottomRight, Bottom, BottomLeft, Left, HandleCount };

    explicit MRegion(const QRectF &rect = QRectF());

    QRectF rect() const;
    QVector<QPointF> handles() const;
    // The handle within `radius` of the point, or -1.
    int handleAt(const QPointF &point, qreal radius) const;
    // The region with the edges that belong to `handle` moved to `point`. The result may be
    // flipped (negative width or height) when a handle is dragged past the opposite edge.
    MRegion resized(int handle, const QPointF &point) const;
    // Maps every point from this region onto `target`, keeping its relative place.
    QPolygonF mapPoints(const QPolygonF &points, const MRegion &target) const;

private:
    QRectF m_rect;
};
