// FTP uploads and the FTP connection probe against a real pyftpdlib server on 127.0.0.1.

#include "core.h"
#include "settings/constants.h"
#include "upload/handleftpupload.h"
#include "upload/uploadmodel.h"
#include "uploadtestsupport.h"

using namespace UploadTest;

namespace {
QStringList capturedMessages;
void captureMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    capturedMessages.append(message);
}
} // namespace

class FtpUploadTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    FtpServer m_server;
    NetworkExchange *m_exchange = nullptr;
    QList<QUrl> m_opened;
    QList<QPair<QString, QString>> m_messages;

    QString local(const QString &name) const { return m_scratch.filePath(QStringLiteral("local/") + name); }
    QString remote(const QString &name) const { return m_server.root() + QStringLiteral("/shots/2024/") + name; }

    void useFtp(const QString &password)
    {
        setValues({{SettingKeys::typeUpload, QStringLiteral("ftp")},
                   {SettingKeys::isSftp, 0},
                   {SettingKeys::ftpHost, QStringLiteral("127.0.0.1")},
                   {SettingKeys::ftpPort, m_server.port()},
                   {SettingKeys::ftpPath, QStringLiteral("shots/2024")},
                   {SettingKeys::ftpBaseUrl, QStringLiteral("https://files.example/shots")},
                   {SettingKeys::isFtpErrorUploadMavu, 0}});
        Setting::instance()->setValue(SettingKeys::ftpUser, QStringLiteral("user"), true);
        Setting::instance()->setValue(SettingKeys::ftpPassword, password, true);
    }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        QVERIFY(m_scratch.isValid());
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("test-token"));
        QVERIFY2(m_server.start(m_scratch.filePath(QStringLiteral("ftproot"))), "pyftpdlib did not start");
        m_exchange = new NetworkExchange(Core::instance());
        UploadHooks::openUrl() = [this](const QUrl &url) { m_opened.append(url); return true; };
        UploadHooks::showMessage() = [this](const QString &title, const QString &text) { m_messages.append({title, text}); };
    }

    void init()
    {
        useFtp(QStringLiteral("pass"));
        m_opened.clear();
        m_messages.clear();
    }

    void capture_reachesServerByteForByte_withOneLinkEach()
    {
        const QString file = makeFile(local(QStringLiteral("1700000000000.jpg")), 3 * 1024 * 1024);
        Recorder recorder(m_exchange);
        QSignalSpy complete(Core::instance()->uploadModel(), &UploadModel::uploadComplete);

        m_exchange->uploadScreen(file, QStringLiteral("title"), HandlerUpload::ActionNone);
        QVERIFY(waitForEnd(recorder));
        QVERIFY(complete.wait(5000) || complete.count() == 1);

        QCOMPARE(recorder.firstError(), QString());
        QCOMPARE(recorder.startUpload.count(), 1);
        QCOMPARE(recorder.readyLink.count(), 1);
        QCOMPARE(recorder.readyLinkAfterUpload.count(), 1);
        QCOMPARE(recorder.link(), QStringLiteral("https://files.example/shots/1700000000000.jpg"));
        QCOMPARE(recorder.readyLink.first().first().toString(), recorder.link());
        QCOMPARE(complete.count(), 1);
        QVERIFY(sameBytes(file, remote(QStringLiteral("1700000000000.jpg"))));
        QVERIFY(!QFile::exists(remote(QStringLiteral("1700000000000.jpg.part"))));
        QCOMPARE(Core::instance()->uploadModel()->rowCount(), 0);
        QVERIFY(m_opened.isEmpty());
    }

    void folder_arrivesAsArchiveWithRelativeNames()
    {
        const QString folder = m_scratch.filePath(QStringLiteral("local/holiday"));
        const QStringList files = makeFolder(folder);
        Recorder recorder(m_exchange);

        m_exchange->uploadData({folder});
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(recorder.firstError(), QString());
        QCOMPARE(recorder.readyLinkAfterUpload.count(), 1);

        const QStringList archives = QDir(remote(QString())).entryList({QStringLiteral("holiday_*.zip")});
        QCOMPARE(archives.size(), 1);
        QVERIFY(recorder.link().endsWith(QLatin1Char('/') + archives.first()));
        const QString archive = remote(archives.first());
        QCOMPARE(zipEntries(archive), (QStringList{QStringLiteral("holiday/a.bin"), QStringLiteral("holiday/sub/b.txt"),
                                                   QStringLiteral("holiday/sub/deeper/c.bin")}));
        QCOMPARE(archivedFolderDiffers(archive, folder, files, m_scratch.filePath(QStringLiteral("unpacked"))), QString());
        // The archive was a temporary file of the job.
        QVERIFY(QDir(m_tempDir).entryList({QStringLiteral("holiday_*.zip")}).isEmpty());
    }

    void wrongPassword_givesErrorAndNoLink()
    {
        useFtp(QStringLiteral("wrong"));
        const QString file = makeFile(local(QStringLiteral("wrongpass.png")), 4096);
        Recorder recorder(m_exchange);
        QSignalSpy complete(Core::instance()->uploadModel(), &UploadModel::uploadComplete);

        m_exchange->uploadScreen(file, QString(), HandlerUpload::ActionMail);
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(recorder.error.count(), 1);
        QVERIFY2(recorder.firstError().contains(QLatin1String("password")), qPrintable(recorder.firstError()));
        QVERIFY(!recorder.firstError().contains(QLatin1String("wrong")));
        QCOMPARE(recorder.readyLink.count(), 0);
        QCOMPARE(recorder.readyLinkAfterUpload.count(), 0);
        QVERIFY(m_opened.isEmpty()); // no share action after a failure
        QTRY_COMPARE(complete.count(), 1);
        QVERIFY(!QFile::exists(remote(QStringLiteral("wrongpass.png"))));
    }

    void credentials_neverReachTheLog()
    {
        const QString secret = QStringLiteral("pw-SECRET-4711");
        QLoggingCategory::setFilterRules(QString());
        capturedMessages.clear();
        const QtMessageHandler previous = qInstallMessageHandler(captureMessage);
        useFtp(secret);
        const QString file = makeFile(local(QStringLiteral("secret.png")), 2048);
        Recorder recorder(m_exchange);
        m_exchange->uploadScreen(file, QString(), HandlerUpload::ActionNone);
        const bool ended = waitForEnd(recorder);
        auto *probe = new HandleFTPUpload(Core::instance());
        QSignalSpy finished(probe, &HandleFTPUpload::checkConnectFinished);
        probe->checkConnect(QStringLiteral("user"), secret, QStringLiteral("127.0.0.1"), QString(), m_server.port());
        finished.wait(30000);
        delete probe;
        qInstallMessageHandler(previous);
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));

        QVERIFY(ended);
        QVERIFY(!capturedMessages.isEmpty());
        for (const QString &message : std::as_const(capturedMessages))
            QVERIFY2(!message.contains(QLatin1String("SECRET")), qPrintable(message));
        for (const auto &message : std::as_const(m_messages))
            QVERIFY(!message.second.contains(QLatin1String("SECRET")));
        QVERIFY(!recorder.firstError().contains(QLatin1String("SECRET")));
    }

    void cancel_midTransfer_stopsCleanlyWithoutLink()
    {
        const QString file = makeFile(local(QStringLiteral("big.bin")), 400 * 1024 * 1024);
        Recorder recorder(m_exchange);
        UploadModel *model = Core::instance()->uploadModel();
        QSignalSpy complete(model, &UploadModel::uploadComplete);

        m_exchange->uploadData({file});
        QCOMPARE(model->rowCount(), 1);
        QPointer<HandlerUpload> job = model->uploader(0);
        QVERIFY(QTest::qWaitFor([&] { return job && job->download() > 0; }, 20000));
        QVERIFY(job->download() < job->total());
        m_exchange->cancelUpload();

        QCOMPARE(model->rowCount(), 0);
        QCOMPARE(complete.count(), 1);
        QTRY_VERIFY(job.isNull()); // deleted, its thread ended first
        QTest::qWait(300);
        QCOMPARE(recorder.readyLink.count(), 0);
        QCOMPARE(recorder.readyLinkAfterUpload.count(), 0);
        QCOMPARE(recorder.error.count(), 0);
        QVERIFY(!QFile::exists(remote(QStringLiteral("big.bin"))));
        QVERIFY(m_exchange->uploaders().isEmpty());
        QFile::remove(file);
    }

    void fileNameWithLineBreak_cannotInjectServerCommands()
    {
        const QString file = makeFile(local(QStringLiteral("evil\r\nDELE x.png")), 3000);
        Recorder recorder(m_exchange);
        m_exchange->uploadScreen(file, QString(), HandlerUpload::ActionNone);
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(recorder.firstError(), QString());
        QVERIFY(recorder.link().endsWith(QLatin1String("/evil__DELE%20x.png")));
        QVERIFY(sameBytes(file, remote(QStringLiteral("evil__DELE x.png"))));
    }

    void dispatcherDeleted_midTransfer_endsJobThreadFirst()
    {
        const QString file = makeFile(local(QStringLiteral("exit.bin")), 400 * 1024 * 1024);
        auto *exchange = new NetworkExchange(Core::instance());
        exchange->uploadData({file});
        QPointer<HandlerUpload> job = exchange->uploaders().value(0);
        QVERIFY(QTest::qWaitFor([&] { return job && job->download() > 0; }, 20000));
        delete exchange; // as at the end of the process: the job and its thread go with it
        QVERIFY(job.isNull());
        QCOMPARE(Core::instance()->uploadModel()->rowCount(), 0);
        QVERIFY(!QFile::exists(remote(QStringLiteral("exit.bin"))));
        QFile::remove(file);
    }

    // A second file of the same name (from another folder) gets a numbered name: the first
    // link keeps serving the first file.
    void sameName_fromAnotherFolder_keepsBoth()
    {
        QCOMPARE(sameNameKeepsBoth(m_exchange, local(QString()), remote(QString()), QStringLiteral("https://files.example/shots/")), QString());
    }

    // 255 bytes is the longest name a server's file system takes: no room for a suffix.
    void nameAtTheLengthLimit_goesUp()
    {
        const QString name = QString(251, QLatin1Char('n')) + QStringLiteral(".png");
        const QString file = makeFile(local(name), 2000);
        const QStringList partsBefore = QDir(remote(QString())).entryList({QStringLiteral("*.part")});
        QCOMPARE(uploadEach(m_exchange, {file}), QStringList{QStringLiteral("https://files.example/shots/") + name});
        QVERIFY(sameBytes(file, remote(name)));
        QCOMPARE(QDir(remote(QString())).entryList({QStringLiteral("*.part")}), partsBefore);
    }

    void shareAction_opensSharePageWithLink()
    {
        const QString file = makeFile(local(QStringLiteral("share.png")), 5000);
        Recorder recorder(m_exchange);
        m_exchange->uploadScreen(file, QString(), HandlerUpload::ActionVK);
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(m_opened.size(), 1);
        QCOMPARE(m_opened.first().host(), QStringLiteral("vk.com"));
        QCOMPARE(QUrlQuery(m_opened.first()).queryItemValue(QStringLiteral("url"), QUrl::FullyDecoded),
                 QStringLiteral("https://files.example/shots/share.png"));
    }

    void probe_reportsSuccessAndFailure_data()
    {
        QTest::addColumn<QString>("password");
        QTest::addColumn<bool>("listening");
        QTest::addColumn<QString>("expected");
        QTest::newRow("right password") << "pass" << true << "Connection successful";
        QTest::newRow("wrong password") << "nope" << true << "password";
        QTest::newRow("no server") << "pass" << false << "Could not connect";
    }

    void probe_reportsSuccessAndFailure()
    {
        QFETCH(QString, password);
        QFETCH(bool, listening);
        QFETCH(QString, expected);
        auto *probe = new HandleFTPUpload(Core::instance());
        QSignalSpy finished(probe, &HandleFTPUpload::checkConnectFinished);
        const int port = listening ? m_server.port() : freePort();
        probe->checkConnect(QStringLiteral("user"), password, QStringLiteral("127.0.0.1"), QStringLiteral("shots"), port);
        QVERIFY(m_messages.isEmpty()); // the probe runs on the pool, not in this call
        QVERIFY(finished.wait(30000));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first().first, QStringLiteral("FTP connection"));
        QVERIFY2(m_messages.first().second.contains(expected), qPrintable(m_messages.first().second));
        delete probe;
    }

    void probe_deletedBeforeItEnds_doesNotCrash()
    {
        auto *probe = new HandleFTPUpload(Core::instance());
        probe->checkConnect(QStringLiteral("user"), QStringLiteral("pass"), QStringLiteral("127.0.0.1"), QString(),
                            m_server.port());
        delete probe;
        QTest::qWait(1500);
        QVERIFY(m_messages.isEmpty());
    }
};

QTEST_MAIN(FtpUploadTest)
#include "tst_ftpupload.moc"
