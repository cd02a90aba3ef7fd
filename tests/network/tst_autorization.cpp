// The account object against the local stand-in of the service.

#include "../service/standin.h"
#include "networktestutil.h"

#include "network/autorization.h"
#include "network/networkaccessmanager.h"
#include "network/networkhooks.h"
#include "network/serverlistener.h"
#include "settings/logging.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "upload/dropbox/qdropboxauth.h"

#include <QJsonArray>
#include <QNetworkProxy>
#include <QScopeGuard>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>
#include <QTimer>
#include <QUrlQuery>

using NetworkTestUtil::errorLogEntries;
using NetworkTestUtil::readFile;

class TestAutorization : public QObject
{
    Q_OBJECT

private:
    ServiceStandIn m_service;
    QUrl m_openedUrl;

    void signOutQuietly() { Setting::instance()->setValue(SettingKeys::token, QString()); }

    // Waits for the first authError and returns it as {key, value}.
    static QStringList waitForError(QSignalSpy &spy)
    {
        if (spy.isEmpty() && !spy.wait(15000))
            return {};
        return {spy.first().at(0).toString(), spy.first().at(1).toString()};
    }

    QUrl followToListener(const QUrl &signInUrl)
    {
        QNetworkAccessManager manager;
        QNetworkRequest request(signInUrl);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        QNetworkReply *reply = manager.get(request);
        QSignalSpy finished(reply, &QNetworkReply::finished);
        finished.wait(15000);
        const QUrl location = reply->header(QNetworkRequest::LocationHeader).toUrl();
        delete reply;
        return location;
    }

    static int getStatus(const QUrl &url)
    {
        QNetworkAccessManager manager;
        QNetworkReply *reply = manager.get(QNetworkRequest(url));
        QSignalSpy finished(reply, &QNetworkReply::finished);
        finished.wait(15000);
        const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
        delete reply;
        return status;
    }

private slots:
    void initTestCase()
    {
        QVERIFY2(m_service.start(), "the service stand-in did not start");
        NetworkHooks::openUrl() = [this](const QUrl &url) {
            m_openedUrl = url;
            return true;
        };
    }

    void init()
    {
        m_service.pointCoreHere();
        m_service.configure({{"down", false}, {"access_token", QJsonValue()}});
        signOutQuietly();
        m_openedUrl.clear();
    }

    void checkEmail_invalidAddress_reportsEmailErrorWithoutRequest()
    {
        Autorization account;
        QSignalSpy errors(&account, &Autorization::authError);
        const int before = m_service.state().value("requests").toArray().size();
        for (const QString &address : {QString(), QStringLiteral("user"), QStringLiteral("a@b"),
                                       QStringLiteral("a b@c.de"), QStringLiteral("user@host.c")}) {
            account.checkEmail(address);
        }
        QCOMPARE(errors.size(), 5);
        for (const auto &error : errors) {
            QCOMPARE(error.at(0).toString(), QStringLiteral("email"));
            QCOMPARE(error.at(1).toString(), QStringLiteral("E-mail is not valid"));
        }
        QCOMPARE(m_service.state().value("requests").toArray().size(), before);
    }

    void checkEmail_patternIsCaseInsensitive()
    {
        QVERIFY(Autorization::isEmailValid(QStringLiteral("User.Name+tag@Example.COM")));
        QVERIFY(Autorization::isEmailValid(QStringLiteral("x%y@sub-domain.example.museum")));
        QVERIFY(!Autorization::isEmailValid(QStringLiteral("user@example.com ")));
    }

    void checkEmail_knownAddress_movesToPassword_newAddress_movesToRegistration()
    {
        Autorization account;
        QSignalSpy status(&account, &Autorization::statusAutorizationChanged);
        account.checkEmail(QStringLiteral("USER@example.com"));
        QVERIFY(status.wait(15000));
        QCOMPARE(account.statusAutorization(), Autorization::CheckPassword);
        account.checkEmail(QStringLiteral("newcomer@example.com"));
        QVERIFY(status.wait(15000));
        QCOMPARE(account.statusAutorization(), Autorization::CheckRegistration);
    }

    void checkPassword_emptyAndWrong_reportPasswordErrors()
    {
        Autorization account;
        QSignalSpy errors(&account, &Autorization::authError);
        account.checkPassword(QStringLiteral("user@example.com"), QString());
        QCOMPARE(waitForError(errors), (QStringList{"password", "No password"}));
        errors.clear();
        account.checkPassword(QStringLiteral("user@example.com"), QStringLiteral("wrong"));
        QCOMPARE(waitForError(errors), (QStringList{"password", "Wrong password"}));
        QVERIFY(!Autorization::isAuth());
    }

    void checkPassword_rightPassword_signsInAndStoresAccountData()
    {
        Autorization account;
        QSignalSpy finished(&account, &Autorization::authFinished);
        QSignalSpy changed(&account, &Autorization::authChanged);
        QSignalSpy errors(&account, &Autorization::authError);
        m_service.configure({{"about", QJsonObject{{"name", "Anna"}, {"avatar", "https://127.0.0.1/avatar.png"}, {"quota", 5000}, {"usage", 1200}}},
                             {"max_post_size", 777777}});
        account.checkPassword(QStringLiteral("user@example.com"), QStringLiteral("secret"));
        QVERIFY(finished.wait(15000));
        QVERIFY(errors.isEmpty());
        QCOMPARE(changed.size(), 1);
        QCOMPARE(changed.first().first().toBool(), true);
        QVERIFY(Autorization::isAuth());
        QVERIFY(account.auth());
        Setting *settings = Setting::instance();
        QTRY_COMPARE_WITH_TIMEOUT(settings->getValue(SettingKeys::userName).toString(), QStringLiteral("Anna"), 15000);
        QCOMPARE(settings->getValue(SettingKeys::userMail).toString(), QStringLiteral("user@example.com"));
        QCOMPARE(settings->getValue(SettingKeys::userAvatar).toString(), QStringLiteral("https://127.0.0.1/avatar.png"));
        QCOMPARE(settings->getValue(SettingKeys::quota).toLongLong(), 5000);
        QCOMPARE(settings->getValue(SettingKeys::usage).toLongLong(), 1200);
        QCOMPARE(settings->getValue(SettingKeys::maxPostSize).toLongLong(), 777777);
        m_service.configure({{"about", QJsonObject()}, {"max_post_size", 10485760}});
    }

    // The token goes into a header of every later request.
    void grantedTokenThatCannotBeUsed_isRefused_data()
    {
        QTest::addColumn<QString>("token");
        QTest::newRow("line break") << "tok\r\nX-Injected: 1";
        QTest::newRow("longer than a token can be") << QString(Autorization::maxTokenLength + 1, QLatin1Char('x'));
    }

    void grantedTokenThatCannotBeUsed_isRefused()
    {
        QFETCH(QString, token);
        m_service.configure({{"access_token", token}});
        Autorization account;
        QSignalSpy errors(&account, &Autorization::authError);
        QSignalSpy changed(&account, &Autorization::authChanged);
        account.checkPassword(QStringLiteral("user@example.com"), QStringLiteral("secret"));
        QCOMPARE(waitForError(errors), (QStringList{"password", "The service sent a sign-in token that cannot be used"}));
        QVERIFY(!Autorization::isAuth());
        QVERIFY(changed.isEmpty());
    }

    void getUserInfo_sendsBearerTokenAndUserAgent()
    {
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("tok-agent-check"));
        Setting::instance()->setValue(SettingKeys::userMail, QString());
        m_service.call("POST", QStringLiteral("/_test/token"), R"({"token": "tok-agent-check"})");
        Autorization account;
        account.getUserInfo();
        QTRY_COMPARE_WITH_TIMEOUT(Setting::instance()->getValue(SettingKeys::userMail).toString(),
                                  QStringLiteral("user@example.com"), 15000);
        const QJsonArray requests = m_service.state().value("requests").toArray();
        const QJsonObject headers = requests.last().toObject().value("headers").toObject();
        QCOMPARE(requests.last().toObject().value("path").toString(), QStringLiteral("/drive/v1/about"));
        QCOMPARE(headers.value("Authorization").toString(), QStringLiteral("Bearer tok-agent-check"));
        QCOMPARE(headers.value("User-Agent").toString(), Core::instance()->userAgent());
    }

    void getUserInfo_takesNoAvatarFromALocalFile()
    {
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("tok-avatar"));
        Setting::instance()->setValue(SettingKeys::userMail, QString());
        m_service.call("POST", QStringLiteral("/_test/token"), R"({"token": "tok-avatar"})");
        m_service.configure({{"about", QJsonObject{{"avatar", "file:///etc/passwd"}}}});
        Autorization account;
        account.getUserInfo();
        QTRY_COMPARE_WITH_TIMEOUT(Setting::instance()->getValue(SettingKeys::userMail).toString(),
                                  QStringLiteral("user@example.com"), 15000);
        m_service.configure({{"about", QJsonObject()}});
        QCOMPARE(Setting::instance()->getValue(SettingKeys::userAvatar).toString(), QString());
    }

    void getUserInfo_rejectedToken_dropsTokenAndSignsOut()
    {
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("token-the-service-forgot"));
        Autorization account;
        QSignalSpy changed(&account, &Autorization::authChanged);
        account.getUserInfo();
        QVERIFY(changed.wait(15000));
        QCOMPARE(changed.first().first().toBool(), false);
        QVERIFY(!Autorization::isAuth());
    }

    void checkRegistration_validation_givesOneFieldError_data()
    {
        QTest::addColumn<QString>("email");
        QTest::addColumn<QString>("password");
        QTest::addColumn<QString>("confirmation");
        QTest::addColumn<QVariantList>("error");
        const QString mail = QStringLiteral("someone@example.com");
        const QVariantList mismatch{"confirm", "Passwords do not match"};
        QTest::newRow("bad address") << "bad" << "a" << "a" << QVariantList{"email", "E-mail is not valid"};
        QTest::newRow("different") << mail << "a" << "b" << mismatch;
        QTest::newRow("empty password, confirmation given") << mail << "" << "a" << mismatch;
        QTest::newRow("password given, empty confirmation") << mail << "a" << "" << mismatch;
        QTest::newRow("both empty") << mail << "" << "" << QVariantList{"password", "Password is empty"};
    }

    void checkRegistration_validation_givesOneFieldError()
    {
        QFETCH(QString, email);
        QFETCH(QString, password);
        QFETCH(QString, confirmation);
        QFETCH(QVariantList, error);
        Autorization account;
        QSignalSpy errors(&account, &Autorization::authError);
        account.checkRegistration(email, password, confirmation);
        QCOMPARE(errors.size(), 1);
        QCOMPARE(errors.first(), error);
    }

    void checkRegistration_newAccount_finishesAndSignsIn_takenAddress_reportsEmail()
    {
        Autorization account;
        QSignalSpy finished(&account, &Autorization::registrationFinished);
        QSignalSpy errors(&account, &Autorization::authError);
        account.checkRegistration(QStringLiteral("fresh@example.com"), QStringLiteral("p+ss&=w"),
                                  QStringLiteral("p+ss&=w"));
        QVERIFY(finished.wait(15000));
        QVERIFY(Autorization::isAuth());
        // The password travelled intact: it signs in.
        signOutQuietly();
        QSignalSpy signedIn(&account, &Autorization::authFinished);
        account.checkPassword(QStringLiteral("fresh@example.com"), QStringLiteral("p+ss&=w"));
        QVERIFY(signedIn.wait(15000));
        account.checkRegistration(QStringLiteral("user@example.com"), QStringLiteral("x"), QStringLiteral("x"));
        QCOMPARE(waitForError(errors), (QStringList{"email", "E-mail is already registered"}));
    }

    void serviceOutOfReach_givesInternetErrorWithTheCause_data()
    {
        QTest::addColumn<bool>("closedPort");
        QTest::addColumn<QString>("text");
        QTest::newRow("closed port") << true << "Internet connect not found";
        QTest::newRow("certificate of another host") << false
            << "The service's certificate was refused: The host name did not match any of the valid hosts for this certificate";
    }

    void serviceOutOfReach_givesInternetErrorWithTheCause()
    {
        QFETCH(bool, closedPort);
        QFETCH(QString, text);
        QTcpServer probe;
        QVERIFY(probe.listen(QHostAddress::LocalHost));
        const quint16 closed = probe.serverPort();
        probe.close();
        Core::instance()->setHostUrlAuth(closedPort ? QStringLiteral("127.0.0.1:%1").arg(closed)
                                                    : QStringLiteral("localhost:%1").arg(m_service.port()));
        Autorization account;
        QSignalSpy errors(&account, &Autorization::authError);
        account.checkPassword(QStringLiteral("user@example.com"), QStringLiteral("secret"));
        QCOMPARE(waitForError(errors), (QStringList{"internet", text}));
        QCOMPARE(account.statusAutorization(), Autorization::InternetError);
        errors.clear();
        account.checkEmail(QStringLiteral("user@example.com"));
        QCOMPARE(waitForError(errors), (QStringList{"internet", text}));
    }

    void serviceAnswering503_givesInternetError_andSocialSignInDoesNotOpen()
    {
        m_service.configure({{"down", true}});
        Autorization account;
        QSignalSpy errors(&account, &Autorization::authError);
        account.checkEmail(QStringLiteral("user@example.com"));
        QCOMPARE(waitForError(errors), (QStringList{"internet", "Internet connect not found"}));
        errors.clear();
        account.openTwitterUrl();
        QCOMPARE(waitForError(errors), (QStringList{"internet", "Internet connect not found"}));
        QVERIFY(m_openedUrl.isEmpty());
    }

    void failedRequest_addsOneErrorLogEntry_withoutSecrets()
    {
        Autorization account;
        QSignalSpy errors(&account, &Autorization::authError);
        const int before = errorLogEntries();
        account.checkPassword(QStringLiteral("user@example.com"), QStringLiteral("NotTheSecret-9731"));
        QVERIFY(!waitForError(errors).isEmpty());
        QCOMPARE(errorLogEntries(), before + 1);
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("SecretToken-4412"));
        QSignalSpy changed(&account, &Autorization::authChanged);
        account.getUserInfo();
        QVERIFY(changed.wait(15000));
        QCOMPARE(errorLogEntries(), before + 2);
        const QByteArray log = readFile(m_logFileName);
        QVERIFY(log.contains("/oauth/token"));
        QVERIFY(!log.contains("NotTheSecret-9731"));
        QVERIFY(!log.contains("SecretToken-4412"));
        QVERIFY(!log.contains("Bearer"));
    }

    void signIn_neverWritesPasswordOrTokenToDebugStreamOrLogs()
    {
        static QStringList messages;
        messages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(
            [](QtMsgType, const QMessageLogContext &, const QString &text) { messages << text; });
        Autorization account;
        QSignalSpy errors(&account, &Autorization::authError);
        QSignalSpy finished(&account, &Autorization::authFinished);
        account.checkPassword(QStringLiteral("user@example.com"), QStringLiteral("Wrong-Pass-3391"));
        QVERIFY(!waitForError(errors).isEmpty());
        account.checkPassword(QStringLiteral("user@example.com"), QStringLiteral("secret"));
        QVERIFY(finished.wait(15000));
        const QString token = Autorization::token();
        QSignalSpy changed(&account, &Autorization::authChanged);
        m_service.configure({{"down", true}});
        account.getUserInfo();
        QTest::qWait(1000);
        m_service.configure({{"down", false}});
        qInstallMessageHandler(previous);
        QVERIFY(!token.isEmpty());
        const QString debug = messages.join(QLatin1Char('\n'));
        QVERIFY(!debug.contains("Wrong-Pass-3391"));
        QVERIFY(!debug.contains(token));
        for (const QString &file : {m_logFileName, m_pathSettings + QStringLiteral("proxy_connect.log")}) {
            const QByteArray text = readFile(file);
            QVERIFY(!text.contains("Wrong-Pass-3391"));
            QVERIFY(!text.contains(token.toUtf8()));
            QVERIFY(!text.contains("Bearer"));
        }
    }

    void socialSignIn_rightState_signsIn_wrongOrReusedState_doesNot()
    {
        Autorization account;
        account.listen();
        QVERIFY(account.listener()->isListening());
        QSignalSpy finished(&account, &Autorization::authFinished);
        account.openVkUrl();
        QTRY_VERIFY_WITH_TIMEOUT(!m_openedUrl.isEmpty(), 15000);
        const QUrlQuery signIn(m_openedUrl);
        QCOMPARE(m_openedUrl.path(), QStringLiteral("/oauth/social/vk"));
        QCOMPARE(signIn.queryItemValue("redirect_uri", QUrl::FullyDecoded), account.listener()->redirectUrl());
        const QString state = signIn.queryItemValue("state");
        QCOMPARE(state.size(), 32);

        const QUrl location = followToListener(m_openedUrl);
        QCOMPARE(location.port(), int(account.listener()->port()));
        QUrl forged(location);
        QUrlQuery forgedQuery(location);
        forgedQuery.removeAllQueryItems("state");
        forgedQuery.addQueryItem("state", QStringLiteral("A").repeated(32));
        forged.setQuery(forgedQuery);
        QCOMPARE(getStatus(forged), 400);
        QTest::qWait(300);
        QVERIFY(finished.isEmpty());
        QVERIFY(!Autorization::isAuth());

        QCOMPARE(getStatus(location), 200);
        QVERIFY(finished.wait(15000));
        QVERIFY(Autorization::isAuth());
        QCOMPARE(getStatus(location), 400);
    }

    void listenerWithoutAFreePort_endsTheProgramOnlyWhenSignedOut_data()
    {
        QTest::addColumn<bool>("signedIn");
        QTest::addColumn<QString>("told");
        QTest::newRow("signed in: goes on") << true
            << "The local sign-in listener could not start: signing in through the browser is not available. "
               "Mavu keeps running.";
        QTest::newRow("signed out: ends") << false << "Error start socket";
    }

    // Another local user may hold every port the listener can take.
    void listenerWithoutAFreePort_endsTheProgramOnlyWhenSignedOut()
    {
        QFETCH(bool, signedIn);
        QFETCH(QString, told);
        QProcess holder;
        const QStringList ready = startReady(holder, "/usr/bin/python3", {"-c", "import socket, sys\ns = socket.socket()\n"
            "s.bind(('127.0.0.1', 0))\ns.listen()\nprint('READY', s.getsockname()[1], flush=True)\nsys.stdin.read()"});
        const quint16 port = ready.value(1).toUShort();
        const auto showInformation = NetworkHooks::showInformation();
        const auto restore = qScopeGuard([&] {
            ServerListener::setPortSeries({});
            NetworkHooks::showInformation() = showInformation;
            stopProcess(holder);
        });
        ServerListener::setPortSeries({{port, port}});
        QStringList shown;
        NetworkHooks::showInformation() = [&shown](const QString &text) { shown << text; };
        if (signedIn)
            Setting::instance()->setValue(SettingKeys::token, QStringLiteral("held-ports-token"));
        Autorization account;
        account.listen();
        QCOMPARE(shown, QStringList{told});
        const auto *exitTimer = account.findChild<QTimer *>(QStringLiteral("listenFailureExitTimer"));
        QCOMPARE(exitTimer && exitTimer->isActive(), !signedIn);
        // The browser sign-in says why it does not open.
        QSignalSpy errors(&account, &Autorization::authError);
        account.openVkUrl();
        QCOMPARE(waitForError(errors), (QStringList{"internet", "Error start socket"}));
        QVERIFY(m_openedUrl.isEmpty());
    }

    void exit_emptiesKeysInOrder_signsOutDropbox_thenEmitsAuthChangedFalse()
    {
        Setting *settings = Setting::instance();
        settings->setValue(SettingKeys::token, QStringLiteral("tok"));
        settings->setValue(SettingKeys::ftpPassword, QStringLiteral("ftp-secret"));
        settings->setValue(SettingKeys::dropBoxDisplayName, QStringLiteral("Box"));
        Autorization account;
        QStringList events;
        connect(settings, &Setting::valueChanged, &account, [&events](QString name, QVariant value) {
            events << name + QLatin1Char('=') + value.toString();
        });
        connect(&account, &Autorization::statusAutorizationChanged, &account, [&] {
            events << QStringLiteral("status=%1").arg(account.statusAutorization());
        });
        connect(account.dropBoxAuth(), &DropboxAuth::isAuthChanged, &account, [&events] { events << "dropbox"; });
        connect(&account, &Autorization::authChanged, &account,
                [&events](bool auth) { events << QStringLiteral("authChanged=%1").arg(auth); });
        account.exit();
        const QStringList expected = {
            "token=", "usermail=", "username=", "ftp_host=", "ftp_port=", "ftp_user=", "ftp_password=",
            "ftp_path=", "sftp_host=", "sftp_port=", "sftp_user=", "sftp_password=", "sftp_path=",
            "status=8",
            "drop_box_token_apiv2=", "ftp_host=", "ftp_port=", "ftp_user=", "ftp_password=", "ftp_path=",
            "ftp_base_url=", "sftp_host=", "sftp_port=", "sftp_user=", "sftp_password=", "sftp_path=",
            "sftp_base_url=", "drop_box_display_name=", "drop_box_email=", "drop_box_total=",
            "drop_box_usage=", "drop_box_token=", "dropbox", "authChanged=0"};
        QCOMPARE(events, expected);
        QCOMPARE(account.statusAutorization(), Autorization::NoneAuth);
        QVERIFY(!Autorization::isAuth());
        QCOMPARE(settings->getValue(SettingKeys::ftpPassword).toString(), QString());
        QVERIFY(!account.dropBoxAuth()->isAuth());
        QCOMPARE(account.dropBoxAuth()->name(), QString());
    }

    void setStatusAutorization_notifiesEvenWhenUnchanged()
    {
        Autorization account;
        QSignalSpy status(&account, &Autorization::statusAutorizationChanged);
        account.resetAutorization();
        account.resetAutorization();
        QCOMPARE(status.size(), 2);
        QCOMPARE(account.statusAutorization(), Autorization::NoneAuth);
    }

    void sendFeedback_attachesErrorLogAsOctetStream()
    {
        Logging::m_instance = Logging::m_instance ? Logging::m_instance : new Logging();
        Logging::m_instance->writeMessage(QStringLiteral("feedback marker 5521"));
        Autorization account;
        QSignalSpy done(&account, &Autorization::feedbackFinished);
        account.sendFeedback(QStringLiteral("me@example.com"), QStringLiteral("It broke"));
        QVERIFY(done.wait(15000));
        QCOMPARE(done.first().first().toBool(), true);
        const QJsonObject ticket = m_service.state().value("tickets").toArray().last().toObject();
        QCOMPARE(ticket.value("email").toObject().value("data").toString(), QStringLiteral("me@example.com"));
        QCOMPARE(ticket.value("body").toObject().value("data").toString(), QStringLiteral("It broke"));
        const QJsonObject log = ticket.value("log").toObject();
        QCOMPARE(log.value("content_type").toString(), QStringLiteral("application/octet-stream"));
        QCOMPARE(log.value("data").toString().toUtf8(), readFile(m_logFileName));
        QVERIFY(log.value("data").toString().contains("feedback marker 5521"));
    }

    void proxyLog_namesProxyButNeverItsPassword()
    {
        Setting *settings = Setting::instance();
        settings->setValue(SettingKeys::useProxy, 1);
        settings->setValue(SettingKeys::proxyHost, QStringLiteral("127.0.0.1"));
        settings->setValue(SettingKeys::proxyPort, QStringLiteral("3128"));
        settings->setValue(SettingKeys::proxyUser, QStringLiteral("proxy-user"));
        settings->setValue(SettingKeys::proxyPassword, QStringLiteral("ProxyPass-8812"));
        {
            NetworkAccessManager manager;
            QCOMPARE(manager.proxy().type(), QNetworkProxy::HttpProxy);
            QCOMPARE(manager.proxy().port(), quint16(3128));
        }
        settings->setValue(SettingKeys::useProxy, 0);
        NetworkAccessManager direct;
        QCOMPARE(direct.proxy().type(), QNetworkProxy::NoProxy);
        const QByteArray log = readFile(m_pathSettings + QStringLiteral("proxy_connect.log"));
        QVERIFY(log.contains("useProxy=1 host=127.0.0.1 port=3128 user=proxy-user password=set"));
        QVERIFY(!log.contains("ProxyPass-8812"));
    }

    void authRequest_carriesBearerToken()
    {
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("abc123"));
        const QNetworkRequest request = NetworkAccessManager::getAuthRequest(QUrl("https://127.0.0.1/"));
        QCOMPARE(request.rawHeader("Authorization"), QByteArray("Bearer abc123"));
        QCOMPARE(request.header(QNetworkRequest::UserAgentHeader).toString(), Core::instance()->userAgent());
    }

    void formBody_escapesReservedCharacters()
    {
        QCOMPARE(NetworkAccessManager::formBody({{"a", "x+y &z=1%"}, {"b", "ü"}}),
                 QByteArray("a=x%2By%20%26z%3D1%25&b=%C3%BC"));
    }
};

QTEST_MAIN(TestAutorization)
#include "tst_autorization.moc"
