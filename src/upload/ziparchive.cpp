#include "ziparchive.h"

#include "settings/atomicfile.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <quazip/quazip.h>
#include <quazip/quazipfile.h>
#include <quazip/quazipnewinfo.h>

namespace {

struct ZipTexts
{
    Q_DECLARE_TR_FUNCTIONS(ZipArchive)
};

struct Entry
{
    QString source;
    QString name;
};

// A link inside a packed folder whose file lies outside it would pack a file the user
// did not choose.
bool leadsOutside(const QFileInfo &file, const QString &folder)
{
    if (!file.isSymLink())
        return false;
    const QString target = file.canonicalFilePath();
    return target.isEmpty() || !target.startsWith(folder + QLatin1Char('/'));
}

// Every file below the packed items, with its entry name; links out of a folder are
// left out and named in leftOut.
QList<Entry> collectEntries(const QStringList &items, QStringList *leftOut)
{
    QList<Entry> entries;
    for (const QString &item : items) {
        const QFileInfo info(item);
        const QDir base = info.absoluteDir();
        if (!info.isDir()) {
            entries.append({info.absoluteFilePath(), info.fileName()});
            continue;
        }
        const QString folder = info.canonicalFilePath();
        QDirIterator it(info.absoluteFilePath(), QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString file = it.next();
            if (leadsOutside(it.fileInfo(), folder))
                leftOut->append(base.relativeFilePath(file));
            else
                entries.append({file, base.relativeFilePath(file)});
        }
    }
    return entries;
}

// With the system's reason: a full disk or a file-size limit is the user's to mend.
QString writeFailure(const QIODevice &archive)
{
    return ZipTexts::tr("Cannot write the archive: %1").arg(archive.errorString());
}

QString copyInto(QuaZip &zip, const Entry &entry, const std::atomic_bool *cancel)
{
    QFile input(entry.source);
    if (!input.open(QIODevice::ReadOnly))
        return ZipTexts::tr("Cannot read the file %1").arg(entry.name);
    QuaZipFile output(&zip);
    QuaZipNewInfo info(entry.name, entry.source);
    if (!output.open(QIODevice::WriteOnly, info))
        return writeFailure(*zip.getIoDevice());
    QByteArray buffer(256 * 1024, Qt::Uninitialized);
    while (!input.atEnd()) {
        if (cancel && cancel->load())
            return ZipTexts::tr("Upload canceled");
        const qint64 read = input.read(buffer.data(), buffer.size());
        if (read < 0)
            return ZipTexts::tr("Cannot read the file %1").arg(entry.name);
        if (output.write(buffer.constData(), read) != read)
            return writeFailure(*zip.getIoDevice());
    }
    output.close();
    return output.getZipError() == 0 ? QString() : writeFailure(*zip.getIoDevice());
}

QString packInto(AtomicFile &archive, const QList<Entry> &entries, const std::atomic_bool *cancel)
{
    QuaZip zip(&archive);
    zip.setAutoClose(false); // committed by the caller, which then learns whether that worked
    zip.setUtf8Enabled(true);
    if (!archive.isOpen() || !zip.open(QuaZip::mdCreate))
        return writeFailure(archive);
    for (const Entry &entry : entries) {
        const QString failure = copyInto(zip, entry, cancel);
        if (!failure.isEmpty())
            return failure;
    }
    zip.close();
    if (zip.getZipError() != 0)
        return writeFailure(archive);
    if (cancel && cancel->load()) // stopped after the last entry
        return ZipTexts::tr("Upload canceled");
    return QString();
}

} // namespace

namespace ZipArchive {

QString archivePath(const QStringList &items, const QString &folder)
{
    QString name = items.isEmpty() ? QStringLiteral("files") : QFileInfo(items.first()).fileName();
    if (name.isEmpty()) // a folder given with a trailing slash
        name = QDir(items.first()).dirName();
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss"));
    QString path = QDir(folder).filePath(name + QLatin1Char('_') + stamp + QStringLiteral(".zip"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = QDir(folder).filePath(QStringLiteral("%1_%2_%3.zip").arg(name, stamp).arg(n));
    return path;
}

// The archive appears under its name only once it is whole.
QString build(const QStringList &items, const QString &archive, const std::atomic_bool *cancel,
              QStringList *leftOut)
{
    QStringList ignored;
    QDir().mkpath(QFileInfo(archive).absolutePath());
    AtomicFile file(archive);
    const QString failure = packInto(file, collectEntries(items, leftOut ? leftOut : &ignored), cancel);
    if (!failure.isEmpty()) {
        file.cancelWriting();
        return failure;
    }
    return file.commit() ? QString() : writeFailure(file);
}

} // namespace ZipArchive
