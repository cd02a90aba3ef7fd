<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="en_US">
<context>
    <name>CurlTransfer</name>
    <message>
        <source>The server folder holds too many files named %1</source>
        <translation>The server folder holds too many files named %1</translation>
    </message>
    <message>
        <source>Cannot read the file %1</source>
        <translation>Cannot read the file %1</translation>
    </message>
    <message>
        <source>The folder %1 does not exist yet: the first upload creates it</source>
        <translation>The folder %1 does not exist yet: the first upload creates it</translation>
    </message>
    <message>
        <source>Upload canceled</source>
        <translation>Upload canceled</translation>
    </message>
    <message>
        <source>The host key of the server %1 has changed. The connection was refused: the server may be an impostor. If the server was reinstalled, remove its line from %2</source>
        <translation>The host key of the server %1 has changed. The connection was refused: the server may be an impostor. If the server was reinstalled, remove its line from %2</translation>
    </message>
    <message>
        <source>Wrong user name or password, or access denied</source>
        <translation>Wrong user name or password, or access denied</translation>
    </message>
    <message>
        <source>Could not connect to the server %1</source>
        <translation>Could not connect to the server %1</translation>
    </message>
    <message>
        <source>Upload error: %1</source>
        <translation>Upload error: %1</translation>
    </message>
</context>
<context>
    <name>DropboxAuth</name>
    <message>
        <source>Dropbox sign-in is not available in this build</source>
        <translation>Dropbox sign-in is not available in this build</translation>
    </message>
    <message>
        <source>Cannot wait for the Dropbox sign-in on port %1</source>
        <translation>Cannot wait for the Dropbox sign-in on port %1</translation>
    </message>
    <message>
        <source>Cannot open the browser for the Dropbox sign-in</source>
        <translation>Cannot open the browser for the Dropbox sign-in</translation>
    </message>
</context>
<context>
    <name>HandleDropboxUpload</name>
    <message>
        <source>Sign in to Dropbox in the settings first</source>
        <translation>Sign in to Dropbox in the settings first</translation>
    </message>
    <message>
        <source>Could not connect to Dropbox</source>
        <translation>Could not connect to Dropbox</translation>
    </message>
</context>
<context>
    <name>HandleFTPUpload</name>
    <message>
        <source>The server is not set in the settings</source>
        <translation>The server is not set in the settings</translation>
    </message>
    <message>
        <source>SFTP connection</source>
        <translation>SFTP connection</translation>
    </message>
    <message>
        <source>FTP connection</source>
        <translation>FTP connection</translation>
    </message>
    <message>
        <source>Connection successful</source>
        <translation>Connection successful</translation>
    </message>
</context>
<context>
    <name>HandlerUpload</name>
    <message>
        <source>Links to files outside the folder were left out of the archive: %1</source>
        <translation>Links to files outside the folder were left out of the archive: %1</translation>
    </message>
    <message>
        <source>The server returned a link that is no web address</source>
        <translation>The server returned a link that is no web address</translation>
    </message>
    <message>
        <source>The server&apos;s answer could not be read</source>
        <translation>The server&apos;s answer could not be read</translation>
    </message>
    <message>
        <source>The server sent the upload to another address: it was refused</source>
        <translation>The server sent the upload to another address: it was refused</translation>
    </message>
    <message>
        <source>The server&apos;s answer was too large</source>
        <translation>The server&apos;s answer was too large</translation>
    </message>
    <message>
        <source>Screenshot</source>
        <translation>Screenshot</translation>
    </message>
    <message>
        <source>No file to upload</source>
        <translation>No file to upload</translation>
    </message>
    <message>
        <source>File not found: %1</source>
        <translation>File not found: %1</translation>
    </message>
    <message>
        <source>The file %1 is empty</source>
        <translation>The file %1 is empty</translation>
    </message>
    <message>
        <source>The folder %1 is empty</source>
        <translation>The folder %1 is empty</translation>
    </message>
    <message>
        <source>The server did not return a link</source>
        <translation>The server did not return a link</translation>
    </message>
    <message>
        <source>The server did not accept your sign-in: sign in again</source>
        <translation>The server did not accept your sign-in: sign in again</translation>
    </message>
    <message>
        <source>The file is too large for your account</source>
        <translation>The file is too large for your account</translation>
    </message>
    <message>
        <source>Upload to the server failed (%1)</source>
        <translation>Upload to the server failed (%1)</translation>
    </message>
    <message>
        <source>Cannot read the file %1</source>
        <translation>Cannot read the file %1</translation>
    </message>
    <message>
        <source>The server stored %1 of %2 bytes</source>
        <translation>The server stored %1 of %2 bytes</translation>
    </message>
    <message>
        <source>The server did not finish answering in time</source>
        <translation>The server did not finish answering in time</translation>
    </message>
</context>
<context>
    <name>NetworkExchange</name>
    <message>
        <source>Max upload total size %1</source>
        <translation>Max upload total size %1</translation>
    </message>
</context>
<context>
    <name>QDropbox</name>
    <message>
        <source>Dropbox sign-in failed: %1</source>
        <translation>Dropbox sign-in failed: %1</translation>
    </message>
    <message>
        <source>Dropbox account information failed: %1</source>
        <translation>Dropbox account information failed: %1</translation>
    </message>
    <message>
        <source>Dropbox sent a sign-in token that cannot be used</source>
        <translation>Dropbox sent a sign-in token that cannot be used</translation>
    </message>
</context>
<context>
    <name>QDropboxAuthSocket</name>
    <message>
        <source>Dropbox sign-in was not allowed</source>
        <translation>Dropbox sign-in was not allowed</translation>
    </message>
    <message>
        <source>Dropbox is connected to Mavu. You can close this page.</source>
        <translation>Dropbox is connected to Mavu. You can close this page.</translation>
    </message>
    <message>
        <source>Dropbox sign-in did not complete.</source>
        <translation>Dropbox sign-in did not complete.</translation>
    </message>
</context>
<context>
    <name>QDropboxFile</name>
    <message>
        <source>Cannot read the file %1</source>
        <translation>Cannot read the file %1</translation>
    </message>
    <message>
        <source>The Dropbox sign-in has expired: sign in to Dropbox again</source>
        <translation>The Dropbox sign-in has expired: sign in to Dropbox again</translation>
    </message>
    <message>
        <source>Dropbox refused the file: %1</source>
        <translation>Dropbox refused the file: %1</translation>
    </message>
    <message>
        <source>Dropbox stored %1 of %2 bytes</source>
        <translation>Dropbox stored %1 of %2 bytes</translation>
    </message>
    <message>
        <source>Dropbox did not finish answering in time</source>
        <translation>Dropbox did not finish answering in time</translation>
    </message>
</context>
<context>
    <name>ZipArchive</name>
    <message>
        <source>Cannot read the file %1</source>
        <translation>Cannot read the file %1</translation>
    </message>
    <message>
        <source>Cannot write the archive: %1</source>
        <translation>Cannot write the archive: %1</translation>
    </message>
    <message>
        <source>Upload canceled</source>
        <translation>Upload canceled</translation>
    </message>
</context>
</TS>
