<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>Autorization</name>
    <message>
        <source>Internet connect not found</source>
        <translation>Не найдено подключение к интернету</translation>
    </message>
    <message>
        <source>E-mail is not valid</source>
        <translation>Неверный адрес электронной почты</translation>
    </message>
    <message>
        <source>No password</source>
        <translation>Не указан пароль</translation>
    </message>
    <message>
        <source>Wrong password</source>
        <translation>Неверный пароль</translation>
    </message>
    <message>
        <source>Passwords do not match</source>
        <translation>Пароли не совпадают</translation>
    </message>
    <message>
        <source>Password is empty</source>
        <translation>Пароль не указан</translation>
    </message>
    <message>
        <source>Confirm password is empty</source>
        <translation>Не указано подтверждение пароля</translation>
    </message>
    <message>
        <source>Error start socket</source>
        <translation>Не удалось запустить локальный сервер авторизации</translation>
    </message>
    <message>
        <source>E-mail is already registered</source>
        <translation>Этот адрес электронной почты уже зарегистрирован</translation>
    </message>
    <message>
        <source>Password is not accepted</source>
        <translation>Пароль не принят</translation>
    </message>
    <message>
        <source>The service sent a sign-in token that cannot be used</source>
        <translation>Сервис выдал ключ входа, которым нельзя пользоваться</translation>
    </message>
    <message>
        <source>The local sign-in listener could not start: signing in through the browser is not available. Mavu keeps running.</source>
        <translation>Не удалось запустить локальный сервер авторизации: вход через браузер недоступен. Mavu продолжает работу.</translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message>
        <source>The service&apos;s certificate was refused: %1</source>
        <translation>Сертификат сервиса отклонён: %1</translation>
    </message>
</context>
</TS>
