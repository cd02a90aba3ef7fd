#pragma once

#include <QAbstractNativeEventFilter>
#include <QHash>
#include <QPair>
#include <Qt>

class QxtGlobalShortcut;

// Base of a private part: a back-pointer to the public object that owns it.
template <typename Public>
class QxtPrivate
{
public:
    virtual ~QxtPrivate() = default;

    void setPublic(Public *owner) { m_public = owner; }
    Public &qxt_p() { return *m_public; }
    const Public &qxt_p() const { return *m_public; }

private:
    Public *m_public = nullptr;
};

// The platform half of QxtGlobalShortcut: the grab on the X server and the native event
// filter that sees the key presses of the grabbed combinations.
class QxtGlobalShortcutPrivate : public QxtPrivate<QxtGlobalShortcut>, public QAbstractNativeEventFilter
{
public:
    using NativeCombination = QPair<quint32, quint32>; // (key code, modifier mask)

    QxtGlobalShortcutPrivate();
    ~QxtGlobalShortcutPrivate() override;

    bool nativeEventFilter(const QByteArray &eventType, void *message, qintptr *result) override;

    bool setShortcut(const QKeySequence &shortcut);
    bool unsetShortcut();

    static quint32 nativeModifiers(Qt::KeyboardModifiers modifiers);
    static quint32 nativeKeycode(Qt::Key key);
    static bool registerShortcut(quint32 nativeKey, quint32 nativeMods);
    static bool unregisterShortcut(quint32 nativeKey, quint32 nativeMods);
    static void activateShortcut(quint32 nativeKey, quint32 nativeMods);

    bool enabled = true;
    Qt::Key qtKey = Qt::Key(0);
    Qt::KeyboardModifiers qtMods;

    static QHash<NativeCombination, QxtGlobalShortcut *> shortcuts;
    static int ref;

private:
    QString portableText() const;
    // True for the repeats the server sends while the key is held down.
    bool isAutoRepeat(quint8 type, quint32 keycode, quint32 time);

    quint32 m_heldKeycode = 0;
    quint32 m_releaseTime = 0;
    bool m_released = false;
};
