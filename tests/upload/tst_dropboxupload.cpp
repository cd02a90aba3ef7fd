// Dropbox sign-in and uploads against the loopback stand-in of the Dropbox API.

#include "upload/dropbox/qdropbox.h"
#include "upload/dropbox/qdropboxauth.h"
#include "upload/dropbox/qdropboxfile.h"
#include "uploadtestsupport.h"

#include <QJsonArray>
#include <QLoggingCategory>
#include <QSignalSpy>
#include <QUrlQuery>

using namespace UploadTest;

class DropboxUploadTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    HttpsStandIn m_dropbox;
    NetworkExchange *m_exchange = nullptr;
    QList<QUrl> m_opened;
    QString m_builtAppKey;

    QString local(const QString &name) const { return m_scratch.filePath("local/" + name); }
    QString stored(const QString &name) const { return m_scratch.filePath("dropbox/files/" + name); }
    QString token() const { return Setting::instance()->getValue(SettingKeys::dropBoxTokenApiV2, true).toString(); }
    void signIn(const QString &token = "dropbox-token") { Setting::instance()->setValue(SettingKeys::dropBoxTokenApiV2, token, true); }

    // The browser: follows the sign-in page's redirect to the program's local listener.
    bool browse(const QUrl &url)
    {
        QNetworkAccessManager network;
        QNetworkRequest request(url);
        request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::ManualRedirectPolicy);
        for (int hop = 0; hop < 3; ++hop) {
            QNetworkReply *reply = network.get(request);
            QSignalSpy done(reply, &QNetworkReply::finished);
            done.wait(10000);
            const QUrl next = reply->header(QNetworkRequest::LocationHeader).toUrl();
            delete reply;
            if (!next.isValid())
                return true;
            request.setUrl(next);
        }
        return false;
    }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("test-token"));
        QVERIFY2(m_dropbox.start(MAVU_TEST_DIR "/dropbox_standin.py", m_scratch.filePath("dropbox")),
                 "the Dropbox stand-in did not start");
        const QString origin = m_dropbox.origin();
        QDropbox::setUrls({origin + "/2", origin + "/2", origin + "/oauth2/authorize", origin + "/oauth2/token"});
        m_builtAppKey = QDropbox::appKey();
        DropboxAuth::setRedirectPort(freePort());
        m_exchange = new NetworkExchange(Core::instance());
        UploadHooks::openUrl() = [this](const QUrl &url) { m_opened.append(url); return true; };
    }

    void init()
    {
        m_opened.clear();
        QDropbox::setAppKey(QStringLiteral("test-app-key"));
        m_dropbox.configure({{"slow", false}, {"insufficient_space", false}, {"link_exists", false},
                             {"short_size", false}, {"token", "dropbox-token"}});
        setValues({{SettingKeys::typeUpload, "dropbox"}, {SettingKeys::isDropboxErrorUploadMavu, 0}});
        signIn();
    }

    void signIn_throughBrowserRedirect_storesTokenAndAccount()
    {
        DropboxAuth auth;
        QSignalSpy changed(&auth, &DropboxAuth::isAuthChanged);
        QSignalSpy errors(&auth, &DropboxAuth::error);
        auth.logout();
        QVERIFY(!auth.isAuth());

        auth.authorization();
        QCOMPARE(m_opened.size(), 1);
        const QUrlQuery query(m_opened.first());
        QCOMPARE(query.queryItemValue("code_challenge_method"), QStringLiteral("S256"));
        QVERIFY(query.queryItemValue("redirect_uri").startsWith("http://127.0.0.1:"));
        QVERIFY(browse(m_opened.first()));
        QTRY_VERIFY_WITH_TIMEOUT(!auth.email().isEmpty(), 10000);

        QCOMPARE(errors.count(), 0);
        QVERIFY(auth.isAuth());
        QCOMPARE(token(), QStringLiteral("dropbox-token"));
        QCOMPARE(auth.name() + " " + auth.email(), QStringLiteral("Test Dropbox User dropbox@example.com"));
        QCOMPARE(auth.total(), 2147483648LL);
        QCOMPARE(auth.usage(), 123456789LL);
        QVERIFY(changed.count() >= 3); // logout, token, account
        // Stored encrypted: a plain read does not show the token.
        QVERIFY(Setting::instance()->getValue(SettingKeys::dropBoxTokenApiV2).toString() != QStringLiteral("dropbox-token"));
    }

    // Requests without the state of this sign-in are answered and have no other effect;
    // the user's refusal, with the state, is told once.
    void signIn_onlyItsOwnAnswerCounts()
    {
        DropboxAuth auth;
        QSignalSpy errors(&auth, &DropboxAuth::error);
        auth.logout();
        auth.authorization();
        const QUrlQuery signIn(m_opened.first());
        QUrl listener(signIn.queryItemValue("redirect_uri", QUrl::FullyDecoded));
        for (const QString query : {"code=abc&state=not-ours", "error=x", "error=x&state=not-ours"}) {
            listener.setQuery(query);
            QVERIFY(browse(listener));
        }
        listener.setQuery("error=access_denied&state=" + signIn.queryItemValue("state"));
        QVERIFY(browse(listener));
        QTRY_VERIFY(!errors.isEmpty());
        QCOMPARE(errors, QList<QVariantList>{{QStringLiteral("Dropbox sign-in was not allowed")}});
        QVERIFY(!auth.isAuth());
    }

    // The key the build was configured with reaches the sign-in address; without a key
    // the sign-in says so and opens nothing.
    void signIn_carriesTheAppKeyOfTheBuild_data()
    {
        QTest::addColumn<QString>("expectedKey"); // empty: the key is taken away
        QTest::newRow("as built") << QStringLiteral(MAVU_CONFIGURED_DROPBOX_APP_KEY);
        QTest::newRow("no key") << QString();
    }

    void signIn_carriesTheAppKeyOfTheBuild()
    {
        QFETCH(QString, expectedKey);
        QDropbox::setAppKey(expectedKey.isEmpty() ? QString() : m_builtAppKey);
        DropboxAuth auth;
        QSignalSpy errors(&auth, &DropboxAuth::error);
        auth.authorization();
        if (expectedKey.isEmpty()) {
            QCOMPARE(errors, QList<QVariantList>{{QStringLiteral("Dropbox sign-in is not available in this build")}});
            QVERIFY(m_opened.isEmpty());
        } else {
            QCOMPARE(errors.count(), 0);
            QCOMPARE(QUrlQuery(m_opened.value(0)).queryItemValue("client_id"), expectedKey);
        }
    }

    // A token that would put lines of its own into the headers of later requests is refused.
    void signIn_withATokenUnfitForAHeader_isRefused()
    {
        m_dropbox.configure({{"token", "DBXTOK\r\nX-Injected: yes\r\nHost: evil.example"}});
        DropboxAuth auth;
        QSignalSpy errors(&auth, &DropboxAuth::error);
        auth.logout();
        auth.authorization();
        QVERIFY(browse(m_opened.first()));
        QTRY_VERIFY(!errors.isEmpty());
        QCOMPARE(errors, QList<QVariantList>{{QStringLiteral("Dropbox sent a sign-in token that cannot be used")}});
        QVERIFY(!auth.isAuth());
        QCOMPARE(token(), QString());
        for (const QJsonValue &request : m_dropbox.state().value("requests").toArray())
            QVERIFY2(request["injected"].isNull(), qPrintable(request["path"].toString()));
    }

    void logout_forgetsDropboxAndFileServers()
    {
        Setting::instance()->setValue(SettingKeys::ftpHost, QStringLiteral("ftp.example"));
        DropboxAuth auth;
        QSignalSpy changed(&auth, &DropboxAuth::isAuthChanged);
        auth.logout();
        QCOMPARE(changed.count(), 1);
        QVERIFY(!auth.isAuth());
        QCOMPARE(auth.name(), QString());
        QCOMPARE(Setting::instance()->getValue(SettingKeys::ftpHost).toString(), QString());
        QCOMPARE(token(), QString());
    }

    void capture_reachesDropboxByteForByte_withSharedLink()
    {
        const QString file = makeFile(local("1700000000002.jpg"), 3 * 1024 * 1024);
        Recorder recorder(m_exchange);
        QSignalSpy complete(Core::instance()->uploadModel(), &UploadModel::uploadComplete);
        QVERIFY(recorder.upload(file, HandlerUpload::ActionTwitter));
        QCOMPARE(recorder.outcome(), "link: " + m_dropbox.origin() + "/s/1700000000002.jpg");
        QTRY_COMPARE(complete.count(), 1);
        QVERIFY(sameBytes(file, stored("1700000000002.jpg")));
        QCOMPARE(m_opened.size(), 1);
        QCOMPARE(m_opened.first().host(), QStringLiteral("twitter.com"));
    }

    void largeFile_goesInUploadSession_byteForByte()
    {
        QDropboxFile::setUploadLimits(2 * 1024 * 1024, 1024 * 1024);
        const QString file = makeFile(local("large.bin"), 5 * 1024 * 1024 + 123);
        Recorder recorder(m_exchange);
        m_exchange->uploadData({file});
        QVERIFY(waitForEnd(recorder));
        QDropboxFile::setUploadLimits(150 * 1024 * 1024, 32 * 1024 * 1024);
        QCOMPARE(recorder.firstError(), QString());
        QCOMPARE(recorder.link(), m_dropbox.origin() + "/s/large.bin");
        QVERIFY(sameBytes(file, stored("large.bin")));
        QStringList steps;
        for (const QJsonValue &request : m_dropbox.state().value("requests").toArray()) {
            const QString path = request["path"].toString();
            if (path.startsWith("/2/files/upload"))
                steps.append(path.mid(int(strlen("/2/files/"))));
        }
        QCOMPARE(steps.mid(steps.lastIndexOf("upload_session/start")),
                 (QStringList{"upload_session/start", "upload_session/append_v2", "upload_session/append_v2",
                              "upload_session/append_v2", "upload_session/append_v2", "upload_session/finish"}));
    }

    void folder_arrivesAsArchive()
    {
        const QString folder = local("docs");
        const QStringList files = makeFolder(folder);
        Recorder recorder(m_exchange);
        m_exchange->uploadData({folder});
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(recorder.firstError(), QString());
        const QStringList archives = QDir(stored(QString())).entryList({"docs_*.zip"});
        QCOMPARE(archives.size(), 1);
        QCOMPARE(archivedFolderDiffers(stored(archives.first()), folder, files, m_scratch.filePath("docs_out")), QString());
    }

    void existingSharedLink_isReused()
    {
        m_dropbox.configure({{"link_exists", true}});
        Recorder recorder(m_exchange);
        QVERIFY(recorder.upload(makeFile(local("again.png"), 1000)));
        QCOMPARE(recorder.link(), m_dropbox.origin() + "/s/again.png");
    }

    void failures_giveErrorAndNoLink_data()
    {
        QTest::addColumn<QString>("storedToken");
        QTest::addColumn<QString>("config");
        QTest::addColumn<QString>("expected");
        QTest::newRow("not signed in") << "" << "" << "Sign in to Dropbox";
        QTest::newRow("expired token") << "old-token" << "" << "sign in to Dropbox again";
        QTest::newRow("stored token unfit for a header") << "dropbox-token\r\nX-Injected: yes" << "" << "Sign in to Dropbox";
        QTest::newRow("no space") << "dropbox-token" << "insufficient_space" << "insufficient_space";
        QTest::newRow("bytes lost") << "dropbox-token" << "short_size" << "Dropbox stored";
    }

    void failures_giveErrorAndNoLink()
    {
        QFETCH(QString, storedToken);
        QFETCH(QString, config);
        QFETCH(QString, expected);
        signIn(storedToken);
        if (!config.isEmpty())
            m_dropbox.configure({{config, true}});
        Recorder recorder(m_exchange);
        QVERIFY(recorder.upload(makeFile(local("fail.png"), 5000), HandlerUpload::ActionMail));
        QVERIFY2(recorder.failedWith(expected), qPrintable(recorder.outcome()));
        QVERIFY(m_opened.isEmpty());
    }

    void cancel_midTransfer_stopsThreadWithoutLink()
    {
        m_dropbox.configure({{"slow", true}});
        QCOMPARE(cancelMidTransfer(m_exchange, makeFile(local("slow.bin"), 20 * 1024 * 1024)), QString());
    }
};

QTEST_MAIN(DropboxUploadTest)
#include "tst_dropboxupload.moc"
