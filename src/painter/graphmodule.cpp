#include "graphmodule.h"

#include "abstractgraphitem.h"
#include "mpainterarea.h"

#include <QGuiApplication>
#include <QLineF>
#include <QtMath>

GraphModule::GraphModule(QString name, QObject *parent) : QObject(parent), m_name(std::move(name)) {}

QString GraphModule::name() const
{
    return m_name;
}

void DragShapeModule::beginPaintItem(MPainterArea *area, QPoint point)
{
    if (!area)
        return;
    area->uncheckAllItem();
    m_start = point;
    m_item = createItem();
    area->prepareItem(m_item);
    m_item->setPoints(QPolygonF({m_start, m_start}));
}

void DragShapeModule::paintItem(MPainterArea *, QPoint point)
{
    if (m_item)
        dragTo(m_item, m_start, point);
}

void DragShapeModule::endPaintItem(MPainterArea *area, QPoint point)
{
    if (!m_item || !area)
        return;
    dragTo(m_item, m_start, point);
    AbstractGraphItem *item = m_item;
    m_item = nullptr;
    if (item->isDegenerate()) {
        delete item;
        return;
    }
    area->addItem(item);
    emit currentItemChange(item);
}

void DragShapeModule::dragTo(AbstractGraphItem *item, const QPointF &, const QPointF &point)
{
    item->setPoint(item->points().size() - 1, point);
}

namespace DragShape {

bool shiftHeld()
{
    return QGuiApplication::keyboardModifiers() & Qt::ShiftModifier;
}

bool controlHeld()
{
    return QGuiApplication::keyboardModifiers() & Qt::ControlModifier;
}

QPointF squareCorner(const QPointF &start, const QPointF &point)
{
    const QPointF delta = point - start;
    const qreal side = qMax(qAbs(delta.x()), qAbs(delta.y()));
    return start + QPointF(delta.x() < 0 ? -side : side, delta.y() < 0 ? -side : side);
}

QPointF snapTo45(const QPointF &start, const QPointF &point)
{
    QLineF line(start, point);
    line.setAngle(qRound(line.angle() / 45.0) * 45.0);
    return line.p2();
}

} // namespace DragShape
