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
    <message>
        <source>Wrong password</source>
        <translation>Wrong password</translation>
    </message>
    <message>
        <source>Passwords do not match</source>
        <translation>Passwords do not match</translation>
    </message>
    <message>
        <source>Password is empty</source>
        <translation>Please enter a password</translation>
    </message>
    <message>
        <source>Confirm password is empty</source>
        <translation>Please confirm the password</translation>
    </message>
    <message>
        <source>Error start socket</source>
        <translation>Could not start the local sign-in listener</translation>
    </message>
    <message>
        <source>E-mail is already registered</source>
        <translation>This E-mail address is already registered</translation>
    </message>
    <message>
        <source>Password is not accepted</source>
        <translation>The password was not accepted</translation>
    </message>
    <message>
        <source>The service sent a sign-in token that cannot be used</source>
        <translation>The service sent a sign-in token that cannot be used</translation>
    </message>
    <message>
        <source>The local sign-in listener could not start: signing in through the browser is not available. Mavu keeps running.</source>
        <translation>The local sign-in listener could not start: signing in through the browser is not available. Mavu keeps running.</translation>
    </message>
</context>
<context>
    <name>Session</name>
    <message>
        <source>The service&apos;s certificate was refused: %1</source>
        <translation>The service&apos;s certificate was refused: %1</translation>
    </message>
</context>
</TS>
