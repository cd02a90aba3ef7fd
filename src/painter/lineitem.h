#pragma once

#include "abstractgraphitem.h"
#include "graphmodule.h"

// A straight line; its two ends are its handles.
class LineItem : public AbstractGraphItem
{
    Q_OBJECT
public:
    explicit LineItem(QQuickItem *parent = nullptr);

    bool hitTest(const QPointF &point) const override;
    QVector<QPointF> handlePositions() const override;
    QPolygonF resizedPoints(const QPolygonF &start, int handle, const QPointF &point) const override;
    void paintContent(QPainter *painter) override;

protected:
    LineItem(const QString &name, QQuickItem *parent);
};

// Tool "Line": drag a line; Shift keeps it at multiples of 45 degrees.
class LineModule : public DragShapeModule
{
    Q_OBJECT
public:
    explicit LineModule(QObject *parent);

protected:
    LineModule(const QString &name, QObject *parent);
    AbstractGraphItem *createItem() override;
    void dragTo(AbstractGraphItem *item, const QPointF &start, const QPointF &point) override;
};

namespace StrokeGeometry {
// Distance from a point to the segment a..b.
qreal distanceToSegment(const QPointF &point, const QPointF &a, const QPointF &b);
// Distance from a point to the polyline through the points.
qreal distanceToPolyline(const QPointF &point, const QPolygonF &line);
} // namespace StrokeGeometry
