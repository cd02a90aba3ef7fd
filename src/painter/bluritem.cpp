#include "bluritem.h"

#include "mpainterarea.h"

#include <QPainter>

BlurItem::BlurItem(QQuickItem *parent) : AbstractGraphItem(QStringLiteral("Blur"), parent) {}

int BlurItem::blockSize() const
{
    return qMax(6, lineWidth() * 2);
}

QImage BlurItem::blurred(const QImage &source, int blockSize)
{
    if (source.isNull())
        return QImage();
    const QSize coarse(qMax(1, source.width() / blockSize), qMax(1, source.height() / blockSize));
    // Averaging down mixes every block into one colour; scaling back up smooths the block edges.
    const QImage small = source.scaled(coarse, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
    return small.scaled(source.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation)
        .convertToFormat(QImage::Format_ARGB32_Premultiplied);
}

void BlurItem::paintContent(QPainter *painter)
{
    MPainterArea *area = canvas();
    const QImage base = area ? area->canvasBackground() : QImage();
    const QRect box = shapeBounds().normalized().toAlignedRect().intersected(base.rect());
    if (box.isEmpty())
        return;
    if (m_cache.isNull() || m_cacheRect != box || m_cacheKey != base.cacheKey()
        || m_cacheBlock != blockSize()) {
        m_cache = blurred(base.copy(box), blockSize());
        m_cacheRect = box;
        m_cacheKey = base.cacheKey();
        m_cacheBlock = blockSize();
    }
    painter->drawImage(box.topLeft(), m_cache);
}

BlurModule::BlurModule(QObject *parent) : DragShapeModule(QStringLiteral("Blur"), parent) {}

AbstractGraphItem *BlurModule::createItem()
{
    return new BlurItem;
}
