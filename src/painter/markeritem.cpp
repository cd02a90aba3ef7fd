#include "markeritem.h"

#include <QPen>

MarkerItem::MarkerItem(QQuickItem *parent) : PenItem(QStringLiteral("Marker"), parent) {}

QPen MarkerItem::pathPen() const
{
    QColor translucent = color();
    translucent.setAlpha(110);
    return QPen(translucent, lineWidth() * 3 + 8, Qt::SolidLine, Qt::FlatCap, Qt::RoundJoin);
}

MarkerModule::MarkerModule(QObject *parent) : PenModule(QStringLiteral("Marker"), parent) {}

AbstractGraphItem *MarkerModule::createItem()
{
    return new MarkerItem;
}
