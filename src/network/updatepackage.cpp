#include "updatepackage.h"

#include <QBuffer>
#include <QCryptographicHash>
#include <QDir>
#include <QSaveFile>
#include <QStringList>

#include <quazip.h>
#include <quazipfile.h>

namespace UpdatePackage {

namespace {

constexpr QFileDevice::Permissions executablePermissions = QFileDevice::ReadOwner
    | QFileDevice::WriteOwner | QFileDevice::ExeOwner | QFileDevice::ReadGroup
    | QFileDevice::ExeGroup | QFileDevice::ReadOther | QFileDevice::ExeOther;

bool writeFile(const QString &path, const QByteArray &data, bool executable, QString *error);

// The next start runs the executable only when it still matches this record.
bool writeChecksumRecord(const QString &executablePath, const QByteArray &data, QString *error)
{
    const QByteArray digest = QCryptographicHash::hash(data, QCryptographicHash::Sha256).toHex() + '\n';
    return writeFile(executablePath + QStringLiteral(".sha256"), digest, false, error);
}

bool writeFile(const QString &path, const QByteArray &data, bool executable, QString *error)
{
    if (executable && !writeChecksumRecord(path, data, error))
        return false;
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(data) != data.size() || !file.commit()) {
        *error = QStringLiteral("cannot write ") + path + QStringLiteral(": ") + file.errorString();
        return false;
    }
    if (executable)
        QFile::setPermissions(path, executablePermissions);
    return true;
}

// The entry names of the archive, or an error when one of them is unsafe or the
// executable is missing.
bool listEntries(QuaZip &zip, QStringList *names, QString *error)
{
    for (bool more = zip.goToFirstFile(); more; more = zip.goToNextFile()) {
        const QString name = zip.getCurrentFileName();
        if (!isSafeEntryName(name)) {
            *error = QStringLiteral("unsafe archive entry ") + name;
            return false;
        }
        names->append(name);
    }
    if (!names->contains(executableName)) {
        *error = QStringLiteral("archive holds no ") + executableName;
        return false;
    }
    return true;
}

bool readEntry(QuaZip &zip, const QString &name, qint64 *budget, QByteArray *data, QString *error)
{
    zip.setCurrentFile(name);
    QuaZipFile entry(&zip);
    if (!entry.open(QIODevice::ReadOnly)) {
        *error = QStringLiteral("cannot read archive entry ") + name;
        return false;
    }
    while (!entry.atEnd()) {
        const QByteArray chunk = entry.read(1 << 16);
        if (chunk.isEmpty())
            break;
        *budget -= chunk.size();
        if (*budget < 0) {
            *error = QStringLiteral("archive unpacks to too much data");
            return false;
        }
        data->append(chunk);
    }
    return entry.getZipError() == 0;
}

bool unpack(const QByteArray &package, const QString &folder, QString *error)
{
    QByteArray bytes(package);
    QBuffer buffer(&bytes);
    QuaZip zip(&buffer);
    if (!zip.open(QuaZip::mdUnzip)) {
        *error = QStringLiteral("package is not a zip archive");
        return false;
    }
    QStringList names;
    if (!listEntries(zip, &names, error))
        return false;
    // The executable comes last, so it only appears when everything else is in place.
    names.removeAll(executableName);
    names.append(executableName);
    qint64 budget = maxUnpackedBytes;
    for (const QString &name : qAsConst(names)) {
        const QString target = folder + name;
        if (name.endsWith(QLatin1Char('/'))) {
            QDir().mkpath(target);
            continue;
        }
        QByteArray data;
        if (!readEntry(zip, name, &budget, &data, error))
            return false;
        QDir().mkpath(QFileInfo(target).absolutePath());
        if (!writeFile(target, data, name == executableName, error))
            return false;
    }
    return true;
}

} // namespace

bool verify(const QByteArray &package, qint64 size, const QString &sha256Hex, QString *error)
{
    if (size <= 0 || package.size() != size) {
        *error = QStringLiteral("package size %1 does not match %2").arg(package.size()).arg(size);
        return false;
    }
    const QByteArray digest = QCryptographicHash::hash(package, QCryptographicHash::Sha256).toHex();
    if (sha256Hex.isEmpty() || digest != sha256Hex.toLower().toLatin1()) {
        *error = QStringLiteral("package checksum does not match");
        return false;
    }
    return true;
}

bool install(const QByteArray &package, const QString &format, const QString &folder, QString *error)
{
    if (!QDir().mkpath(folder)) {
        *error = QStringLiteral("cannot create ") + folder;
        return false;
    }
    if (format == QLatin1String("exe"))
        return writeFile(folder + executableName, package, true, error);
    if (format == QLatin1String("zip"))
        return unpack(package, folder, error);
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
