#pragma once

// Helpers of the upload tests: real servers on 127.0.0.1 (pyftpdlib, sshd, HTTPS
// stand-ins), test files, and a recorder of the dispatcher's signals.

#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "upload/networkexchange.h"
#include "upload/uploadhooks.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QPixmap>
#include <QProcess>
#include <QRandomGenerator>
#include <QSignalSpy>
#include <QSslConfiguration>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

namespace UploadTest {

// Servers started by a test end with it, also when it crashes.
inline void endWithParent(QProcess &process)
{
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
}

inline quint16 freePort()
{
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    return server.serverPort();
}

inline bool waitForPort(quint16 port, int timeoutMs = 15000)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < timeoutMs) {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (socket.waitForConnected(200))
            return true;
        QTest::qWait(50);
    }
    return false;
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

// Starts a program and waits for a line starting with "READY" on its standard output.
inline QStringList startReady(QProcess &process, const QString &program, const QStringList &arguments)
{
    process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    endWithParent(process);
    process.start(program, arguments);
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < 20000) {
        if (process.canReadLine()) {
            const QString line = QString::fromUtf8(process.readLine()).trimmed();
            if (line.startsWith(QLatin1String("READY")))
                return line.split(QLatin1Char(' '));
        }
        if (process.state() == QProcess::NotRunning)
            break;
        process.waitForReadyRead(200);
    }
    return {};
}

inline void stopProcess(QProcess &process)
{
    if (process.state() == QProcess::NotRunning)
        return;
    process.terminate();
    if (!process.waitForFinished(5000)) {
        process.kill();
        process.waitForFinished(5000);
    }
}

// Trusts the stand-in's self-signed certificate in every thread of the process.
inline void trustCertificate(const QString &certificateFile)
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.addCaCertificates(certificateFile);
    QSslConfiguration::setDefaultConfiguration(configuration);
}

// A capture whose neighbouring pixels all differ, so that a shifted or re-encoded
// picture never compares equal.
inline QPixmap patternPicture()
{
    QImage image(320, 200, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x & 255, (y * 3) & 255, (x * y) & 255));
    return QPixmap::fromImage(image);
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
        QDir().mkpath(root);
        m_port = freePort();
        m_process.setProcessChannelMode(QProcess::ForwardedChannels);
        endWithParent(m_process);
        const QString port = QString::number(m_port);
        if (bytesPerSecond > 0)
            m_process.start(QStringLiteral("/usr/bin/python3"),
                            {QFileInfo(QStringLiteral(__FILE__)).absolutePath() + QStringLiteral("/throttled_ftpd.py"), QStringLiteral("--port"), port,
                             QStringLiteral("--dir"), root, QStringLiteral("--rate"), QString::number(bytesPerSecond)});
        else
            m_process.start(QStringLiteral("/usr/bin/python3"),
                            {QStringLiteral("-m"), QStringLiteral("pyftpdlib"), QStringLiteral("-i"), QStringLiteral("127.0.0.1"),
                             QStringLiteral("-p"), port, QStringLiteral("-u"), QStringLiteral("user"),
                             QStringLiteral("-P"), QStringLiteral("pass"), QStringLiteral("-d"), root, QStringLiteral("-w"),
                             QStringLiteral("-V")});
        return waitForPort(m_port);
    }
    ~FtpServer() { stopProcess(m_process); }
    void stop() { stopProcess(m_process); }
    quint16 port() const { return m_port; }
    QString root() const { return m_root; }

private:
    QProcess m_process;
    quint16 m_port = 0;
    QString m_root;
};

// A Python stand-in over HTTPS on 127.0.0.1 that prints "READY <port> <certificate>".
class HttpsStandIn
{
public:
    bool start(const QString &script, const QString &folder)
    {
        QDir().mkpath(folder);
        const QStringList ready = startReady(m_process, QStringLiteral("/usr/bin/python3"),
                                             {script, QStringLiteral("--dir"), folder});
        if (ready.size() < 3)
            return false;
        m_port = ready.at(1).toUShort();
        trustCertificate(ready.at(2));
        return true;
    }
    ~HttpsStandIn() { stopProcess(m_process); }
    void stop() { stopProcess(m_process); }

    quint16 port() const { return m_port; }
    QString origin() const { return QStringLiteral("https://127.0.0.1:%1").arg(m_port); }
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }

    QJsonObject get(const QString &path) { return exchange(path, nullptr); }
    QJsonObject post(const QString &path, const QJsonObject &body)
    {
        const QByteArray data = QJsonDocument(body).toJson(QJsonDocument::Compact);
        return exchange(path, &data);
    }

private:
    QJsonObject exchange(const QString &path, const QByteArray *body)
    {
        QNetworkAccessManager network;
        QNetworkRequest request(QUrl(origin() + path));
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
        QNetworkReply *reply = body ? network.post(request, *body) : network.get(request);
        QSignalSpy done(reply, &QNetworkReply::finished);
        done.wait(20000);
        const QJsonObject result = QJsonDocument::fromJson(reply->readAll()).object();
        delete reply;
        return result;
    }

    QProcess m_process;
    quint16 m_port = 0;
};

// Records what the dispatcher reports and what the jobs would open in the browser.
class Recorder
{
public:
    explicit Recorder(NetworkExchange *exchange)
        : startUpload(exchange, &NetworkExchange::startUpload)
        , readyLink(exchange, &NetworkExchange::readyLink)
        , readyLinkAfterUpload(exchange, &NetworkExchange::readyLinkAfterUpload)
        , error(exchange, &NetworkExchange::error)
        , internetNotAvailable(exchange, &NetworkExchange::internetNotAvailable)
    {
    }

    QString firstError() const { return error.isEmpty() ? QString() : error.first().first().toString(); }
    QString link() const { return readyLinkAfterUpload.isEmpty() ? QString() : readyLinkAfterUpload.first().first().toString(); }
    bool ended() const { return !readyLinkAfterUpload.isEmpty() || !error.isEmpty() || !internetNotAvailable.isEmpty(); }

    QSignalSpy startUpload;
    QSignalSpy readyLink;
    QSignalSpy readyLinkAfterUpload;
    QSignalSpy error;
    QSignalSpy internetNotAvailable;
};

// Lets the event loop run until the job has reported its end (link, error or offline).
inline bool waitForEnd(const Recorder &recorder, int timeoutMs = 60000)
{
    return QTest::qWaitFor([&] { return recorder.ended(); }, timeoutMs);
}

// Uploads localFiles one after the other; returns the link of each ("" for a failure).
inline QStringList uploadEach(NetworkExchange *exchange, const QStringList &localFiles)
{
    QStringList links;
    for (const QString &file : localFiles) {
        Recorder recorder(exchange);
        exchange->uploadScreen(file, QString(), HandlerUpload::ActionNone);
        links.append(waitForEnd(recorder) ? recorder.link() : QString());
    }
    return links;
}

// Two files named "same.png" from two folders of localRoot go up one after the other: the
// second must get a numbered name, so that the first link keeps serving the first file.
// Empty when so, else what went wrong.
inline QString sameNameKeepsBoth(NetworkExchange *exchange, const QString &localRoot, const QString &remoteFolder,
                                 const QString &linkBase)
{
    const QStringList files = {makeFile(localRoot + QStringLiteral("/one/same.png"), 3000),
                               makeFile(localRoot + QStringLiteral("/two/same.png"), 4000)};
    const QStringList links = uploadEach(exchange, files);
    const QStringList expected = {linkBase + QStringLiteral("same.png"), linkBase + QStringLiteral("same_2.png")};
    if (links != expected)
        return QStringLiteral("links: ") + links.join(QStringLiteral(", "));
    if (!sameBytes(files.at(0), remoteFolder + QStringLiteral("/same.png"))
        || !sameBytes(files.at(1), remoteFolder + QStringLiteral("/same_2.png")))
        return QStringLiteral("the server holds other bytes");
    return QString();
}

} // namespace UploadTest
