#include "screenjoin.h"

#include <QPainter>

QPixmap joinScreenImages(const QList<ScreenImage> &screens, const QRect &area)
{
    if (area.isEmpty())
        return QPixmap();
    QPixmap joined(area.size());
    joined.fill(Qt::black);
    QPainter painter(&joined);
    painter.setRenderHints(QPainter::Antialiasing | QPainter::SmoothPixmapTransform);
    painter.translate(-area.topLeft());
    for (const ScreenImage &screen : screens) {
        if (!screen.picture.isNull() && screen.geometry.intersects(area))
            painter.drawPixmap(screen.geometry, screen.picture, QRect(QPoint(0, 0), screen.picture.size()));
    }
    return joined;
}
