// Captures on their way out. From the moment a capture is handed to delivery until it is
// delivered, saved or given up by the user, it has a name in the unsent folder, which no
// start empties, and a lock there that names this process. A capture whose process ended
// first (a crash, a quit while its window was open) is offered again by the next start.

#include "core.h"

#include "settings/constants.h"
#include "settings/datafolder.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>

#include <unistd.h>

namespace {

QString unsentFolder()
{
    return m_pathSettings + QStringLiteral("unsent/");
}

QString unsentName(const QString &capture)
{
    return unsentFolder() + QFileInfo(capture).fileName();
}

// The same bytes under a second name: a hard link costs no copy and no time; a copy where
// the file system has none. Neither replaces an existing file.
bool addName(const QString &capture, const QString &kept)
{
    return ::link(QFile::encodeName(capture).constData(), QFile::encodeName(kept).constData()) == 0
        || QFile::copy(capture, kept);
}

} // namespace

// Only a holder that is gone makes a lock stale, never its age: an upload may take hours.
bool Core::lockUnsent(const QString &kept)
{
    auto lock = std::make_shared<QLockFile>(kept + QStringLiteral(".lock"));
    lock->setStaleLockTime(0);
    if (!lock->tryLock(0))
        return false;
    m_unsentLocks.insert(kept, lock);
    return true;
}

QString Core::keepUnsent(const QString &capture)
{
    const QString kept = unsentName(capture);
    if ((m_unsentLocks.contains(kept) && QFile::exists(kept)) || holdUnsent(capture, kept))
        return kept;
    qWarning() << "QString Core::keepUnsent(const QString&)" << "cannot keep" << capture << "in" << unsentFolder();
    return QFile::exists(capture) ? capture : QString();
}

// The lock comes first, so that another Mavu starting meanwhile never offers the capture.
// A name that another capture already has is never taken over.
bool Core::holdUnsent(const QString &capture, const QString &kept)
{
    const QString folder = unsentFolder();
    if (!DataFolder::refusal(folder).isEmpty() || !QDir().mkpath(folder))
        return false;
    DataFolder::restrict(folder, DataFolder::privateFolder);
    if (!m_unsentLocks.contains(kept) && !lockUnsent(kept))
        return false;
    if (addName(capture, kept)) {
        DataFolder::restrict(kept, DataFolder::privateFile);
        return true;
    }
    m_unsentLocks.remove(kept);
    return false;
}

// Delivered, saved or given up: the name in the unsent folder goes, then its lock. What
// another process holds is never touched.
void Core::releaseUnsent(const QString &capture)
{
    const QString kept = unsentName(capture);
    if (!m_unsentLocks.contains(kept))
        return;
    QFile::remove(kept);
    m_unsentLocks.remove(kept);
}

// Each capture whose process has ended is offered once, in the error window with its
// "Save"; one that another running Mavu holds (uploading it, or offering it) is left to it.
void Core::offerLeftCaptures()
{
    const QString folder = unsentFolder();
    if (!DataFolder::refusal(folder).isEmpty())
        return;
    const QFileInfoList captures =
        QDir(folder).entryInfoList({QStringLiteral("*.png"), QStringLiteral("*.jpg"), QStringLiteral("*.zia")},
                                   QDir::Files | QDir::NoSymLinks, QDir::Time | QDir::Reversed);
    for (const QFileInfo &capture : captures) {
        const QString kept = unsentName(capture.fileName());
        if (m_unsentLocks.contains(kept) || !lockUnsent(kept))
            continue;
        if (!QFile::exists(kept)) { // its holder let it go meanwhile
            m_unsentLocks.remove(kept);
            continue;
        }
        offerUnsentCapture(kept, tr("The capture %1 was not uploaded before Mavu closed.").arg(capture.fileName()));
    }
}
