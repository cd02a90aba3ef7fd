// Uploads to the service (and failed FTP and Dropbox uploads sent there instead) against
// the HTTPS stand-in of the service on 127.0.0.1.

#include "core.h"
#include "upload/uploadmodel.h"
#include "uploadtestsupport.h"

#include <QJsonArray>

using namespace UploadTest;

class ServiceUploadTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    HttpsStandIn m_service;
    NetworkExchange *m_exchange = nullptr;

    QString local(const QString &name) const { return m_scratch.filePath(QStringLiteral("local/") + name); }

    QJsonObject fileRecord(const QString &link)
    {
        const QJsonObject files = m_service.get(QStringLiteral("/_test/state")).value(QStringLiteral("files")).toObject();
        for (const QJsonValue &record : files) {
            if (record.toObject().value(QStringLiteral("alternateLink")).toString() == link)
                return record.toObject();
        }
        return QJsonObject();
    }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        QVERIFY2(m_service.start(QStringLiteral(MAVU_SOURCE_DIR "/tests/service/mavu_service.py"),
                                 m_scratch.filePath(QStringLiteral("service"))),
                 "the service stand-in did not start");
        Core::instance()->setHostUrl(m_service.host());
        Core::instance()->setHostUrlAuth(m_service.host());
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("service-token"));
        m_service.post(QStringLiteral("/_test/token"), {{QStringLiteral("token"), QStringLiteral("service-token")}});
        m_exchange = new NetworkExchange(Core::instance());
        UploadHooks::openUrl() = [](const QUrl &) { return true; };
    }

    void init()
    {
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("service-token"));
        setValues({{SettingKeys::typeUpload, QStringLiteral("mavu")}, {SettingKeys::maxPostSize, QString()}});
        m_service.post(QStringLiteral("/_test/config"),
                       {{QStringLiteral("down"), false}, {QStringLiteral("max_post_size"), 1024 * 1024 * 1024},
                        {QStringLiteral("upload_fault"), QJsonValue()}, {QStringLiteral("record_redirect"), QJsonValue()},
                        {QStringLiteral("record_reply"), QJsonObject()}, {QStringLiteral("record_xml"), false},
                        {QStringLiteral("record_padding"), 0}});
    }

    void capture_reachesService_linkBeforeBytes_data()
    {
        QTest::addColumn<QString>("type");
        QTest::newRow("mavu") << "mavu";
        QTest::newRow("google") << "google";
    }

    void capture_reachesService_linkBeforeBytes()
    {
        QFETCH(QString, type);
        Setting::instance()->setValue(SettingKeys::typeUpload, type);
        const QString file = makeFile(local(QStringLiteral("1700000000003.jpg")), 3 * 1024 * 1024);
        Recorder recorder(m_exchange);
        QSignalSpy complete(Core::instance()->uploadModel(), &UploadModel::uploadComplete);
        bool bytesInAtFirstLink = true;
        QObject::connect(m_exchange, &NetworkExchange::readyLink, this, [&](const QString &link) {
            bytesInAtFirstLink = fileRecord(link).value(QStringLiteral("uploaded")).toBool();
        });

        m_exchange->uploadScreen(file, QStringLiteral("1700000000003"), HandlerUpload::ActionNone);
        QVERIFY(waitForEnd(recorder));
        disconnect(m_exchange, &NetworkExchange::readyLink, this, nullptr);
        QCOMPARE(recorder.firstError(), QString());
        QCOMPARE(recorder.readyLink.count(), 1);
        QCOMPARE(recorder.readyLinkAfterUpload.count(), 1);
        QCOMPARE(recorder.readyLink.first().first().toString(), recorder.link());
        QVERIFY(!bytesInAtFirstLink); // the link comes with the file record
        QTRY_COMPARE(complete.count(), 1);

        const QJsonObject record = fileRecord(recorder.link());
        QVERIFY(record.value(QStringLiteral("uploaded")).toBool());
        QCOMPARE(record.value(QStringLiteral("sha256")).toString(), sha256Of(file));
        QCOMPARE(record.value(QStringLiteral("title")).toString(), QStringLiteral("1700000000003.jpg"));
        QCOMPARE(record.value(QStringLiteral("description")).toString(), QStringLiteral("1700000000003"));
        QCOMPARE(record.value(QStringLiteral("mimeType")).toString(), QStringLiteral("image/jpeg"));
    }

    void zippedFiles_reachServiceAsOneArchive()
    {
        const QString a = makeFile(local(QStringLiteral("z/a.txt")), 100);
        const QString b = makeFile(local(QStringLiteral("z/b.txt")), 200);
        Recorder recorder(m_exchange);
        m_exchange->uploadDataZip({a, b});
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(recorder.firstError(), QString());
        const QJsonObject record = fileRecord(recorder.link());
        QVERIFY(record.value(QStringLiteral("title")).toString().startsWith(QLatin1String("a.txt_")));
        QCOMPARE(record.value(QStringLiteral("mimeType")).toString(), QStringLiteral("application/zip"));
        QVERIFY(record.value(QStringLiteral("uploaded")).toBool());
    }

    void refusedSignIn_givesErrorAndNoLink()
    {
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("unknown-token"));
        const QString file = makeFile(local(QStringLiteral("refused.png")), 1000);
        Recorder recorder(m_exchange);
        m_exchange->uploadScreen(file, QString(), HandlerUpload::ActionFacebook);
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(recorder.error.count(), 1);
        QVERIFY2(recorder.firstError().contains(QLatin1String("sign in again")), qPrintable(recorder.firstError()));
        QCOMPARE(recorder.readyLink.count(), 0);
        QCOMPARE(recorder.readyLinkAfterUpload.count(), 0);
    }

    void serviceLimit_refusesTooLargeFile()
    {
        m_service.post(QStringLiteral("/_test/config"), {{QStringLiteral("max_post_size"), 1000}});
        const QString file = makeFile(local(QStringLiteral("large.png")), 5000);
        Recorder recorder(m_exchange);
        m_exchange->uploadScreen(file, QString(), HandlerUpload::ActionNone);
        QVERIFY(waitForEnd(recorder));
        QVERIFY2(recorder.firstError().contains(QLatin1String("too large")), qPrintable(recorder.firstError()));
        QCOMPARE(recorder.readyLinkAfterUpload.count(), 0);
    }

    void failedFtpOrDropbox_goesToServiceWhenAsked_data()
    {
        QTest::addColumn<QString>("type");
        QTest::addColumn<QString>("flag");
        QTest::addColumn<bool>("on");
        QTest::newRow("ftp, flag on") << "ftp" << SettingKeys::isFtpErrorUploadMavu << true;
        QTest::newRow("ftp, flag off") << "ftp" << SettingKeys::isFtpErrorUploadMavu << false;
        QTest::newRow("dropbox, flag on") << "dropbox" << SettingKeys::isDropboxErrorUploadMavu << true;
        QTest::newRow("dropbox, flag off") << "dropbox" << SettingKeys::isDropboxErrorUploadMavu << false;
    }

    void failedFtpOrDropbox_goesToServiceWhenAsked()
    {
        QFETCH(QString, type);
        QFETCH(QString, flag);
        QFETCH(bool, on);
        // Nothing listens on the FTP port; no Dropbox token is stored.
        setValues({{SettingKeys::typeUpload, type}, {SettingKeys::isSftp, 0},
                   {SettingKeys::ftpHost, QStringLiteral("127.0.0.1")}, {SettingKeys::ftpPort, freePort()},
                   {SettingKeys::dropBoxTokenApiV2, QString()}, {flag, on ? 1 : 0}});
        const QString file = makeFile(local(QStringLiteral("fallback.png")), 4000);
        Recorder recorder(m_exchange);
        m_exchange->uploadScreen(file, QString(), HandlerUpload::ActionNone);
        QVERIFY(waitForEnd(recorder));
        if (!on) {
            QCOMPARE(recorder.error.count(), 1);
            QCOMPARE(recorder.readyLink.count(), 0);
            return;
        }
        QCOMPARE(recorder.firstError(), QString());
        QCOMPARE(recorder.readyLink.count(), 1);
        QCOMPARE(recorder.readyLinkAfterUpload.count(), 1);
        QVERIFY(recorder.link().startsWith(m_service.origin() + QStringLiteral("/f/")));
        QCOMPARE(fileRecord(recorder.link()).value(QStringLiteral("sha256")).toString(), sha256Of(file));
    }

    void failedBytes_withdrawTheLinkFromClipboardAndLastLink_data()
    {
        QTest::addColumn<QString>("fault");
        for (const char *fault : {"500", "413", "short", "empty", "drop"})
            QTest::newRow(fault) << QString::fromLatin1(fault);
    }

    // The link comes with the file record, before the bytes: when they then fail, the
    // link must not stay where the user would share it.
    void failedBytes_withdrawTheLinkFromClipboardAndLastLink()
    {
        QFETCH(QString, fault);
        m_service.post(QStringLiteral("/_test/config"), {{QStringLiteral("upload_fault"), fault}});
        Core *core = Core::instance();
        NetworkExchange *exchange = core->networkExchange();
        const QString file = makeFile(local(QStringLiteral("failing.png")), 3000);
        Recorder recorder(exchange);

        exchange->uploadScreen(file, QString(), HandlerUpload::ActionNone);
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(recorder.readyLink.count(), 1);
        QCOMPARE(recorder.readyLinkAfterUpload.count(), 0);
        QCOMPARE(recorder.error.count() + recorder.internetNotAvailable.count(), 1);
        const QString link = recorder.readyLink.first().first().toString();
        QVERIFY(!link.isEmpty());
        QCOMPARE(core->lastLink(), QString());
        QVERIFY(core->clipboardText() != link);
    }

    // The token of the service never goes to another origin, also not by redirection.
    void recordRedirectedToAnotherOrigin_isRefused_withoutTheToken()
    {
        HttpsStandIn elsewhere;
        QVERIFY(elsewhere.start(QStringLiteral(MAVU_SOURCE_DIR "/tests/service/mavu_service.py"),
                                m_scratch.filePath(QStringLiteral("elsewhere"))));
        m_service.post(QStringLiteral("/_test/config"),
                       {{QStringLiteral("record_redirect"),
                         elsewhere.origin() + QStringLiteral("/drive/v1/files?fields=id,alternateLink,selfLink")}});
        const QString file = makeFile(local(QStringLiteral("redirected.png")), 2000);
        Recorder recorder(m_exchange);

        m_exchange->uploadScreen(file, QString(), HandlerUpload::ActionNone);
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(recorder.error.count(), 1);
        QVERIFY2(recorder.firstError().contains(QLatin1String("another address")), qPrintable(recorder.firstError()));
        QCOMPARE(recorder.readyLink.count(), 0);
        const QJsonArray requests = elsewhere.get(QStringLiteral("/_test/state")).value(QStringLiteral("requests")).toArray();
        for (const QJsonValue &request : requests) {
            const QJsonObject headers = request.toObject().value(QStringLiteral("headers")).toObject();
            for (auto it = headers.begin(); it != headers.end(); ++it)
                QVERIFY2(it.key().compare(QLatin1String("Authorization"), Qt::CaseInsensitive) != 0,
                         qPrintable(it.value().toString()));
        }
    }

    void badFileRecord_isAnErrorAndNoLink_data()
    {
        QTest::addColumn<QJsonObject>("config");
        QTest::addColumn<QString>("expected");
        QTest::newRow("script link") << QJsonObject{{"record_reply", QJsonObject{{"alternateLink", "javascript:alert(1)"}}}}
                                     << "no web address";
        QTest::newRow("file link") << QJsonObject{{"record_reply", QJsonObject{{"alternateLink", "file:///etc/passwd"}}}}
                                   << "no web address";
        QTest::newRow("xml answer") << QJsonObject{{"record_xml", true}} << "could not be read";
        QTest::newRow("oversized answer") << QJsonObject{{"record_padding", 8 * 1024 * 1024}} << "too large";
    }

    void badFileRecord_isAnErrorAndNoLink()
    {
        QFETCH(QJsonObject, config);
        QFETCH(QString, expected);
        m_service.post(QStringLiteral("/_test/config"), config);
        const QString file = makeFile(local(QStringLiteral("badrecord.png")), 2000);
        Recorder recorder(m_exchange);

        m_exchange->uploadScreen(file, QString(), HandlerUpload::ActionNone);
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(recorder.error.count(), 1);
        QVERIFY2(recorder.firstError().contains(expected), qPrintable(recorder.firstError()));
        QCOMPARE(recorder.readyLink.count(), 0);
        QCOMPARE(recorder.readyLinkAfterUpload.count(), 0);
    }

    void cancel_whileSendingBytes_reportsNoFinishedUpload()
    {
        const QString file = makeFile(local(QStringLiteral("cancel.bin")), 200 * 1024 * 1024);
        Recorder recorder(m_exchange);
        UploadModel *model = Core::instance()->uploadModel();
        m_exchange->uploadData({file});
        QPointer<HandlerUpload> job = model->uploader(0);
        QVERIFY(QTest::qWaitFor([&] { return job && job->download() > 0; }, 30000));
        m_exchange->cancelUpload();
        QCOMPARE(model->rowCount(), 0);
        QTRY_VERIFY(job.isNull());
        QTest::qWait(300);
        QCOMPARE(recorder.readyLinkAfterUpload.count(), 0);
        QCOMPARE(recorder.error.count(), 0);
        QFile::remove(file);
    }

    // Runs last: it stops the stand-in.
    void unreachableService_reportsInternetNotAvailable_forCapturesToo()
    {
        m_service.stop();
        const QString file = makeFile(local(QStringLiteral("offline.png")), 1000);
        Recorder recorder(m_exchange);
        m_exchange->uploadScreen(file, QString(), HandlerUpload::ActionNone);
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(recorder.internetNotAvailable.count(), 1);
        QCOMPARE(recorder.readyLink.count(), 0);
        QCOMPARE(recorder.readyLinkAfterUpload.count(), 0);
    }
};

QTEST_MAIN(ServiceUploadTest)
#include "tst_serviceupload.moc"
