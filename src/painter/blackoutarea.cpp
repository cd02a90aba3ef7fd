#include "blackoutarea.h"

#include "mpainterarea.h"

#include <QPainter>
#include <QPainterPath>

BlackoutArea::BlackoutArea(QQuickItem *parent) : QQuickPaintedItem(parent)
{
    setAcceptedMouseButtons(Qt::NoButton);
    if (auto *area = qobject_cast<MPainterArea *>(parent))
        setPaintArea(area);
}

MPainterArea *BlackoutArea::paintArea() const
{
    return m_area;
}

void BlackoutArea::setPaintArea(MPainterArea *area)
{
    if (m_area == area)
        return;
    if (m_area)
        disconnect(m_area, nullptr, this, nullptr);
    m_area = area;
    if (m_area) {
        connect(m_area, &MPainterArea::selectRectChanged, this, &BlackoutArea::followCanvas);
        connect(m_area, &MPainterArea::updateBlackoutArea, this, &BlackoutArea::followCanvas);
        followCanvas();
    }
    emit paintAreaChanged();
}

void BlackoutArea::followCanvas()
{
    if (m_area)
        setSelectRect(mapRectFromItem(m_area, m_area->selectRect()));
    update();
}

QRectF BlackoutArea::selectRect() const
{
    return m_selectRect;
}

void BlackoutArea::setSelectRect(const QRectF &rect)
{
    if (m_selectRect == rect)
        return;
    m_selectRect = rect;
    update();
    emit selectRectChanged(rect);
}

QColor BlackoutArea::color() const
{
    return m_color;
}

void BlackoutArea::setColor(const QColor &color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
    emit colorChanged(color);
}

void BlackoutArea::paint(QPainter *painter)
{
    QPainterPath dim;
    dim.addRect(boundingRect());
    QPainterPath hole;
    hole.addRect(m_selectRect.normalized());
    painter->fillPath(dim.subtracted(hole), m_color);
}

void BlackoutArea::itemChange(ItemChange change, const ItemChangeData &value)
{
    QQuickPaintedItem::itemChange(change, value);
    // isNull(): the parent may be a canvas half way through its destruction.
    if (change == ItemParentHasChanged && m_area.isNull()) {
        if (auto *area = qobject_cast<MPainterArea *>(value.item))
            setPaintArea(area);
    }
}
