<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Core</name>
    <message>
        <source>The capture is empty: nothing was uploaded</source>
        <translation>The capture is empty, so nothing was uploaded</translation>
    </message>
    <message>
        <source>Can&apos;t write the capture: %1</source>
        <translation>Could not write the capture: %1</translation>
    </message>
    <message>
        <source>Save file</source>
        <translation>Save</translation>
    </message>
    <message>
        <source>The capture is empty: nothing was saved</source>
        <translation>The capture is empty, so nothing was saved</translation>
    </message>
    <message>
        <source>Can&apos;t save file %1: %2</source>
        <translation>Could not save the file %1: %2</translation>
    </message>
    <message>
        <source>Can&apos;t encode the %1x%2 px capture: nothing was uploaded</source>
        <translation>Could not encode the %1x%2 px capture, so nothing was uploaded</translation>
    </message>
    <message>
        <source>Can&apos;t encode the %1x%2 px capture: nothing was saved</source>
        <translation>Could not encode the %1x%2 px capture, so nothing was saved</translation>
    </message>
    <message>
        <source>Can&apos;t encode the %1x%2 px capture: nothing was copied</source>
        <translation>Could not encode the %1x%2 px capture, so nothing was copied</translation>
    </message>
    <message>
        <source>Select folder</source>
        <translation>Select folder</translation>
    </message>
    <message>
        <source>The history page cannot be opened: %1</source>
        <translation>The history page cannot be opened: %1</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>File not found: %1</translation>
    </message>
    <message>
        <source>Can&apos;t read the screen: nothing was uploaded</source>
        <translation>Could not read the screen, so nothing was uploaded</translation>
    </message>
    <message>
        <source>Can&apos;t read the screen: nothing was saved</source>
        <translation>Could not read the screen, so nothing was saved</translation>
    </message>
    <message>
        <source>Can&apos;t read the screen: nothing was copied</source>
        <translation>Could not read the screen, so nothing was copied</translation>
    </message>
    <message>
        <source>The capture %1 was not uploaded before Mavu closed.</source>
        <translation>The capture %1 was not uploaded before Mavu closed.</translation>
    </message>
    <message>
        <source>The settings file is in use by another program: the upload waits until it is free.</source>
        <translation>The settings file is in use by another program: the upload waits until it is free.</translation>
    </message>
</context>
</TS>
