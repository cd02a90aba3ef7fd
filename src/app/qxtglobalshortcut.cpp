#include "qxtglobalshortcut.h"

#include "qxtglobalshortcut_p.h"

#include <QAbstractEventDispatcher>
#include <QDebug>

QHash<QxtGlobalShortcutPrivate::NativeCombination, QxtGlobalShortcut *> QxtGlobalShortcutPrivate::shortcuts;
int QxtGlobalShortcutPrivate::ref = 0;

namespace {
constexpr int allModifiers = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier;
}

// Every private part watches the X event stream itself and reports only the presses of
// the combination its own shortcut owns. One filter shared by all parts would vanish with
// the part that installed it (a filter removes itself when destroyed) and silence the
// shortcuts still alive.
QxtGlobalShortcutPrivate::QxtGlobalShortcutPrivate()
{
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->installNativeEventFilter(this);
    ++ref;
}

QxtGlobalShortcutPrivate::~QxtGlobalShortcutPrivate()
{
    --ref;
    if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance())
        dispatcher->removeNativeEventFilter(this);
}

QString QxtGlobalShortcutPrivate::portableText() const
{
    return QKeySequence(QKeyCombination(qtMods, qtKey)).toString(QKeySequence::PortableText);
}

bool QxtGlobalShortcutPrivate::setShortcut(const QKeySequence &shortcut)
{
    if (shortcut.isEmpty()) {
        qtKey = Qt::Key(0);
        qtMods = Qt::KeyboardModifiers();
    } else {
        const int combination = shortcut[0].toCombined();
        qtKey = Qt::Key(combination & ~allModifiers);
        qtMods = Qt::KeyboardModifiers(combination & allModifiers);
    }
    const quint32 nativeKey = nativeKeycode(qtKey);
    const quint32 nativeMods = nativeModifiers(qtMods);
    const bool registered = registerShortcut(nativeKey, nativeMods);
    if (registered)
        shortcuts.insert(qMakePair(nativeKey, nativeMods), &qxt_p());
    else
        qWarning() << "QxtGlobalShortcut failed to register:" << portableText();
    return registered;
}

bool QxtGlobalShortcutPrivate::unsetShortcut()
{
    const quint32 nativeKey = nativeKeycode(qtKey);
    const quint32 nativeMods = nativeModifiers(qtMods);
    const NativeCombination combination = qMakePair(nativeKey, nativeMods);
    bool released = false;
    if (shortcuts.value(combination) == &qxt_p()) {
        released = unregisterShortcut(nativeKey, nativeMods);
        if (released)
            shortcuts.remove(combination);
    }
    if (!released)
        qWarning() << "QxtGlobalShortcut failed to unregister:" << portableText();
    qtKey = Qt::Key(0);
    qtMods = Qt::KeyboardModifiers();
    return released;
}

void QxtGlobalShortcutPrivate::activateShortcut(quint32 nativeKey, quint32 nativeMods)
{
    QxtGlobalShortcut *shortcut = shortcuts.value(qMakePair(nativeKey, nativeMods));
    if (shortcut && shortcut->isEnabled())
        emit shortcut->activated();
}

QxtGlobalShortcut::QxtGlobalShortcut(QObject *parent)
    : QObject(parent)
    , d(new QxtGlobalShortcutPrivate)
{
    d->setPublic(this);
}

QxtGlobalShortcut::~QxtGlobalShortcut()
{
    if (d->qtKey != 0)
        d->unsetShortcut();
    delete d;
}

QKeySequence QxtGlobalShortcut::shortcut() const
{
    return QKeySequence(QKeyCombination(d->qtMods, d->qtKey));
}

bool QxtGlobalShortcut::setShortcut(const QKeySequence &shortcut)
{
    if (d->qtKey != 0)
        d->unsetShortcut();
    return d->setShortcut(shortcut);
}

bool QxtGlobalShortcut::isEnabled() const
{
    return d->enabled;
}

void QxtGlobalShortcut::setEnabled(bool enabled)
{
    d->enabled = enabled;
}

void QxtGlobalShortcut::setDisabled(bool disabled)
{
    d->enabled = !disabled;
}
