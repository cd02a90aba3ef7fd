#include "sharedmemoryprobe.h"

#include "settings/debuglog.h"

#include <QMutex>
#include <QRandomGenerator>

#include <sys/ipc.h>
#include <sys/shm.h>
#include <xcb/shm.h>

#include <cstdlib>

namespace {

bool requestSucceeded(xcb_connection_t *connection, xcb_void_cookie_t cookie)
{
    xcb_generic_error_t *error = xcb_request_check(connection, cookie);
    std::free(error);
    return !error;
}

// True when the server, told to draw the attached segment into a pixmap, gives back the
// pattern this process wrote there.
bool serverCopiesPattern(const ApplicationConnection &root, xcb_shm_seg_t segment, const quint32 *pattern,
                         int pixels)
{
    xcb_connection_t *connection = root.connection;
    const xcb_pixmap_t pixmap = xcb_generate_id(connection);
    xcb_create_pixmap(connection, 24, pixmap, root.root, quint16(pixels), 1);
    const xcb_gcontext_t gc = xcb_generate_id(connection);
    xcb_create_gc(connection, gc, pixmap, 0, nullptr);
    bool same = requestSucceeded(connection, xcb_shm_put_image_checked(connection, pixmap, gc, quint16(pixels), 1, 0,
                                                                       0, quint16(pixels), 1, 0, 0, 24,
                                                                       XCB_IMAGE_FORMAT_Z_PIXMAP, 0, segment, 0));
    xcb_generic_error_t *error = nullptr;
    xcb_get_image_reply_t *reply = xcb_get_image_reply(
        connection, xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, pixmap, 0, 0, quint16(pixels), 1, ~0u),
        &error);
    same = same && reply && xcb_get_image_data_length(reply) == pixels * 4;
    const auto *copy = same ? reinterpret_cast<const quint32 *>(xcb_get_image_data(reply)) : nullptr;
    for (int i = 0; same && i < pixels; ++i)
        same = (copy[i] & 0xffffffu) == pattern[i];
    std::free(reply);
    std::free(error);
    xcb_free_gc(connection, gc);
    xcb_free_pixmap(connection, pixmap);
    return same;
}

// The segment is attached read-only: should its number name another program's memory in the
// server's IPC namespace, the server only reads that memory, and the pattern tells the two apart.
bool serverReachesSegments(const ApplicationConnection &root)
{
    const xcb_query_extension_reply_t *shm = xcb_get_extension_data(root.connection, &xcb_shm_id);
    if (!shm || !shm->present)
        return false;
    constexpr int probePixels = 16;
    const int id = shmget(IPC_PRIVATE, probePixels * 4, IPC_CREAT | 0600);
    if (id < 0)
        return false;
    void *address = shmat(id, nullptr, 0);
    shmctl(id, IPC_RMID, nullptr);
    if (address == reinterpret_cast<void *>(-1))
        return false;
    auto *pattern = static_cast<quint32 *>(address);
    for (int i = 0; i < probePixels; ++i)
        pattern[i] = QRandomGenerator::global()->generate() & 0xffffffu;
    const xcb_shm_seg_t segment = xcb_generate_id(root.connection);
    const bool readOnly = true;
    bool reaches = requestSucceeded(root.connection,
                                    xcb_shm_attach_checked(root.connection, segment, quint32(id), readOnly));
    if (reaches) {
        reaches = serverCopiesPattern(root, segment, pattern, probePixels);
        xcb_shm_detach(root.connection, segment);
        xcb_flush(root.connection);
    }
    shmdt(address);
    return reaches;
}

} // namespace

// Asked once per connection: the answer holds for as long as the connection does.
bool sharedMemoryReachesServer(const ApplicationConnection &root)
{
    static QMutex mutex;
    static xcb_connection_t *asked = nullptr;
    static bool reaches = false;
    QMutexLocker lock(&mutex);
    if (root.connection != asked) {
        reaches = serverReachesSegments(root);
        asked = root.connection;
        qCDebug(lcMavu) << "The X server reads the screen into shared memory:" << reaches;
    }
    return reaches;
}

