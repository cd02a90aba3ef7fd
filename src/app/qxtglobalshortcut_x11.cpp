// The X11 half of QxtGlobalShortcut: key lookup, grabs on the root window and the
// native event filter on Qt's XCB connection.

#include "qxtglobalshortcut.h"
#include "qxtglobalshortcut_p.h"
#include "platform/x11_helper_linux.h"

#include <QGuiApplication>
#include <QKeySequence>

#include <X11/Xlib.h>
#include <X11/Xproto.h>
#include <X11/keysym.h>
#include <xcb/xcb.h>

#include <array>
#include <cstdlib>

namespace {

// Every grab is made under these lock states too, so that NumLock (Mod2) and CapsLock
// (Lock) do not hide the combination.
const std::array<quint32, 4> maskModifiers = {0, Mod2Mask, LockMask, Mod2Mask | LockMask};

// The modifier bits that take part in a match; lock states and Mod3/Mod5 never do.
constexpr quint32 matchedModifiers = ShiftMask | ControlMask | Mod1Mask | Mod4Mask;

// Qt's names of these keys differ from the X keysym names, so the name lookup misses them.
struct SpecialKey
{
    Qt::Key key;
    KeySym keysym;
};
const std::array<SpecialKey, 11> specialKeys = {{
    {Qt::Key_Escape, XK_Escape},
    {Qt::Key_Backspace, XK_BackSpace},
    // The settings page writes "Enter" for both Return and Enter; it means the main key.
    {Qt::Key_Enter, XK_Return},
    {Qt::Key_Insert, XK_Insert},
    {Qt::Key_Delete, XK_Delete},
    {Qt::Key_PageUp, XK_Prior},
    {Qt::Key_PageDown, XK_Next},
    {Qt::Key_CapsLock, XK_Caps_Lock},
    {Qt::Key_NumLock, XK_Num_Lock},
    {Qt::Key_ScrollLock, XK_Scroll_Lock},
    {Qt::Key_SysReq, XK_Sys_Req},
}};

// A connection of its own to the default display, for the key-code lookup.
class QxtX11Data
{
public:
    QxtX11Data() : m_display(XOpenDisplay(nullptr)) {}
    ~QxtX11Data()
    {
        if (m_display)
            XCloseDisplay(m_display);
    }
    QxtX11Data(const QxtX11Data &) = delete;
    QxtX11Data &operator=(const QxtX11Data &) = delete;

    Display *display() const { return m_display; }

private:
    Display *m_display;
};

} // namespace

// Grab and release requests are sent as checked requests and their answer is awaited, so
// a refusal is known before the result is reported. X errors arrive asynchronously: a flag
// tested right after sending a request has not seen them yet, and the grab would pass for
// a success. A checked request's error comes back to the caller only, never to Qt's event
// queue nor to an Xlib error handler, and is judged here as an X error.
class QxtX11ErrorHandler
{
public:
    static bool error;

    // A grab or a release refused: BadAccess (another client holds the combination),
    // BadValue or BadWindow to GrabKey or UngrabKey. Other errors are not the grab's.
    static int qxtX11ErrorHandler(Display *, XErrorEvent *event)
    {
        switch (event->error_code) {
        case BadValue:
        case BadWindow:
        case BadAccess:
            if (event->request_code == X_GrabKey || event->request_code == X_UngrabKey)
                error = true;
            break;
        default:
            break;
        }
        return 0;
    }

    // The answer to a checked request on the application's connection.
    static void check(xcb_connection_t *connection, xcb_void_cookie_t cookie)
    {
        xcb_generic_error_t *refusal = xcb_request_check(connection, cookie);
        if (!refusal)
            return;
        XErrorEvent event = {};
        event.type = X_Error;
        event.serial = refusal->full_sequence;
        event.error_code = refusal->error_code;
        event.request_code = refusal->major_code;
        event.minor_code = refusal->minor_code;
        event.resourceid = refusal->resource_id;
        qxtX11ErrorHandler(nullptr, &event);
        std::free(refusal);
    }
};

bool QxtX11ErrorHandler::error = false;

bool QxtGlobalShortcutPrivate::nativeEventFilter(const QByteArray &eventType, void *message, qintptr *)
{
    if (eventType != "xcb_generic_event_t")
        return false;
    const auto *event = static_cast<const xcb_generic_event_t *>(message);
    const quint8 type = event->response_type & 0x7f;
    if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE)
        return false;
    // Press and release events share one layout.
    const auto *key = static_cast<const xcb_key_press_event_t *>(message);
    const quint32 keycode = key->detail;
    const quint32 mods = key->state & matchedModifiers;
    // Each private part has a filter of its own; only the owner of the combination reports.
    if (shortcuts.value(qMakePair(keycode, mods)) != &qxt_p() && keycode != m_heldKeycode)
        return false;
    if (!isAutoRepeat(type, keycode, key->time) && type == XCB_KEY_PRESS
        && shortcuts.value(qMakePair(keycode, mods)) == &qxt_p())
        activateShortcut(keycode, mods);
    return false;
}

// A held key repeats as further presses, either alone or each after a release with the
// same time stamp; only the first press of a hold activates the shortcut.
bool QxtGlobalShortcutPrivate::isAutoRepeat(quint8 type, quint32 keycode, quint32 time)
{
    if (type == XCB_KEY_RELEASE) {
        if (keycode == m_heldKeycode) {
            m_released = true;
            m_releaseTime = time;
        }
        return false;
    }
    const bool repeat = keycode == m_heldKeycode && (!m_released || m_releaseTime == time);
    m_heldKeycode = keycode;
    m_released = false;
    return repeat;
}

quint32 QxtGlobalShortcutPrivate::nativeModifiers(Qt::KeyboardModifiers modifiers)
{
    quint32 native = 0;
    if (modifiers & Qt::ShiftModifier)
        native |= ShiftMask;
    if (modifiers & Qt::ControlModifier)
        native |= ControlMask;
    if (modifiers & Qt::AltModifier)
        native |= Mod1Mask;
    if (modifiers & Qt::MetaModifier)
        native |= Mod4Mask;
    return native;
}

namespace {

KeySym keysymForKey(Qt::Key key)
{
    for (const SpecialKey &special : specialKeys) {
        if (special.key == key)
            return special.keysym;
    }
    const QByteArray name = QKeySequence(key).toString(QKeySequence::PortableText).toLatin1();
    const KeySym byName = name.isEmpty() ? NoSymbol : XStringToKeysym(name.constData());
    if (byName != NoSymbol)
        return byName;
    // Qt's printable keys carry their character: Latin-1 characters are keysyms of the
    // same value, the rest have X's Unicode keysyms. Qt's special keys (from 0x01000000,
    // Key_unknown included) have no such relation and must not become a random key.
    const uint value = uint(key);
    if (value < 0x100)
        return value;
    if (value < 0x01000000)
        return 0x01000000 | value;
    return NoSymbol;
}

} // namespace

quint32 QxtGlobalShortcutPrivate::nativeKeycode(Qt::Key key)
{
    const KeySym keysym = keysymForKey(key);
    if (keysym == NoSymbol)
        return 0;
    QxtX11Data x11;
    if (!x11.display())
        return 0;
    return XKeysymToKeycode(x11.display(), keysym);
}

bool QxtGlobalShortcutPrivate::registerShortcut(quint32 nativeKey, quint32 nativeMods)
{
    // Key code 0 is AnyKey to the server: it would take every key with these modifiers.
    if (nativeKey == 0)
        return false;
    // The grabs are made on the application's own connection, so that its event stream,
    // which Qt reads, carries the key presses to the native event filter.
    const ApplicationConnection x11 = applicationConnection();
    if (!x11.connection)
        return false;
    QxtX11ErrorHandler::error = false;
    for (quint32 mask : maskModifiers) {
        const xcb_void_cookie_t cookie =
            xcb_grab_key_checked(x11.connection, true, x11.root, quint16(nativeMods | mask),
                                 xcb_keycode_t(nativeKey), XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC);
        QxtX11ErrorHandler::check(x11.connection, cookie);
        if (QxtX11ErrorHandler::error)
            break;
    }
    if (QxtX11ErrorHandler::error) {
        unregisterShortcut(nativeKey, nativeMods);
        return false;
    }
    return true;
}

bool QxtGlobalShortcutPrivate::unregisterShortcut(quint32 nativeKey, quint32 nativeMods)
{
    if (nativeKey == 0)
        return false;
    const ApplicationConnection x11 = applicationConnection();
    if (!x11.connection)
        return false;
    QxtX11ErrorHandler::error = false;
    for (quint32 mask : maskModifiers) {
        const xcb_void_cookie_t cookie = xcb_ungrab_key_checked(
            x11.connection, xcb_keycode_t(nativeKey), x11.root, quint16(nativeMods | mask));
        QxtX11ErrorHandler::check(x11.connection, cookie);
    }
    return !QxtX11ErrorHandler::error;
}
