#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// File names reach the program as bytes. A name that is no valid text (an undecodable
// byte) decodes to the name of another file or of none, so the file would be out of
// reach: it is reached through a link with a readable name in a private folder instead.
namespace FileArguments {

// The folders of those links in the temporary folder start with this; each start
// empties them with the temporary folder.
inline const QString linkFolderPrefix = QStringLiteral("named-");

// The path the program uses for the name: the decoded name, or a link to the file with
// "_" for each undecodable byte when decoding loses bytes.
QString usablePath(const QByteArray &name);
// main's arguments, element 0 (the program) decoded and each other one as usablePath.
QStringList usableArguments(const QList<QByteArray> &arguments);
// The name the user gave for a path, for messages: control characters and undecodable
// bytes as \xNN.
QString shownName(const QString &path);
// Bytes of a name as text, control characters and undecodable bytes as \xNN.
QString visibleBytes(const QByteArray &bytes);

} // namespace FileArguments
