// Dropbox sign-in and uploads against the loopback stand-in of the Dropbox API.

#include "core.h"
#include "upload/dropbox/qdropbox.h"
#include "upload/dropbox/qdropboxauth.h"
#include "upload/dropbox/qdropboxfile.h"
#include "upload/uploadmodel.h"
#include "uploadtestsupport.h"

#include <QJsonArray>

using namespace UploadTest;

class DropboxUploadTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    HttpsStandIn m_dropbox;
    NetworkExchange *m_exchange = nullptr;
    QList<QUrl> m_opened;

    QString local(const QString &name) const { return m_scratch.filePath(QStringLiteral("local/") + name); }
    QString stored(const QString &name) const { return m_scratch.filePath(QStringLiteral("dropbox/files/") + name); }
    QString token() const { return Setting::instance()->getValue(SettingKeys::dropBoxTokenApiV2, true).toString(); }

    void configure(const QJsonObject &values) { m_dropbox.post(QStringLiteral("/_test/config"), values); }

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
        QVERIFY2(m_dropbox.start(QStringLiteral(MAVU_TEST_DIR "/dropbox_standin.py"), m_scratch.filePath(QStringLiteral("dropbox"))),
                 "the Dropbox stand-in did not start");
        const QString origin = m_dropbox.origin();
        QDropbox::setUrls({origin + QStringLiteral("/2"), origin + QStringLiteral("/2"),
                           origin + QStringLiteral("/oauth2/authorize"), origin + QStringLiteral("/oauth2/token")});
        QDropbox::setAppKey(QStringLiteral("test-app-key"));
        DropboxAuth::setRedirectPort(freePort());
        m_exchange = new NetworkExchange(Core::instance());
        UploadHooks::openUrl() = [this](const QUrl &url) { m_opened.append(url); return true; };
    }

    void init()
    {
        m_opened.clear();
        configure({{QStringLiteral("slow"), false}, {QStringLiteral("insufficient_space"), false},
                   {QStringLiteral("link_exists"), false}, {QStringLiteral("short_size"), false},
                   {QStringLiteral("token"), QStringLiteral("dropbox-token")}});
        setValues({{SettingKeys::typeUpload, QStringLiteral("dropbox")}, {SettingKeys::isDropboxErrorUploadMavu, 0}});
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
        QCOMPARE(query.queryItemValue(QStringLiteral("code_challenge_method")), QStringLiteral("S256"));
        QVERIFY(query.queryItemValue(QStringLiteral("redirect_uri")).startsWith(QLatin1String("http://127.0.0.1:")));
        QVERIFY(browse(m_opened.first()));
        QTRY_VERIFY_WITH_TIMEOUT(!auth.email().isEmpty(), 10000);

        QCOMPARE(errors.count(), 0);
        QVERIFY(auth.isAuth());
        QCOMPARE(token(), QStringLiteral("dropbox-token"));
        QCOMPARE(auth.name(), QStringLiteral("Test Dropbox User"));
        QCOMPARE(auth.email(), QStringLiteral("dropbox@example.com"));
        QCOMPARE(auth.total(), 2147483648LL);
        QCOMPARE(auth.usage(), 123456789LL);
        QVERIFY(changed.count() >= 3); // logout, token, account
        // Stored encrypted: a plain read does not show the token.
        QVERIFY(Setting::instance()->getValue(SettingKeys::dropBoxTokenApiV2).toString() != QStringLiteral("dropbox-token"));
    }

    void signIn_redirectOfAnotherSignIn_isRefused()
    {
        DropboxAuth auth;
        QSignalSpy errors(&auth, &DropboxAuth::error);
        auth.logout();
        auth.authorization();
        QUrl forged = QUrl(QUrlQuery(m_opened.first()).queryItemValue(QStringLiteral("redirect_uri"), QUrl::FullyDecoded));
        forged.setQuery(QStringLiteral("code=abc&state=not-ours"));
        QVERIFY(browse(forged));
        QTRY_COMPARE(errors.count(), 1);
        QVERIFY(!auth.isAuth());
    }

    void logout_forgetsDropboxAndFileServers()
    {
        Setting::instance()->setValue(SettingKeys::dropBoxTokenApiV2, QStringLiteral("dropbox-token"), true);
        Setting::instance()->setValue(SettingKeys::ftpHost, QStringLiteral("ftp.example"));
        DropboxAuth auth;
        QSignalSpy changed(&auth, &DropboxAuth::isAuthChanged);
        auth.logout();
        QCOMPARE(changed.count(), 1);
        QVERIFY(!auth.isAuth());
        QCOMPARE(auth.name(), QString());
        QCOMPARE(Setting::instance()->getValue(SettingKeys::ftpHost).toString(), QString());
        QCOMPARE(Setting::instance()->getValue(SettingKeys::dropBoxTokenApiV2, true).toString(), QString());
    }

    void capture_reachesDropboxByteForByte_withSharedLink()
    {
        Setting::instance()->setValue(SettingKeys::dropBoxTokenApiV2, QStringLiteral("dropbox-token"), true);
        const QString file = makeFile(local(QStringLiteral("1700000000002.jpg")), 3 * 1024 * 1024);
        Recorder recorder(m_exchange);
        QSignalSpy complete(Core::instance()->uploadModel(), &UploadModel::uploadComplete);

        m_exchange->uploadScreen(file, QString(), HandlerUpload::ActionTwitter);
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(recorder.firstError(), QString());
        QCOMPARE(recorder.readyLink.count(), 1);
        QCOMPARE(recorder.readyLinkAfterUpload.count(), 1);
        QCOMPARE(recorder.link(), m_dropbox.origin() + QStringLiteral("/s/1700000000002.jpg"));
        QTRY_COMPARE(complete.count(), 1);
        QVERIFY(sameBytes(file, stored(QStringLiteral("1700000000002.jpg"))));
        QCOMPARE(m_opened.size(), 1);
        QCOMPARE(m_opened.first().host(), QStringLiteral("twitter.com"));
    }

    void largeFile_goesInUploadSession_byteForByte()
    {
        Setting::instance()->setValue(SettingKeys::dropBoxTokenApiV2, QStringLiteral("dropbox-token"), true);
        QDropboxFile::setUploadLimits(2 * 1024 * 1024, 1024 * 1024);
        const QString file = makeFile(local(QStringLiteral("large.bin")), 5 * 1024 * 1024 + 123);
        Recorder recorder(m_exchange);
        m_exchange->uploadData({file});
        QVERIFY(waitForEnd(recorder));
        QDropboxFile::setUploadLimits(150 * 1024 * 1024, 32 * 1024 * 1024);
        QCOMPARE(recorder.firstError(), QString());
        QCOMPARE(recorder.link(), m_dropbox.origin() + QStringLiteral("/s/large.bin"));
        QVERIFY(sameBytes(file, stored(QStringLiteral("large.bin"))));
        QStringList steps;
        for (const QJsonValue &request : m_dropbox.get(QStringLiteral("/_test/state")).value(QStringLiteral("requests")).toArray()) {
            const QString path = request.toObject().value(QStringLiteral("path")).toString();
            if (path.startsWith(QLatin1String("/2/files/upload")))
                steps.append(path.mid(int(strlen("/2/files/"))));
        }
        QCOMPARE(steps.mid(steps.lastIndexOf(QStringLiteral("upload_session/start"))),
                 (QStringList{"upload_session/start", "upload_session/append_v2",
                              "upload_session/append_v2", "upload_session/append_v2",
                              "upload_session/append_v2", "upload_session/finish"}));
    }

    void folder_arrivesAsArchive()
    {
        Setting::instance()->setValue(SettingKeys::dropBoxTokenApiV2, QStringLiteral("dropbox-token"), true);
        const QString folder = m_scratch.filePath(QStringLiteral("local/docs"));
        const QStringList files = makeFolder(folder);
        Recorder recorder(m_exchange);
        m_exchange->uploadData({folder});
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(recorder.firstError(), QString());
        const QStringList archives = QDir(stored(QString())).entryList({QStringLiteral("docs_*.zip")});
        QCOMPARE(archives.size(), 1);
        QCOMPARE(archivedFolderDiffers(stored(archives.first()), folder, files, m_scratch.filePath(QStringLiteral("docs_out"))),
                 QString());
    }

    void existingSharedLink_isReused()
    {
        Setting::instance()->setValue(SettingKeys::dropBoxTokenApiV2, QStringLiteral("dropbox-token"), true);
        configure({{QStringLiteral("link_exists"), true}});
        const QString file = makeFile(local(QStringLiteral("again.png")), 1000);
        Recorder recorder(m_exchange);
        m_exchange->uploadScreen(file, QString(), HandlerUpload::ActionNone);
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(recorder.link(), m_dropbox.origin() + QStringLiteral("/s/again.png"));
    }

    void failures_giveErrorAndNoLink_data()
    {
        QTest::addColumn<QString>("storedToken");
        QTest::addColumn<QString>("config");
        QTest::addColumn<QString>("expected");
        QTest::newRow("not signed in") << "" << "" << "Sign in to Dropbox";
        QTest::newRow("expired token") << "old-token" << "" << "sign in to Dropbox again";
        QTest::newRow("no space") << "dropbox-token" << "insufficient_space" << "insufficient_space";
        QTest::newRow("bytes lost") << "dropbox-token" << "short_size" << "Dropbox stored";
    }

    void failures_giveErrorAndNoLink()
    {
        QFETCH(QString, storedToken);
        QFETCH(QString, config);
        QFETCH(QString, expected);
        Setting::instance()->setValue(SettingKeys::dropBoxTokenApiV2, storedToken, true);
        if (!config.isEmpty())
            configure({{config, true}});
        const QString file = makeFile(local(QStringLiteral("fail.png")), 5000);
        Recorder recorder(m_exchange);
        m_exchange->uploadScreen(file, QString(), HandlerUpload::ActionMail);
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(recorder.error.count(), 1);
        QVERIFY2(recorder.firstError().contains(expected), qPrintable(recorder.firstError()));
        QCOMPARE(recorder.readyLink.count(), 0);
        QCOMPARE(recorder.readyLinkAfterUpload.count(), 0);
        QVERIFY(m_opened.isEmpty());
    }

    void cancel_midTransfer_stopsThreadWithoutLink()
    {
        Setting::instance()->setValue(SettingKeys::dropBoxTokenApiV2, QStringLiteral("dropbox-token"), true);
        configure({{QStringLiteral("slow"), true}});
        const QString file = makeFile(local(QStringLiteral("slow.bin")), 20 * 1024 * 1024);
        Recorder recorder(m_exchange);
        UploadModel *model = Core::instance()->uploadModel();
        m_exchange->uploadData({file});
        QPointer<HandlerUpload> job = model->uploader(0);
        QVERIFY(QTest::qWaitFor([&] { return job && job->download() > 0; }, 20000));
        m_exchange->cancelUpload();
        QCOMPARE(model->rowCount(), 0);
        QTRY_VERIFY(job.isNull());
        QTest::qWait(300);
        QCOMPARE(recorder.readyLink.count(), 0);
        QCOMPARE(recorder.readyLinkAfterUpload.count(), 0);
        QCOMPARE(recorder.error.count(), 0);
    }
};

QTEST_MAIN(DropboxUploadTest)
#include "tst_dropboxupload.moc"
