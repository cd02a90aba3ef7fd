#pragma once

// Helper processes of the tests (servers, stand-ins, tools) and the loopback ports they use.

#include <QDir>
#include <QElapsedTimer>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSignalSpy>
#include <QSslConfiguration>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>

// Processes started by a test end with it, also when it crashes.
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

// What a command prints on its standard output, trimmed.
inline QString commandOutput(const QString &program, const QStringList &arguments)
{
    QProcess process;
    process.start(program, arguments);
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput()).trimmed();
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

// Trusts a stand-in's self-signed certificate in every thread of the process.
inline void trustCertificate(const QString &certificateFile)
{
    QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
    configuration.addCaCertificates(certificateFile);
    QSslConfiguration::setDefaultConfiguration(configuration);
}

// A Python stand-in over HTTPS on 127.0.0.1 that prints "READY <port> <certificate>" and
// answers its test requests (/_test/...) with JSON.
class HttpsStandIn
{
public:
    bool start(const QString &script, const QString &folder)
    {
        QDir().mkpath(folder);
        const QStringList ready = startReady(m_process, QStringLiteral("/usr/bin/python3"), {script, QStringLiteral("--dir"), folder});
        if (ready.size() < 3)
            return false;
        m_port = ready.at(1).toUShort();
        trustCertificate(ready.at(2));
        return m_port != 0;
    }
    ~HttpsStandIn() { stop(); }
    void stop() { stopProcess(m_process); }

    quint16 port() const { return m_port; }
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    QString origin() const { return QStringLiteral("https://") + host(); }
    QString url(const QString &path) const { return origin() + path; }

    QJsonObject state() { return get(QStringLiteral("/_test/state")); }
    QJsonObject configure(const QJsonObject &settings) { return post(QStringLiteral("/_test/config"), settings); }
    QJsonObject get(const QString &path) { return call("GET", path, QByteArray()); }
    QJsonObject post(const QString &path, const QJsonObject &body)
    {
        return call("POST", path, QJsonDocument(body).toJson(QJsonDocument::Compact));
    }

    // A plain request to the stand-in; returns the reply's JSON object (empty when none).
    QJsonObject call(const QByteArray &verb, const QString &path, const QByteArray &body)
    {
        QNetworkAccessManager network;
        QNetworkRequest request{QUrl(url(path))};
        request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
        QNetworkReply *reply = network.sendCustomRequest(request, verb, body);
        QSignalSpy done(reply, &QNetworkReply::finished);
        done.wait(20000);
        const QJsonObject result = QJsonDocument::fromJson(reply->readAll()).object();
        delete reply;
        return result;
    }

private:
    QProcess m_process;
    quint16 m_port = 0;
};
