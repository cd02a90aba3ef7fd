#include "updatepackage.h"

#include "settings/atomicfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <quazip.h>
#include <quazipfile.h>

namespace UpdatePackage {

namespace {

constexpr qint64 pieceBytes = 1 << 16;

constexpr QFileDevice::Permissions executablePermissions = QFileDevice::ReadOwner
    | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
    | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;

// Copies source into the file at path piece by piece, at most budget bytes in all.
bool copyInto(QIODevice &source, const QString &path, qint64 *budget, QString *error)
{
    AtomicFile target(path);
    if (!target.isOpen()) {
        *error = QStringLiteral("cannot write ") + path + QStringLiteral(": ") + target.errorString();
        return false;
    }
    QByteArray piece(pieceBytes, Qt::Uninitialized);
    for (;;) {
        const qint64 read = source.read(piece.data(), piece.size());
        if (read < 0) {
            *error = QStringLiteral("cannot read the package");
            return false;
        }
        if (read == 0)
            break;
        *budget -= read;
        if (*budget < 0) {
            *error = QStringLiteral("archive unpacks to too much data");
            return false;
        }
        if (target.write(piece.constData(), read) != read) {
            *error = QStringLiteral("cannot write ") + path + QStringLiteral(": ") + target.errorString();
            return false;
        }
    }
    if (!target.commit()) {
        *error = QStringLiteral("cannot write ") + path + QStringLiteral(": ") + target.errorString();
        return false;
    }
    return true;
}

// The next start runs the executable only when it still matches this record, written
// beside it before it appears.
bool placeExecutable(const QString &staged, const QString &path, QString *error)
{
    QString failure;
    if (!AtomicFile::save(path + QStringLiteral(".sha256"), sha256Hex(staged) + '\n', &failure)) {
        *error = QStringLiteral("cannot write the checksum record: ") + failure;
        QFile::remove(staged);
        return false;
    }
    QFile::setPermissions(staged, executablePermissions);
    QFile::remove(path);
    if (!QFile::rename(staged, path)) {
        *error = QStringLiteral("cannot write ") + path;
        QFile::remove(staged);
        return false;
    }
    return true;
}

bool installExecutable(QIODevice &source, const QString &path, qint64 *budget, QString *error)
{
    const QString staged = path + QStringLiteral(".new");
    return copyInto(source, staged, budget, error) && placeExecutable(staged, path, error);
}

// The entry names of the archive, or an error when one of them is unsafe, the executable
// is missing, or the entries announce more than may be unpacked.
bool listEntries(QuaZip &zip, QStringList *names, QString *error)
{
    qint64 announced = 0;
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        const QString name = zip.getCurrentFileName();
        if (!isSafeEntryName(name)) {
            *error = QStringLiteral("unsafe archive entry ") + name;
            return false;
        }
        QuaZipFileInfo64 info;
        if (zip.getCurrentFileInfo(&info))
            announced += qint64(info.uncompressedSize);
        names->append(name);
    }
    if (announced > maxUnpackedBytes) {
        *error = QStringLiteral("archive unpacks to too much data");
        return false;
    }
    if (!names->contains(executableName)) {
        *error = QStringLiteral("archive holds no ") + executableName;
        return false;
    }
    return true;
}

// The library checks an entry's CRC only when the entry is closed, and reads no further
// than the size the entry declares: an entry that holds more or less than that, or other
// bytes, fails here.
bool unpackEntry(QuaZip &zip, const QString &name, const QString &target, qint64 *budget, QString *error)
{
    zip.setCurrentFile(name);
    QuaZipFile entry(&zip);
    if (!entry.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read archive entry ") + name;
        return false;
    }
    QDir().mkpath(QFileInfo(target).absolutePath());
    const qint64 budgetBefore = *budget;
    if (!copyInto(entry, target, budget, error))
        return false;
    const qint64 declared = entry.usize();
    entry.close();
    if (entry.getZipError() != 0 || budgetBefore - *budget != declared) {
        *error = QStringLiteral("damaged archive entry ") + name;
        return false;
    }
    return true;
}

// Moves the checked entries from staging into the folder, the executable last, so that it
// only appears when everything else is in place.
bool placeEntries(const QString &staging, const QStringList &names, const QString &folder, QString *error)
{
    for (const QString &name : names) {
        const QString target = folder + name;
        if (name.endsWith(QLatin1Char('/'))) {
            QDir().mkpath(target);
            continue;
        }
        if (name == executableName)
            continue;
        QDir().mkpath(QFileInfo(target).absolutePath());
        QFile::remove(target);
        if (!QFile::rename(staging + name, target)) {
            *error = QStringLiteral("cannot write ") + target;
            return false;
        }
    }
    return placeExecutable(staging + executableName, folder + executableName, error);
}

// Every entry is unpacked and checked in a folder of its own first: a damaged entry
// leaves nothing in the update folder.
bool unpack(const QString &packageFile, const QString &folder, QString *error)
{
    QuaZip zip(packageFile);
    if (!zip.open(QuaZip::mdUnzip)) {
        *error = QStringLiteral("package is not a zip archive");
        return false;
    }
    QStringList names;
    if (!listEntries(zip, &names, error))
        return false;
    QTemporaryDir staging(folder + QStringLiteral("unpacking-XXXXXX"));
    if (!staging.isValid()) {
        *error = QStringLiteral("cannot unpack into ") + folder + QStringLiteral(": ") + staging.errorString();
        return false;
    }
    const QString stagingFolder = staging.path() + QLatin1Char('/');
    qint64 budget = maxUnpackedBytes;
    for (const QString &name : std::as_const(names)) {
        if (!name.endsWith(QLatin1Char('/')) && !unpackEntry(zip, name, stagingFolder + name, &budget, error))
            return false;
    }
    return placeEntries(stagingFolder, names, folder, error);
}

} // namespace

QByteArray sha256Hex(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QByteArray();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return hash.result().toHex();
}

bool verify(const QString &packageFile, qint64 size, const QString &sha256, QString *error)
{
    const qint64 actual = QFileInfo(packageFile).size();
    if (size <= 0 || actual != size) {
        *error = QStringLiteral("package size %1 does not match %2").arg(actual).arg(size);
        return false;
    }
    if (sha256.isEmpty() || sha256Hex(packageFile) != sha256.toLower().toLatin1()) {
        *error = QStringLiteral("package checksum does not match");
        return false;
    }
    return true;
}

bool install(const QString &packageFile, const QString &format, const QString &folder, QString *error)
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create ") + folder;
        return false;
    }
    if (format == QLatin1String("exe")) {
        QFile package(packageFile);
        qint64 budget = QFileInfo(packageFile).size();
        if (!package.open(QIODevice::ReadOnly)) {
            *error = QStringLiteral("cannot read the package");
            return false;
        }
        return installExecutable(package, folder + executableName, &budget, error);
    }
    if (format == QLatin1String("zip"))
        return unpack(packageFile, folder, error);
    *error = QStringLiteral("unknown package format ") + format;
    return false;
}

bool isSafeEntryName(const QString &name)
{
    if (name.isEmpty() || name.startsWith(QLatin1Char('/')) || name.contains(QLatin1Char('\\'))
        || name.contains(QLatin1Char(':')) || name.contains(QChar(0)))
        return false;
    const QStringList parts = name.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    for (const QString &part : parts) {
        if (part == QLatin1String("..") || part == QLatin1String("."))
            return false;
    }
    return !parts.isEmpty();
}

} // namespace UpdatePackage
