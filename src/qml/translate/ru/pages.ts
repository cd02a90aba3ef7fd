<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>PushButton</name>
    <message>
        <source>Push button</source>
        <translation>Кнопка</translation>
    </message>
</context>
<context>
    <name>HootKeyInput</name>
    <message>
        <source>Press a key combination</source>
        <translation>Нажмите сочетание клавиш</translation>
    </message>
    <message>
        <source>Esc for cancel</source>
        <translation>Esc для отмены</translation>
    </message>
</context>
<context>
    <name>useful</name>
    <message>
        <source>KB</source>
        <translation>КБ</translation>
    </message>
    <message>
        <source>MB</source>
        <translation>МБ</translation>
    </message>
    <message>
        <source>GB</source>
        <translation>ГБ</translation>
    </message>
</context>
<context>
    <name>ToolBar</name>
    <message>
        <source>&lt;b&gt;Tool Move and transform&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Перемещение и трансформация»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>Space - Switching to tool "Move"</source>
        <translation>Пробел - переключение на инструмент «Перемещение»</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Pen&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Карандаш»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>+ Shift - Drawing a straight line</source>
        <translation>+ Shift - прямая линия</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Marker&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Маркер»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Line&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Линия»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>+ Shift - drawing a straight line at angles of 45°.</source>
        <translation>+ Shift - линия под углами, кратными 45°.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Arrow&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Стрелка»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>+ Shift - drawing arrows at angles of 45°.</source>
        <translation>+ Shift - стрелка под углами, кратными 45°.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Text&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Текст»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>When you move the mouse while pressing the pre-draws an arrow pointing to the location.</source>
        <translation>Если вести мышь с нажатой кнопкой, к тексту дорисуется стрелка, указывающая на место.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Ellipse&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Эллипс»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>+ Shift - draw circle.
+ Ctrl - draws a filled.</source>
        <translation>+ Shift - круг.
+ Ctrl - с заливкой.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Rectangle&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Прямоугольник»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>+ Shift - draw square.
+ Ctrl - draws a filled.</source>
        <translation>+ Shift - квадрат.
+ Ctrl - с заливкой.</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Counter&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Счётчик»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Blur&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Размытие»&lt;/b&gt;</translation>
    </message>
    <message>
        <source>&lt;b&gt;Tool Blackout&lt;/b&gt;</source>
        <translation>&lt;b&gt;Инструмент «Затемнение»&lt;/b&gt;</translation>
    </message>
</context>
<context>
    <name>ToolBarDropPanel</name>
    <message>
        <source>Substrate</source>
        <translation>Подложка</translation>
    </message>
</context>
<context>
    <name>ToolBarMenu</name>
    <message>
        <source>Public</source>
        <translation>Опубликовать</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Сохранить</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Копировать</translation>
    </message>
    <message>
        <source>Vkontakte</source>
        <translation>ВКонтакте</translation>
    </message>
    <message>
        <source>Odnoklassniki</source>
        <translation>Одноклассники</translation>
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
        <translation>Эл. почта</translation>
    </message>
</context>
<context>
    <name>ScrollHint</name>
    <message>
        <source>Press "Play" and use wheel or application scroll and drop his down</source>
        <translation>Нажмите «Play» и прокручивайте колесом мыши или полосой прокрутки приложения вниз</translation>
    </message>
</context>
<context>
    <name>CloseConfirmBox</name>
    <message>
        <source>Cancel screen capture? All changes whill be lost!</source>
        <translation>Отменить снимок экрана? Все изменения будут потеряны!</translation>
    </message>
    <message>
        <source>Yes</source>
        <translation>Да</translation>
    </message>
    <message>
        <source>No</source>
        <translation>Нет</translation>
    </message>
    <message>
        <source>Do not show this window</source>
        <translation>Больше не показывать это окно</translation>
    </message>
</context>
<context>
    <name>PonoramErrorNotice</name>
    <message>
        <source>The scrolling capture stopped at the largest picture that can still be saved: the picture ends with the last frame that fitted.</source>
        <translation>Съёмка с прокруткой остановлена на наибольшем снимке, который ещё можно сохранить: снимок заканчивается последним подошедшим кадром.</translation>
    </message>
    <message>
        <source>The scrolling capture lost its place and stopped: the picture ends with the last frame that fitted.</source>
        <translation>Съёмка с прокруткой сбилась и остановлена: снимок заканчивается последним подошедшим кадром.</translation>
    </message>
</context>
<context>
    <name>PonoramButton</name>
    <message>
        <source>&lt;b&gt;Scrolling capture&lt;/b&gt;</source>
        <translation>&lt;b&gt;Съёмка с прокруткой&lt;/b&gt;</translation>
    </message>
    <message>
        <source>Scroll the window under the selection; move the pointer out of it to finish.</source>
        <translation>Прокручивайте окно под выделением; чтобы закончить, уведите указатель за его пределы.</translation>
    </message>
</context>
</TS>
