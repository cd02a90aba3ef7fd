<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>RegistrationPage</name>
    <message>
        <source>To get started, enter e-mail</source>
        <translation>To get started, enter your e-mail</translation>
    </message>
    <message>
        <source>Registration from mavu</source>
        <translation>Sign up for Mavu</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Password</translation>
    </message>
    <message>
        <source>Recovery password</source>
        <translation>Forgot password?</translation>
    </message>
    <message>
        <source>Confirm password</source>
        <translation>Confirm password</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Next</translation>
    </message>
    <message>
        <source>Enter to mavu</source>
        <translation>Sign in to Mavu</translation>
    </message>
    <message>
        <source>Registration</source>
        <translation>Sign up</translation>
    </message>
    <message>
        <source>Proxy setting</source>
        <translation>Proxy settings</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Back</translation>
    </message>
    <message>
        <source>Wellcome to Mavu,</source>
        <translation>Welcome to Mavu,</translation>
    </message>
    <message>
        <source>Start use mavu</source>
        <translation>Start using Mavu</translation>
    </message>
    <message>
        <source>You can enter a Mavu using one of the social networks</source>
        <translation>You can sign in to Mavu with one of the social networks</translation>
    </message>
</context>
<context>
    <name>MainToolPage</name>
    <message>
        <source>Fragment</source>
        <translation>Fragment</translation>
    </message>
    <message>
        <source>Capture fragment screen</source>
        <translation>Capture a fragment of the screen</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Full screen</translation>
    </message>
    <message>
        <source>Fullscreen - capture full screen</source>
        <translation>Full screen - capture the whole screen</translation>
    </message>
    <message>
        <source>History</source>
        <translation>History</translation>
    </message>
    <message>
        <source>History - show history</source>
        <translation>History - show the history</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Options</translation>
    </message>
    <message>
        <source>Settings - show settings</source>
        <translation>Options - show the options</translation>
    </message>
    <message>
        <source>Last upload</source>
        <translation>Last upload</translation>
    </message>
    <message>
        <source>To get started with Mavu you must log</source>
        <translation>To get started with Mavu, sign in</translation>
    </message>
    <message>
        <source>Enter to mavu</source>
        <translation>Sign in to Mavu</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Quit</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Help</translation>
    </message>
</context>
<context>
    <name>LastLinkButtons</name>
    <message>
        <source>Open</source>
        <translation>Open</translation>
    </message>
    <message>
        <source>Open link in the last screenshot/file</source>
        <translation>Open the link of the last screenshot or file</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Copy link of the last screenshot/file</source>
        <translation>Copy the link of the last screenshot or file</translation>
    </message>
</context>
<context>
    <name>UploadPage</name>
    <message>
        <source>Upload</source>
        <translation>Upload</translation>
    </message>
    <message>
        <source>Upload...</source>
        <translation>Uploading...</translation>
    </message>
    <message>
        <source>Link already in the clipboard</source>
        <translation>The link is on the clipboard</translation>
    </message>
    <message>
        <source>Archive...</source>
        <translation>Archiving...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Cancel</translation>
    </message>
    <message>
        <source>Do not show this window</source>
        <translation>Do not show this window again</translation>
    </message>
</context>
<context>
    <name>LastUploadPage</name>
    <message>
        <source>Upload complete</source>
        <translation>Upload complete</translation>
    </message>
    <message>
        <source>Do not show this window</source>
        <translation>Do not show this window again</translation>
    </message>
</context>
</TS>
