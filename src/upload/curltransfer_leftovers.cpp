// What uploads leave on a server when they end before they can clean up (the server went
// away, the connection broke, the program ended): temporary files and FTP lock folders.
// A later upload to the same folder removes them.

#include "curltransfer.h"

#include "settings/constants.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QRandomGenerator>
#include <QRegularExpression>
#include <QSet>
#include <QUrl>

#include <curl/curl.h>

#include <mutex>

namespace {

// What this run knows of each server folder: whether it was looked at for leftovers since an
// upload last failed to remove its own, and the temporary files whose removal failed (those
// are certainly no running upload's).
struct FolderLeftovers
{
    bool looked = false;
    QSet<QString> owed;
};

std::mutex leftoversMutex;

QHash<QString, FolderLeftovers> &leftoversByFolder()
{
    static QHash<QString, FolderLeftovers> folders;
    return folders;
}

// A time of MLST facts, "YYYYMMDDHHMMSS" in UTC with optional fractions; -1 when none.
qint64 utcSeconds(const QByteArray &value)
{
    QDateTime time = QDateTime::fromString(QString::fromLatin1(value.left(14)), QStringLiteral("yyyyMMddHHmmss"));
    time.setTimeSpec(Qt::UTC);
    return time.isValid() ? time.toSecsSinceEpoch() : -1;
}

bool isAbandoned(qint64 modified, qint64 now)
{
    return modified >= 0 && now >= 0 && now - modified > CurlTransfer::abandonedAfterSecs;
}

} // namespace

// Short, so that it fits wherever the final name fits, and unguessable.
QString CurlTransfer::temporaryName()
{
    QString name = QStringLiteral("mavu-");
    for (int i = 0; i < 12; ++i)
        name.append(abc.at(int(QRandomGenerator::global()->bounded(quint32(abc.size())))));
    return name + QStringLiteral(".part");
}

QString CurlTransfer::lockNameOf(const QString &name)
{
    const QByteArray hash = QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex();
    return QStringLiteral("mavu-%1.lock").arg(QString::fromLatin1(hash.left(16)));
}

QString CurlTransfer::folderKey() const
{
    return m_target.folderUrl() + QLatin1Char(' ') + m_target.user;
}

// Makes the lock of name and looks at name in one go. A lock that an ended upload left is
// taken over once.
CurlOutcome CurlTransfer::lockAndLook(const QString &lockName, const QString &name, const QString &partName)
{
    const QByteArray makeLock = "MKD " + m_target.commandPath(lockName).toUtf8();
    const CurlOutcome look = command({makeLock}, name, Run::ToTheEnd); // then the size of the name
    if (look.code != CURLE_QUOTE_ERROR || m_abort.load() || !takeOverAbandonedLock(lockName, partName))
        return look;
    return command({makeLock}, name, Run::ToTheEnd);
}

// The lock's age is told by the server's clock: against our temporary file, written just now.
bool CurlTransfer::takeOverAbandonedLock(const QString &lockName, const QString &partName)
{
    const QHash<QString, RemoteEntry> entries = listedFacts({lockName, partName});
    const RemoteEntry lock = entries.value(lockName);
    return lock.folder && isAbandoned(lock.modified, entries.value(partName).modified)
        && removeAbandonedLock(lockName, lock.modified);
}

// Two uploads may find the same abandoned lock: the one whose rename takes it away removes
// it, and a lock made meanwhile by another upload (it has a newer time) is put back.
bool CurlTransfer::removeAbandonedLock(const QString &lockName, qint64 seenModified)
{
    const QString claimName = lockNameOf(temporaryName());
    const QByteArray lock = m_target.commandPath(lockName).toUtf8();
    const QByteArray claim = m_target.commandPath(claimName).toUtf8();
    if (!command({"RNFR " + lock, "RNTO " + claim, "*MLST " + claim}, QString(), Run::Cleanup).ok)
        return false;
    if (factsOf(m_replies).value(claimName).modified == seenModified)
        return command({"RMD " + claim}, QString(), Run::Cleanup).ok;
    command({"RNFR " + claim, "RNTO " + lock}, QString(), Run::Cleanup);
    return false;
}

void CurlTransfer::unlock(const QString &lockName)
{
    if (command({"RMD " + m_target.commandPath(lockName).toUtf8()}, QString(), Run::Cleanup).ok)
        return;
    std::lock_guard<std::mutex> guard(leftoversMutex);
    leftoversByFolder()[folderKey()].looked = false;
}

void CurlTransfer::removeOrOwe(const QString &partName)
{
    if (removeRemote(partName))
        return;
    std::lock_guard<std::mutex> guard(leftoversMutex);
    FolderLeftovers &folder = leftoversByFolder()[folderKey()];
    folder.owed.insert(partName);
    folder.looked = false;
}

// Runs after an upload to the folder succeeded: once a run, and again after a removal failed.
// Leftovers too young to be abandoned keep the folder to be looked at by the next upload.
void CurlTransfer::removeLeftovers(const QString &storedName)
{
    QSet<QString> owed;
    QStringList found;
    if (!owedIfUnlooked(&owed) || !leftoverNames(&found))
        return;
    const QHash<QString, RemoteEntry> entries = found.isEmpty() ? QHash<QString, RemoteEntry>()
                                                                : remoteEntries(QStringList(found) << storedName);
    const qint64 now = entries.value(storedName).modified;
    QSet<QString> settled = owed - QSet<QString>(found.cbegin(), found.cend()); // gone meanwhile
    bool allGone = true;
    for (const QString &name : found) {
        const RemoteEntry entry = entries.value(name);
        const bool abandoned = owed.contains(name) || isAbandoned(entry.modified, now);
        if (abandoned && !m_abort.load() && removeLeftover(name, entry))
            settled.insert(name);
        else
            allGone = false;
    }
    std::lock_guard<std::mutex> guard(leftoversMutex);
    FolderLeftovers &folder = leftoversByFolder()[folderKey()];
    folder.owed -= settled;
    folder.looked = allGone && folder.owed.isEmpty();
}

// False when the folder was looked at since the last failed removal.
bool CurlTransfer::owedIfUnlooked(QSet<QString> *owed) const
{
    std::lock_guard<std::mutex> guard(leftoversMutex);
    const FolderLeftovers folder = leftoversByFolder().value(folderKey());
    *owed = folder.owed;
    return !folder.looked;
}

bool CurlTransfer::removeLeftover(const QString &name, const RemoteEntry &entry)
{
    if (name.endsWith(QLatin1String(".lock")))
        return entry.folder && removeAbandonedLock(name, entry.modified);
    return !entry.folder && removeRemote(name);
}

// The names in the folder that this program's uploads give their temporary files and, over
// FTP, their locks.
bool CurlTransfer::leftoverNames(QStringList *names)
{
    static const QRegularExpression part(QStringLiteral("^mavu-[A-Za-z0-9]{12}\\.part$"));
    static const QRegularExpression lock(QStringLiteral("^mavu-[0-9a-f]{16}\\.lock$"));
    QByteArray listing;
    if (!listFolder(&listing).ok)
        return false;
    for (const QByteArray &line : listing.split('\n')) {
        const QString name = QString::fromUtf8(line.trimmed()).section(QLatin1Char('/'), -1);
        if (part.match(name).hasMatch() || (!m_target.sftp && lock.match(name).hasMatch()))
            names->append(name);
    }
    return true;
}

QHash<QString, CurlTransfer::RemoteEntry> CurlTransfer::remoteEntries(const QStringList &names)
{
    QHash<QString, RemoteEntry> entries = listedFacts(names);
    for (const QString &name : names) {
        if (entries.contains(name))
            continue;
        const qint64 modified = fileTime(name);
        if (modified >= 0)
            entries[name].modified = modified;
    }
    return entries;
}

// The facts an FTP server lists for each name (MLST: time and type, folders included, in one
// connection); empty over SFTP or where the server does not list facts.
QHash<QString, CurlTransfer::RemoteEntry> CurlTransfer::listedFacts(const QStringList &names)
{
    if (m_target.sftp)
        return {};
    QByteArrayList commands;
    for (const QString &name : names)
        commands << "*MLST " + m_target.commandPath(name).toUtf8();
    return command(commands).ok ? factsOf(m_replies) : QHash<QString, RemoteEntry>();
}

// MLST replies carry one line per name: a space, "fact=value;" pairs, a space and the path.
QHash<QString, CurlTransfer::RemoteEntry> CurlTransfer::factsOf(const QByteArray &replies)
{
    QHash<QString, RemoteEntry> entries;
    for (const QByteArray &line : replies.split('\n')) {
        const int gap = line.indexOf(' ', 1);
        if (!line.startsWith(' ') || gap < 0)
            continue;
        RemoteEntry entry;
        for (const QByteArray &fact : line.mid(1, gap - 1).split(';')) {
            const int equals = fact.indexOf('=');
            const QByteArray key = fact.left(equals).toLower();
            const QByteArray value = fact.mid(equals + 1).toLower();
            if (key == "type")
                entry.folder = value == "dir";
            else if (key == "modify")
                entry.modified = utcSeconds(value);
        }
        entries.insert(QString::fromUtf8(line.mid(gap + 1).trimmed()).section(QLatin1Char('/'), -1), entry);
    }
    return entries;
}

// The time of a file as the server's clock has it (FTP MDTM, SFTP stat); -1 when unknown.
qint64 CurlTransfer::fileTime(const QString &name)
{
    CURL *easy = curl_easy_init();
    applyCommon(easy);
    const QByteArray url = (m_target.folderUrl() + QString::fromUtf8(QUrl::toPercentEncoding(name))).toUtf8();
    curl_easy_setopt(easy, CURLOPT_URL, url.constData());
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(easy, CURLOPT_FILETIME, 1L);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT, 60L);
    curl_off_t modified = -1;
    if (perform(easy).ok)
        curl_easy_getinfo(easy, CURLINFO_FILETIME_T, &modified);
    curl_easy_cleanup(easy);
    return qint64(modified);
}
