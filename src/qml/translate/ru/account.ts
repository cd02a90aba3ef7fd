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
</context>
</TS>
