#include "serverpicture.h"

#include "capture/idlerelease.h"
#include "capture/screengrab.h"
#include "platform/x11_helper_linux.h"

#include <QCoreApplication>
#include <QPainter>

#include <utility>

namespace {

// The areas of small reads are drawn through the bands instead of a segment of their own.
constexpr qsizetype smallReadBytes = 256 * 1024;

// One pixmap of the screen's size stays in the server for the next capture: a fresh one costs
// the server a page fault for every page of it. It goes once no capture has come for a while.
class PixmapPool
{
public:
    static PixmapPool &instance()
    {
        static auto *pool = new PixmapPool();
        return *pool;
    }

    quint32 take(const ApplicationConnection &root, const QSize &size)
    {
        m_root = root;
        if (m_kept && m_keptSize == size)
            return std::exchange(m_kept, 0);
        release();
        const xcb_pixmap_t pixmap = xcb_generate_id(root.connection);
        xcb_create_pixmap(root.connection, 24, pixmap, root.root, quint16(size.width()), quint16(size.height()));
        return pixmap;
    }

    void giveBack(quint32 pixmap, const QSize &size)
    {
        release();
        m_kept = pixmap;
        m_keptSize = size;
        m_idleRelease.restart();
    }

private:
    void release()
    {
        if (!m_kept || !QCoreApplication::instance() || xcb_connection_has_error(m_root.connection))
            return;
        xcb_free_pixmap(m_root.connection, std::exchange(m_kept, 0));
        xcb_flush(m_root.connection);
    }

    ApplicationConnection m_root;
    quint32 m_kept = 0;
    QSize m_keptSize;
    IdleRelease m_idleRelease{grabMemoryKeepMsecs, [this] { release(); }};
};

xcb_gcontext_t includingWindows(const ApplicationConnection &root)
{
    static xcb_gcontext_t gc = 0;
    if (!gc) {
        // The windows on the screen are part of its picture.
        const quint32 includeInferiors = XCB_SUBWINDOW_MODE_INCLUDE_INFERIORS;
        gc = xcb_generate_id(root.connection);
        xcb_create_gc(root.connection, gc, root.root, XCB_GC_SUBWINDOW_MODE, &includeInferiors);
    }
    return gc;
}

} // namespace

std::shared_ptr<ServerPicture> ServerPicture::take(const QRect &area)
{
    const ApplicationConnection root = directlyReadableRoot();
    if (!root.connection || area.isEmpty())
        return nullptr;
    const quint32 pixmap = PixmapPool::instance().take(root, area.size());
    xcb_copy_area(root.connection, root.root, pixmap, includingWindows(root), qint16(area.x()), qint16(area.y()), 0,
                  0, quint16(area.width()), quint16(area.height()));
    xcb_flush(root.connection);
    return std::shared_ptr<ServerPicture>(new ServerPicture(pixmap, area.size()));
}

// Whether the server reaches shared memory is asked here too, so that the first capture does
// not wait for the answer.
void ServerPicture::prepare(const QRect &area)
{
    (void)take(area);
    (void)screenReadThroughSharedMemory();
}

ServerPicture::ServerPicture(quint32 pixmap, const QSize &size)
    : m_pixmap(pixmap)
    , m_size(size)
{
}

ServerPicture::~ServerPicture()
{
    PixmapPool::instance().giveBack(m_pixmap, m_size);
}

QImage ServerPicture::read(const QRect &area) const
{
    const QRect inside = area.intersected(rect());
    if (inside.isEmpty())
        return QImage();
    if (qsizetype(inside.width()) * inside.height() * 4 > smallReadBytes)
        return PendingScreenGrab(m_pixmap, inside).picture();
    QImage pixels(inside.size(), QImage::Format_RGB32);
    QPainter painter(&pixels);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    painter.translate(-inside.topLeft());
    const bool drawn = draw(&painter, inside);
    painter.end();
    return drawn ? pixels : QImage();
}

bool ServerPicture::draw(QPainter *painter, const QRect &area) const
{
    const QRect inside = area.intersected(rect());
    return inside.isEmpty() || drawDrawableArea(m_pixmap, inside, painter, inside.topLeft());
}
