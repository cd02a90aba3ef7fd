#include "updatepackage.h"

#include "settings/atomicfile.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QStringList>
#include <QTemporaryDir>

#include <algorithm>

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

bool makeFolder(const QString &path, QString *error)
{
    if (QDir().mkpath(path))
        return true;
    *error = QStringLiteral("cannot create ") + path;
    return false;
}

// The entry names of the archive, or an error when there are more of them than an update
// holds, one of them is unsafe, the executable is missing, or the entries announce more
// than may be unpacked. The count is read before any name: every entry is a file to write.
bool listEntries(QuaZip &zip, QStringList *names, QString *error)
{
    if (zip.getEntriesCount() > maxEntries) {
        *error = QStringLiteral("archive holds more than %1 entries").arg(maxEntries);
        return false;
    }
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
// bytes, fails here. A file and a folder of the same name fail as the second is made.
bool unpackEntry(QuaZip &zip, const QString &name, const QString &target, qint64 *budget, QString *error)
{
    if (name.endsWith(QLatin1Char('/')))
        return makeFolder(target, error);
    zip.setCurrentFile(name);
    QuaZipFile entry(&zip);
    if (!entry.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read archive entry ") + name;
        return false;
    }
    if (!makeFolder(QFileInfo(target).absolutePath(), error))
        return false;
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

bool unpack(const QString &packageFile, const QString &staging, QString *error)
{
    QuaZip zip(packageFile);
    if (!zip.open(QuaZip::mdUnzip)) {
        *error = QStringLiteral("package is not a zip archive");
        return false;
    }
    QStringList names;
    if (!listEntries(zip, &names, error))
        return false;
    qint64 budget = maxUnpackedBytes;
    for (const QString &name : std::as_const(names)) {
        if (!unpackEntry(zip, name, staging + name, &budget, error))
            return false;
    }
    return true;
}

bool copyExecutable(const QString &packageFile, const QString &staging, QString *error)
{
    QFile package(packageFile);
    qint64 budget = package.size();
    if (!package.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read the package");
        return false;
    }
    return copyInto(package, staging + executableName, &budget, error);
}

// The next start runs the executable only when it still matches this record.
bool recordExecutable(const QString &staging, QString *error)
{
    const QString path = staging + executableName;
    const QByteArray hash = sha256Hex(path);
    if (hash.isEmpty() || !QFile::setPermissions(path, executablePermissions)) {
        *error = QStringLiteral("cannot read ") + path;
        return false;
    }
    QString failure;
    if (!AtomicFile::save(path + QStringLiteral(".sha256"), hash + '\n', &failure)) {
        *error = QStringLiteral("cannot write the checksum record: ") + failure;
        return false;
    }
    return true;
}

QString absolute(const QString &path)
{
    return QDir::cleanPath(QFileInfo(path).absoluteFilePath());
}

// The names in folder, but for the working files (absolute paths) of the updater.
QStringList namesIn(const QString &folder, const QStringList &working)
{
    QStringList names;
    const QFileInfoList entries = QDir(folder).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo &entry : entries) {
        if (!working.contains(absolute(entry.filePath())))
            names.append(entry.fileName());
    }
    return names;
}

// The executable goes first when an update is moved away and comes last when one is put
// in place: the folder never holds an executable beside another update's files.
QStringList executableFirst(QStringList names)
{
    if (names.removeOne(executableName))
        names.prepend(executableName);
    return names;
}

QStringList reversed(QStringList names)
{
    std::reverse(names.begin(), names.end());
    return names;
}

// Renames the named entries of one folder into another, up to the first that fails;
// *moved lists those that went.
bool moveEntries(const QString &from, const QString &to, const QStringList &names, QStringList *moved, QString *error)
{
    for (const QString &name : names) {
        if (!QDir().rename(from + name, to + name)) {
            *error = QStringLiteral("cannot move ") + from + name + QStringLiteral(" to ") + to;
            return false;
        }
        moved->append(name);
    }
    return true;
}

// Swaps what is in folder (an earlier update) for what is in staging, by renames only.
// A rename that fails puts back what had moved, so that the folder holds the earlier
// update, whole, or the new one, never a mix.
bool replaceContents(const QString &staging, const QString &folder, QStringList working, QString *error)
{
    QTemporaryDir aside(folder + QStringLiteral("replaced-XXXXXX"));
    if (!aside.isValid()) {
        *error = QStringLiteral("cannot move the earlier update aside: ") + aside.errorString();
        return false;
    }
    const QString asideFolder = aside.path() + QLatin1Char('/');
    working.append(absolute(aside.path()));
    QStringList movedAside;
    QStringList placed;
    if (moveEntries(folder, asideFolder, executableFirst(namesIn(folder, working)), &movedAside, error)
        && moveEntries(staging, folder, reversed(executableFirst(namesIn(staging, {}))), &placed, error))
        return true;
    QStringList back;
    QString unused;
    if (!moveEntries(folder, staging, reversed(placed), &back, &unused)
        || !moveEntries(asideFolder, folder, reversed(movedAside), &back, &unused)) {
        *error += QStringLiteral("; the earlier update could not be put back");
    }
    return false;
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

// The package becomes a whole update in a folder of its own beside the update folder's
// contents, and is checked there, before the update folder changes at all.
bool install(const QString &packageFile, const QString &format, const QString &folder, QString *error)
{
    if (format != QLatin1String("exe") && format != QLatin1String("zip")) {
        *error = QStringLiteral("unknown package format ") + format;
        return false;
    }
    if (!makeFolder(folder, error))
        return false;
    QTemporaryDir staging(folder + QStringLiteral("unpacking-XXXXXX"));
    if (!staging.isValid()) {
        *error = QStringLiteral("cannot unpack into ") + folder + QStringLiteral(": ") + staging.errorString();
        return false;
    }
    const QString stagingFolder = staging.path() + QLatin1Char('/');
    const bool staged = format == QLatin1String("exe") ? copyExecutable(packageFile, stagingFolder, error)
                                                       : unpack(packageFile, stagingFolder, error);
    return staged && recordExecutable(stagingFolder, error)
        && replaceContents(stagingFolder, folder, {absolute(packageFile), absolute(staging.path())}, error);
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
