#include "curltransfer.h"

#include "settings/atomicfile.h"
#include "settings/datafolder.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QUrl>

#include <curl/curl.h>

#include <cstdio>
#include <mutex>

namespace {

constexpr int maxNameBytes = 255;
constexpr int maxNumberedNames = 1000;
constexpr int maxListingBytes = 16 * 1024 * 1024;
constexpr int maxReplyBytes = 64 * 1024;

void initCurlOnce()
{
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

QByteArray quoted(const QString &path)
{
    QString escaped = path;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char('"'), QStringLiteral("\\\""));
    return (QLatin1Char('"') + escaped + QLatin1Char('"')).toUtf8();
}

// Whether the known-hosts file already pins some key (of any type) for the server.
bool isHostPinned(const QString &file, const QString &host, int port)
{
    QFile known(file);
    if (!known.open(QIODevice::ReadOnly))
        return false;
    const QByteArray plain = host.toUtf8();
    const QByteArray withPort = '[' + plain + "]:" + QByteArray::number(port);
    while (!known.atEnd()) {
        const QByteArray names = known.readLine().trimmed().split(' ').value(0);
        for (const QByteArray &name : names.split(',')) {
            if (name == withPort || (port == 22 && name == plain))
                return true;
        }
    }
    return false;
}

QByteArrayList readLines(const QString &file)
{
    QFile known(file);
    if (!known.open(QIODevice::ReadOnly))
        return {};
    return known.readAll().split('\n');
}

size_t discardBody(char *, size_t size, size_t count, void *)
{
    return size * count;
}

// libssh2 would create the file with the permissions the umask leaves; made first, for the
// user alone, it keeps them when libssh2 writes into it. Never replaced: a key pinned by a
// transfer running beside this one stays.
void createPrivately(const QString &path)
{
    QFile file(path);
    if (!file.exists() && !file.open(QIODevice::WriteOnly | QIODevice::NewOnly, DataFolder::privateFile)
        && !file.exists())
        qWarning().noquote() << "could not create" << path << file.errorString();
}

// A listing larger than any folder of captures is refused rather than held in memory.
size_t keepListing(char *data, size_t size, size_t count, void *buffer)
{
    auto *names = static_cast<QByteArray *>(buffer);
    if (names->size() + qint64(size * count) > maxListingBytes)
        return 0;
    names->append(data, qsizetype(size * count));
    return size * count;
}

} // namespace

struct CurlCallbacks
{
    static int hostKey(CURL *, const struct curl_khkey *, const struct curl_khkey *,
                       enum curl_khmatch match, void *client)
    {
        auto *transfer = static_cast<CurlTransfer *>(client);
        switch (match) {
        case CURLKHMATCH_OK:
            return CURLKHSTAT_FINE;
        case CURLKHMATCH_MISSING:
            // A key of another type than the pinned one is a changed key too.
            if (isHostPinned(transfer->m_target.knownHostsFile, transfer->m_target.host, transfer->m_target.port)) {
                transfer->m_hostKeyChanged = true;
                return CURLKHSTAT_REJECT;
            }
            // First contact: pin the key the server shows now.
            transfer->m_pinnedNow = true;
            return CURLKHSTAT_FINE_ADD_TO_FILE;
        default:
            transfer->m_hostKeyChanged = true;
            return CURLKHSTAT_REJECT;
        }
    }

    // The server's replies to FTP commands, for the facts that a listing command returns.
    static size_t reply(char *data, size_t size, size_t count, void *client)
    {
        auto *transfer = static_cast<CurlTransfer *>(client);
        if (transfer->m_replies.size() + qint64(size * count) <= maxReplyBytes)
            transfer->m_replies.append(data, qsizetype(size * count));
        return size * count;
    }

    static int progress(void *client, curl_off_t, curl_off_t, curl_off_t uploadTotal, curl_off_t uploaded)
    {
        auto *transfer = static_cast<CurlTransfer *>(client);
        if (transfer->m_abort.load() && transfer->m_abortable)
            return 1;
        if (!transfer->m_progress)
            return 0;
        // curl can report an upload without its total (0): the file's size stands, so the
        // page's bar keeps its scale.
        if (uploadTotal <= 0)
            uploadTotal = transfer->m_uploadSize;
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        const bool done = uploadTotal > 0 && uploaded >= uploadTotal;
        if (done || now - transfer->m_lastProgressMs >= 100) {
            transfer->m_lastProgressMs = now;
            transfer->m_progress(uploaded, uploadTotal);
        }
        return 0;
    }
};

QString CurlTarget::folderUrl() const
{
    QUrl url;
    url.setScheme(sftp ? QStringLiteral("sftp") : QStringLiteral("ftp"));
    url.setHost(host);
    if (port > 0)
        url.setPort(port);
    QString folder = path.trimmed();
    if (sftp) {
        while (folder.startsWith(QLatin1String("~/")))
            folder.remove(0, 2);
        if (!folder.startsWith(QLatin1Char('/')))
            folder = QStringLiteral("/~/") + folder; // relative to the login folder
    }
    if (!folder.startsWith(QLatin1Char('/')))
        folder.prepend(QLatin1Char('/'));
    if (!folder.endsWith(QLatin1Char('/')))
        folder.append(QLatin1Char('/'));
    url.setPath(folder);
    return url.toString(QUrl::FullyEncoded);
}

QString CurlTarget::commandPath(const QString &name) const
{
    // A relative path starts at the login folder; over FTP the folder always is one (see
    // folderUrl), over SFTP an absolute one stays absolute.
    QString folder = path.trimmed();
    while (folder.startsWith(QLatin1String("~/")))
        folder.remove(0, 2);
    while (!sftp && folder.startsWith(QLatin1Char('/')))
        folder.remove(0, 1);
    if (!folder.isEmpty() && !folder.endsWith(QLatin1Char('/')))
        folder.append(QLatin1Char('/'));
    return folder + name;
}

CurlOutcome CurlTransfer::failure(const QString &text, int code)
{
    CurlOutcome outcome;
    outcome.errorText = text;
    outcome.code = code;
    return outcome;
}

CurlOutcome CurlTransfer::cancelled()
{
    CurlOutcome outcome = failure(tr("Upload canceled"), CURLE_ABORTED_BY_CALLBACK);
    outcome.aborted = true;
    return outcome;
}

CurlTransfer::CurlTransfer(const CurlTarget &target)
    : m_target(target)
{
    initCurlOnce();
}

void CurlTransfer::abort()
{
    m_abort = true;
    if (void *multi = m_multi.load())
        curl_multi_wakeup(static_cast<CURLM *>(multi));
}

void CurlTransfer::applyCommon(void *handle)
{
    CURL *easy = static_cast<CURL *>(handle);
    curl_easy_setopt(easy, CURLOPT_USERNAME, m_target.user.toUtf8().constData());
    curl_easy_setopt(easy, CURLOPT_PASSWORD, m_target.password.toUtf8().constData());
    curl_easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl_easy_setopt(easy, CURLOPT_CONNECTTIMEOUT, 20L);
    curl_easy_setopt(easy, CURLOPT_NOPROGRESS, 0L);
    curl_easy_setopt(easy, CURLOPT_XFERINFOFUNCTION, &CurlCallbacks::progress);
    curl_easy_setopt(easy, CURLOPT_XFERINFODATA, this);
    // A stalled server must not hold the job forever.
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_LIMIT, 1L);
    curl_easy_setopt(easy, CURLOPT_LOW_SPEED_TIME, 60L);
    curl_easy_setopt(easy, CURLOPT_HEADERFUNCTION, &CurlCallbacks::reply);
    curl_easy_setopt(easy, CURLOPT_HEADERDATA, this);
    if (m_target.sftp) {
        curl_easy_setopt(easy, CURLOPT_SSH_AUTH_TYPES,
                         long(CURLSSH_AUTH_PASSWORD | CURLSSH_AUTH_KEYBOARD));
        QDir().mkpath(QFileInfo(m_target.knownHostsFile).absolutePath());
        createPrivately(m_target.knownHostsFile);
        curl_easy_setopt(easy, CURLOPT_SSH_KNOWNHOSTS, m_target.knownHostsFile.toUtf8().constData());
        curl_easy_setopt(easy, CURLOPT_SSH_KEYFUNCTION, &CurlCallbacks::hostKey);
        curl_easy_setopt(easy, CURLOPT_SSH_KEYDATA, this);
    }
}

QString CurlTransfer::numberedName(const QString &remoteName, int n)
{
    if (n <= 1)
        return remoteName;
    int dot = remoteName.lastIndexOf(QLatin1Char('.'));
    if (dot <= 0)
        dot = remoteName.size();
    QString base = remoteName.left(dot);
    const QString rest = QLatin1Char('_') + QString::number(n) + remoteName.mid(dot);
    while (!base.isEmpty() && (base + rest).toUtf8().size() > maxNameBytes)
        base.chop(base.size() > 1 && base.back().isLowSurrogate() ? 2 : 1);
    return base + rest;
}

CurlOutcome CurlTransfer::command(const QByteArrayList &commands, const QString &name, Run run)
{
    CURL *easy = curl_easy_init();
    applyCommon(easy);
    const QByteArray url = (m_target.folderUrl() + QString::fromUtf8(QUrl::toPercentEncoding(name, "/"))).toUtf8();
    curl_easy_setopt(easy, CURLOPT_URL, url.constData());
    curl_easy_setopt(easy, CURLOPT_NOBODY, 1L);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT, run == Run::Cleanup ? 15L : 60L);
    struct curl_slist *list = nullptr;
    for (const QByteArray &line : commands)
        list = curl_slist_append(list, line.constData());
    curl_easy_setopt(easy, CURLOPT_QUOTE, list);
    const CurlOutcome outcome = perform(easy, run == Run::Abortable);
    curl_easy_cleanup(easy);
    curl_slist_free_all(list);
    return outcome;
}

// Whether the folder holds a file of that name; a failed look (no folder yet, no login)
// counts as no, and the upload itself then reports what is wrong.
bool CurlTransfer::remoteExists(const QString &name)
{
    return command({}, name).ok;
}

bool CurlTransfer::removeRemote(const QString &name)
{
    const QString path = m_target.commandPath(name);
    const CurlOutcome outcome =
        command({m_target.sftp ? "rm " + quoted(path) : "DELE " + path.toUtf8()}, QString(), Run::Cleanup);
    if (!outcome.ok)
        qWarning().noquote() << Q_FUNC_INFO << "could not remove" << name << outcome.code;
    return outcome.ok;
}

CurlOutcome CurlTransfer::upload(const QString &localFile, const QString &remoteName,
                                 const Progress &progress)
{
    m_progress = progress;
    const QString partName = temporaryName();
    bool started = false;
    CurlOutcome outcome = sendPart(localFile, partName, &started);
    m_progress = nullptr; // the commands after it move no bytes of the file
    if (outcome.ok)
        outcome = placeUnderFreeName(partName, remoteName);
    if (outcome.ok && !m_abort.load())
        removeLeftovers(outcome.storedName);
    if (outcome.ok && m_abort.load()) {
        removeRemote(outcome.storedName); // the user was given no link to it
        return cancelled();
    }
    if (!outcome.ok && started)
        removeOrOwe(partName);
    return outcome;
}

CurlOutcome CurlTransfer::sendPart(const QString &localFile, const QString &partName, bool *started)
{
    FILE *input = std::fopen(QFile::encodeName(localFile).constData(), "rb");
    if (!input)
        return failure(tr("Cannot read the file %1").arg(QFileInfo(localFile).fileName()), CURLE_READ_ERROR);
    const QByteArray url = (m_target.folderUrl()
                            + QString::fromUtf8(QUrl::toPercentEncoding(partName))).toUtf8();
    CURL *easy = curl_easy_init();
    applyCommon(easy);
    curl_easy_setopt(easy, CURLOPT_URL, url.constData());
    curl_easy_setopt(easy, CURLOPT_UPLOAD, 1L);
    curl_easy_setopt(easy, CURLOPT_READDATA, input);
    m_uploadSize = QFileInfo(localFile).size();
    curl_easy_setopt(easy, CURLOPT_INFILESIZE_LARGE, curl_off_t(m_uploadSize));
    if (m_target.sftp) // larger SFTP writes keep more requests in flight; FTP is faster with the default
        curl_easy_setopt(easy, CURLOPT_UPLOAD_BUFFERSIZE, uploadBufferSize);
    curl_easy_setopt(easy, CURLOPT_FTP_CREATE_MISSING_DIRS, long(CURLFTP_CREATE_DIR_RETRY));
    const CurlOutcome outcome = perform(easy);
    // Past the negotiation the server may hold a part of the file.
    curl_off_t pretransfer = 0;
    curl_easy_getinfo(easy, CURLINFO_PRETRANSFER_TIME_T, &pretransfer);
    *started = pretransfer > 0;
    curl_easy_cleanup(easy);
    std::fclose(input);
    return outcome;
}

// The finished upload takes the first free name, by a rename that refuses to replace a
// file: another upload of the same name may end at the same time.
CurlOutcome CurlTransfer::placeUnderFreeName(const QString &partName, const QString &remoteName)
{
    for (int n = 1; n <= maxNumberedNames && !m_abort.load(); ++n) {
        const QString name = numberedName(remoteName, n);
        CurlOutcome outcome;
        const Placement placement =
            m_target.sftp ? renameSftp(partName, name, &outcome) : renameFtp(partName, name, &outcome);
        if (placement == Placement::Placed) {
            outcome.storedName = name;
            return outcome;
        }
        if (placement == Placement::Failed)
            return outcome;
    }
    if (m_abort.load())
        return cancelled();
    return failure(tr("The server folder holds too many files named %1").arg(remoteName), CURLE_REMOTE_FILE_EXISTS);
}

// The SFTP rename refuses to replace a file (protocol version 3). A rename under way is not
// cut by a cancel: the file is then either placed (and removed again) or not.
CurlTransfer::Placement CurlTransfer::renameSftp(const QString &partName, const QString &name, CurlOutcome *outcome)
{
    *outcome = command({"rename " + quoted(m_target.commandPath(partName)) + ' ' + quoted(m_target.commandPath(name))},
                       QString(), Run::ToTheEnd);
    if (outcome->ok)
        return Placement::Placed;
    return outcome->code == CURLE_QUOTE_ERROR && remoteExists(name) ? Placement::Taken : Placement::Failed;
}

// An FTP rename replaces a file: a lock folder per name, made by the one MKD that succeeds,
// stands in for the refusal. The lock's steps run to their end after a cancel too, so that a
// lock once made is always removed again.
CurlTransfer::Placement CurlTransfer::renameFtp(const QString &partName, const QString &name, CurlOutcome *outcome)
{
    const QString lockName = lockNameOf(name);
    const CurlOutcome look = lockAndLook(lockName, name, partName);
    if (look.code == CURLE_QUOTE_ERROR)
        return renameWithoutLock(partName, name, lockName, outcome);
    const bool cancel = m_abort.load();
    if (cancel || look.code != CURLE_REMOTE_FILE_NOT_FOUND) {
        unlock(lockName);
        if (look.ok && !cancel)
            return Placement::Taken; // a file of that name is there
        *outcome = cancel ? cancelled() : look;
        return Placement::Failed;
    }
    *outcome = command(renameCommands(partName, name) << "*RMD " + m_target.commandPath(lockName).toUtf8(),
                       QString(), Run::ToTheEnd);
    if (!outcome->ok)
        unlock(lockName);
    return outcome->ok ? Placement::Placed : Placement::Failed;
}

// No lock was made: another upload holds it, or the server makes no folders (it then gets
// the look before the rename).
CurlTransfer::Placement CurlTransfer::renameWithoutLock(const QString &partName, const QString &name,
                                                        const QString &lockName, CurlOutcome *outcome)
{
    if (command({}, lockName + QLatin1Char('/')).ok || remoteExists(name))
        return Placement::Taken;
    if (m_abort.load()) {
        *outcome = cancelled();
        return Placement::Failed;
    }
    *outcome = command(renameCommands(partName, name), QString(), Run::ToTheEnd);
    return outcome->ok ? Placement::Placed : Placement::Failed;
}

QByteArrayList CurlTransfer::renameCommands(const QString &partName, const QString &name) const
{
    return {"RNFR " + m_target.commandPath(partName).toUtf8(), "RNTO " + m_target.commandPath(name).toUtf8()};
}

CurlOutcome CurlTransfer::probe()
{
    CurlOutcome outcome = listFolder();
    const bool folderMissing =
        outcome.code == CURLE_REMOTE_FILE_NOT_FOUND || outcome.code == CURLE_REMOTE_ACCESS_DENIED;
    if (outcome.ok || !folderMissing || m_target.path.trimmed().isEmpty())
        return outcome;
    // Logged in, but the folder is not there yet: the first upload creates it.
    const QString folder = m_target.path;
    m_target.path.clear();
    outcome = listFolder();
    m_target.path = folder;
    if (outcome.ok)
        outcome.notice = tr("The folder %1 does not exist yet: the first upload creates it").arg(folder);
    return outcome;
}

CurlOutcome CurlTransfer::listFolder(QByteArray *names)
{
    CURL *easy = curl_easy_init();
    applyCommon(easy);
    const QByteArray url = m_target.folderUrl().toUtf8();
    curl_easy_setopt(easy, CURLOPT_URL, url.constData());
    curl_easy_setopt(easy, CURLOPT_DIRLISTONLY, 1L);
    curl_easy_setopt(easy, CURLOPT_WRITEFUNCTION, names ? &keepListing : &discardBody);
    curl_easy_setopt(easy, CURLOPT_WRITEDATA, names);
    curl_easy_setopt(easy, CURLOPT_TIMEOUT, 60L);
    const CurlOutcome outcome = perform(easy);
    curl_easy_cleanup(easy);
    return outcome;
}

CurlOutcome CurlTransfer::perform(void *handle, bool abortable)
{
    const QByteArrayList knownBefore = m_target.sftp ? readLines(m_target.knownHostsFile) : QByteArrayList();
    m_pinnedNow = false;
    const CurlOutcome outcome = performMulti(handle, abortable);
    if (m_pinnedNow)
        qualifyPinnedKey(knownBefore);
    return outcome;
}

// libssh2 writes a new key under the bare host name; on any port but 22 the entry must
// name the port as well, or two servers of one host would share one pinned key.
void CurlTransfer::qualifyPinnedKey(const QByteArrayList &knownBefore)
{
    if (m_target.port == 22)
        return;
    QByteArrayList lines = readLines(m_target.knownHostsFile);
    const QByteArray plain = m_target.host.toUtf8() + ' ';
    const QByteArray qualified = '[' + m_target.host.toUtf8() + "]:" + QByteArray::number(m_target.port) + ' ';
    bool changed = false;
    for (QByteArray &line : lines) {
        if (line.startsWith(plain) && !knownBefore.contains(line)) {
            line = qualified + line.mid(plain.size());
            changed = true;
        }
    }
    QString error; // the file keeps its permissions: the user's alone since it was made
    if (changed && !AtomicFile::save(m_target.knownHostsFile, lines.join('\n'), &error))
        qWarning().noquote() << "could not name the port of the key pinned in" << m_target.knownHostsFile << error;
}

CurlOutcome CurlTransfer::performMulti(void *handle, bool abortable)
{
    CURL *easy = static_cast<CURL *>(handle);
    CURLM *multi = curl_multi_init();
    curl_multi_add_handle(multi, easy);
    m_multi = multi;
    m_abortable = abortable;
    m_replies.clear();
    int running = 1;
    CURLcode code = CURLE_OK;
    while (running && !(abortable && m_abort.load())) {
        const CURLMcode state = curl_multi_perform(multi, &running);
        if (state != CURLM_OK) {
            code = CURLE_SEND_ERROR;
            break;
        }
        if (running)
            curl_multi_poll(multi, nullptr, 0, 500, nullptr);
    }
    int queued = 0;
    while (CURLMsg *message = curl_multi_info_read(multi, &queued)) {
        if (message->msg == CURLMSG_DONE)
            code = message->data.result;
    }
    m_multi = nullptr;
    curl_multi_remove_handle(multi, easy);
    curl_multi_cleanup(multi);
    if (abortable && m_abort.load())
        return cancelled();
    return outcomeOf(code);
}

CurlOutcome CurlTransfer::outcomeOf(int value) const
{
    const CURLcode code = CURLcode(value);
    CurlOutcome outcome;
    outcome.code = code;
    outcome.ok = code == CURLE_OK;
    if (outcome.ok)
        return outcome;
    // A server that no longer offers a key of the pinned type fails the key exchange.
    const bool pinnedTypeGone = m_target.sftp && code == CURLE_FAILED_INIT
        && isHostPinned(m_target.knownHostsFile, m_target.host, m_target.port);
    if (m_hostKeyChanged || pinnedTypeGone) {
        outcome.errorText = tr("The host key of the server %1 has changed. The connection was refused: "
                                 "the server may be an impostor. If the server was reinstalled, remove its "
                                 "line from %2").arg(m_target.host, m_target.knownHostsFile);
        return outcome;
    }
    switch (code) {
    case CURLE_LOGIN_DENIED:
    case CURLE_REMOTE_ACCESS_DENIED:
        outcome.errorText = tr("Wrong user name or password, or access denied");
        break;
    case CURLE_COULDNT_CONNECT:
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_OPERATION_TIMEDOUT:
        outcome.errorText = tr("Could not connect to the server %1").arg(m_target.host);
        break;
    default:
        outcome.errorText = tr("Upload error: %1").arg(QString::fromUtf8(curl_easy_strerror(code)));
    }
    return outcome;
}

CurlUploadThread::CurlUploadThread(const CurlTarget &target, const QString &localFile,
                                   const QString &remoteName, QObject *parent)
    : QThread(parent)
    , m_transfer(target)
    , m_localFile(localFile)
    , m_remoteName(remoteName)
{
}

CurlUploadThread::~CurlUploadThread()
{
    abort();
    wait();
}

void CurlUploadThread::abort()
{
    m_transfer.abort();
}

void CurlUploadThread::run()
{
    const CurlOutcome outcome = m_transfer.upload(m_localFile, m_remoteName,
                                                  [this](qint64 sent, qint64 total) {
                                                      emit progress(sent, total);
                                                  });
    emit transferFinished(outcome.ok, outcome.aborted, outcome.errorText, outcome.storedName);
}
