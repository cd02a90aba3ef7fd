#include "ziparchive.h"

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

QString copyInto(QuaZip &zip, const Entry &entry, const std::atomic_bool *cancel)
{
    QFile input(entry.source);
    if (!input.open(QIODevice::ReadOnly))
        return ZipTexts::tr("Cannot read the file %1").arg(entry.name);
    QuaZipFile output(&zip);
    QuaZipNewInfo info(entry.name, entry.source);
    if (!output.open(QIODevice::WriteOnly, info))
        return ZipTexts::tr("Cannot write the archive");
    QByteArray buffer(256 * 1024, Qt::Uninitialized);
    while (!input.atEnd()) {
        if (cancel && cancel->load())
            return ZipTexts::tr("Upload canceled");
        const qint64 read = input.read(buffer.data(), buffer.size());
        if (read < 0 || output.write(buffer.constData(), read) != read)
            return ZipTexts::tr("Cannot write the archive");
    }
    output.close();
    return output.getZipError() == 0 ? QString() : ZipTexts::tr("Cannot write the archive");
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

QString build(const QStringList &items, const QString &archive, const std::atomic_bool *cancel,
              QStringList *leftOut)
{
    QStringList ignored;
    QDir().mkpath(QFileInfo(archive).absolutePath());
    QuaZip zip(archive);
    zip.setUtf8Enabled(true);
    if (!zip.open(QuaZip::mdCreate))
        return ZipTexts::tr("Cannot write the archive");
    QString failure;
    for (const Entry &entry : collectEntries(items, leftOut ? leftOut : &ignored)) {
        failure = copyInto(zip, entry, cancel);
        if (!failure.isEmpty())
            break;
    }
    zip.close();
    if (failure.isEmpty() && zip.getZipError() != 0)
        failure = ZipTexts::tr("Cannot write the archive");
    if (failure.isEmpty() && cancel && cancel->load()) // stopped after the last entry
        failure = ZipTexts::tr("Upload canceled");
    if (!failure.isEmpty())
        QFile::remove(archive);
    return failure;
}

} // namespace ZipArchive
