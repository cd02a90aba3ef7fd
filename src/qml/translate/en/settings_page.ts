<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>ProxyPage</name>
    <message>
        <source>The port must be a number from 1 to 65535</source>
        <translation>The port must be a number from 1 to 65535</translation>
    </message>
    <message>
        <source>Proxy setting</source>
        <translation>Proxy settings</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>Host</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Login</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Accept</source>
        <translation>Accept</translation>
    </message>
</context>
<context>
    <name>QuotaView</name>
    <message>
        <source>Usage</source>
        <translation>Used</translation>
    </message>
    <message>
        <source>of</source>
        <translation>of</translation>
    </message>
</context>
<context>
    <name>SettingPage</name>
    <message>
        <source>Settings</source>
        <translation>Settings</translation>
    </message>
    <message>
        <source>Storage</source>
        <translation>Storage</translation>
    </message>
    <message>
        <source>Hot key</source>
        <translation>Hotkeys</translation>
    </message>
    <message>
        <source>Reset by default</source>
        <translation>Reset to defaults</translation>
    </message>
    <message>
        <source>Accept</source>
        <translation>Accept</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
</context>
<context>
    <name>SettingsAuthDropboxPage</name>
    <message>
        <source>Authorization in dropbox</source>
        <translation>Sign in to Dropbox</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>Sign out</translation>
    </message>
    <message>
        <source>If process uploaded throw error upload file on mavu</source>
        <translation>If the upload fails, upload the file to Mavu</translation>
    </message>
</context>
<context>
    <name>SettingsAuthFtpPage</name>
    <message>
        <source>The port must be a number from 1 to 65535</source>
        <translation>The port must be a number from 1 to 65535</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>Host</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Port</translation>
    </message>
    <message>
        <source>User</source>
        <translation>User</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Upload path</source>
        <translation>Upload folder</translation>
    </message>
    <message>
        <source>Base url</source>
        <translation>Base URL</translation>
    </message>
    <message>
        <source>If process uploaded throw error upload file on mavu</source>
        <translation>If the upload fails, upload the file to Mavu</translation>
    </message>
    <message>
        <source>Check ftp connect</source>
        <translation>Check connection</translation>
    </message>
</context>
<context>
    <name>SettingsAuthMavuPage</name>
    <message>
        <source>Logout</source>
        <translation>Sign out</translation>
    </message>
</context>
<context>
    <name>SettingsHotKeyDelegate</name>
    <message>
        <source>Change</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>already in use</source>
        <translation>already in use</translation>
    </message>
    <message>
        <source>Primary</source>
        <translation>Primary</translation>
    </message>
    <message>
        <source>Fragment screen</source>
        <translation>Region capture</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Full screen</translation>
    </message>
    <message>
        <source>Quick screen</source>
        <translation>Quick capture</translation>
    </message>
    <message>
        <source>Secondary</source>
        <translation>Secondary</translation>
    </message>
    <message>
        <source>Ctrl + Enter - Send screenshot to selected storage</source>
        <translation>Ctrl + Enter - Send screenshot to selected storage</translation>
    </message>
    <message>
        <source>Ctrl + C - Copy screenshot to clipboard</source>
        <translation>Ctrl + C - Copy screenshot to clipboard</translation>
    </message>
    <message>
        <source>Ctrl + S - Save it to your computer</source>
        <translation>Ctrl + S - Save it to your computer</translation>
    </message>
    <message>
        <source>Ctrl + C - Copy on clipboard #hex of color under cursor</source>
        <translation>Ctrl + C - Copy the colour under the cursor as #hex</translation>
    </message>
    <message>
        <source>Esc - Cancel the removal of a screenshot</source>
        <translation>Esc - Cancel the screenshot</translation>
    </message>
    <message>
        <source>Social</source>
        <translation>Social networks</translation>
    </message>
    <message>
        <source>Ctrl + Shift + F - Send screenshot to facebook</source>
        <translation>Ctrl + Shift + F - Share on Facebook</translation>
    </message>
    <message>
        <source>Ctrl + Shift + T - Send screenshot to twitter</source>
        <translation>Ctrl + Shift + T - Share on Twitter</translation>
    </message>
    <message>
        <source>Ctrl + Shift + V - Send screenshot to vkontakte</source>
        <translation>Ctrl + Shift + V - Share on VK</translation>
    </message>
    <message>
        <source>Ctrl + Shift + O - Send screenshot to odnoklassniki</source>
        <translation>Ctrl + Shift + O - Share on Odnoklassniki</translation>
    </message>
    <message>
        <source>Ctrl + Shift + E - Send screenshot to e-mail</source>
        <translation>Ctrl + Shift + E - Send by e-mail</translation>
    </message>
</context>
<context>
    <name>SettingsSettingDelegate</name>
    <message>
        <source>Image quality</source>
        <translation>Image quality</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Low</translation>
    </message>
    <message>
        <source>Average</source>
        <translation>Medium</translation>
    </message>
    <message>
        <source>High</source>
        <translation>High</translation>
    </message>
    <message>
        <source>Additionally</source>
        <translation>More</translation>
    </message>
    <message>
        <source>Run application on system boot</source>
        <translation>Start Mavu when the system starts</translation>
    </message>
    <message>
        <source>Use proxy</source>
        <translation>Use a proxy</translation>
    </message>
    <message>
        <source>Save screen copy to select folder</source>
        <translation>Save a copy of each screenshot to a folder</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Change</translation>
    </message>
    <message>
        <source>Show upload process to server</source>
        <translation>Show upload progress</translation>
    </message>
    <message>
        <source>Show information window after download</source>
        <translation>Show an information window after the upload</translation>
    </message>
    <message>
        <source>Use in the screenshot name title of the active window</source>
        <translation>Name screenshots after the active window's title</translation>
    </message>
    <message>
        <source>Receive a direct link to a screenshot or a file</source>
        <translation>Receive a direct link to a screenshot or a file</translation>
    </message>
    <message>
        <source>Show magnifier at the select rect</source>
        <translation>Show the magnifier while selecting</translation>
    </message>
    <message>
        <source>Prevent the closure of the window screenshot</source>
        <translation>Ask before closing the screenshot window</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Language</translation>
    </message>
</context>
</TS>
