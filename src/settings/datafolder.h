#pragma once

#include <QFileDevice>
#include <QString>

// Checks on the per-user data folders and the files in them, which hold credentials:
// the program neither uses nor clears a folder that points elsewhere or that another
// user owns, and keeps what it owns private.
namespace DataFolder {

// Why the folder (or file) must not be used or cleared: it is a symbolic link, or it
// belongs to another user. Empty when it is the user's own or does not exist.
QString refusal(const QString &path);
// Gives the user's own entry these permissions; links and other users' entries are left alone.
void restrict(const QString &path, QFileDevice::Permissions permissions);

constexpr QFileDevice::Permissions privateFolder =
    QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
constexpr QFileDevice::Permissions privateFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;

} // namespace DataFolder
