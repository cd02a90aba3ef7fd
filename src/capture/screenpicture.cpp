#include "screenpicture.h"

#include <QMutex>
#include <QPainter>
#include <QQuickWindow>
#include <QSGImageNode>
#include <QSGRenderNode>
#include <QSGRendererInterface>

class ScreenPicture::Source
{
public:
    QImage image() const
    {
        QMutexLocker lock(&m_mutex);
        return m_image;
    }

    // The old picture is let go outside the lock: its last release may hand a grab's
    // memory back, which takes a lock of its own.
    void setImage(QImage image)
    {
        QMutexLocker lock(&m_mutex);
        m_image.swap(image);
        lock.unlock();
    }

private:
    mutable QMutex m_mutex;
    QImage m_image;
};

namespace {

// Paints the picture with the software scene graph's painter, limited to the region the
// renderer asks for, so that a moving guide line costs only its own strip.
class PictureNode : public QSGRenderNode
{
public:
    PictureNode(QQuickWindow *window, std::shared_ptr<ScreenPicture::Source> source)
        : m_window(window)
        , m_source(std::move(source))
    {
    }

    void setRect(const QRectF &rect) { m_rect = rect; }

    void render(const RenderState *state) override
    {
        const QImage image = m_source->image();
        auto *painter = static_cast<QPainter *>(
            m_window->rendererInterface()->getResource(m_window, QSGRendererInterface::PainterResource));
        if (!painter || image.isNull())
            return;
        painter->save();
        if (const QRegion *clip = state->clipRegion(); clip && !clip->isEmpty())
            painter->setClipRegion(*clip, Qt::ReplaceClip);
        painter->setTransform(matrix()->toTransform());
        painter->setOpacity(inheritedOpacity());
        painter->drawImage(m_rect, image);
        painter->restore();
    }

    StateFlags changedStates() const override { return {}; }
    RenderingFlags flags() const override { return BoundedRectRendering | OpaqueRendering; }
    QRectF rect() const override { return m_rect; }

private:
    QQuickWindow *m_window;
    std::shared_ptr<ScreenPicture::Source> m_source;
    QRectF m_rect;
};

bool softwareRendered(QQuickWindow *window)
{
    return window->rendererInterface()->graphicsApi() == QSGRendererInterface::Software;
}

} // namespace

ScreenPicture::ScreenPicture(QQuickItem *parent)
    : QQuickItem(parent)
    , m_source(std::make_shared<Source>())
{
    setFlag(ItemHasContents);
}

ScreenPicture::~ScreenPicture() = default;

QPixmap ScreenPicture::picture() const
{
    return QPixmap::fromImage(m_source->image());
}

void ScreenPicture::setPicture(const QPixmap &picture)
{
    m_source->setImage(picture.toImage());
    setImplicitSize(picture.deviceIndependentSize().width(), picture.deviceIndependentSize().height());
    m_textureOutdated = true;
    update();
    emit pictureChanged();
}

QSGNode *ScreenPicture::updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *)
{
    const QImage image = m_source->image();
    if (image.isNull() || width() <= 0 || height() <= 0) {
        delete oldNode;
        return nullptr;
    }
    if (softwareRendered(window())) {
        auto *node = static_cast<PictureNode *>(oldNode);
        if (!node)
            node = new PictureNode(window(), m_source);
        node->setRect(boundingRect());
        node->markDirty(QSGNode::DirtyMaterial);
        return node;
    }
    // Other renderers need a texture; it holds the picture until the next frame.
    auto *node = static_cast<QSGImageNode *>(oldNode);
    if (!node) {
        node = window()->createImageNode();
        node->setOwnsTexture(true);
    }
    if (m_textureOutdated || !node->texture()) {
        node->setTexture(window()->createTextureFromImage(image));
        m_textureOutdated = false;
    }
    node->setRect(boundingRect());
    return node;
}
