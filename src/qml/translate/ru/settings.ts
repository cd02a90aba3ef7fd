<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>SqlWorker</name>
    <message>
        <source>The settings file %1 cannot be opened (%2): changes to the settings are not kept.</source>
        <translation>Не удалось открыть файл настроек %1 (%2): изменения настроек не сохраняются.</translation>
    </message>
    <message>
        <source>The settings file %1 is read-only: changes to the settings are not kept.</source>
        <translation>Файл настроек %1 доступен только для чтения: изменения настроек не сохраняются.</translation>
    </message>
    <message>
        <source>The settings file was damaged (%1). It was kept as %2 and new settings were made.</source>
        <translation>Файл настроек был повреждён (%1). Он сохранён как %2, созданы новые настройки.</translation>
    </message>
    <message>
        <source>The settings file %1 is in use by another program. Until it is free, Mavu runs with the default settings, changes made meanwhile are not kept, and captures and files wait to be uploaded.</source>
        <translation>Файл настроек %1 занят другой программой. Пока он не освободится, Mavu работает с настройками по умолчанию, сделанные за это время изменения не сохраняются, а снимки и файлы ждут отправки.</translation>
    </message>
</context>
<context>
    <name>Setting</name>
    <message>
        <source>Mavu does not keep its settings in its data folder: %1. Changes to the settings are lost when Mavu quits.</source>
        <translation>Mavu не хранит настройки в своей папке данных: %1. Изменения настроек пропадут после выхода из Mavu.</translation>
    </message>
    <message>
        <source>Mavu neither uses nor empties a folder that is not its own: %1.</source>
        <translation>Mavu не использует и не очищает чужую папку: %1.</translation>
    </message>
    <message>
        <source>The settings cannot be saved (%1): changes to the settings are not kept.</source>
        <translation>Не удалось сохранить настройки (%1): изменения настроек не сохраняются.</translation>
    </message>
    <message>
        <source>The autostart entry %1 cannot be written (%2): Mavu may not start when you log in.</source>
        <translation>Не удалось записать файл автозапуска %1 (%2): Mavu может не запуститься при входе в систему.</translation>
    </message>
    <message>
        <source>The settings file %1 is in use by another program. Mavu goes on with the settings it has read and saves the changes once the file is free again.</source>
        <translation>Файл настроек %1 занят другой программой. Mavu продолжает работу с уже прочитанными настройками и сохранит изменения, когда файл освободится.</translation>
    </message>
</context>
<context>
    <name>DataFolder</name>
    <message>
        <source>%1 is a link to %2</source>
        <translation>%1 — ссылка на %2</translation>
    </message>
    <message>
        <source>%1 belongs to another user</source>
        <translation>%1 принадлежит другому пользователю</translation>
    </message>
</context>
</TS>
