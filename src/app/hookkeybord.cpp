#include "hookkeybord.h"

#include "qxtglobalshortcut.h"
#include "settings/debuglog.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"

#include <QDebug>
#include <QKeySequence>

HookKeybord *HookKeybord::m_instance = nullptr;

namespace {

struct HookSettings
{
    HookKeybord::HookType type;
    const QString &enabledKey;
    const QString &textKey;
};

// In registration order: fragment, quick, full screen.
const HookSettings hookSettings[] = {
    {HookKeybord::HookFragment, SettingKeys::fragmentScreen, SettingKeys::keyFragmentScreen},
    {HookKeybord::HookQuickFragment, SettingKeys::quickFragmentScreen, SettingKeys::keyQuickFragmentScreen},
    {HookKeybord::HookFullScreen, SettingKeys::snapshotFull, SettingKeys::keySnapshotScreen},
};

} // namespace

HookKeybord::HookKeybord(QObject *parent)
    : QObject(parent)
{
}

HookKeybord::~HookKeybord()
{
    releaseShortcuts();
    if (m_instance == this)
        m_instance = nullptr;
}

QString HookKeybord::normalizedKeyText(const QString &text)
{
    QString normalized = text;
    normalized.replace(QChar(0x21E7), QStringLiteral("Shift"));
    normalized.replace(QChar(0x2318), QStringLiteral("Ctrl"));
    normalized.replace(QStringLiteral("Print Screen"), QStringLiteral("Print"));
    return normalized;
}

QString HookKeybord::keyText(HookType type) const
{
    switch (type) {
    case HookFragment:
        return m_keyFragmentScreen;
    case HookQuickFragment:
        return m_keyQuickFragmentScreen;
    case HookFullScreen:
        return m_keySnapshotScreen;
    }
    return QString();
}

QxtGlobalShortcut *HookKeybord::shortcut(HookType type) const
{
    return m_shortcuts.value(type);
}

void HookKeybord::updateHootKey()
{
    releaseShortcuts();
    Setting *setting = Setting::instance();
    m_keyFragmentScreen = normalizedKeyText(setting->getValue(SettingKeys::keyFragmentScreen).toString());
    m_keyQuickFragmentScreen = normalizedKeyText(setting->getValue(SettingKeys::keyQuickFragmentScreen).toString());
    m_keySnapshotScreen = normalizedKeyText(setting->getValue(SettingKeys::keySnapshotScreen).toString());
    for (const HookSettings &hook : hookSettings) {
        if (setting->getValue(hook.enabledKey).toBool())
            registerKey(keyText(hook.type), hook.type);
    }
}

void HookKeybord::stopHook()
{
    qCDebug(lcMavu) << "void HookKeybord::stopHook()";
    releaseShortcuts();
}

void HookKeybord::registerKey(QString key, HookKeybord::HookType type)
{
    // The kind's old shortcut goes first, so its grab does not outlive it.
    delete m_shortcuts.take(type);
    const QString shown = key;
    key.remove(QLatin1Char(' '));
    const QKeySequence sequence = QKeySequence::fromString(key, QKeySequence::PortableText);
    auto *shortcut = new QxtGlobalShortcut(nullptr);
    connectActivation(shortcut, type);
    // A refused grab is kept for the user to hear of; the other kinds go on.
    if (!shortcut->setShortcut(sequence) && !shown.isEmpty())
        m_unregisteredKeys.append(shown);
    m_shortcuts.insert(type, shortcut);
}

void HookKeybord::connectActivation(QxtGlobalShortcut *shortcut, HookType type)
{
    switch (type) {
    case HookFragment:
        connect(shortcut, &QxtGlobalShortcut::activated, this, &HookKeybord::fragmentScreenActivated);
        break;
    case HookQuickFragment:
        connect(shortcut, &QxtGlobalShortcut::activated, this, &HookKeybord::quickScreenActivated);
        break;
    case HookFullScreen:
        connect(shortcut, &QxtGlobalShortcut::activated, this, &HookKeybord::fullScreenActivated);
        break;
    }
}

void HookKeybord::releaseShortcuts()
{
    for (QxtGlobalShortcut *shortcut : std::as_const(m_shortcuts))
        shortcut->setDisabled(true);
    qDeleteAll(m_shortcuts);
    m_shortcuts.clear();
    m_unregisteredKeys.clear();
}
