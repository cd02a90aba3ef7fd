<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>SqlWorker</name>
    <message>
        <source>The settings file %1 cannot be opened (%2): changes to the settings are not kept.</source>
        <translation>The settings file %1 cannot be opened (%2): changes to the settings are not kept.</translation>
    </message>
    <message>
        <source>The settings file %1 is read-only: changes to the settings are not kept.</source>
        <translation>The settings file %1 is read-only: changes to the settings are not kept.</translation>
    </message>
    <message>
        <source>The settings file was damaged (%1). It was kept as %2 and new settings were made.</source>
        <translation>The settings file was damaged (%1). It was kept as %2 and new settings were made.</translation>
    </message>
    <message>
        <source>The settings file %1 is in use by another program. Until it is free, Mavu runs with the default settings, changes made meanwhile are not kept, and captures and files wait to be uploaded.</source>
        <translation>The settings file %1 is in use by another program. Until it is free, Mavu runs with the default settings, changes made meanwhile are not kept, and captures and files wait to be uploaded.</translation>
    </message>
</context>
<context>
    <name>Setting</name>
    <message>
        <source>Mavu does not keep its settings in its data folder: %1. Changes to the settings are lost when Mavu quits.</source>
        <translation>Mavu does not keep its settings in its data folder: %1. Changes to the settings are lost when Mavu quits.</translation>
    </message>
    <message>
        <source>Mavu neither uses nor empties a folder that is not its own: %1.</source>
        <translation>Mavu neither uses nor empties a folder that is not its own: %1.</translation>
    </message>
    <message>
        <source>The settings cannot be saved (%1): changes to the settings are not kept.</source>
        <translation>The settings cannot be saved (%1): changes to the settings are not kept.</translation>
    </message>
    <message>
        <source>The settings file %1 is in use by another program. Mavu goes on with the settings it has read and saves the changes once the file is free again.</source>
        <translation>The settings file %1 is in use by another program. Mavu goes on with the settings it has read and saves the changes once the file is free again.</translation>
    </message>
</context>
<context>
    <name>DataFolder</name>
    <message>
        <source>%1 is a link to %2</source>
        <translation>%1 is a link to %2</translation>
    </message>
    <message>
        <source>%1 belongs to another user</source>
        <translation>%1 belongs to another user</translation>
    </message>
</context>
</TS>
