// Hand-over to an update that the updater downloaded and checked during an earlier run.

#include "core.h"

#include "network/updatepackage.h"
#include "settings/constants.h"
#include "settings/datafolder.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

const QString updateFileName = QStringLiteral("Mavu.exe");

QString pendingUpdatePath()
{
    return m_updatePath + updateFileName;
}

// The updater records the SHA-256 (hex) of the package it checked beside it.
QString recordedHashPath()
{
    return pendingUpdatePath() + QStringLiteral(".sha256");
}

QString updateProblem()
{
    const QFileInfo update(pendingUpdatePath());
    if (update.isSymLink() || !update.isFile())
        return QStringLiteral("not a regular file");
    if (update.ownerId() != ::getuid())
        return QStringLiteral("owned by another user");
    QFile recorded(recordedHashPath());
    if (!recorded.open(QIODevice::ReadOnly))
        return QStringLiteral("no recorded checksum");
    const QByteArray expected = recorded.readAll().trimmed().toLower();
    if (expected.isEmpty() || UpdatePackage::sha256Hex(update.filePath()) != expected)
        return QStringLiteral("checksum mismatch");
    return QString();
}

// Where handed-over updates run from: inside the data folder, which only its owner can
// enter. A folder in the shared temporary folder could be prepared or swapped by another
// user, and that folder may forbid running programs at all.
const QString runFolderPattern = QStringLiteral("update-run-*");

// Copies the update into a fresh folder of its own and starts it from there.
bool launchCopy(QString *failure)
{
    QTemporaryDir folder(m_pathSettings + QStringLiteral("update-run-XXXXXX"));
    if (!folder.isValid()) {
        *failure = folder.errorString();
        return false;
    }
    const QString copy = folder.filePath(updateFileName);
    if (!QFile::copy(pendingUpdatePath(), copy)) {
        *failure = QStringLiteral("cannot copy the update");
        return false;
    }
    QFile::setPermissions(copy, QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    if (!QProcess::startDetached(copy, {}, folder.path())) {
        *failure = QStringLiteral("cannot start the update");
        return false;
    }
    folder.setAutoRemove(false);
    return true;
}

} // namespace

bool removeDir(const QString &folder)
{
    QString path = folder;
    while (path.size() > 1 && path.endsWith(QLatin1Char('/'))) // a trailing separator follows a link
        path.chop(1);
    const QFileInfo target(path);
    if (!target.exists() && !target.isSymLink())
        return true;
    if (target.isSymLink() || !target.isDir())
        return QFile::remove(path);
    const QFileInfoList entries = QDir(path).entryInfoList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::DirsFirst | QDir::Name);
    for (const QFileInfo &entry : entries) {
        const bool removed = entry.isDir() && !entry.isSymLink() ? removeDir(entry.absoluteFilePath())
                                                                 : QFile::remove(entry.absoluteFilePath());
        if (!removed)
            return false;
    }
    return QDir().rmdir(path);
}

bool startPendingUpdate()
{
    const QString refused = DataFolder::refusal(m_updatePath);
    if (!refused.isEmpty()) { // reported by the settings store at start
        qWarning() << "bool startPendingUpdate()" << "update folder not used:" << refused;
        return false;
    }
    QString failure = updateProblem();
    if (failure.isEmpty() && launchCopy(&failure)) {
        removeDir(m_updatePath);
        return true;
    }
    qWarning() << "bool startPendingUpdate()" << "update dropped:" << failure;
    removeDir(m_updatePath);
    return false;
}

// Nothing is pending: what is in the update folder was left by a download or an unpacking
// that was cut off. The folders earlier hand-overs started their updates from are no longer
// needed either; the updates run by now. A second Mavu leaves both to the first one, whose
// download may be under way.
void Core::clearUpdateLeftovers()
{
    if (!DataFolder::refusal(m_pathSettings).isEmpty() || !isFirstInstance())
        return;
    if (DataFolder::refusal(m_updatePath).isEmpty())
        removeDir(m_updatePath);
    const QFileInfoList handedOver = QDir(m_pathSettings).entryInfoList(
        {runFolderPattern}, QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot);
    for (const QFileInfo &folder : handedOver) {
        if (!folder.isSymLink() && folder.ownerId() == ::getuid())
            removeDir(folder.absoluteFilePath());
    }
}
