<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>Core</name>
    <message>
        <source>The capture is empty: nothing was uploaded</source>
        <translation>Снимок пуст: ничего не отправлено</translation>
    </message>
    <message>
        <source>Can&apos;t write the capture: %1</source>
        <translation>Не удалось записать снимок: %1</translation>
    </message>
    <message>
        <source>Save file</source>
        <translation>Сохранить файл</translation>
    </message>
    <message>
        <source>The capture is empty: nothing was saved</source>
        <translation>Снимок пуст: ничего не сохранено</translation>
    </message>
    <message>
        <source>Can&apos;t save file %1: %2</source>
        <translation>Не удалось сохранить файл %1: %2</translation>
    </message>
    <message>
        <source>Can&apos;t encode the %1x%2 px capture: nothing was uploaded</source>
        <translation>Не удалось закодировать снимок %1x%2 пикс.: ничего не отправлено</translation>
    </message>
    <message>
        <source>Can&apos;t encode the %1x%2 px capture: nothing was saved</source>
        <translation>Не удалось закодировать снимок %1x%2 пикс.: ничего не сохранено</translation>
    </message>
    <message>
        <source>Can&apos;t encode the %1x%2 px capture: nothing was copied</source>
        <translation>Не удалось закодировать снимок %1x%2 пикс.: ничего не скопировано</translation>
    </message>
    <message>
        <source>Select folder</source>
        <translation>Выберите папку</translation>
    </message>
    <message>
        <source>The capture was not lost: press &quot;Save&quot; to save it to disk.</source>
        <translation>Снимок не потерян: нажмите «Сохранить», чтобы сохранить его на диск.</translation>
    </message>
    <message>
        <source>Can&apos;t read the capture %1: %2</source>
        <translation>Не удалось прочитать снимок %1: %2</translation>
    </message>
    <message>
        <source>it holds no picture</source>
        <translation>в нём нет изображения</translation>
    </message>
    <message>
        <source>Can&apos;t read the screen: nothing was uploaded</source>
        <translation>Не удалось прочитать экран: ничего не отправлено</translation>
    </message>
    <message>
        <source>Can&apos;t read the screen: nothing was saved</source>
        <translation>Не удалось прочитать экран: ничего не сохранено</translation>
    </message>
    <message>
        <source>Can&apos;t read the screen: nothing was copied</source>
        <translation>Не удалось прочитать экран: ничего не скопировано</translation>
    </message>
    <message>
        <source>The capture %1 was not uploaded before Mavu closed.</source>
        <translation>Снимок %1 не был загружен до закрытия Mavu.</translation>
    </message>
    <message>
        <source>Waiting after it: %1 more.</source>
        <translation>После него ждут ещё: %1.</translation>
    </message>
    <message>
        <source>The capture is not kept after Mavu closes: press &quot;Save&quot; to save it to disk now.</source>
        <translation>Снимок не сохранится после закрытия Mavu: нажмите «Сохранить», чтобы сохранить его на диск сейчас.</translation>
    </message>
    <message>
        <source>Can&apos;t keep the capture in %1 until it is uploaded: %2</source>
        <translation>Не удалось сохранить снимок в %1 до окончания загрузки: %2</translation>
    </message>
    <message>
        <source>the folder cannot be made</source>
        <translation>не удалось создать папку</translation>
    </message>
    <message>
        <source>its lock %1 cannot be written</source>
        <translation>не удалось записать его блокировку %1</translation>
    </message>
    <message>
        <source>%1 already exists</source>
        <translation>%1 уже существует</translation>
    </message>
    <message>
        <source>The history page cannot be opened: %1</source>
        <translation>Не удалось открыть страницу истории: %1</translation>
    </message>
    <message>
        <source>no program to open web pages could be started (xdg-open)</source>
        <translation>не удалось запустить программу для открытия веб-страниц (xdg-open)</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>Файл не найден: %1</translation>
    </message>
    <message>
        <source>The settings file is in use by another program: the upload waits until it is free.</source>
        <translation>Файл настроек занят другой программой: отправка ждёт, пока он не освободится.</translation>
    </message>
    <message>
        <source>%1 is a folder</source>
        <translation>%1 — это папка</translation>
    </message>
    <message>
        <source>%1 can be neither read nor replaced</source>
        <translation>%1 нельзя ни прочитать, ни заменить</translation>
    </message>
    <message>
        <source>These captures were not uploaded before Mavu closed and cannot be offered:</source>
        <translation>Эти снимки не были загружены до закрытия Mavu, и предложить их нельзя:</translation>
    </message>
    <message>
        <source>And %1 more.</source>
        <translation>И ещё %1.</translation>
    </message>
    <message>
        <source>They stay in the unsent folder.</source>
        <translation>Они остаются в папке неотправленных.</translation>
    </message>
    <message>
        <source>The link %1 cannot be opened: %2</source>
        <translation>Не удалось открыть ссылку %1: %2</translation>
    </message>
</context>
</TS>
