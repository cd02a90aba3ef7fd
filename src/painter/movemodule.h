#pragma once

#include "graphmodule.h"

#include <QPolygonF>

// Tool "Move": a press on an item checks it and drags it; a press on a handle of the
// checked item resizes it; a press on free space unchecks every item. One drag is one
// undo step.
class MoveModule : public GraphModule
{
    Q_OBJECT
public:
    explicit MoveModule(QObject *parent);

public slots:
    void beginPaintItem(MPainterArea *area, QPoint point) override;
    void paintItem(MPainterArea *area, QPoint point) override;
    void endPaintItem(MPainterArea *area, QPoint point) override;

private:
    QPointer<AbstractGraphItem> m_item;
    QPolygonF m_startPoints;
    QPointF m_pressPoint;
    int m_handle = -1;
};
