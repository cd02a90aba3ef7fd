// Captures on their way out. From the moment a capture is handed to delivery until it is
// delivered, saved or given up by the user, it has a name in the unsent folder, which no
// start empties, and a lock there that names this process. A capture whose process ended
// first (a crash, a quit while its window was open) is offered again by the next start.

#include "core.h"

#include "settings/atomicfile.h"
#include "settings/constants.h"
#include "settings/datafolder.h"
#include "upload/networkexchange.h"
#include "windows/errorwidget.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QLockFile>
#include <QTimer>

#include <unistd.h>

namespace {

const QString lockSuffix = QStringLiteral(".lock");

QString unsentFolder()
{
    return m_pathSettings + QStringLiteral("unsent/");
}

QString unsentName(const QString &capture)
{
    return unsentFolder() + QFileInfo(capture).fileName();
}

// The same bytes under a second name: a hard link costs no copy and no time; a copy where
// the file system has none, done only when every byte is on disk. Neither replaces an
// existing file. Why not, empty when the name is there.
QString addName(const QString &capture, const QString &kept)
{
    if (QFileInfo::exists(kept))
        return Core::tr("%1 already exists").arg(kept);
    if (::link(QFile::encodeName(capture).constData(), QFile::encodeName(kept).constData()) == 0)
        return QString();
    QFile source(capture);
    if (!source.open(QIODevice::ReadOnly))
        return source.errorString();
    QString error;
    AtomicFile::save(kept, source.readAll(), &error, AtomicFile::Access::Private);
    return error;
}

// A lock whose capture is gone (a crash between the two removals) and whose holder has
// ended: taking it and letting it go removes it.
void removeLeftLocks(const QString &folder)
{
    for (const QString &name : QDir(folder).entryList({QLatin1Char('*') + lockSuffix}, QDir::Files)) {
        const QString capture = folder + name.chopped(lockSuffix.size());
        QLockFile lock(folder + name);
        if (!QFileInfo::exists(capture) && takeLock(lock))
            lock.unlock();
    }
}

// Whether the capture's turn can come: its lock is free or left by a holder that is gone.
// The lock is let go at once, since each held lock keeps a file open. Why it cannot be
// taken goes to *refusal, which stays empty when a live holder has it.
bool lockIsFree(const QString &kept, QString *refusal)
{
    QLockFile lock(kept + lockSuffix);
    if (!takeLock(lock, refusal))
        return false;
    lock.unlock();
    return true;
}

// A thousand captures that cannot be offered make one window of a few lines.
QString refusedCapturesText(const QStringList &refused)
{
    constexpr int shownLines = 5;
    QString text = Core::tr("These captures were not uploaded before Mavu closed and cannot be offered:");
    for (const QString &line : refused.mid(0, shownLines))
        text += QLatin1Char('\n') + line;
    if (refused.size() > shownLines)
        text += QLatin1Char('\n') + Core::tr("And %1 more.").arg(refused.size() - shownLines);
    return text + QLatin1Char('\n') + Core::tr("They stay in the unsent folder.");
}

} // namespace

bool Core::lockUnsent(const QString &kept)
{
    auto lock = std::make_shared<QLockFile>(kept + lockSuffix);
    if (!takeLock(*lock))
        return false;
    m_unsentLocks.insert(kept, lock);
    return true;
}

QString Core::keepUnsent(const QString &capture, QString *failure)
{
    const QString kept = unsentName(capture);
    const QString why = m_unsentLocks.contains(kept) && QFile::exists(kept) ? QString() : holdUnsent(capture, kept);
    if (why.isEmpty())
        return kept;
    qWarning() << "QString Core::keepUnsent(const QString&)" << "cannot keep" << capture << "in" << unsentFolder()
               << why;
    if (failure)
        *failure = why;
    return QFile::exists(capture) ? capture : QString();
}

// Told from the event loop, after the upload has started and opened its window: the
// message takes that window's place rather than lie under it.
void Core::keepUntilDelivered(const QString &capture)
{
    QString failure;
    const QString where = keepUnsent(capture, &failure);
    if (failure.isEmpty() || where.isEmpty())
        return;
    const QString text = tr("Can't keep the capture in %1 until it is uploaded: %2").arg(unsentFolder(), failure);
    QTimer::singleShot(0, this, [this, where, text] { withdrawOnceUploaded(offerUnsentCapture(where, text), where); });
}

// The offer to save a capture that could not be kept is moot once its upload is through.
// A failed or stopped upload leaves the window, and the capture with it.
void Core::withdrawOnceUploaded(ErrorWidget *window, const QString &capture)
{
    for (HandlerUpload *job : m_networkExchange->uploaders()) {
        if (job->unsentCapture() == capture)
            connect(job, &HandlerUpload::readyLinkAfterUpload, window, [window] { window->close(); });
    }
}

// The lock comes first, so that another Mavu starting meanwhile never offers the capture.
// A name that another capture already has is never taken over.
QString Core::holdUnsent(const QString &capture, const QString &kept)
{
    const QString folder = unsentFolder();
    const QString refused = DataFolder::refusal(folder);
    if (!refused.isEmpty())
        return refused;
    if (!QDir().mkpath(folder))
        return tr("the folder cannot be made");
    DataFolder::restrict(folder, DataFolder::privateFolder);
    if (!m_unsentLocks.contains(kept) && !lockUnsent(kept))
        return tr("its lock %1 cannot be written").arg(kept + lockSuffix);
    const QString failure = addName(capture, kept);
    if (failure.isEmpty())
        DataFolder::restrict(kept, DataFolder::privateFile);
    else
        m_unsentLocks.remove(kept);
    return failure;
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

// What an earlier run left is offered one capture at a time, oldest first, so that a
// thousand of them make one window, not a thousand. Each is locked only when its turn
// comes (a lock holds a file open); one that another running Mavu holds (uploading it, or
// offering it) is left to it and not counted. One whose lock cannot be taken is named in
// a window of its own.
void Core::offerLeftCaptures()
{
    const QString folder = unsentFolder();
    if (!DataFolder::refusal(folder).isEmpty())
        return;
    removeLeftLocks(folder);
    const QStringList captures =
        QDir(folder).entryList({QStringLiteral("*.png"), QStringLiteral("*.jpg"), QStringLiteral("*.zia")},
                               QDir::Files | QDir::NoSymLinks, QDir::Time | QDir::Reversed);
    QStringList refused;
    for (const QString &capture : captures) {
        QString refusal;
        if (lockIsFree(folder + capture, &refusal))
            m_leftCaptures.append(folder + capture);
        else if (!refusal.isEmpty())
            refused.append(folder + capture + QStringLiteral(": ") + refusal);
    }
    if (!refused.isEmpty())
        showErrorWidget(refusedCapturesText(refused));
    offerNextLeftCapture();
}

// Its window tells how many more wait; closing it, or saving the capture, offers the next.
void Core::offerNextLeftCapture()
{
    while (!m_leftCaptures.isEmpty()) {
        const QString kept = m_leftCaptures.takeFirst();
        if (m_unsentLocks.contains(kept) || !lockUnsent(kept))
            continue;
        if (!QFile::exists(kept)) { // its holder let it go meanwhile
            m_unsentLocks.remove(kept);
            continue;
        }
        QString text = tr("The capture %1 was not uploaded before Mavu closed.").arg(QFileInfo(kept).fileName());
        if (!m_leftCaptures.isEmpty())
            text += QLatin1Char(' ') + tr("Waiting after it: %1 more.").arg(m_leftCaptures.size());
        connect(offerUnsentCapture(kept, text), &BasicWindow::closed, this, &Core::offerNextLeftCapture);
        return;
    }
}
