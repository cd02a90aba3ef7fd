<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>Core</name>
    <message>
        <source>Can&apos;t record the voice comment: %1</source>
        <translation>Не удалось записать голосовой комментарий: %1</translation>
    </message>
    <message>
        <source>Can&apos;t create the folder %1</source>
        <translation>Не удалось создать папку %1</translation>
    </message>
    <message>
        <source>The voice comment holds no sound: the capture goes without it</source>
        <translation>Голосовой комментарий не содержит звука: снимок остаётся без него</translation>
    </message>
    <message>
        <source>The voice comment recording did not finish</source>
        <translation>Запись голосового комментария не завершилась</translation>
    </message>
    <message>
        <source>Can&apos;t read the voice comment %1: %2</source>
        <translation>Не удалось прочитать голосовой комментарий %1: %2</translation>
    </message>
</context>
<context>
    <name>WaveRecorder</name>
    <message>
        <source>the microphone can&apos;t be used</source>
        <translation>микрофоном невозможно воспользоваться</translation>
    </message>
    <message>
        <source>%1. The recording stopped; the comment keeps the sound recorded before.</source>
        <translation>%1. Запись остановлена; в комментарии останется звук, записанный до этого.</translation>
    </message>
</context>
<context>
    <name>AudioImageFile</name>
    <message>
        <source>The voice-comment library can&apos;t be loaded: %1</source>
        <translation>Не удалось загрузить библиотеку голосовых комментариев: %1</translation>
    </message>
    <message>
        <source>%1 is not a voice comment</source>
        <translation>%1 не является голосовым комментарием</translation>
    </message>
    <message>
        <source>The voice comment %1 is damaged</source>
        <translation>Голосовой комментарий %1 повреждён</translation>
    </message>
    <message>
        <source>Can&apos;t read the voice comment %1</source>
        <translation>Не удалось прочитать голосовой комментарий %1</translation>
    </message>
    <message>
        <source>The voice comment is too large</source>
        <translation>Голосовой комментарий слишком велик</translation>
    </message>
    <message>
        <source>Can&apos;t write the voice comment %1</source>
        <translation>Не удалось записать голосовой комментарий %1</translation>
    </message>
    <message>
        <source>The voice comment can&apos;t be played: no audio output takes its sound format</source>
        <translation>Голосовой комментарий не воспроизвести: ни один аудиовыход не принимает его формат звука</translation>
    </message>
    <message>
        <source>The recording is not a WAVE file</source>
        <translation>Запись не является файлом WAVE</translation>
    </message>
    <message>
        <source>The recording has a sample format that can&apos;t be read</source>
        <translation>Формат отсчётов записи не читается</translation>
    </message>
</context>
<context>
    <name>AudioImagePlayer</name>
    <message>
        <source>Mavu - voice comment</source>
        <translation>Mavu - голосовой комментарий</translation>
    </message>
    <message>
        <source>Voice comment</source>
        <translation>Голосовой комментарий</translation>
    </message>
    <message>
        <source>Play</source>
        <translation>Воспроизвести</translation>
    </message>
    <message>
        <source>Stop</source>
        <translation>Стоп</translation>
    </message>
</context>
</TS>
