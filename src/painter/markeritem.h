#pragma once

#include "penitem.h"

// A highlighter stroke: wide and translucent, so the picture shows through.
class MarkerItem : public PenItem
{
    Q_OBJECT
public:
    explicit MarkerItem(QQuickItem *parent = nullptr);

protected:
    QPen pathPen() const override;
};

// Tool "Marker": draws while the button is held; Shift draws a straight line.
class MarkerModule : public PenModule
{
    Q_OBJECT
public:
    explicit MarkerModule(QObject *parent);

protected:
    AbstractGraphItem *createItem() override;
};
