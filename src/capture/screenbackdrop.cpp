#include "screenbackdrop.h"

#include "capture/idlerelease.h"
#include "capture/screengrab.h"
#include "platform/x11_helper_linux.h"

#include <QCoreApplication>
#include <QQuickWindow>

#include <xcb/render.h>

#include <cstdlib>

namespace {

// XRender's picture format of the root window's visual; 0 when there is none.
xcb_render_pictformat_t rootFormat(xcb_connection_t *connection, xcb_window_t root)
{
    const xcb_query_extension_reply_t *render = xcb_get_extension_data(connection, &xcb_render_id);
    if (!render || !render->present)
        return 0;
    xcb_visualid_t visual = 0;
    for (auto screen = xcb_setup_roots_iterator(xcb_get_setup(connection)); screen.rem; xcb_screen_next(&screen)) {
        if (screen.data->root == root)
            visual = screen.data->root_visual;
    }
    xcb_render_query_pict_formats_reply_t *formats =
        xcb_render_query_pict_formats_reply(connection, xcb_render_query_pict_formats(connection), nullptr);
    xcb_render_pictformat_t found = 0;
    for (auto screen = xcb_render_query_pict_formats_screens_iterator(formats); formats && screen.rem;
         xcb_render_pictscreen_next(&screen)) {
        for (auto depth = xcb_render_pictscreen_depths_iterator(screen.data); depth.rem; xcb_render_pictdepth_next(&depth)) {
            for (auto pv = xcb_render_pictdepth_visuals_iterator(depth.data); pv.rem; xcb_render_pictvisual_next(&pv))
                found = pv.data->visual == visual ? pv.data->format : found;
        }
    }
    std::free(formats);
    return found;
}

// The colour as the software renderer blends it: 8-bit premultiplied channels, widened the
// way XRender narrows them again.
xcb_render_color_t premultiplied(const QColor &colour)
{
    const QRgb pixel = qPremultiply(colour.rgba());
    return {quint16(qRed(pixel) * 0x101), quint16(qGreen(pixel) * 0x101), quint16(qBlue(pixel) * 0x101),
            quint16(qAlpha(pixel) * 0x101)};
}

// The server's copy of the screen, kept between captures like the grab's segment: a fresh
// pixmap of a screen's size costs the server a page fault for every page of it.
class Backdrop
{
public:
    static Backdrop &instance()
    {
        static auto *backdrop = new Backdrop();
        return *backdrop;
    }

    bool show(QQuickWindow *window, const QRect &area, const QList<QRect> &dimmed, const QColor &dim)
    {
        clear();
        if (!usable() || !hasRootDepth(window))
            return false;
        preparePixmap(area.size());
        copyScreen(area);
        QList<xcb_rectangle_t> rectangles;
        for (const QRect &rect : dimmed)
            rectangles.append({qint16(rect.x()), qint16(rect.y()), quint16(rect.width()), quint16(rect.height())});
        if (!rectangles.isEmpty())
            xcb_render_fill_rectangles(m_root.connection, XCB_RENDER_PICT_OP_OVER, m_picture, premultiplied(dim),
                                       quint32(rectangles.size()), rectangles.constData());
        m_window = xcb_window_t(window->winId());
        setWindowBackground(m_pixmap);
        m_shown = {QObject::connect(window, &QQuickWindow::frameSwapped, window, [this] { clear(); }),
                   QObject::connect(window, &QWindow::visibleChanged, window, [this](bool visible) {
                       if (!visible)
                           clear();
                   })};
        return true;
    }

    void prepare(QQuickWindow *window, const QRect &area)
    {
        if (m_window || !usable() || !hasRootDepth(window))
            return;
        preparePixmap(area.size());
        copyScreen(area);
        xcb_flush(m_root.connection);
        m_idleRelease.restart();
    }

    // The window draws itself from now on; the pixmap waits for the next capture.
    void clear()
    {
        for (const QMetaObject::Connection &connection : std::as_const(m_shown))
            QObject::disconnect(connection);
        m_shown.clear();
        if (!m_window)
            return;
        setWindowBackground(XCB_BACK_PIXMAP_NONE);
        xcb_flush(m_root.connection);
        m_window = 0;
        m_idleRelease.restart();
    }

private:
    bool usable()
    {
        if (!m_checked) {
            m_checked = true;
            m_root = directlyReadableRoot();
            m_format = m_root.connection ? rootFormat(m_root.connection, m_root.root) : 0;
            if (m_format) {
                // The windows on the screen are part of its picture.
                const quint32 includeInferiors = XCB_SUBWINDOW_MODE_INCLUDE_INFERIORS;
                m_gc = xcb_generate_id(m_root.connection);
                xcb_create_gc(m_root.connection, m_gc, m_root.root, XCB_GC_SUBWINDOW_MODE, &includeInferiors);
            }
        }
        return m_format != 0;
    }

    // A background must have the window's depth; a window with an alpha channel has none.
    bool hasRootDepth(QQuickWindow *window)
    {
        const xcb_window_t id = xcb_window_t(window->winId());
        if (id != m_checkedWindow) {
            xcb_get_geometry_reply_t *geometry =
                xcb_get_geometry_reply(m_root.connection, xcb_get_geometry(m_root.connection, id), nullptr);
            m_checkedWindow = id;
            m_windowFits = geometry && geometry->depth == 24;
            std::free(geometry);
        }
        return m_windowFits;
    }

    void preparePixmap(const QSize &size)
    {
        if (m_pixmap && size == m_size)
            return;
        release();
        m_size = size;
        m_pixmap = xcb_generate_id(m_root.connection);
        xcb_create_pixmap(m_root.connection, 24, m_pixmap, m_root.root, quint16(size.width()), quint16(size.height()));
        m_picture = xcb_generate_id(m_root.connection);
        xcb_render_create_picture(m_root.connection, m_picture, m_pixmap, m_format, 0, nullptr);
    }

    void release()
    {
        if (!m_pixmap || m_window || !QCoreApplication::instance())
            return;
        xcb_render_free_picture(m_root.connection, m_picture);
        xcb_free_pixmap(m_root.connection, m_pixmap);
        xcb_flush(m_root.connection);
        m_pixmap = 0;
        m_picture = 0;
    }

    void copyScreen(const QRect &area)
    {
        xcb_copy_area(m_root.connection, m_root.root, m_pixmap, m_gc, qint16(area.x()), qint16(area.y()), 0, 0,
                      quint16(area.width()), quint16(area.height()));
    }

    void setWindowBackground(quint32 pixmap)
    {
        xcb_change_window_attributes(m_root.connection, m_window, XCB_CW_BACK_PIXMAP, &pixmap);
    }

    bool m_checked = false;
    ApplicationConnection m_root;
    xcb_render_pictformat_t m_format = 0;
    xcb_gcontext_t m_gc = 0;
    xcb_window_t m_checkedWindow = 0;
    bool m_windowFits = false;
    xcb_pixmap_t m_pixmap = 0;
    xcb_render_picture_t m_picture = 0;
    QSize m_size;
    xcb_window_t m_window = 0;
    QList<QMetaObject::Connection> m_shown;
    IdleRelease m_idleRelease{grabMemoryKeepMsecs, [this] { release(); }};
};

} // namespace

bool showScreenBackdrop(QQuickWindow *window, const QRect &area, const QList<QRect> &dimmed, const QColor &dim)
{
    return Backdrop::instance().show(window, area, dimmed, dim);
}

void prepareScreenBackdrop(QQuickWindow *window, const QRect &area)
{
    Backdrop::instance().prepare(window, area);
}
