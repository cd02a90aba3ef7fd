#pragma once

#include "abstractgraphitem.h"
#include "graphmodule.h"

// A solid black box that hides what lies under it.
class BlackoutItem : public AbstractGraphItem
{
    Q_OBJECT
public:
    explicit BlackoutItem(QQuickItem *parent = nullptr);

    void paintContent(QPainter *painter) override;
};

// Tool "Blackout": drag the box to cover.
class BlackoutModule : public DragShapeModule
{
    Q_OBJECT
public:
    explicit BlackoutModule(QObject *parent);

protected:
    AbstractGraphItem *createItem() override;
};
