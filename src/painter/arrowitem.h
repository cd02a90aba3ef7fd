#pragma once

#include "lineitem.h"

// A line with a filled head at its end point.
class ArrowItem : public LineItem
{
    Q_OBJECT
public:
    explicit ArrowItem(QQuickItem *parent = nullptr);

    void paintContent(QPainter *painter) override;

protected:
    qreal contentMargin() const override;

private:
    qreal headLength() const;
};

// Tool "Arrow": drag from the tail to the head; Shift keeps it at multiples of 45 degrees.
class ArrowModule : public LineModule
{
    Q_OBJECT
public:
    explicit ArrowModule(QObject *parent);

protected:
    AbstractGraphItem *createItem() override;
};
