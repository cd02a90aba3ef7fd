<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>Core</name>
    <message>
        <source>Can&apos;t record the voice comment: %1</source>
        <translation>Can&apos;t record the voice comment: %1</translation>
    </message>
    <message>
        <source>Can&apos;t create the folder %1</source>
        <translation>Can&apos;t create the folder %1</translation>
    </message>
    <message>
        <source>The voice comment holds no sound: the capture goes without it</source>
        <translation>The voice comment holds no sound: the capture goes without it</translation>
    </message>
    <message>
        <source>The voice comment recording did not finish</source>
        <translation>The voice comment recording did not finish</translation>
    </message>
    <message>
        <source>Can&apos;t read the voice comment %1: %2</source>
        <translation>Can&apos;t read the voice comment %1: %2</translation>
    </message>
</context>
<context>
    <name>WaveRecorder</name>
    <message>
        <source>the microphone can&apos;t be used</source>
        <translation>the microphone can&apos;t be used</translation>
    </message>
</context>
<context>
    <name>AudioImageFile</name>
    <message>
        <source>The voice-comment library can&apos;t be loaded: %1</source>
        <translation>The voice-comment library can&apos;t be loaded: %1</translation>
    </message>
    <message>
        <source>%1 is not a voice comment</source>
        <translation>%1 is not a voice comment</translation>
    </message>
    <message>
        <source>The voice comment %1 is damaged</source>
        <translation>The voice comment %1 is damaged</translation>
    </message>
    <message>
        <source>Can&apos;t read the voice comment %1</source>
        <translation>Can&apos;t read the voice comment %1</translation>
    </message>
    <message>
        <source>The voice comment is too large</source>
        <translation>The voice comment is too large</translation>
    </message>
    <message>
        <source>Can&apos;t write the voice comment %1</source>
        <translation>Can&apos;t write the voice comment %1</translation>
    </message>
    <message>
        <source>The voice comment can&apos;t be played: no audio output takes its sound format</source>
        <translation>The voice comment can&apos;t be played: no audio output takes its sound format</translation>
    </message>
    <message>
        <source>The recording is not a WAVE file</source>
        <translation>The recording is not a WAVE file</translation>
    </message>
    <message>
        <source>The recording has a sample format that can&apos;t be read</source>
        <translation>The recording has a sample format that can&apos;t be read</translation>
    </message>
</context>
<context>
    <name>AudioImagePlayer</name>
    <message>
        <source>Mavu - voice comment</source>
        <translation>Mavu - voice comment</translation>
    </message>
    <message>
        <source>Voice comment</source>
        <translation>Voice comment</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Play</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Stop</translation>
    </message>
</context>
</TS>
