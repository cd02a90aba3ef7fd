#include "movemodule.h"

#include "abstractgraphitem.h"
#include "mpainterarea.h"

MoveModule::MoveModule(QObject *parent) : GraphModule(QStringLiteral("Move"), parent) {}

void MoveModule::beginPaintItem(MPainterArea *area, QPoint point)
{
    if (!area)
        return;
    area->finishMove();
    m_handle = -1;
    AbstractGraphItem *checked = area->checkItem();
    if (checked && checked->isVisible() && checked->isResizable())
        m_handle = checked->handleAt(point);
    m_item = m_handle >= 0 ? checked : area->itemAt(point);
    if (!m_item) {
        area->uncheckAllItem();
        return;
    }
    for (AbstractGraphItem *item : area->graphItems())
        item->setCheck(item == m_item);
    m_startPoints = m_item->points();
    m_pressPoint = point;
    emit currentItemChange(m_item);
}

void MoveModule::paintItem(MPainterArea *area, QPoint point)
{
    if (!m_item || !area)
        return;
    const QPolygonF moved = m_handle >= 0
        ? m_item->resizedPoints(m_startPoints, m_handle, point)
        : m_startPoints.translated(QPointF(point) - m_pressPoint);
    m_item->setPoints(moved);
    area->pushMove(m_item, m_startPoints, moved);
}

void MoveModule::endPaintItem(MPainterArea *area, QPoint point)
{
    if (!m_item || !area)
        return;
    paintItem(area, point);
    area->finishMove();
    m_item = nullptr;
}
