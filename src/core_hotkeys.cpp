// The global hotkeys: made once, armed from the settings, released while the settings
// page edits them.

#include "core.h"

#include "app/hookkeybord.h"

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
    ensureHotkeyManager();
    HookKeybord::m_instance->updateHootKey();
}

void Core::unhookKeyboard()
{
    ensureHotkeyManager();
    HookKeybord::m_instance->stopHook();
}
