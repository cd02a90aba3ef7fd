// The reply parser, the file-record replies that uploads rely on, and the QML surface of
// the service client.

#include "../service/standin.h"

#include "network/analytics.h"
#include "network/autorization.h"
#include "network/networkaccessmanager.h"
#include "network/networkreadreply.h"
#include "network/session.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "upload/dropbox/qdropboxauth.h"

#include <QJsonObject>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>

class TestNetworkReadReply : public QObject
{
    Q_OBJECT

private:
    ServiceStandIn m_service;

    Session *send(const QByteArray &verb, const QString &path, const QByteArray &body, const QString &type)
    {
        NetworkAccessManager manager;
        QNetworkRequest request = NetworkAccessManager::getAuthRequest(QUrl(m_service.url(path)));
        request.setHeader(QNetworkRequest::ContentTypeHeader, type);
        QNetworkReply *reply = manager.sendCustomRequest(request, verb, body);
        QSignalSpy finished(reply, &QNetworkReply::finished);
        finished.wait(15000);
        Session *session = NetworkReadReply::read(reply, this);
        delete reply;
        return session;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_service.start(), "the service stand-in did not start");
    }

    void parseJson_readsTopLevelMembers_andRejectsOtherDocuments()
    {
        bool ok = false;
        const QVariantMap values = NetworkReadReply::parseJson(R"({"id":"a1","size":12,"nested":{"x":1}})", &ok);
        QVERIFY(ok);
        QCOMPARE(values.value("id").toString(), QStringLiteral("a1"));
        QCOMPARE(values.value("size").toLongLong(), 12);
        QVERIFY(NetworkReadReply::parseJson("[1,2]", &ok).isEmpty());
        QVERIFY(!ok);
        QVERIFY(NetworkReadReply::parseJson("{broken", &ok).isEmpty());
        QVERIFY(!ok);
    }

    void parseXml_readsElementTexts_andRejectsBrokenXml()
    {
        bool ok = false;
        const QVariantMap values =
            NetworkReadReply::parseXml("<reply><error>denied</error><id>7</id></reply>", &ok);
        QVERIFY(ok);
        QCOMPARE(values.value("error").toString(), QStringLiteral("denied"));
        QCOMPARE(values.value("id").toString(), QStringLiteral("7"));
        NetworkReadReply::parseXml("<reply><id>7</reply>", &ok);
        QVERIFY(!ok);
    }

    void fileRecord_carriesPublicLink_andUploadFillsIt()
    {
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("upload-token"));
        m_service.call("POST", QStringLiteral("/_test/token"), R"({"token": "upload-token"})");
        const QByteArray meta = R"({"title": "shot.png", "mimeType": "image/png", "fileSize": 5})";
        QScopedPointer<Session> record(send("POST", QStringLiteral("/drive/v1/files?fields=id,alternateLink,selfLink"),
                                            meta, QStringLiteral("application/json")));
        QVERIFY(record->isSuccess());
        QVERIFY(!record->fileId().isEmpty());
        QVERIFY(record->link().startsWith(QStringLiteral("https://127.0.0.1:")));
        QScopedPointer<Session> upload(send("PUT", QStringLiteral("/upload/drive/v1/files/") + record->fileId(),
                                            "12345", QStringLiteral("image/png")));
        QVERIFY(upload->isSuccess());
        QCOMPARE(upload->number("fileSize"), 5);
        QCOMPARE(upload->link(), record->link());
    }

    void rejectedAndUnreachable_areTold_apart()
    {
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("unknown-token"));
        QScopedPointer<Session> rejected(send("GET", QStringLiteral("/drive/v1/about"), {}, QString()));
        QVERIFY(rejected->isRejected());
        QVERIFY(!rejected->isNetworkFailure());
        QCOMPARE(rejected->httpStatus(), 401);
        QCOMPARE(rejected->errorCode(), QStringLiteral("invalid_token"));
        QCOMPARE(rejected->requestText(), m_service.url("/drive/v1/about").prepend("GET "));

        NetworkAccessManager manager;
        QNetworkReply *reply = manager.get(NetworkAccessManager::getRequest(QUrl("https://127.0.0.1:1/ping?q=secret")));
        QSignalSpy finished(reply, &QNetworkReply::finished);
        QVERIFY(finished.wait(15000));
        QScopedPointer<Session> down(NetworkReadReply::read(reply));
        delete reply;
        QVERIFY(down->isNetworkFailure());
        QVERIFY(!down->isSuccess());
        QVERIFY(!down->requestText().contains("secret"));
        QVERIFY(!down->errorString().contains("secret"));
    }

    void qmlTypes_areRegisteredInTheirModules()
    {
        Autorization::registerQmlType();
        DropboxAuth::registerQmlType();
        AnalyticsEvent::registerQmlType();
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData("import Core 1.0\nimport MavuComponent 1.0\n"
                          "AnalyticsEvent {\n"
                          "  label: \"qml\"\n"
                          "  property Autorization account: Autorization {}\n"
                          "  property DropboxAuth box: DropboxAuth {}\n"
                          "  property int none: Autorization.NoneAuth\n"
                          "  property int password: Autorization.CheckPassword\n"
                          "  property int step: account.statusAutorization\n"
                          "  property bool signedIn: account.auth\n"
                          "}\n",
                          QUrl());
        QScopedPointer<QObject> object(component.create());
        QVERIFY2(object, qPrintable(component.errorString()));
        QCOMPARE(object->property("none").toInt(), 8);
        QCOMPARE(object->property("password").toInt(), 1);
        QCOMPARE(object->property("step").toInt(), 8);
        QCOMPARE(object->property("label").toString(), QStringLiteral("qml"));
    }
};

QTEST_MAIN(TestNetworkReadReply)
#include "tst_networkreadreply.moc"
