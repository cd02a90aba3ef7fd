#pragma once

#include "abstractgraphitem.h"
#include "graphmodule.h"

// A rectangle frame, filled when drawn with Ctrl held.
class RectItem : public AbstractGraphItem
{
    Q_OBJECT
public:
    explicit RectItem(QQuickItem *parent = nullptr);

    bool isFilled() const;
    void setFilled(bool filled);
    void paintContent(QPainter *painter) override;

private:
    bool m_filled = false;
};

// Tool "Rect": drag a rectangle; Shift draws a square, Ctrl a filled one.
class RectModule : public DragShapeModule
{
    Q_OBJECT
public:
    explicit RectModule(QObject *parent);

protected:
    AbstractGraphItem *createItem() override;
    void dragTo(AbstractGraphItem *item, const QPointF &start, const QPointF &point) override;
};
