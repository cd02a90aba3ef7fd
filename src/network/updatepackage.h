#pragma once

#include <QByteArray>
#include <QString>

// Checks a downloaded update package against the update information and installs it
// into the update folder: a bare executable becomes "Mavu.exe", a zip archive is
// unpacked there. Packages are files and are read in pieces, never whole into memory.
// The update folder changes only once the whole package has been unpacked and checked:
// then the new update takes the place of an earlier one there, whole. A package that
// fails a check leaves the folder as it was, and no entry of an archive may land outside
// the folder.
namespace UpdatePackage {

inline const QString executableName = QStringLiteral("Mavu.exe");
// An archive may unpack to no more than this: a small archive can hold gigabytes of zeros.
constexpr qint64 maxUnpackedBytes = qint64(1) << 30;
// Nor hold more entries than this: each is a file written while the hotkeys wait, and an
// update holds a few hundred at most.
constexpr int maxEntries = 10000;

bool verify(const QString &packageFile, qint64 size, const QString &sha256Hex, QString *error);
// format is "exe" or "zip"; folder ends with a separator and is created when missing.
// Everything else in folder (but packageFile) is taken for an earlier update and replaced.
bool install(const QString &packageFile, const QString &format, const QString &folder, QString *error);
// The SHA-256 of a file as lower-case hex; empty when it cannot be read.
QByteArray sha256Hex(const QString &path);
// An archive entry name that stays inside the folder once unpacked.
bool isSafeEntryName(const QString &name);

} // namespace UpdatePackage
