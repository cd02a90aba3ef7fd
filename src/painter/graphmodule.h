#pragma once

#include <QObject>
#include <QPoint>
#include <QPointF>
#include <QPointer>
#include <QString>

#include "abstractgraphitem.h"
#include "mpainterarea.h"

// Base of the tool modules. The canvas calls the three paint handlers on mouse press,
// move and release while the module's tool is current.
class GraphModule : public QObject
{
    Q_OBJECT
public:
    GraphModule(QString name, QObject *parent);

    QString name() const;

public slots:
    virtual void beginPaintItem(MPainterArea *area, QPoint point) = 0;
    virtual void paintItem(MPainterArea *area, QPoint point) = 0;
    virtual void endPaintItem(MPainterArea *area, QPoint point) = 0;

signals:
    void currentItemChange(AbstractGraphItem *item);

private:
    QString m_name;
};

// A tool that draws one item by dragging: the press fixes the first point, the drag the
// last one; a click without a drag leaves nothing behind.
class DragShapeModule : public GraphModule
{
    Q_OBJECT
public:
    using GraphModule::GraphModule;

public slots:
    void beginPaintItem(MPainterArea *area, QPoint point) override;
    void paintItem(MPainterArea *area, QPoint point) override;
    void endPaintItem(MPainterArea *area, QPoint point) override;

protected:
    virtual AbstractGraphItem *createItem() = 0;
    // Shapes the drag under the held modifiers (Shift: square, circle, 45 degrees).
    virtual void dragTo(AbstractGraphItem *item, const QPointF &start, const QPointF &point);

    QPointer<AbstractGraphItem> m_item;
    QPointF m_start;
};

// Drag helpers shared by the tools.
namespace DragShape {
bool shiftHeld();
bool controlHeld();
// The point moved so that start..point spans a square.
QPointF squareCorner(const QPointF &start, const QPointF &point);
// The point moved onto the nearest multiple of 45 degrees around start.
QPointF snapTo45(const QPointF &start, const QPointF &point);
} // namespace DragShape
