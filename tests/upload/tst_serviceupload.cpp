// Uploads to the service (and failed FTP and Dropbox uploads sent there instead) against
// the HTTPS stand-in of the service on 127.0.0.1.

#include "../harness/pagedriver.h"
#include "../service/standin.h"
#include "network/networkhooks.h"
#include "uploadtestsupport.h"
#include "windows/uploadwidget_win.h"
#include <QLoggingCategory>
#include <QSignalSpy>

using namespace UploadTest;

namespace {
const QString certificateOfAnotherHost = QStringLiteral(
    "The service's certificate was refused: The host name did not match any of the valid hosts for this certificate");
}

class ServiceUploadTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    ServiceStandIn m_service;
    NetworkExchange *m_exchange = nullptr;
    NetworkHooks::RequestDeadline m_deadline = NetworkHooks::requestDeadline();

    QString local(const QString &name) const { return m_scratch.filePath("local/" + name); }

    // Uploads a small file with the service configured so; the recorder keeps what came back.
    void uploadWith(Recorder &recorder, const QJsonObject &config, const QString &name = "small.png")
    {
        m_service.configure(config);
        QVERIFY(recorder.upload(makeFile(local(name), 2000)));
    }

    static QString uploadNote()
    {
        return PageDriver::named(Core::instance()->uploadWidget(), "uploadNote")->property("text").toString();
    }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        QVERIFY2(m_service.start(), "the service stand-in did not start");
        m_service.post("/_test/token", {{"token", "service-token"}});
        m_exchange = new NetworkExchange(Core::instance());
        UploadHooks::openUrl() = [](const QUrl &) { return true; };
    }

    void init()
    {
        setValues({{SettingKeys::token, "service-token"}, {SettingKeys::typeUpload, "mavu"}, {SettingKeys::maxPostSize, QString()}});
        m_service.configure({{"down", false}, {"max_post_size", 1024 * 1024 * 1024}, {"upload_fault", QJsonValue()},
                             {"record_redirect", QJsonValue()}, {"record_reply", QJsonObject()}, {"record_xml", false},
                             {"record_padding", 0}, {"record_streamed", false}, {"record_drip", 0},
                             {"upload_delay", 0}});
        NetworkHooks::requestDeadline() = m_deadline;
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
        const QString file = makeFile(local("1700000000003.jpg"), 3 * 1024 * 1024);
        Recorder recorder(m_exchange);
        QSignalSpy complete(Core::instance()->uploadModel(), &UploadModel::uploadComplete);
        bool bytesInAtFirstLink = true;
        const auto early = connect(m_exchange, &NetworkExchange::readyLink, this, [&](const QString &link) {
            bytesInAtFirstLink = m_service.fileRecord(link).value("uploaded").toBool();
        });
        QVERIFY(recorder.upload(file, HandlerUpload::ActionNone, "1700000000003"));
        disconnect(early);
        QCOMPARE(recorder.outcome(), "link: " + recorder.link());
        QVERIFY(!bytesInAtFirstLink); // the link comes with the file record
        QTRY_COMPARE(complete.count(), 1);

        const QJsonObject record = m_service.fileRecord(recorder.link());
        QVERIFY(record.value("uploaded").toBool());
        QCOMPARE(record.value("sha256").toString(), sha256Of(file));
        QCOMPARE(record.value("title").toString() + " " + record.value("description").toString() + " "
                     + record.value("mimeType").toString(),
                 QStringLiteral("1700000000003.jpg 1700000000003 image/jpeg"));
    }

    void zippedFiles_reachServiceAsOneArchive()
    {
        const QString a = makeFile(local("z/a.txt"), 100);
        const QString b = makeFile(local("z/b.txt"), 200);
        Recorder recorder(m_exchange);
        m_exchange->uploadDataZip({a, b});
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(recorder.firstError(), QString());
        const QJsonObject record = m_service.fileRecord(recorder.link());
        QVERIFY(record.value("title").toString().startsWith("a.txt_"));
        QCOMPARE(record.value("mimeType").toString(), QStringLiteral("application/zip"));
        QVERIFY(record.value("uploaded").toBool());
    }

    void refusedSignIn_givesErrorAndNoLink()
    {
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("unknown-token"));
        Recorder recorder(m_exchange);
        QVERIFY(recorder.upload(makeFile(local("refused.png"), 1000), HandlerUpload::ActionFacebook));
        QVERIFY2(recorder.failedWith("sign in again"), qPrintable(recorder.outcome()));
    }

    // A server whose certificate is made for another host is not the service: the error
    // says so, instead of the question about a missing connection.
    void certificateOfAnotherHost_isTheErrorShown()
    {
        Core::instance()->setHostUrl(QStringLiteral("localhost:%1").arg(m_service.port()));
        Recorder recorder(m_exchange);
        QVERIFY(recorder.upload(makeFile(local("certificate.png"), 1000)));
        m_service.pointCoreHere();
        QVERIFY2(recorder.failedWith(certificateOfAnotherHost), qPrintable(recorder.outcome()));
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
        setValues({{SettingKeys::typeUpload, type}, {SettingKeys::isSftp, 0}, {SettingKeys::ftpHost, "127.0.0.1"},
                   {SettingKeys::ftpPort, freePort()}, {SettingKeys::dropBoxTokenApiV2, QString()}, {flag, on ? 1 : 0}});
        const QString file = makeFile(local("fallback.png"), 4000);
        Recorder recorder(m_exchange);
        QVERIFY(recorder.upload(file));
        if (!on) {
            QVERIFY2(recorder.failedWith(QString()), qPrintable(recorder.outcome()));
            return;
        }
        QCOMPARE(recorder.outcome(), "link: " + recorder.link());
        QVERIFY(recorder.link().startsWith(m_service.origin() + "/f/"));
        QCOMPARE(m_service.fileRecord(recorder.link()).value("sha256").toString(), sha256Of(file));
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
        Core *core = Core::instance();
        Recorder recorder(core->networkExchange());
        m_service.configure({{"upload_fault", fault}});
        QVERIFY(recorder.upload(makeFile(local("failing.png"), 3000)));
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
        QVERIFY(elsewhere.start(ServiceStandIn::script(), m_scratch.filePath("elsewhere")));
        Recorder recorder(m_exchange);
        uploadWith(recorder, {{"record_redirect", elsewhere.url("/drive/v1/files?fields=id,alternateLink,selfLink")}});
        QVERIFY2(recorder.failedWith("another address"), qPrintable(recorder.outcome()));
        for (const QJsonValue &request : elsewhere.state().value("requests").toArray()) {
            const QJsonObject headers = request["headers"].toObject();
            for (auto it = headers.begin(); it != headers.end(); ++it)
                QVERIFY2(it.key().compare("Authorization", Qt::CaseInsensitive) != 0, qPrintable(it.value().toString()));
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
        QTest::newRow("over the service's limit") << QJsonObject{{"max_post_size", 1000}} << "too large";
    }

    void badFileRecord_isAnErrorAndNoLink()
    {
        QFETCH(QJsonObject, config);
        QFETCH(QString, expected);
        Recorder recorder(m_exchange);
        uploadWith(recorder, config, "badrecord.png");
        QVERIFY2(recorder.failedWith(expected), qPrintable(recorder.outcome()));
    }

    // Without a declared size the answer is left once it passes the cap, not read to its end.
    void oversizedAnswerOfNoDeclaredSize_isLeftAtTheCap()
    {
        Recorder recorder(m_exchange);
        uploadWith(recorder, {{"record_padding", 64 * 1024 * 1024}, {"record_streamed", true}}, "streamed.png");
        QVERIFY2(recorder.failedWith("too large"), qPrintable(recorder.outcome()));
        QTRY_COMPARE_WITH_TIMEOUT(m_service.state().value("cut_streams").toInt(), 1, 30000);
    }

    // The transfer timeout restarts with every byte: a record that trickles in is given up
    // at the request's overall deadline. Meanwhile the upload window claims no link.
    void tricklingAnswer_isGivenUpAtItsDeadline_claimingNoLink()
    {
        NetworkHooks::requestDeadline() = {2000, 1024 * 1024};
        m_service.configure({{"record_drip", 0.5}});
        Recorder recorder(m_exchange);
        m_exchange->uploadScreen(makeFile(local("trickle.png"), 2000), QString(), HandlerUpload::ActionNone);
        QTRY_COMPARE(Core::instance()->uploadModel()->rowCount(), 1);
        QCOMPARE(uploadNote(), QStringLiteral("Upload..."));
        QVERIFY(waitForEnd(recorder, 30000));
        QVERIFY2(recorder.failedWith("did not finish answering in time"), qPrintable(recorder.outcome()));
    }

    // The file record puts the link on the clipboard while the bytes still go up; from then
    // on the upload window says so.
    void uploadNote_claimsTheLinkOnceItIsOnTheClipboard()
    {
        Core *core = Core::instance();
        Recorder recorder(core->networkExchange());
        m_service.configure({{"upload_delay", 5}});
        core->networkExchange()->uploadScreen(makeFile(local("noted.png"), 2000), QString(), HandlerUpload::ActionNone);
        QTRY_COMPARE_WITH_TIMEOUT(uploadNote(), QStringLiteral("Link already in the clipboard"), 15000);
        QCOMPARE(recorder.readyLink.count(), 1);
        QCOMPARE(core->clipboardText(), recorder.readyLink.first().first().toString());
        QVERIFY(waitForEnd(recorder));
    }

    void cancel_whileSendingBytes_reportsNoFinishedUpload()
    {
        QCOMPARE(cancelMidTransfer(m_exchange, makeFile(local("cancel.bin"), 200 * 1024 * 1024)), QString());
    }

    // Runs last: it stops the stand-in.
    void unreachableService_reportsInternetNotAvailable_forCapturesToo()
    {
        m_service.stop();
        Recorder recorder(m_exchange);
        QVERIFY(recorder.upload(makeFile(local("offline.png"), 1000)));
        QCOMPARE(recorder.outcome(), QStringLiteral("offline"));
    }
};

QTEST_MAIN(ServiceUploadTest)
#include "tst_serviceupload.moc"
