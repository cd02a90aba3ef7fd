#include "datafolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <unistd.h>

namespace {

struct FolderTexts
{
    Q_DECLARE_TR_FUNCTIONS(DataFolder)
};

// The entry itself: a trailing separator would make the file system follow a link.
QString withoutTrailingSlash(const QString &path)
{
    QString bare = path;
    while (bare.size() > 1 && bare.endsWith(QLatin1Char('/')))
        bare.chop(1);
    return bare;
}

QFileInfo entry(const QString &path)
{
    return QFileInfo(withoutTrailingSlash(path));
}

QString entryRefusal(const QFileInfo &info)
{
    if (info.isSymLink())
        return FolderTexts::tr("%1 is a link to %2").arg(info.filePath(), info.symLinkTarget());
    if (info.exists() && info.ownerId() != ::getuid())
        return FolderTexts::tr("%1 belongs to another user").arg(info.filePath());
    return QString();
}

} // namespace

namespace DataFolder {

// Inside the data folder every level counts: a linked data folder leads its tmp folder
// elsewhere too.
QString refusal(const QString &path)
{
    const QString root = QDir::homePath() + QStringLiteral("/.mavu");
    QString current = withoutTrailingSlash(path);
    for (;;) {
        const QString problem = entryRefusal(QFileInfo(current));
        if (!problem.isEmpty() || !current.startsWith(root + QLatin1Char('/')))
            return problem;
        current = QFileInfo(current).path();
    }
}

void restrict(const QString &path, QFileDevice::Permissions permissions)
{
    const QFileInfo info = entry(path);
    if (!info.exists() || !refusal(path).isEmpty())
        return;
    QFile::setPermissions(info.filePath(), permissions);
}

} // namespace DataFolder
