<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>PushButton</name>
    <message>
        <source>Push button</source>
        <translation>Push button</translation>
    </message>
</context>
<context>
    <name>HootKeyInput</name>
    <message>
        <source>Press a key combination</source>
        <translation>Press a key combination</translation>
    </message>
    <message>
        <source>Esc for cancel</source>
        <translation>Esc to cancel</translation>
    </message>
</context>
<context>
    <name>useful</name>
    <message>
        <source>KB</source>
        <translation>KB</translation>
    </message>
    <message>
        <source>MB</source>
        <translation>MB</translation>
    </message>
    <message>
        <source>GB</source>
        <translation>GB</translation>
    </message>
</context>
<context>
    <name>ToolBar</name>
    <message>
        <source>&lt;b&gt;Tool Move and transform&lt;/b&gt;</source>
        <translation>&lt;b&gt;Move and transform tool&lt;/b&gt;</translation>
    </message>
    <message>
        <source>Space - Switching to tool "Move"</source>
        <translation>Space - switch to the "Move" tool</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Pen&lt;/b&gt;</source>
        <translation>&lt;b&gt;Pen tool&lt;/b&gt;</translation>
    </message>
    <message>
        <source>+ Shift - Drawing a straight line</source>
        <translation>+ Shift - draw a straight line</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Marker&lt;/b&gt;</source>
        <translation>&lt;b&gt;Marker tool&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Line&lt;/b&gt;</source>
        <translation>&lt;b&gt;Line tool&lt;/b&gt;</translation>
    </message>
    <message>
        <source>+ Shift - drawing a straight line at angles of 45°.</source>
        <translation>+ Shift - draw a line at multiples of 45°.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Arrow&lt;/b&gt;</source>
        <translation>&lt;b&gt;Arrow tool&lt;/b&gt;</translation>
    </message>
    <message>
        <source>+ Shift - drawing arrows at angles of 45°.</source>
        <translation>+ Shift - draw an arrow at multiples of 45°.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Text&lt;/b&gt;</source>
        <translation>&lt;b&gt;Text tool&lt;/b&gt;</translation>
    </message>
    <message>
        <source>When you move the mouse while pressing the pre-draws an arrow pointing to the location.</source>
        <translation>Drag with the button held to add an arrow that points to the spot.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Ellipse&lt;/b&gt;</source>
        <translation>&lt;b&gt;Ellipse tool&lt;/b&gt;</translation>
    </message>
    <message>
        <source>+ Shift - draw circle.
+ Ctrl - draws a filled.</source>
        <translation>+ Shift - draw a circle.
+ Ctrl - draw it filled.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Rectangle&lt;/b&gt;</source>
        <translation>&lt;b&gt;Rectangle tool&lt;/b&gt;</translation>
    </message>
    <message>
        <source>+ Shift - draw square.
+ Ctrl - draws a filled.</source>
        <translation>+ Shift - draw a square.
+ Ctrl - draw it filled.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Counter&lt;/b&gt;</source>
        <translation>&lt;b&gt;Counter tool&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Blur&lt;/b&gt;</source>
        <translation>&lt;b&gt;Blur tool&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Blackout&lt;/b&gt;</source>
        <translation>&lt;b&gt;Blackout tool&lt;/b&gt;</translation>
    </message>
</context>
<context>
    <name>ToolBarDropPanel</name>
    <message>
        <source>Substrate</source>
        <translation>Background</translation>
    </message>
</context>
<context>
    <name>ToolBarMenu</name>
    <message>
        <source>Public</source>
        <translation>Publish</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Copy</translation>
    </message>
    <message>
        <source>Vkontakte</source>
        <translation>Vkontakte</translation>
    </message>
    <message>
        <source>Odnoklassniki</source>
        <translation>Odnoklassniki</translation>
    </message>
    <message>
        <source>Facebook</source>
        <translation>Facebook</translation>
    </message>
    <message>
        <source>Twitter</source>
        <translation>Twitter</translation>
    </message>
    <message>
        <source>E-mail</source>
        <translation>E-mail</translation>
    </message>
</context>
<context>
    <name>ScrollHint</name>
    <message>
        <source>Press "Play" and use wheel or application scroll and drop his down</source>
        <translation>Press "Play", then scroll down with the wheel or the application's scroll bar</translation>
    </message>
</context>
<context>
    <name>CloseConfirmBox</name>
    <message>
        <source>Cancel screen capture? All changes whill be lost!</source>
        <translation>Cancel the screen capture? All changes will be lost!</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Yes</translation>
    </message>
    <message>
        <source>No</source>
        <translation>No</translation>
    </message>
    <message>
        <source>Do not show this window</source>
        <translation>Do not show this window again</translation>
    </message>
</context>
<context>
    <name>PonoramErrorNotice</name>
    <message>
        <source>The scrolling capture stopped at the largest picture that can still be saved: the picture ends with the last frame that fitted.</source>
        <translation>The scrolling capture stopped at the largest picture that can still be saved: the picture ends with the last frame that fitted.</translation>
    </message>
    <message>
        <source>The scrolling capture lost its place and stopped: the picture ends with the last frame that fitted.</source>
        <translation>The scrolling capture lost its place and stopped: the picture ends with the last frame that fitted.</translation>
    </message>
</context>
<context>
    <name>PonoramButton</name>
    <message>
        <source>&lt;b&gt;Scrolling capture&lt;/b&gt;</source>
        <translation>&lt;b&gt;Scrolling capture&lt;/b&gt;</translation>
    </message>
    <message>
        <source>Scroll the window under the selection; move the pointer out of it to finish.</source>
        <translation>Scroll the window under the selection; move the pointer out of it to finish.</translation>
    </message>
</context>
</TS>
