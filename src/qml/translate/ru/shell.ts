<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>Core</name>
    <message>
        <source>Autorization</source>
        <translation>Авторизация</translation>
    </message>
    <message>
        <source>Capture fragment</source>
        <translation>Фрагмент экрана</translation>
    </message>
    <message>
        <source>Capture fullscreen</source>
        <translation>Снимок экрана целиком</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>History</source>
        <translation>История</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Помощь</translation>
    </message>
    <message>
        <source>Quit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>Open last link</source>
        <translation>Открыть последнюю ссылку</translation>
    </message>
    <message>
        <source>Copy last link</source>
        <translation>Скопировать последнюю ссылку</translation>
    </message>
    <message>
        <source>Internet is not available</source>
        <translation>Нет доступа к интернету</translation>
    </message>
    <message>
        <source>Warning</source>
        <translation>Внимание</translation>
    </message>
    <message>
        <source>Internet is not available. Save file to disk ?</source>
        <translation>Нет доступа к интернету. Сохранить на диск?</translation>
    </message>
    <message>
        <source>Hey! I Mavu. The faster program to create screenshots and transfer files over a network. Are you forgot for me ? Let`s do screenshot!</source>
        <translation>Привет! Я Mavu. Самая быстрая программа для создания скриншотов и обмена файлами по сети.
Ты забыл про меня? Давай сделаем скриншот!</translation>
    </message>
    <message>
        <source>Hotkeys</source>
        <translation>Горячие клавиши</translation>
    </message>
    <message>
        <source>These hotkeys do not work: %1. Another program holds them, or this desktop does not allow global hotkeys. Choose other keys on the &quot;Hot key&quot; tab of the settings.</source>
        <translation>Эти горячие клавиши не работают: %1. Их занимает другая программа, или этот рабочий стол не разрешает глобальные горячие клавиши. Выберите другие клавиши на вкладке «Горячие клавиши» в настройках.</translation>
    </message>
</context>
<context>
    <name>MessageDialog</name>
    <message>
        <source>Ok</source>
        <translation>Ок</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>ErrorDialog</name>
    <message>
        <source>Error</source>
        <translation>Ошибка</translation>
    </message>
    <message>
        <source>Save</source>
        <translation>Сохранить</translation>
    </message>
</context>
<context>
    <name>SettingWidget</name>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
</context>
<context>
    <name>UploadWidget</name>
    <message>
        <source>Upload</source>
        <translation>Загрузка</translation>
    </message>
</context>
</TS>
