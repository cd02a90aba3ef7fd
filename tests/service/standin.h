#pragma once

// Starts the local stand-in of the web service (mavu_service.py, API in API.md) for a
// test: a Python process on a free loopback port with a fresh test certificate, which
// this helper adds to the trusted certificates of the process (verification stays on).
// It also points Core's three service hosts at the stand-in.
//
//   ServiceStandIn service;
//   QVERIFY2(service.start(), "stand-in did not start");
//   service.configure({{"down", true}});
//   QJsonObject seen = service.state();
//   QJsonObject record = service.newFile(idsBefore);   // a file that came in
//   QJsonObject event = service.analyticsEvent(0);     // name, category, label

#include "core.h"

#include <QEventLoop>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QProcess>
#include <QSslConfiguration>
#include <QTest>
#include <QTemporaryDir>
#include <QTimer>

#ifndef MAVU_SERVICE_DIR
#define MAVU_SERVICE_DIR MAVU_TEST_DIR "/../service"
#endif

class ServiceStandIn
{
public:
    ~ServiceStandIn() { stop(); }

    bool start()
    {
        m_process.setProgram(QStringLiteral("python3"));
        m_process.setArguments({QStringLiteral(MAVU_SERVICE_DIR "/mavu_service.py"),
                                QStringLiteral("--dir"), m_dir.path()});
        m_process.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        m_process.start();
        if (!m_process.waitForStarted(10000) || !m_process.waitForReadyRead(30000))
            return false;
        const QList<QByteArray> words = m_process.readLine().trimmed().split(' ');
        if (words.size() != 3 || words.at(0) != "READY")
            return false;
        m_port = quint16(words.at(1).toUInt());
        trustCertificate(QString::fromLocal8Bit(words.at(2)));
        pointCoreHere();
        return m_port != 0;
    }

    void stop()
    {
        if (m_process.state() == QProcess::NotRunning)
            return;
        m_process.kill();
        m_process.waitForFinished(5000);
    }

    quint16 port() const { return m_port; }
    QString host() const { return QStringLiteral("127.0.0.1:%1").arg(m_port); }
    QString url(const QString &path) const { return QStringLiteral("https://") + host() + path; }

    void pointCoreHere() const
    {
        Core::instance()->setHostUrl(host());
        Core::instance()->setHostUrlAuth(host());
        Core::instance()->setSupportHost(host());
    }

    QJsonObject state() { return call("GET", QStringLiteral("/_test/state"), QByteArray()); }

    // The service's file records by id.
    QJsonObject files() { return state().value(QStringLiteral("files")).toObject(); }

    // The one file record made since the service held the records `before`, once its bytes
    // are in; empty when none (or more than one) comes.
    QJsonObject newFile(const QStringList &before)
    {
        QJsonObject added;
        (void)QTest::qWaitFor([&] {
            added = files();
            for (const QString &id : before)
                added.remove(id);
            return added.size() == 1 && added.begin()->toObject().value(QStringLiteral("uploaded")).toBool();
        }, 15000);
        return added.size() == 1 ? added.begin()->toObject() : QJsonObject();
    }

    int analyticsCount() { return state().value(QStringLiteral("events")).toArray().size(); }

    // The analytics event received as number `at` (from 0), once it is in: its name,
    // category and label; empty when it does not come.
    QJsonObject analyticsEvent(int at)
    {
        QJsonArray events;
        (void)QTest::qWaitFor([&] { return (events = state().value(QStringLiteral("events")).toArray()).size() > at; },
                              10000);
        const QJsonObject event = events.at(at).toObject().value(QStringLiteral("body")).toObject()
                                      .value(QStringLiteral("events")).toArray().first().toObject();
        const QJsonObject params = event.value(QStringLiteral("params")).toObject();
        return event.isEmpty() ? QJsonObject()
                               : QJsonObject{{QStringLiteral("name"), event.value(QStringLiteral("name"))},
                                             {QStringLiteral("category"), params.value(QStringLiteral("event_category"))},
                                             {QStringLiteral("label"), params.value(QStringLiteral("event_label"))}};
    }
    QJsonObject configure(const QJsonObject &settings)
    {
        return call("POST", QStringLiteral("/_test/config"), QJsonDocument(settings).toJson());
    }

    // A plain request to the stand-in; returns the reply's JSON object (empty when none).
    QJsonObject call(const QByteArray &verb, const QString &path, const QByteArray &body)
    {
        QNetworkAccessManager manager;
        QNetworkRequest request{QUrl(url(path))};
        request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
        QNetworkReply *reply = manager.sendCustomRequest(request, verb, body);
        QEventLoop loop;
        QObject::connect(reply, &QNetworkReply::finished, &loop, &QEventLoop::quit);
        QTimer::singleShot(15000, &loop, &QEventLoop::quit);
        loop.exec();
        const QJsonObject object = QJsonDocument::fromJson(reply->readAll()).object();
        delete reply;
        return object;
    }

private:
    static void trustCertificate(const QString &path)
    {
        QSslConfiguration configuration = QSslConfiguration::defaultConfiguration();
        configuration.addCaCertificates(path);
        QSslConfiguration::setDefaultConfiguration(configuration);
    }

    QTemporaryDir m_dir;
    QProcess m_process;
    quint16 m_port = 0;
};
