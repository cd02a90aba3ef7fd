// The global hotkeys: made once, armed from the settings, released while the settings
// page edits them.

#include "core.h"

#include "app/hookkeybord.h"
#include "settings/debuglog.h"

#include <QDebug>

void Core::ensureHotkeyManager()
{
    if (HookKeybord::m_instance)
        return;
    HookKeybord::m_instance = new HookKeybord(nullptr);
    connect(HookKeybord::m_instance, &HookKeybord::fragmentScreenActivated, this, &Core::fragmentScreen);
    connect(HookKeybord::m_instance, &HookKeybord::quickScreenActivated, this, &Core::quickScreen);
    connect(HookKeybord::m_instance, &HookKeybord::fullScreenActivated, this, &Core::fullScreen);
}

void Core::updateHook()
{
    qCDebug(lcMavu) << "void Core::updateHook()";
    ensureHotkeyManager();
    m_hotkeysReleased = false;
    HookKeybord::m_instance->updateHootKey();
    updateTrayShortcuts();
    reportUnregisteredHotkeys();
}

// A hotkey that another program holds would do nothing when pressed: the user hears which
// keys failed whenever the hotkeys are armed (at start, after the settings are accepted).
void Core::reportUnregisteredHotkeys()
{
    const QStringList keys = HookKeybord::m_instance->unregisteredKeys();
    if (keys.isEmpty())
        return;
    showTrayMessage(tr("Hotkeys"),
                    tr("These hotkeys do not work: %1. Another program holds them, or this desktop does not "
                       "allow global hotkeys. Choose other keys on the \"Hot key\" tab of the settings.")
                        .arg(keys.join(QStringLiteral(", "))));
}

void Core::unhookKeyboard()
{
    ensureHotkeyManager();
    m_hotkeysReleased = true;
    HookKeybord::m_instance->stopHook();
}

// However the settings window goes away while a hotkey is being edited (closed, cancelled,
// hidden by the desktop), the hotkeys come back.
void Core::settingWindowVisibleChanged(bool visible)
{
    if (!visible && m_hotkeysReleased)
        updateHook();
}
