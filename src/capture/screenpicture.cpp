#include "screenpicture.h"

#include "capture/serverpicture.h"

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

    std::shared_ptr<ServerPicture> server() const
    {
        QMutexLocker lock(&m_mutex);
        return m_server;
    }

    // The old picture is let go outside the lock: its last release may hand a grab's
    // memory back, which takes a lock of its own.
    void set(QImage image, std::shared_ptr<ServerPicture> server)
    {
        QMutexLocker lock(&m_mutex);
        m_image.swap(image);
        m_server.swap(server);
        lock.unlock();
    }

    QSize size() const
    {
        QMutexLocker lock(&m_mutex);
        return m_server ? m_server->size() : m_image.deviceIndependentSize().toSize();
    }

private:
    mutable QMutex m_mutex;
    QImage m_image;
    std::shared_ptr<ServerPicture> m_server;
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
        auto *painter = static_cast<QPainter *>(
            m_window->rendererInterface()->getResource(m_window, QSGRendererInterface::PainterResource));
        if (!painter)
            return;
        painter->save();
        if (const QRegion *clip = state->clipRegion(); clip && !clip->isEmpty())
            painter->setClipRegion(*clip, Qt::ReplaceClip);
        painter->setTransform(matrix()->toTransform());
        painter->setOpacity(inheritedOpacity());
        if (const std::shared_ptr<ServerPicture> server = m_source->server(); !server || !drawFrom(*server, painter))
            painter->drawImage(m_rect, m_source->image());
        painter->restore();
    }

    StateFlags changedStates() const override { return {}; }

    // Only the part the painter may draw into is read from the server, and only at one pixel
    // a point; anything else takes the whole picture.
    bool drawFrom(const ServerPicture &server, QPainter *painter) const
    {
        const QTransform transform = painter->transform();
        if (m_rect.size() != QSizeF(server.size()) || transform.type() > QTransform::TxTranslate)
            return false;
        const QRegion wanted = painter->hasClipping() ? painter->clipRegion() : QRegion(server.rect());
        const QPoint offset = m_rect.topLeft().toPoint();
        for (const QRect &part : wanted) {
            if (!server.draw(painter, part.translated(-offset)) )
                return false;
        }
        return true;
    }
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
    const std::shared_ptr<ServerPicture> server = m_source->server();
    return QPixmap::fromImage(server ? server->read(server->rect()) : m_source->image());
}

void ScreenPicture::setPicture(const QPixmap &picture)
{
    m_source->set(picture.toImage(), nullptr);
    showNewPicture();
}

void ScreenPicture::setServerPicture(std::shared_ptr<ServerPicture> picture)
{
    m_source->set(QImage(), std::move(picture));
    showNewPicture();
}

void ScreenPicture::showNewPicture()
{
    const QSize size = m_source->size();
    setImplicitSize(size.width(), size.height());
    m_textureOutdated = true;
    update();
    emit pictureChanged();
}

QSGNode *ScreenPicture::updatePaintNode(QSGNode *oldNode, UpdatePaintNodeData *)
{
    if (m_source->size().isEmpty() || width() <= 0 || height() <= 0) {
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
        const std::shared_ptr<ServerPicture> server = m_source->server();
        node->setTexture(window()->createTextureFromImage(server ? server->read(server->rect()) : m_source->image()));
        m_textureOutdated = false;
    }
    node->setRect(boundingRect());
    return node;
}
