#include "counteritem.h"

#include "mpainterarea.h"

#include <QPainter>

CounterItem::CounterItem(QQuickItem *parent) : AbstractGraphItem(QStringLiteral("Counter"), parent) {}

int CounterItem::number() const
{
    return m_number;
}

void CounterItem::setNumber(int number)
{
    m_number = number;
    update();
}

qreal CounterItem::radius() const
{
    return 10.0 + lineWidth() * 2.0;
}

QRectF CounterItem::shapeBounds() const
{
    const QPolygonF anchor = points();
    const QPointF centre = anchor.isEmpty() ? QPointF() : anchor.first();
    const qreal r = radius();
    return QRectF(centre.x() - r, centre.y() - r, 2 * r, 2 * r);
}

bool CounterItem::isResizable() const
{
    return false;
}

bool CounterItem::isDegenerate() const
{
    return points().isEmpty();
}

void CounterItem::paintContent(QPainter *painter)
{
    const QRectF circle = shapeBounds();
    painter->setPen(QPen(Qt::white, 2));
    painter->setBrush(color());
    painter->drawEllipse(circle.adjusted(1, 1, -1, -1));

    QFont font(QStringLiteral("Arial"));
    font.setBold(true);
    font.setPixelSize(qMax(8, qRound(radius() * (m_number < 10 ? 1.1 : 0.8))));
    painter->setFont(font);
    painter->setPen(color().lightnessF() > 0.6 ? Qt::black : Qt::white);
    painter->drawText(circle, Qt::AlignCenter, QString::number(m_number));
}

CounterModule::CounterModule(QObject *parent) : GraphModule(QStringLiteral("Counter"), parent) {}

int CounterModule::nextNumber(MPainterArea *area) const
{
    int highest = 0;
    for (AbstractGraphItem *item : area->graphItems()) {
        auto *counter = qobject_cast<CounterItem *>(item);
        if (counter && counter->isVisible() && counter != m_item)
            highest = qMax(highest, counter->number());
    }
    return highest + 1;
}

void CounterModule::beginPaintItem(MPainterArea *area, QPoint point)
{
    if (!area)
        return;
    area->uncheckAllItem();
    m_item = new CounterItem;
    area->prepareItem(m_item);
    m_item->setNumber(nextNumber(area));
    m_item->setPoints(QPolygonF({QPointF(point)}));
}

void CounterModule::paintItem(MPainterArea *, QPoint point)
{
    if (m_item)
        m_item->setPoints(QPolygonF({QPointF(point)}));
}

void CounterModule::endPaintItem(MPainterArea *area, QPoint point)
{
    if (!m_item || !area)
        return;
    CounterItem *item = m_item;
    m_item = nullptr;
    item->setPoints(QPolygonF({QPointF(point)}));
    area->addItem(item);
    emit currentItemChange(item);
}
