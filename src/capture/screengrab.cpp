#include "screengrab.h"

#include "capture/idlerelease.h"
#include "capture/sharedmemoryprobe.h"
#include "platform/x11_helper_linux.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QMutex>
#include <QPainter>
#include <QPixmap>
#include <QScreen>

#include <sys/ipc.h>
#include <sys/mman.h>
#include <sys/shm.h>
#include <unistd.h>
#include <xcb/shm.h>
#include <xcb/xcb.h>

#include <cstdlib>
#include <optional>

namespace {

#ifndef MADV_POPULATE_READ
#define MADV_POPULATE_READ 22
#endif

constexpr int grabStrips = 8;
// Areas drawn straight from the X server go through two bands of this size in turn: the
// server fills one while the other is drawn.
constexpr qsizetype bandBytes = 2 * 1024 * 1024;
int keepMsecs = 10000;

struct Segment
{
    uchar *address = nullptr;
    qsizetype bytes = 0;
    xcb_shm_seg_t xid = 0;
    // The server's answer to the attach, collected after the first grab instead of waiting
    // for it on its own.
    std::optional<xcb_void_cookie_t> pendingAttach;
    bool used = false;
};

// True when the root window's pixels have the layout of QImage::Format_RGB32: depth 24 in
// 32 bits, red, green, blue from the high byte down, in this machine's byte order.
bool rootIsRgb32(const xcb_setup_t *setup, xcb_window_t root)
{
    if ((setup->image_byte_order == XCB_IMAGE_ORDER_LSB_FIRST) != (Q_BYTE_ORDER == Q_LITTLE_ENDIAN))
        return false;
    bool thirtyTwoBits = false;
    for (auto format = xcb_setup_pixmap_formats_iterator(setup); format.rem; xcb_format_next(&format))
        thirtyTwoBits |= format.data->depth == 24 && format.data->bits_per_pixel == 32;
    for (auto screen = xcb_setup_roots_iterator(setup); screen.rem && thirtyTwoBits; xcb_screen_next(&screen)) {
        if (screen.data->root != root || screen.data->root_depth != 24)
            continue;
        for (auto depth = xcb_screen_allowed_depths_iterator(screen.data); depth.rem; xcb_depth_next(&depth)) {
            for (auto visual = xcb_depth_visuals_iterator(depth.data); visual.rem; xcb_visualtype_next(&visual)) {
                const xcb_visualtype_t *type = visual.data;
                if (type->visual_id == screen.data->root_visual && type->red_mask == 0xff0000
                    && type->green_mask == 0xff00 && type->blue_mask == 0xff)
                    return true;
            }
        }
    }
    return false;
}

// The application's own X connection and root window when the root's pixels read as
// Format_RGB32; null otherwise.
ApplicationConnection usableRoot()
{
    const ApplicationConnection x11 = applicationConnection();
    if (!x11.connection || !rootIsRgb32(xcb_get_setup(x11.connection), x11.root))
        return {};
    return x11;
}

// Segments for grabs; one that is no longer used stays for the next grab of its size, since
// a fresh segment costs the X server as much again as the grab itself (both sides take a page
// fault for every page of it). It goes once no grab has wanted it for the keep time.
class SegmentPool
{
public:
    // Never destroyed: at exit the X connection may already be gone, and the server drops a
    // client's segments when the client leaves.
    static SegmentPool &instance()
    {
        static auto *pool = new SegmentPool();
        return *pool;
    }

    // The segment of the bands, apart from the grabs' so that neither pushes the other out.
    static SegmentPool &bands()
    {
        static auto *pool = new SegmentPool();
        return *pool;
    }

    Segment *take(xcb_connection_t *connection, qsizetype bytes)
    {
        QMutexLocker lock(&m_mutex);
        if (m_refused)
            return nullptr;
        m_connection = connection;
        m_wantedBytes = bytes;
        Segment *segment = std::exchange(m_kept, nullptr);
        if (segment && segment->bytes == bytes)
            return segment;
        destroy(segment);
        return create(bytes);
    }

    // Called when the last image on the segment is gone, on whichever thread that was. Of two
    // segments the larger stays: small areas grabbed while the screen's picture is held (the
    // frames of a scrolling capture) come back first, and the next capture wants the screen's
    // size again.
    void giveBack(Segment *segment)
    {
        QMutexLocker lock(&m_mutex);
        const bool wanted = m_kept ? segment->bytes > m_kept->bytes : segment->bytes == m_wantedBytes;
        destroy(wanted ? std::exchange(m_kept, segment) : segment);
        m_idleRelease.restart();
    }

    void releaseKept()
    {
        QMutexLocker lock(&m_mutex);
        destroy(std::exchange(m_kept, nullptr));
    }

    // False when the server could not attach the segment (a server on another machine):
    // the segment is dropped, and shared memory is not tried again.
    bool confirmAttach(Segment *segment)
    {
        if (!segment->pendingAttach)
            return true;
        QMutexLocker lock(&m_mutex);
        xcb_generic_error_t *error = xcb_request_check(m_connection, *std::exchange(segment->pendingAttach, {}));
        if (!error)
            return true;
        std::free(error);
        m_refused = true;
        shmdt(segment->address);
        delete segment;
        return false;
    }

private:
    void destroy(Segment *segment)
    {
        if (!segment)
            return;
        if (QCoreApplication::instance() && m_connection && !xcb_connection_has_error(m_connection)) {
            xcb_shm_detach(m_connection, segment->xid);
            xcb_flush(m_connection);
        }
        shmdt(segment->address);
        delete segment;
    }

    // The segment is marked for removal at once, so that it goes with the last detach, also
    // when this process ends abruptly; Linux still lets the server attach it.
    Segment *create(qsizetype bytes)
    {
        const int id = shmget(IPC_PRIVATE, size_t(bytes), IPC_CREAT | 0600);
        if (id < 0)
            return nullptr;
        void *address = shmat(id, nullptr, 0);
        if (address == reinterpret_cast<void *>(-1)) {
            shmctl(id, IPC_RMID, nullptr);
            return nullptr;
        }
        const xcb_shm_seg_t xid = xcb_generate_id(m_connection);
        const xcb_void_cookie_t attach = xcb_shm_attach_checked(m_connection, xid, quint32(id), 0);
        shmctl(id, IPC_RMID, nullptr);
        return new Segment{static_cast<uchar *>(address), bytes, xid, attach};
    }

    QMutex m_mutex;
    IdleRelease m_idleRelease{grabMemoryKeepMsecs, [this] { releaseKept(); }};
    bool m_refused = false;
    xcb_connection_t *m_connection = nullptr;
    Segment *m_kept = nullptr;
    qsizetype m_wantedBytes = 0;
};

void returnSegment(void *segment)
{
    SegmentPool::instance().giveBack(static_cast<Segment *>(segment));
}

// Maps the pages of a new segment in one go, far cheaper than taking a fault for each.
void mapAtOnce(uchar *start, qsizetype bytes)
{
    const auto page = quintptr(getpagesize());
    const quintptr first = quintptr(start) & ~(page - 1);
    madvise(reinterpret_cast<void *>(first), size_t(quintptr(start) + quintptr(bytes) - first), MADV_POPULATE_READ);
}

// The server leaves the byte beside the 24 colour bits undefined; QImage::Format_RGB32
// promises it is 0xff, and some of Qt's drawing relies on that.
void makeOpaque(uchar *bits, qsizetype pixels)
{
    auto *pixel = reinterpret_cast<quint32 *>(bits);
    for (qsizetype i = 0; i < pixels; ++i)
        pixel[i] |= 0xff000000u;
}

} // namespace

// The area is read in horizontal strips, all asked for at once: while the server fills the
// next strips, the ones it has finished are mapped and made opaque here.
struct PendingScreenGrab::Strips
{
    ApplicationConnection root;
    xcb_drawable_t drawable = 0;
    QRect area;
    Segment *segment = nullptr;
    QList<QPair<int, xcb_shm_get_image_cookie_t>> requests;

    qsizetype stride() const { return qsizetype(area.width()) * 4; }
    int rowsOf(int strip) const
    {
        const int end = strip + 1 < requests.size() ? requests.at(strip + 1).first : area.height();
        return end - requests.at(strip).first;
    }
};

namespace {

// Null when shared memory cannot be used. A new segment's attach is confirmed before the
// strips are asked for, so that a refusal is known while the screen may still be grabbed
// another way.
std::unique_ptr<PendingScreenGrab::Strips> requestStrips(const ApplicationConnection &root, xcb_drawable_t drawable,
                                                        const QRect &area)
{
    if (!sharedMemoryReachesServer(root))
        return nullptr;
    auto strips = std::make_unique<PendingScreenGrab::Strips>();
    strips->root = root;
    strips->drawable = drawable;
    strips->area = area;
    const qsizetype stride = strips->stride();
    SegmentPool &pool = SegmentPool::instance();
    strips->segment = pool.take(root.connection, stride * area.height());
    if (!strips->segment || !pool.confirmAttach(strips->segment))
        return nullptr;
    const int rowsPerStrip = (area.height() + grabStrips - 1) / grabStrips;
    for (int top = 0; top < area.height(); top += rowsPerStrip) {
        const int rows = qMin(rowsPerStrip, area.height() - top);
        strips->requests.append(
            {top, xcb_shm_get_image(root.connection, drawable, qint16(area.x()), qint16(area.y() + top),
                                    quint16(area.width()), quint16(rows), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP,
                                    strips->segment->xid, quint32(top * stride))});
    }
    xcb_flush(root.connection);
    return strips;
}

QImage collectStrips(PendingScreenGrab::Strips &strips)
{
    Segment *segment = strips.segment;
    const qsizetype stride = strips.stride();
    const bool fresh = !segment->used;
    bool complete = true;
    for (int i = 0; i < strips.requests.size(); ++i) {
        const int rows = strips.rowsOf(i);
        xcb_generic_error_t *error = nullptr;
        xcb_shm_get_image_reply_t *reply =
            xcb_shm_get_image_reply(strips.root.connection, strips.requests.at(i).second, &error);
        complete = complete && reply && reply->depth == 24 && qsizetype(reply->size) == rows * stride;
        std::free(reply);
        std::free(error);
        if (!complete)
            continue; // the remaining replies are still collected
        uchar *strip = segment->address + strips.requests.at(i).first * stride;
        if (fresh)
            mapAtOnce(strip, rows * stride);
        makeOpaque(strip, rows * stride / 4);
    }
    if (!complete) {
        SegmentPool::instance().giveBack(segment);
        return QImage();
    }
    segment->used = true;
    return QImage(segment->address, strips.area.width(), strips.area.height(), int(stride), QImage::Format_RGB32,
                  returnSegment, segment);
}

// An area in bands of rows of at most bandBytes each.
struct Bands
{
    explicit Bands(const QRect &area)
        : area(area)
        , stride(qsizetype(area.width()) * 4)
        , rowsPerBand(int(qMax<qsizetype>(1, bandBytes / stride)))
        , count((area.height() + rowsPerBand - 1) / rowsPerBand)
    {
    }

    int top(int band) const { return band * rowsPerBand; }
    int rows(int band) const { return qMin(rowsPerBand, area.height() - top(band)); }
    qsizetype bytes(int band) const { return rows(band) * stride; }

    QRect area;
    qsizetype stride;
    int rowsPerBand;
    int count;
};

// Draws the server's pixels of one band, made opaque, with the painter at its place.
void drawBand(uchar *pixels, const Bands &bands, int band, QPainter *painter, const QPoint &at)
{
    makeOpaque(pixels, bands.bytes(band) / 4);
    const QImage view(pixels, bands.area.width(), bands.rows(band), int(bands.stride), QImage::Format_RGB32);
    painter->drawImage(at + QPoint(0, bands.top(band)), view);
}

// The bands go through two halves of a segment in turn: the server fills one while the other
// is drawn.
bool drawThroughSegment(const ApplicationConnection &root, xcb_drawable_t drawable, const Bands &bands,
                        QPainter *painter, const QPoint &at)
{
    SegmentPool &pool = SegmentPool::bands();
    Segment *segment = pool.take(root.connection, 2 * bandBytes);
    if (!segment || !pool.confirmAttach(segment))
        return false;
    if (bands.bytes(0) > bandBytes) {
        pool.giveBack(segment);
        return false;
    }
    xcb_shm_get_image_cookie_t requests[2];
    auto request = [&](int band) {
        requests[band % 2] = xcb_shm_get_image(root.connection, drawable, qint16(bands.area.x()),
                                               qint16(bands.area.y() + bands.top(band)), quint16(bands.area.width()),
                                               quint16(bands.rows(band)), ~0u, XCB_IMAGE_FORMAT_Z_PIXMAP, segment->xid,
                                               quint32((band % 2) * bandBytes));
    };
    if (!segment->used) {
        mapAtOnce(segment->address, segment->bytes);
        segment->used = true;
    }
    for (int band = 0; band < qMin(2, bands.count); ++band)
        request(band);
    bool complete = true;
    for (int band = 0; band < bands.count; ++band) {
        xcb_generic_error_t *error = nullptr;
        xcb_shm_get_image_reply_t *reply = xcb_shm_get_image_reply(root.connection, requests[band % 2], &error);
        complete = complete && reply && qsizetype(reply->size) == bands.bytes(band);
        std::free(reply);
        std::free(error);
        if (complete)
            drawBand(segment->address + (band % 2) * bandBytes, bands, band, painter, at);
        if (band + 2 < bands.count)
            request(band + 2);
    }
    pool.giveBack(segment);
    return complete;
}

// Where the server cannot reach shared memory, the pixels come in the replies to plain image
// requests, two bands asked for ahead.
bool drawThroughReplies(const ApplicationConnection &root, xcb_drawable_t drawable, const Bands &bands,
                        QPainter *painter, const QPoint &at)
{
    xcb_get_image_cookie_t requests[2];
    auto request = [&](int band) {
        requests[band % 2] = xcb_get_image(root.connection, XCB_IMAGE_FORMAT_Z_PIXMAP, drawable, qint16(bands.area.x()),
                                           qint16(bands.area.y() + bands.top(band)), quint16(bands.area.width()),
                                           quint16(bands.rows(band)), ~0u);
    };
    for (int band = 0; band < qMin(2, bands.count); ++band)
        request(band);
    bool complete = true;
    for (int band = 0; band < bands.count; ++band) {
        xcb_generic_error_t *error = nullptr;
        xcb_get_image_reply_t *reply = xcb_get_image_reply(root.connection, requests[band % 2], &error);
        complete = complete && reply && reply->depth == 24 && xcb_get_image_data_length(reply) == bands.bytes(band);
        if (complete)
            drawBand(xcb_get_image_data(reply), bands, band, painter, at);
        std::free(reply);
        std::free(error);
        if (band + 2 < bands.count)
            request(band + 2);
    }
    return complete;
}

// The pixels of the area through plain image requests; null when the server does not give them.
QImage readThroughReplies(const ApplicationConnection &root, xcb_drawable_t drawable, const QRect &area)
{
    QImage picture(area.size(), QImage::Format_RGB32);
    if (picture.isNull())
        return QImage();
    QPainter painter(&picture);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    const bool complete = drawThroughReplies(root, drawable, Bands(area), &painter, QPoint(0, 0));
    painter.end();
    return complete ? picture : QImage();
}

bool screensUnscaled()
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    return std::all_of(screens.begin(), screens.end(),
                       [](const QScreen *screen) { return qFuzzyCompare(screen->devicePixelRatio(), 1.0); });
}

QImage grabThroughQt(const QRect &area)
{
    QScreen *primary = QGuiApplication::primaryScreen();
    if (!primary)
        return QImage();
    return primary->grabWindow(0, area.x(), area.y(), area.width(), area.height()).toImage();
}

} // namespace

QRect desktopArea()
{
    QRect united;
    for (QScreen *screen : QGuiApplication::screens())
        united = united.united(screen->geometry());
    return united;
}

ApplicationConnection directlyReadableRoot()
{
    if (!screensUnscaled())
        return {};
    static const ApplicationConnection root = usableRoot();
    return root;
}

bool screenReadThroughSharedMemory()
{
    const ApplicationConnection root = directlyReadableRoot();
    return root.connection && sharedMemoryReachesServer(root);
}

int grabMemoryKeepMsecs()
{
    return keepMsecs;
}

void setGrabMemoryKeepMsecs(int msecs)
{
    keepMsecs = msecs;
}

PendingScreenGrab::PendingScreenGrab(const QRect &area)
    : m_area(area)
{
    if (!QGuiApplication::primaryScreen() || area.isEmpty())
        return;
    if (const ApplicationConnection root = directlyReadableRoot(); root.connection)
        startReading(root, root.root);
    if (!m_strips && m_picture.isNull())
        m_picture = grabThroughQt(area);
}

PendingScreenGrab::PendingScreenGrab(quint32 drawable, const QRect &area)
    : m_area(area)
{
    const ApplicationConnection root = directlyReadableRoot();
    if (root.connection && !area.isEmpty())
        startReading(root, drawable);
}

// Through shared memory the server copies while the caller goes on; without it the pixels
// come at once.
void PendingScreenGrab::startReading(const ApplicationConnection &root, quint32 drawable)
{
    m_strips = requestStrips(root, drawable, m_area);
    if (!m_strips)
        m_picture = readThroughReplies(root, drawable, m_area);
}

PendingScreenGrab::~PendingScreenGrab()
{
    (void)picture();
}

QImage PendingScreenGrab::picture()
{
    if (m_strips) {
        const ApplicationConnection root = m_strips->root;
        const xcb_drawable_t drawable = m_strips->drawable;
        m_picture = collectStrips(*m_strips);
        m_strips.reset();
        if (m_picture.isNull())
            m_picture = readThroughReplies(root, drawable, m_area);
        if (m_picture.isNull() && drawable == root.root)
            m_picture = grabThroughQt(m_area);
    }
    if (!m_picture.isNull())
        m_picture.setDevicePixelRatio(qApp->devicePixelRatio());
    return m_picture;
}

bool drawDrawableArea(quint32 drawable, const QRect &area, QPainter *painter, const QPoint &at)
{
    const ApplicationConnection root = directlyReadableRoot();
    if (!root.connection || area.isEmpty())
        return false;
    const Bands bands(area);
    return (sharedMemoryReachesServer(root) && drawThroughSegment(root, drawable, bands, painter, at))
        || drawThroughReplies(root, drawable, bands, painter, at);
}

QImage grabScreenArea(const QRect &area)
{
    return PendingScreenGrab(area).picture();
}
