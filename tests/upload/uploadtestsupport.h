#pragma once

// Helpers of the upload tests: real servers on 127.0.0.1 (pyftpdlib, sshd, HTTPS
// stand-ins), test files, and a recorder of the dispatcher's signals.

#include "../harness/files.h"
#include "../harness/patternwindow.h"
#include "../harness/processes.h"
#include "core.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "upload/networkexchange.h"
#include "upload/uploadhooks.h"
#include "upload/uploadmodel.h"

#include <QCryptographicHash>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <signal.h>
#include <sys/time.h>
#include <unistd.h>

namespace UploadTest {

// The folder of these helpers: as the build names it for tests (a compiler cache may make
// __FILE__ relative), else where the compiler found them.
inline QString uploadTestDir()
{
#ifdef MAVU_TEST_DIR
    return QStringLiteral(MAVU_TEST_DIR "/../upload");
#else
    return QFileInfo(QStringLiteral(__FILE__)).absolutePath();
#endif
}

// A file of random bytes (random so that a shifted or dropped block cannot compare equal).
inline QString makeFile(const QString &path, qint64 size)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return QString();
    QByteArray block(64 * 1024, Qt::Uninitialized);
    for (qint64 left = size; left > 0; left -= block.size()) {
        QRandomGenerator::global()->fillRange(reinterpret_cast<quint32 *>(block.data()), block.size() / 4);
        file.write(block.constData(), qMin<qint64>(left, block.size()));
    }
    return path;
}

// A folder with nested files: name/a.bin, name/sub/b.txt, name/sub/deeper/c.bin.
inline QStringList makeFolder(const QString &folder)
{
    return {makeFile(folder + QStringLiteral("/a.bin"), 70000),
            makeFile(folder + QStringLiteral("/sub/b.txt"), 1234),
            makeFile(folder + QStringLiteral("/sub/deeper/c.bin"), 300000)};
}

// `cmp` of two files: true when byte for byte equal.
inline bool sameBytes(const QString &a, const QString &b)
{
    return QProcess::execute(QStringLiteral("cmp"), {QStringLiteral("-s"), a, b}) == 0;
}

inline QString sha256Of(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return QString();
    QCryptographicHash hash(QCryptographicHash::Sha256);
    hash.addData(&file);
    return QString::fromLatin1(hash.result().toHex());
}

// Unpacks a zip archive with the unzip command into folder.
inline bool unzipInto(const QString &archive, const QString &folder)
{
    return QProcess::execute(QStringLiteral("unzip"), {QStringLiteral("-q"), QStringLiteral("-o"), archive,
                                                       QStringLiteral("-d"), folder}) == 0;
}

// The files of folder, unpacked from the archive into unpackFolder, each equal byte for
// byte to its original under the folder's own name. Empty on success, else what differs.
inline QString archivedFolderDiffers(const QString &archive, const QString &folder, const QStringList &files,
                                     const QString &unpackFolder)
{
    if (!unzipInto(archive, unpackFolder))
        return QStringLiteral("cannot unpack ") + archive;
    const QDir original(folder);
    const QString inArchive = unpackFolder + QLatin1Char('/') + original.dirName() + QLatin1Char('/');
    for (const QString &file : files) {
        if (!sameBytes(file, inArchive + original.relativeFilePath(file)))
            return QStringLiteral("differs: ") + file;
    }
    return QString();
}

inline QStringList zipEntries(const QString &archive)
{
    QProcess process;
    process.start(QStringLiteral("unzip"), {QStringLiteral("-Z1"), archive});
    process.waitForFinished(20000);
    QStringList entries = QString::fromUtf8(process.readAllStandardOutput()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    entries.sort();
    return entries;
}

// A capture of 320 x 200 whose neighbouring pixels all differ.
inline QPixmap patternPicture()
{
    return QPixmap::fromImage(patternImage(QSize(320, 200)));
}

inline void setValues(const QList<QPair<QString, QVariant>> &values)
{
    for (const auto &value : values)
        Setting::instance()->setValue(value.first, value.second);
}

// The pyftpdlib server of the tests: user "user", password "pass", writable root folder;
// with a rate, it receives at most that many bytes a second.
class FtpServer
{
public:
    bool start(const QString &root, int bytesPerSecond = 0)
    {
        m_root = root;
        m_rate = bytesPerSecond;
        QDir().mkpath(root);
        QDir().mkpath(control());
        m_port = freePort();
        return restart();
    }
    // Starts the server again after stop(), on the same port and folder.
    bool restart()
    {
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        endWithParent(m_process);
        m_process.start(QStringLiteral("/usr/bin/python3"),
                        {uploadTestDir() + "/ftpd.py", QStringLiteral("--port"), QString::number(m_port),
                         QStringLiteral("--dir"), m_root, QStringLiteral("--rate"), QString::number(m_rate),
                         QStringLiteral("--control"), control()});
        return waitForPort(m_port);
    }
    ~FtpServer() { stop(); }
    void stop() { stopProcess(m_process); }
    quint16 port() const { return m_port; }
    QString root() const { return m_root; }
    // Stops the server: connections are taken but wait for an answer until it resumes.
    void pause() { ::kill(pid_t(m_process.processId()), SIGSTOP); }
    void resume() { ::kill(pid_t(m_process.processId()), SIGCONT); }
    // Holds the next connection that comes to a step ("lock", "first-rename": see ftpd.py)
    // until release().
    bool hold(const QString &step) const { return writeFile(control() + "/hold-" + step, QByteArray()); }
    bool isHolding(const QString &step) const { return QFile::exists(control() + "/held-" + step); }
    void release(const QString &step) const
    {
        QFile::remove(control() + "/hold-" + step);
        QFile::remove(control() + "/held-" + step);
    }

    // The program's settings for uploads to the folder of this server, links under baseUrl.
    void useForUploads(const QString &folder, const QString &baseUrl) const
    {
        setValues({{SettingKeys::typeUpload, QStringLiteral("ftp")}, {SettingKeys::isSftp, 0},
                   {SettingKeys::ftpHost, QStringLiteral("127.0.0.1")}, {SettingKeys::ftpPort, m_port},
                   {SettingKeys::ftpPath, folder}, {SettingKeys::ftpBaseUrl, baseUrl},
                   {SettingKeys::ftpUser, QStringLiteral("user")}, {SettingKeys::ftpPassword, QStringLiteral("pass")}});
    }

private:
    QString control() const { return m_root + QStringLiteral(".control"); }

    QProcess m_process;
    quint16 m_port = 0;
    QString m_root;
    int m_rate = 0;
};

// The lock folder that uploads of this program make on an FTP server while they place a file
// under name.
inline QString lockFolderOf(const QString &name)
{
    return "mavu-" + QCryptographicHash::hash(name.toUtf8(), QCryptographicHash::Sha1).toHex().left(16) + ".lock";
}

// Sets the modification time of a file or folder to secondsAgo before now.
inline bool setAge(const QString &path, qint64 secondsAgo)
{
    const timeval time{QDateTime::currentSecsSinceEpoch() - secondsAgo, 0};
    const timeval times[2] = {time, time};
    return ::utimes(QFile::encodeName(path).constData(), times) == 0;
}

// What this program's uploads may leave in a server folder: temporary files and lock folders.
inline QStringList leftoversIn(const QString &folder)
{
    return QDir(folder).entryList({QStringLiteral("mavu-*")}, QDir::Files | QDir::Dirs | QDir::NoDotAndDotDot,
                                  QDir::Name);
}

// Records what the dispatcher reports.
class Recorder
{
public:
    explicit Recorder(NetworkExchange *exchange)
        : startUpload(exchange, &NetworkExchange::startUpload)
        , readyLink(exchange, &NetworkExchange::readyLink)
        , readyLinkAfterUpload(exchange, &NetworkExchange::readyLinkAfterUpload)
        , error(exchange, &NetworkExchange::error)
        , internetNotAvailable(exchange, &NetworkExchange::internetNotAvailable)
        , m_exchange(exchange)
    {
    }

    QString firstError() const { return error.isEmpty() ? QString() : error.first().first().toString(); }
    QString link() const { return readyLinkAfterUpload.isEmpty() ? QString() : readyLinkAfterUpload.first().first().toString(); }
    bool ended() const { return !readyLinkAfterUpload.isEmpty() || !error.isEmpty() || !internetNotAvailable.isEmpty(); }

    // Uploads the file as a capture with its share action; false when the job never ends.
    bool upload(const QString &file, HandlerUpload::TypeAfterAction action = HandlerUpload::ActionNone,
                const QString &title = QString())
    {
        m_exchange->uploadScreen(file, title, action);
        return QTest::qWaitFor([this] { return ended(); }, 60000);
    }

    // All the job reported, in one line: "link: <url>" for one link given both before and
    // after the bytes, else "early: <url>" and "late: <url>" for the links before and after
    // the bytes, "error: <text>" and "offline", joined by "; ".
    QString outcome() const
    {
        const auto texts = [](const QSignalSpy &spy, const QString &prefix) {
            QStringList found;
            for (const QList<QVariant> &arguments : spy)
                found << prefix + arguments.value(0).toString();
            return found;
        };
        QStringList parts = texts(readyLink, "early: ") + texts(readyLinkAfterUpload, "late: ");
        if (readyLink.count() == 1 && readyLinkAfterUpload.count() == 1 && parts.at(0).mid(7) == parts.at(1).mid(6))
            parts = QStringList{"link: " + link()};
        parts += texts(error, "error: ");
        if (!internetNotAvailable.isEmpty())
            parts << QStringLiteral("offline");
        return parts.join(QStringLiteral("; "));
    }

    // One error holding the text, and no link.
    bool failedWith(const QString &text) const
    {
        return error.count() == 1 && firstError().contains(text) && readyLink.isEmpty() && readyLinkAfterUpload.isEmpty()
            && internetNotAvailable.isEmpty();
    }

    QSignalSpy startUpload;
    QSignalSpy readyLink;
    QSignalSpy readyLinkAfterUpload;
    QSignalSpy error;
    QSignalSpy internetNotAvailable;

private:
    NetworkExchange *m_exchange;
};

// Lets the event loop run until the job has reported its end (link, error or offline).
inline bool waitForEnd(const Recorder &recorder, int timeoutMs = 60000)
{
    return QTest::qWaitFor([&] { return recorder.ended(); }, timeoutMs);
}

// Uploads a large file as the user does and cancels it once its bytes flow. Empty when the
// job's row and object are gone and it reported nothing but maybe an early link, else what
// it did.
inline QString cancelMidTransfer(NetworkExchange *exchange, const QString &file)
{
    Recorder recorder(exchange);
    UploadModel *model = Core::instance()->uploadModel();
    QSignalSpy complete(model, &UploadModel::uploadComplete);
    exchange->uploadData({file});
    QPointer<HandlerUpload> job = model->uploader(0);
    if (!QTest::qWaitFor([&] { return job && job->download() > 0; }, 30000))
        return QStringLiteral("no bytes sent");
    if (job->download() >= job->total())
        return QStringLiteral("sent before the cancel");
    exchange->cancelUpload();
    if (model->rowCount() != 0 || complete.count() != 1)
        return QStringLiteral("rows left: %1, completions: %2").arg(model->rowCount()).arg(complete.count());
    if (!QTest::qWaitFor([&] { return job.isNull(); }))
        return QStringLiteral("the job stays");
    QTest::qWait(300);
    QFile::remove(file);
    QStringList reported = recorder.outcome().split(QStringLiteral("; "), Qt::SkipEmptyParts);
    reported.removeIf([](const QString &part) { return part.startsWith(QStringLiteral("early: ")); });
    return reported.join(QStringLiteral("; "));
}

// Uploads localFiles one after the other; returns the link of each ("" for a failure).
inline QStringList uploadEach(NetworkExchange *exchange, const QStringList &localFiles)
{
    QStringList links;
    for (const QString &file : localFiles) {
        Recorder recorder(exchange);
        links.append(recorder.upload(file) ? recorder.link() : QString());
    }
    return links;
}

// Two files named "same.png" from two folders of localRoot go up at once: each must get a
// name of its own ("same.png" and "same_2.png", whichever ends first), so that each link
// serves its own file, and no temporary file may stay. Empty when so, else what went wrong.
inline QString sameNameKeepsBoth(NetworkExchange *exchange, const QString &localRoot, const QString &remoteFolder,
                                 const QString &linkBase)
{
    const QStringList files = {makeFile(localRoot + QStringLiteral("/one/same.png"), 3000),
                               makeFile(localRoot + QStringLiteral("/two/same.png"), 4000)};
    Recorder recorder(exchange);
    for (const QString &file : files)
        exchange->uploadScreen(file, QString());
    if (!QTest::qWaitFor([&] { return recorder.readyLinkAfterUpload.count() + recorder.error.count() == 2; }, 60000))
        return QStringLiteral("timed out");
    if (!recorder.error.isEmpty())
        return QStringLiteral("error: ") + recorder.firstError();
    QStringList links;
    for (const QList<QVariant> &arguments : recorder.readyLinkAfterUpload)
        links << arguments.first().toString();
    links.sort();
    if (links != QStringList{linkBase + QStringLiteral("same.png"), linkBase + QStringLiteral("same_2.png")})
        return QStringLiteral("links: ") + links.join(QStringLiteral(", "));
    const QString first = remoteFolder + QStringLiteral("/same.png");
    const QString second = remoteFolder + QStringLiteral("/same_2.png");
    if (!(sameBytes(files.at(0), first) && sameBytes(files.at(1), second))
        && !(sameBytes(files.at(0), second) && sameBytes(files.at(1), first)))
        return QStringLiteral("the server holds other bytes");
    if (!leftoversIn(remoteFolder).isEmpty())
        return QStringLiteral("left on the server: ") + leftoversIn(remoteFolder).join(QStringLiteral(", "));
    return QString();
}

// Leftovers of uploads that ended long ago go with the first upload to their folder: a
// temporary file and, over FTP, a lock folder. A running upload's temporary file and the
// user's own files stay. Empty when so, else what is wrong.
inline QString abandonedLeftoversGo(NetworkExchange *exchange, const QString &localFile, const QString &remoteFolder,
                                    bool ftp)
{
    const QString abandoned = remoteFolder + QStringLiteral("/mavu-Abandoned123.part");
    const QString running = remoteFolder + QStringLiteral("/mavu-Running12345.part");
    const QString usersOwn = remoteFolder + QStringLiteral("/notes.part");
    const QString lock = remoteFolder + QLatin1Char('/') + lockFolderOf(QStringLiteral("long ago.png"));
    const qint64 dayAgo = 24 * 3600;
    if (!writeFile(abandoned, "a") || !writeFile(running, "r") || !writeFile(usersOwn, "u") || !setAge(abandoned, dayAgo)
        || !setAge(usersOwn, dayAgo) || (ftp && !(QDir().mkpath(lock) && setAge(lock, dayAgo))))
        return QStringLiteral("cannot plant the leftovers");
    Recorder recorder(exchange);
    if (!recorder.upload(localFile) || recorder.link().isEmpty())
        return QStringLiteral("upload: ") + recorder.outcome();
    const QStringList left = leftoversIn(remoteFolder) << (QFile::exists(usersOwn) ? "notes.part" : "");
    if (left != QStringList{"mavu-Running12345.part", "notes.part"})
        return QStringLiteral("left: ") + left.join(QStringLiteral(", "));
    return QString();
}

} // namespace UploadTest
