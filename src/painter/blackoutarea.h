#pragma once

#include <QColor>
#include <QPointer>
#include <QQuickPaintedItem>
#include <QRectF>

#include "mpainterarea.h"

// The dim layer of the canvas: covers everything outside the capture selection. It follows
// the selection of its canvas (`paintArea`, or the parent item when that is a canvas).
class BlackoutArea : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(MPainterArea *paintArea READ paintArea WRITE setPaintArea NOTIFY paintAreaChanged)
    Q_PROPERTY(QRectF selectRect READ selectRect WRITE setSelectRect NOTIFY selectRectChanged)
    Q_PROPERTY(QColor color READ color WRITE setColor NOTIFY colorChanged)
public:
    explicit BlackoutArea(QQuickItem *parent = nullptr);

    MPainterArea *paintArea() const;
    void setPaintArea(MPainterArea *area);
    QRectF selectRect() const;
    void setSelectRect(const QRectF &rect);
    QColor color() const;
    void setColor(const QColor &color);

    void paint(QPainter *painter) override;

signals:
    void paintAreaChanged();
    void selectRectChanged(QRectF rect);
    void colorChanged(QColor color);

protected:
    void itemChange(ItemChange change, const ItemChangeData &value) override;

private:
    void followCanvas();

    QPointer<MPainterArea> m_area;
    QRectF m_selectRect;
    QColor m_color = QColor(0, 0, 0, 128);
};
