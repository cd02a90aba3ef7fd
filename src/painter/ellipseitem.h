#pragma once

#include "abstractgraphitem.h"
#include "graphmodule.h"

// An ellipse outline, filled when drawn with Ctrl held.
class EllipseItem : public AbstractGraphItem
{
    Q_OBJECT
public:
    explicit EllipseItem(QQuickItem *parent = nullptr);

    bool isFilled() const;
    void setFilled(bool filled);
    void paintContent(QPainter *painter) override;

private:
    bool m_filled = false;
};

// Tool "Ellipse": drag an ellipse; Shift draws a circle, Ctrl a filled one.
class EllipseModule : public DragShapeModule
{
    Q_OBJECT
public:
    explicit EllipseModule(QObject *parent);

protected:
    AbstractGraphItem *createItem() override;
    void dragTo(AbstractGraphItem *item, const QPointF &start, const QPointF &point) override;
};
