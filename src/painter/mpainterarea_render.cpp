// The canvas's background and the flattening of background and items into one image.

#include "abstractgraphitem.h"
#include "mpainterarea.h"

#include <QPainter>

void MPainterArea::setBackground(QImage image)
{
    m_backgroundSource = nullptr;
    if (image == m_background)
        return;
    m_background = image;
    m_scaledBackground = QImage();
    for (AbstractGraphItem *item : graphItems())
        item->update();
    emit backgroundChanged();
}

void MPainterArea::setBackgroundSource(std::function<QImage()> source)
{
    setBackground(QImage());
    m_backgroundSource = std::move(source);
}

QImage MPainterArea::background() const
{
    if (m_background.isNull() && m_backgroundSource)
        m_background = m_backgroundSource();
    return m_background;
}

QImage MPainterArea::canvasBackground() const
{
    if (background().isNull())
        return QImage();
    QSize target(qRound(width()), qRound(height()));
    if (target.isEmpty())
        target = m_background.size();
    if (!m_scaledBackground.isNull() && m_scaledKey == m_background.cacheKey()
        && m_scaledFor == target)
        return m_scaledBackground;

    QImage scaled = m_background;
    if (m_background.size() != target)
        scaled = m_background.scaled(target, Qt::KeepAspectRatio, Qt::SmoothTransformation);
    m_scaledBackground = scaled.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    m_scaledKey = m_background.cacheKey();
    m_scaledFor = target;
    return m_scaledBackground;
}

void MPainterArea::geometryChange(const QRectF &newGeometry, const QRectF &oldGeometry)
{
    QQuickItem::geometryChange(newGeometry, oldGeometry);
    if (newGeometry.size() != oldGeometry.size()) {
        for (AbstractGraphItem *item : graphItems())
            item->update();
    }
}

QImage MPainterArea::renderRect(QRect rect, double zLimit, bool antialias, bool)
{
    const QRect area = rect.normalized();
    if (area.isEmpty())
        return QImage();

    const QImage base = canvasBackground();
    QImage result;
    if (base.rect().contains(area)) {
        result = base.copy(area);
    } else {
        result = QImage(area.size(), QImage::Format_ARGB32_Premultiplied);
        result.fill(Qt::transparent);
    }

    QPainter painter(&result);
    painter.setRenderHint(QPainter::Antialiasing, antialias);
    painter.setRenderHint(QPainter::TextAntialiasing, antialias);
    painter.setRenderHint(QPainter::SmoothPixmapTransform, antialias);
    painter.translate(-area.topLeft());
    if (!base.isNull() && !base.rect().contains(area)) {
        const QRect part = area.intersected(base.rect());
        painter.drawImage(part.topLeft(), base, part);
    }

    for (QQuickItem *child : childItems()) {
        if (!child->isVisible() || child->z() >= zLimit)
            continue;
        if (!QRectF(child->position(), child->size()).intersects(area))
            continue;
        painter.save();
        paintChild(child, &painter);
        painter.restore();
    }
    return result;
}

// An annotation draws without its handles; any other painted item as it shows on screen. An
// item that only the scene graph can draw has nothing to give a painter.
void MPainterArea::paintChild(QQuickItem *child, QPainter *painter) const
{
    if (auto *annotation = qobject_cast<AbstractGraphItem *>(child)) {
        annotation->paintContent(painter);
    } else if (auto *painted = qobject_cast<QQuickPaintedItem *>(child)) {
        painter->translate(painted->position());
        painted->paint(painter);
    }
}
