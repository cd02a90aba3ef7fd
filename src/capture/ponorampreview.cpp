#include "ponorampreview.h"

#include <QPainter>
#include <QtQml>

PonoramPreview::PonoramPreview(QQuickItem *parent)
    : QQuickPaintedItem(parent)
{
}

void PonoramPreview::setImage(QImage image)
{
    m_image = image;
    update();
}

void PonoramPreview::paint(QPainter *painter)
{
    if (m_image.isNull())
        return;
    const QSize fitted = m_image.size().scaled(size().toSize(), Qt::KeepAspectRatio);
    painter->setRenderHint(QPainter::SmoothPixmapTransform);
    painter->drawImage(QRect(QPoint(0, 0), fitted), m_image);
}

void registerPonoramPreviewType()
{
    static const bool registered = [] {
        qmlRegisterType<PonoramPreview>("MavuComponent", 1, 0, "PonoramPreview");
        return true;
    }();
    Q_UNUSED(registered);
}
