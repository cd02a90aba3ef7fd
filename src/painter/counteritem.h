#pragma once

#include "abstractgraphitem.h"
#include "graphmodule.h"

// A numbered round mark. Marks count up in the order they are placed.
class CounterItem : public AbstractGraphItem
{
    Q_OBJECT
    Q_PROPERTY(int number READ number CONSTANT)
public:
    explicit CounterItem(QQuickItem *parent = nullptr);

    int number() const;
    void setNumber(int number);
    qreal radius() const;

    QRectF shapeBounds() const override;
    bool isResizable() const override;
    bool isDegenerate() const override;
    void paintContent(QPainter *painter) override;

private:
    int m_number = 1;
};

// Tool "Counter": a click places the next number; dragging before release moves it.
class CounterModule : public GraphModule
{
    Q_OBJECT
public:
    explicit CounterModule(QObject *parent);

public slots:
    void beginPaintItem(MPainterArea *area, QPoint point) override;
    void paintItem(MPainterArea *area, QPoint point) override;
    void endPaintItem(MPainterArea *area, QPoint point) override;

private:
    int nextNumber(MPainterArea *area) const;

    QPointer<CounterItem> m_item;
};
