#pragma once

#include "abstractgraphitem.h"
#include "graphmodule.h"

// A freehand stroke, drawn as a smooth curve through the points the pointer passed.
class PenItem : public AbstractGraphItem
{
    Q_OBJECT
public:
    explicit PenItem(QQuickItem *parent = nullptr);

    bool hitTest(const QPointF &point) const override;
    void paintContent(QPainter *painter) override;

protected:
    PenItem(const QString &name, QQuickItem *parent);
    virtual QPen pathPen() const;
    qreal contentMargin() const override;
};

// Tool "Pen": draws while the button is held; Shift draws a straight line.
class PenModule : public DragShapeModule
{
    Q_OBJECT
public:
    explicit PenModule(QObject *parent);

protected:
    PenModule(const QString &name, QObject *parent);
    AbstractGraphItem *createItem() override;
    void dragTo(AbstractGraphItem *item, const QPointF &start, const QPointF &point) override;
};
