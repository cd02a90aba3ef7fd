<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>ProxyPage</name>
    <message>
        <source>The port must be a number from 1 to 65535</source>
        <translation>Порт должен быть числом от 1 до 65535</translation>
    </message>
    <message>
        <source>Proxy setting</source>
        <translation>Настройки прокси</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>Хост</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Порт</translation>
    </message>
    <message>
        <source>Login</source>
        <translation>Логин</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Пароль</translation>
    </message>
    <message>
        <source>Accept</source>
        <translation>Применить</translation>
    </message>
</context>
<context>
    <name>QuotaView</name>
    <message>
        <source>Usage</source>
        <translation>Использовано</translation>
    </message>
    <message>
        <source>of</source>
        <translation>из</translation>
    </message>
</context>
<context>
    <name>SettingPage</name>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Storage</source>
        <translation>Хранилище</translation>
    </message>
    <message>
        <source>Hot key</source>
        <translation>Горячие клавиши</translation>
    </message>
    <message>
        <source>Reset by default</source>
        <translation>Сбросить настройки</translation>
    </message>
    <message>
        <source>Accept</source>
        <translation>Применить</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
</context>
<context>
    <name>SettingsAuthDropboxPage</name>
    <message>
        <source>Authorization in dropbox</source>
        <translation>Войти в Dropbox</translation>
    </message>
    <message>
        <source>Logout</source>
        <translation>Выйти</translation>
    </message>
    <message>
        <source>If process uploaded throw error upload file on mavu</source>
        <translation>Если загрузка не удалась, загрузить файл на Mavu</translation>
    </message>
</context>
<context>
    <name>SettingsAuthFtpPage</name>
    <message>
        <source>The port must be a number from 1 to 65535</source>
        <translation>Порт должен быть числом от 1 до 65535</translation>
    </message>
    <message>
        <source>Host</source>
        <translation>Хост</translation>
    </message>
    <message>
        <source>Port</source>
        <translation>Порт</translation>
    </message>
    <message>
        <source>User</source>
        <translation>Пользователь</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Пароль</translation>
    </message>
    <message>
        <source>Upload path</source>
        <translation>Папка для загрузки</translation>
    </message>
    <message>
        <source>Base url</source>
        <translation>Базовый адрес</translation>
    </message>
    <message>
        <source>If process uploaded throw error upload file on mavu</source>
        <translation>Если загрузка не удалась, загрузить файл на Mavu</translation>
    </message>
    <message>
        <source>Check ftp connect</source>
        <translation>Проверить подключение</translation>
    </message>
</context>
<context>
    <name>SettingsAuthMavuPage</name>
    <message>
        <source>Logout</source>
        <translation>Выйти</translation>
    </message>
</context>
<context>
    <name>SettingsHotKeyDelegate</name>
    <message>
        <source>Change</source>
        <translation>Изменить</translation>
    </message>
    <message>
        <source>already in use</source>
        <translation>уже занято</translation>
    </message>
    <message>
        <source>Primary</source>
        <translation>Основные</translation>
    </message>
    <message>
        <source>Fragment screen</source>
        <translation>Снимок фрагмента</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Весь экран</translation>
    </message>
    <message>
        <source>Quick screen</source>
        <translation>Быстрый снимок</translation>
    </message>
    <message>
        <source>Secondary</source>
        <translation>Дополнительные</translation>
    </message>
    <message>
        <source>Ctrl + Enter - Send screenshot to selected storage</source>
        <translation>Ctrl + Enter - Отправить снимок в выбранное хранилище</translation>
    </message>
    <message>
        <source>Ctrl + C - Copy screenshot to clipboard</source>
        <translation>Ctrl + C - Скопировать снимок в буфер обмена</translation>
    </message>
    <message>
        <source>Ctrl + S - Save it to your computer</source>
        <translation>Ctrl + S - Сохранить на компьютер</translation>
    </message>
    <message>
        <source>Ctrl + C - Copy on clipboard #hex of color under cursor</source>
        <translation>Ctrl + C - Скопировать в буфер цвет под курсором (#hex)</translation>
    </message>
    <message>
        <source>Esc - Cancel the removal of a screenshot</source>
        <translation>Esc - Отменить снимок</translation>
    </message>
    <message>
        <source>Social</source>
        <translation>Социальные сети</translation>
    </message>
    <message>
        <source>Ctrl + Shift + F - Send screenshot to facebook</source>
        <translation>Ctrl + Shift + F - Отправить снимок в Facebook</translation>
    </message>
    <message>
        <source>Ctrl + Shift + T - Send screenshot to twitter</source>
        <translation>Ctrl + Shift + T - Отправить снимок в Twitter</translation>
    </message>
    <message>
        <source>Ctrl + Shift + V - Send screenshot to vkontakte</source>
        <translation>Ctrl + Shift + V - Отправить снимок ВКонтакте</translation>
    </message>
    <message>
        <source>Ctrl + Shift + O - Send screenshot to odnoklassniki</source>
        <translation>Ctrl + Shift + O - Отправить снимок в Одноклассники</translation>
    </message>
    <message>
        <source>Ctrl + Shift + E - Send screenshot to e-mail</source>
        <translation>Ctrl + Shift + E - Отправить снимок по почте</translation>
    </message>
</context>
<context>
    <name>SettingsSettingDelegate</name>
    <message>
        <source>Image quality</source>
        <translation>Качество изображения</translation>
    </message>
    <message>
        <source>Low</source>
        <translation>Низкое</translation>
    </message>
    <message>
        <source>Average</source>
        <translation>Среднее</translation>
    </message>
    <message>
        <source>High</source>
        <translation>Высокое</translation>
    </message>
    <message>
        <source>Additionally</source>
        <translation>Дополнительно</translation>
    </message>
    <message>
        <source>Run application on system boot</source>
        <translation>Запускать при загрузке системы</translation>
    </message>
    <message>
        <source>Use proxy</source>
        <translation>Использовать прокси</translation>
    </message>
    <message>
        <source>Save screen copy to select folder</source>
        <translation>Сохранять копию снимка в выбранную папку</translation>
    </message>
    <message>
        <source>Change</source>
        <translation>Изменить</translation>
    </message>
    <message>
        <source>Show upload process to server</source>
        <translation>Показывать ход загрузки на сервер</translation>
    </message>
    <message>
        <source>Show information window after download</source>
        <translation>Показывать окно с информацией после загрузки</translation>
    </message>
    <message>
        <source>Use in the screenshot name title of the active window</source>
        <translation>Использовать в имени снимка заголовок активного окна</translation>
    </message>
    <message>
        <source>Receive a direct link to a screenshot or a file</source>
        <translation>Получать прямую ссылку на снимок или файл</translation>
    </message>
    <message>
        <source>Show magnifier at the select rect</source>
        <translation>Показывать лупу при выделении</translation>
    </message>
    <message>
        <source>Prevent the closure of the window screenshot</source>
        <translation>Спрашивать перед закрытием окна снимка</translation>
    </message>
    <message>
        <source>Language</source>
        <translation>Язык</translation>
    </message>
</context>
</TS>
