<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Core</name>
    <message>
        <source>Autorization</source>
        <translation>Authorization</translation>
    </message>
    <message>
        <source>Capture fragment</source>
        <translation>Capture fragment</translation>
    </message>
    <message>
        <source>Capture fullscreen</source>
        <translation>Capture fullscreen</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>History</source>
        <translation>History</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Open last link</source>
        <translation>Open last link</translation>
    </message>
    <message>
        <source>Copy last link</source>
        <translation>Copy last link</translation>
    </message>
    <message>
        <source>Internet is not available</source>
        <translation>Internet connection is not available</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Warning</translation>
    </message>
    <message>
        <source>Internet is not available. Save file to disk ?</source>
        <translation>Not internet connection available. Do you want to save to disk?</translation>
    </message>
    <message>
        <source>Hey! I Mavu. The faster program to create screenshots and transfer files over a network. Are you forgot for me ? Let`s do screenshot!</source>
        <translation>Hi! I’m Mavu, The quickest way to create screenshots and transfer files. Did you forget me? Let’s create screenshots!</translation>
    </message>
    <message>
        <source>Hotkeys</source>
        <translation>Hotkeys</translation>
    </message>
    <message>
        <source>These hotkeys do not work: %1. Another program holds them, or this desktop does not allow global hotkeys. Choose other keys on the &quot;Hot key&quot; tab of the settings.</source>
        <translation>These hotkeys do not work: %1. Another program holds them, or this desktop does not allow global hotkeys. Choose other keys on the &quot;Hotkeys&quot; tab of the settings.</translation>
    </message>
</context>
<context>
    <name>MessageDialog</name>
    <message>
        <source>Ok</source>
        <translation>Ok</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>ErrorDialog</name>
    <message>
        <source>Error</source>
        <translation>Error</translation>
    </message>
</context>
<context>
    <name>SettingWidget</name>
    <message>
        <source>Settings</source>
        <translation>Options</translation>
    </message>
</context>
<context>
    <name>UploadWidget</name>
    <message>
        <source>Upload</source>
        <translation>Upload</translation>
    </message>
</context>
</TS>
