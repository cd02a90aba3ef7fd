#include "abstractgraphitem.h"

#include "mpainterarea.h"
#include "mregion.h"

#include <QLineF>
#include <QPainter>

AbstractGraphItem::AbstractGraphItem(const QString &name, QQuickItem *parent)
    : QQuickPaintedItem(parent), m_name(name)
{
    setAntialiasing(true);
    // The canvas takes every mouse event and hands it to the current tool module.
    setAcceptedMouseButtons(Qt::NoButton);
}

QString AbstractGraphItem::name() const
{
    return m_name;
}

bool AbstractGraphItem::isChecked() const
{
    return m_checked;
}

QColor AbstractGraphItem::color() const
{
    return m_color;
}

int AbstractGraphItem::colorX() const
{
    return m_colorX;
}

int AbstractGraphItem::lineWidth() const
{
    return m_lineWidth;
}

MPainterArea *AbstractGraphItem::canvas() const
{
    return qobject_cast<MPainterArea *>(parentItem());
}

QPolygonF AbstractGraphItem::points() const
{
    return m_points;
}

void AbstractGraphItem::setPoints(const QPolygonF &points)
{
    m_points = points;
    updateGeometry();
    emit pointsChanged();
}

void AbstractGraphItem::setPoint(int index, const QPointF &point)
{
    if (index < 0 || index >= m_points.size())
        return;
    m_points[index] = point;
    updateGeometry();
    emit pointsChanged();
}

void AbstractGraphItem::appendPoint(const QPointF &point)
{
    m_points.append(point);
    updateGeometry();
    emit pointsChanged();
}

void AbstractGraphItem::moveBy(const QPointF &offset)
{
    m_points.translate(offset);
    updateGeometry();
    emit pointsChanged();
}

QRectF AbstractGraphItem::shapeBounds() const
{
    return m_points.boundingRect();
}

bool AbstractGraphItem::hitTest(const QPointF &point) const
{
    const qreal reach = m_lineWidth / 2.0 + 3.0;
    return isVisible() && shapeBounds().adjusted(-reach, -reach, reach, reach).contains(point);
}

bool AbstractGraphItem::isDegenerate() const
{
    const QRectF bounds = shapeBounds();
    return bounds.width() < 2.0 && bounds.height() < 2.0;
}

QVector<QPointF> AbstractGraphItem::handlePositions() const
{
    return MRegion(shapeBounds()).handles();
}

bool AbstractGraphItem::isResizable() const
{
    return true;
}

int AbstractGraphItem::handleAt(const QPointF &point) const
{
    const QVector<QPointF> positions = handlePositions();
    for (int i = 0; i < positions.size(); ++i) {
        if (QLineF(positions.at(i), point).length() <= handleSize)
            return i;
    }
    return -1;
}

QPolygonF AbstractGraphItem::resizedPoints(const QPolygonF &start, int handle,
                                           const QPointF &point) const
{
    const MRegion from(start.boundingRect());
    return from.mapPoints(start, from.resized(handle, point));
}

void AbstractGraphItem::paint(QPainter *painter)
{
    painter->translate(-position());
    painter->save();
    paintContent(painter);
    painter->restore();
    paintEditingAids(painter);
}

void AbstractGraphItem::setCheck(bool checked)
{
    if (m_checked == checked)
        return;
    m_checked = checked;
    update();
    emit checkChanged(checked);
}

void AbstractGraphItem::setColor(const QColor &color)
{
    if (m_color == color)
        return;
    m_color = color;
    update();
    emit colorChanged(color);
}

void AbstractGraphItem::setColorX(int value)
{
    if (m_colorX == value)
        return;
    m_colorX = value;
    emit colorXChanged(value);
}

void AbstractGraphItem::setLineWidth(int width)
{
    width = qMax(1, width);
    if (m_lineWidth == width)
        return;
    m_lineWidth = width;
    updateGeometry();
    emit lineWidthChanged(width);
}

qreal AbstractGraphItem::contentMargin() const
{
    return m_lineWidth / 2.0 + 1.0;
}

void AbstractGraphItem::paintEditingAids(QPainter *painter)
{
    if (m_checked)
        paintHandles(painter);
}

void AbstractGraphItem::paintHandles(QPainter *painter) const
{
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, false);
    painter->setPen(QPen(QColor(0x25, 0x28, 0x2c), 1));
    painter->setBrush(Qt::white);
    const qreal half = handleSize / 2.0;
    for (const QPointF &p : handlePositions())
        painter->drawRect(QRectF(p.x() - half, p.y() - half, handleSize, handleSize));
    painter->restore();
}

void AbstractGraphItem::updateGeometry()
{
    const qreal margin = qMax(contentMargin(), handleSize / 2.0 + 1.0);
    const QRectF area = shapeBounds().adjusted(-margin, -margin, margin, margin);
    setPosition(area.topLeft());
    setSize(area.size());
    update();
}

QPen AbstractGraphItem::strokePen() const
{
    return QPen(m_color, m_lineWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}
