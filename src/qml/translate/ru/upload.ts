<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ru_RU">
<context>
    <name>CurlTransfer</name>
    <message>
        <source>The server folder holds too many files named %1</source>
        <translation>В папке на сервере слишком много файлов с именем %1</translation>
    </message>
    <message>
        <source>Cannot read the file %1</source>
        <translation>Не удаётся прочитать файл %1</translation>
    </message>
    <message>
        <source>The folder %1 does not exist yet: the first upload creates it</source>
        <translation>Папки %1 ещё нет: её создаст первая загрузка</translation>
    </message>
    <message>
        <source>Upload canceled</source>
        <translation>Загрузка отменена</translation>
    </message>
    <message>
        <source>The host key of the server %1 has changed. The connection was refused: the server may be an impostor. If the server was reinstalled, remove its line from %2</source>
        <translation>Ключ сервера %1 изменился. Подключение отклонено: сервер может быть подменён. Если сервер был переустановлен, удалите его строку из %2</translation>
    </message>
    <message>
        <source>Wrong user name or password, or access denied</source>
        <translation>Неверное имя пользователя или пароль, либо доступ запрещён</translation>
    </message>
    <message>
        <source>Could not connect to the server %1</source>
        <translation>Не удалось подключиться к серверу %1</translation>
    </message>
    <message>
        <source>Upload error: %1</source>
        <translation>Ошибка загрузки: %1</translation>
    </message>
</context>
<context>
    <name>DropboxAuth</name>
    <message>
        <source>Dropbox sign-in is not available in this build</source>
        <translation>Вход в Dropbox недоступен в этой сборке</translation>
    </message>
    <message>
        <source>Cannot wait for the Dropbox sign-in on port %1</source>
        <translation>Не удалось ожидать входа в Dropbox на порту %1</translation>
    </message>
    <message>
        <source>Cannot open the browser for the Dropbox sign-in</source>
        <translation>Не удалось открыть браузер для входа в Dropbox</translation>
    </message>
</context>
<context>
    <name>HandleDropboxUpload</name>
    <message>
        <source>Sign in to Dropbox in the settings first</source>
        <translation>Сначала войдите в Dropbox в настройках</translation>
    </message>
    <message>
        <source>Could not connect to Dropbox</source>
        <translation>Не удалось подключиться к Dropbox</translation>
    </message>
</context>
<context>
    <name>HandleFTPUpload</name>
    <message>
        <source>The server is not set in the settings</source>
        <translation>Сервер не указан в настройках</translation>
    </message>
    <message>
        <source>SFTP connection</source>
        <translation>Подключение SFTP</translation>
    </message>
    <message>
        <source>FTP connection</source>
        <translation>Подключение FTP</translation>
    </message>
    <message>
        <source>Connection successful</source>
        <translation>Подключение выполнено</translation>
    </message>
</context>
<context>
    <name>HandlerUpload</name>
    <message>
        <source>Links to files outside the folder were left out of the archive: %1</source>
        <translation>Ссылки на файлы вне папки не вошли в архив: %1</translation>
    </message>
    <message>
        <source>The server returned a link that is no web address</source>
        <translation>Сервер вернул ссылку, которая не является веб-адресом</translation>
    </message>
    <message>
        <source>The server&apos;s answer could not be read</source>
        <translation>Не удалось прочитать ответ сервера</translation>
    </message>
    <message>
        <source>The server sent the upload to another address: it was refused</source>
        <translation>Сервер перенаправил загрузку на другой адрес: она отклонена</translation>
    </message>
    <message>
        <source>The server&apos;s answer was too large</source>
        <translation>Ответ сервера слишком велик</translation>
    </message>
    <message>
        <source>Screenshot</source>
        <translation>Скриншот</translation>
    </message>
    <message>
        <source>No file to upload</source>
        <translation>Нет файла для загрузки</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>Файл не найден: %1</translation>
    </message>
    <message>
        <source>The file %1 is empty</source>
        <translation>Файл %1 пуст</translation>
    </message>
    <message>
        <source>The folder %1 is empty</source>
        <translation>Папка %1 пуста</translation>
    </message>
    <message>
        <source>The server did not return a link</source>
        <translation>Сервер не вернул ссылку</translation>
    </message>
    <message>
        <source>The server did not accept your sign-in: sign in again</source>
        <translation>Сервер не принял вход: войдите снова</translation>
    </message>
    <message>
        <source>The file is too large for your account</source>
        <translation>Файл слишком велик для вашей учётной записи</translation>
    </message>
    <message>
        <source>Upload to the server failed (%1)</source>
        <translation>Ошибка загрузки на сервер (%1)</translation>
    </message>
    <message>
        <source>Cannot read the file %1</source>
        <translation>Не удаётся прочитать файл %1</translation>
    </message>
    <message>
        <source>The server stored %1 of %2 bytes</source>
        <translation>Сервер сохранил %1 из %2 байт</translation>
    </message>
    <message>
        <source>The server did not finish answering in time</source>
        <translation>Сервер не закончил ответ вовремя</translation>
    </message>
</context>
<context>
    <name>NetworkExchange</name>
    <message>
        <source>Max upload total size %1</source>
        <translation>Максимальный общий размер загрузки %1</translation>
    </message>
</context>
<context>
    <name>QDropbox</name>
    <message>
        <source>Dropbox sign-in failed: %1</source>
        <translation>Ошибка входа в Dropbox: %1</translation>
    </message>
    <message>
        <source>Dropbox account information failed: %1</source>
        <translation>Не удалось получить данные учётной записи Dropbox: %1</translation>
    </message>
    <message>
        <source>Dropbox sent a sign-in token that cannot be used</source>
        <translation>Dropbox прислал токен входа, который нельзя использовать</translation>
    </message>
</context>
<context>
    <name>QDropboxAuthSocket</name>
    <message>
        <source>Dropbox sign-in was not allowed</source>
        <translation>Вход в Dropbox не разрешён</translation>
    </message>
    <message>
        <source>Dropbox is connected to Mavu. You can close this page.</source>
        <translation>Dropbox подключён к Mavu. Эту страницу можно закрыть.</translation>
    </message>
    <message>
        <source>Dropbox sign-in did not complete.</source>
        <translation>Вход в Dropbox не завершён.</translation>
    </message>
</context>
<context>
    <name>QDropboxFile</name>
    <message>
        <source>Cannot read the file %1</source>
        <translation>Не удаётся прочитать файл %1</translation>
    </message>
    <message>
        <source>The Dropbox sign-in has expired: sign in to Dropbox again</source>
        <translation>Вход в Dropbox устарел: войдите в Dropbox снова</translation>
    </message>
    <message>
        <source>Dropbox refused the file: %1</source>
        <translation>Dropbox отклонил файл: %1</translation>
    </message>
    <message>
        <source>Dropbox stored %1 of %2 bytes</source>
        <translation>Dropbox сохранил %1 из %2 байт</translation>
    </message>
    <message>
        <source>Dropbox did not finish answering in time</source>
        <translation>Dropbox не закончил ответ вовремя</translation>
    </message>
</context>
<context>
    <name>ZipArchive</name>
    <message>
        <source>Cannot read the file %1</source>
        <translation>Не удаётся прочитать файл %1</translation>
    </message>
    <message>
        <source>Cannot write the archive: %1</source>
        <translation>Не удаётся записать архив: %1</translation>
    </message>
    <message>
        <source>Upload canceled</source>
        <translation>Загрузка отменена</translation>
    </message>
</context>
</TS>
