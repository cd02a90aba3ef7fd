<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Autorization</name>
    <message>
        <source>Internet connect not found</source>
        <translation>Internet connection not found</translation>
    </message>
    <message>
        <source>E-mail is not valid</source>
        <translation>Please enter a valid E-mail address</translation>
    </message>
    <message>
        <source>No password</source>
        <translation>Please enter a password</translation>
    </message>
</context>
</TS>
