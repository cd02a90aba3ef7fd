<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>RegistrationPage</name>
    <message>
        <source>To get started, enter e-mail</source>
        <translation>Для начала работы введите e-mail</translation>
    </message>
    <message>
        <source>Registration from mavu</source>
        <translation>Регистрация в Mavu</translation>
    </message>
    <message>
        <source>Password</source>
        <translation>Пароль</translation>
    </message>
    <message>
        <source>Recovery password</source>
        <translation>Восстановить пароль</translation>
    </message>
    <message>
        <source>Confirm password</source>
        <translation>Подтверждение пароля</translation>
    </message>
    <message>
        <source>Next</source>
        <translation>Далее</translation>
    </message>
    <message>
        <source>Enter to mavu</source>
        <translation>Войти в Mavu</translation>
    </message>
    <message>
        <source>Registration</source>
        <translation>Зарегистрироваться</translation>
    </message>
    <message>
        <source>Proxy setting</source>
        <translation>Настройки прокси</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Назад</translation>
    </message>
    <message>
        <source>Wellcome to Mavu,</source>
        <translation>Добро пожаловать в Mavu,</translation>
    </message>
    <message>
        <source>Start use mavu</source>
        <translation>Начать работу с Mavu</translation>
    </message>
    <message>
        <source>You can enter a Mavu using one of the social networks</source>
        <translation>Вы можете войти в Mavu через одну из социальных сетей</translation>
    </message>
</context>
<context>
    <name>MainToolPage</name>
    <message>
        <source>Fragment</source>
        <translation>Фрагмент</translation>
    </message>
    <message>
        <source>Capture fragment screen</source>
        <translation>Снимок фрагмента экрана</translation>
    </message>
    <message>
        <source>Full screen</source>
        <translation>Весь экран</translation>
    </message>
    <message>
        <source>Fullscreen - capture full screen</source>
        <translation>Весь экран - снимок всего экрана</translation>
    </message>
    <message>
        <source>History</source>
        <translation>История</translation>
    </message>
    <message>
        <source>History - show history</source>
        <translation>История - показать историю</translation>
    </message>
    <message>
        <source>Settings</source>
        <translation>Настройки</translation>
    </message>
    <message>
        <source>Settings - show settings</source>
        <translation>Настройки - показать настройки</translation>
    </message>
    <message>
        <source>Last upload</source>
        <translation>Последняя загрузка</translation>
    </message>
    <message>
        <source>To get started with Mavu you must log</source>
        <translation>Чтобы начать работу с Mavu, войдите в свою учётную запись</translation>
    </message>
    <message>
        <source>Enter to mavu</source>
        <translation>Войти в Mavu</translation>
    </message>
    <message>
        <source>Exit</source>
        <translation>Выход</translation>
    </message>
    <message>
        <source>Help</source>
        <translation>Помощь</translation>
    </message>
</context>
<context>
    <name>LastLinkButtons</name>
    <message>
        <source>Open</source>
        <translation>Открыть</translation>
    </message>
    <message>
        <source>Open link in the last screenshot/file</source>
        <translation>Открыть ссылку на последний снимок или файл</translation>
    </message>
    <message>
        <source>Copy</source>
        <translation>Копировать</translation>
    </message>
    <message>
        <source>Copy link of the last screenshot/file</source>
        <translation>Скопировать ссылку на последний снимок или файл</translation>
    </message>
</context>
<context>
    <name>UploadPage</name>
    <message>
        <source>Upload</source>
        <translation>Загрузка</translation>
    </message>
    <message>
        <source>Upload...</source>
        <translation>Загрузка...</translation>
    </message>
    <message>
        <source>Link already in the clipboard</source>
        <translation>Ссылка уже в буфере обмена</translation>
    </message>
    <message>
        <source>Archive...</source>
        <translation>Архивация...</translation>
    </message>
    <message>
        <source>Cancel</source>
        <translation>Отмена</translation>
    </message>
    <message>
        <source>Do not show this window</source>
        <translation>Больше не показывать это окно</translation>
    </message>
</context>
<context>
    <name>LastUploadPage</name>
    <message>
        <source>Upload complete</source>
        <translation>Загрузка завершена</translation>
    </message>
    <message>
        <source>Do not show this window</source>
        <translation>Больше не показывать это окно</translation>
    </message>
</context>
</TS>
