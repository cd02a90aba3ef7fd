#pragma once

#include <QByteArray>
#include <QString>

// Checks a downloaded update package against the update information and installs it
// into the update folder: a bare executable becomes "Mavu.exe", a zip archive is
// unpacked there. Nothing is written for a package that fails a check, and no entry of
// an archive may land outside the folder.
namespace UpdatePackage {

inline const QString executableName = QStringLiteral("Mavu.exe");
constexpr qint64 maxUnpackedBytes = qint64(1) << 30;

bool verify(const QByteArray &package, qint64 size, const QString &sha256Hex, QString *error);
// format is "exe" or "zip"; folder ends with a separator and is created when missing.
bool install(const QByteArray &package, const QString &format, const QString &folder, QString *error);
// An archive entry name that stays inside the folder once unpacked.
bool isSafeEntryName(const QString &name);

} // namespace UpdatePackage
