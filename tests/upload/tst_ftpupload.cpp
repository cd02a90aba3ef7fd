// FTP uploads and the FTP connection probe against a real pyftpdlib server on 127.0.0.1.

#include "../harness/messages.h"
#include "settings/constants.h"
#include "upload/handleftpupload.h"
#include "uploadtestsupport.h"
#include <QLoggingCategory>
#include <QSignalSpy>
#include <QUrlQuery>

using namespace UploadTest;

class FtpUploadTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    FtpServer m_server;
    NetworkExchange *m_exchange = nullptr;
    QList<QUrl> m_opened;
    QList<QPair<QString, QString>> m_messages;

    QString local(const QString &name) const { return m_scratch.filePath("local/" + name); }
    QString remote(const QString &name) const { return m_server.root() + "/shots/2024/" + name; }

    void useFtp(const QString &password)
    {
        m_server.useForUploads("shots/2024", "https://files.example/shots");
        setValues({{SettingKeys::ftpPassword, password}, {SettingKeys::isFtpErrorUploadMavu, 0}});
    }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("test-token"));
        QVERIFY2(m_server.start(m_scratch.filePath("ftproot")), "pyftpdlib did not start");
        m_exchange = new NetworkExchange(Core::instance());
        UploadHooks::openUrl() = [this](const QUrl &url) { m_opened.append(url); return true; };
        UploadHooks::showMessage() = [this](const QString &title, const QString &text) { m_messages.append({title, text}); };
    }

    void init()
    {
        useFtp("pass");
        m_opened.clear();
        m_messages.clear();
    }

    void capture_reachesServerByteForByte_withOneLinkEach()
    {
        const QString file = makeFile(local("1700000000000.jpg"), 3 * 1024 * 1024);
        Recorder recorder(m_exchange);
        QSignalSpy complete(Core::instance()->uploadModel(), &UploadModel::uploadComplete);
        QVERIFY(recorder.upload(file, HandlerUpload::ActionNone, "title"));
        QCOMPARE(recorder.outcome(), QStringLiteral("link: https://files.example/shots/1700000000000.jpg"));
        QCOMPARE(recorder.startUpload.count(), 1);
        QTRY_COMPARE(complete.count(), 1);
        QVERIFY(sameBytes(file, remote("1700000000000.jpg")));
        QVERIFY(!QFile::exists(remote("1700000000000.jpg.part")));
        QCOMPARE(Core::instance()->uploadModel()->rowCount(), 0);
        QVERIFY(m_opened.isEmpty());
    }

    void folder_arrivesAsArchiveWithRelativeNames()
    {
        const QString folder = local("holiday");
        const QStringList files = makeFolder(folder);
        Recorder recorder(m_exchange);
        m_exchange->uploadData({folder});
        QVERIFY(waitForEnd(recorder));
        const QStringList archives = QDir(remote(QString())).entryList({"holiday_*.zip"});
        QCOMPARE(archives.size(), 1);
        QCOMPARE(recorder.outcome(), "link: https://files.example/shots/" + archives.first());
        const QString archive = remote(archives.first());
        QCOMPARE(zipEntries(archive), (QStringList{"holiday/a.bin", "holiday/sub/b.txt", "holiday/sub/deeper/c.bin"}));
        QCOMPARE(archivedFolderDiffers(archive, folder, files, m_scratch.filePath("unpacked")), QString());
        // The archive was a temporary file of the job.
        QVERIFY(QDir(m_tempDir).entryList({"holiday_*.zip"}).isEmpty());
    }

    void wrongPassword_givesErrorAndNoLink()
    {
        useFtp("wrong");
        Recorder recorder(m_exchange);
        QSignalSpy complete(Core::instance()->uploadModel(), &UploadModel::uploadComplete);
        QVERIFY(recorder.upload(makeFile(local("wrongpass.png"), 4096), HandlerUpload::ActionMail));
        QVERIFY2(recorder.failedWith("password"), qPrintable(recorder.outcome()));
        QVERIFY(!recorder.firstError().contains("wrong"));
        QVERIFY(m_opened.isEmpty()); // no share action after a failure
        QTRY_COMPARE(complete.count(), 1);
        QVERIFY(!QFile::exists(remote("wrongpass.png")));
    }

    void credentials_neverReachTheLog()
    {
        const QString secret = QStringLiteral("pw-SECRET-4711");
        QLoggingCategory::setFilterRules(QString());
        Recorder recorder(m_exchange);
        bool ended = false;
        const QStringList messages = CapturedMessages::during([&] {
            useFtp(secret);
            ended = recorder.upload(makeFile(local("secret.png"), 2048));
            HandleFTPUpload probe;
            QSignalSpy finished(&probe, &HandleFTPUpload::checkConnectFinished);
            probe.checkConnect("user", secret, "127.0.0.1", QString(), m_server.port());
            finished.wait(30000);
        });
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        QVERIFY(ended);
        QVERIFY(!messages.isEmpty());
        for (const QString &message : messages)
            QVERIFY2(!message.contains("SECRET"), qPrintable(message));
        for (const auto &message : std::as_const(m_messages))
            QVERIFY(!message.second.contains("SECRET"));
        QVERIFY(!recorder.firstError().contains("SECRET"));
    }

    void cancel_midTransfer_stopsCleanlyWithoutLink()
    {
        QCOMPARE(cancelMidTransfer(m_exchange, makeFile(local("big.bin"), 400 * 1024 * 1024)), QString());
        QVERIFY(!QFile::exists(remote("big.bin")));
        QVERIFY(m_exchange->uploaders().isEmpty());
        QTRY_COMPARE(QDir(remote(QString())).entryList({"*.part"}), QStringList());
    }

    void fileNameWithLineBreak_cannotInjectServerCommands()
    {
        const QString file = makeFile(local("evil\r\nDELE x.png"), 3000);
        Recorder recorder(m_exchange);
        QVERIFY(recorder.upload(file));
        QCOMPARE(recorder.outcome(), QStringLiteral("link: https://files.example/shots/evil__DELE%20x.png"));
        QVERIFY(sameBytes(file, remote("evil__DELE x.png")));
    }

    void dispatcherDeleted_midTransfer_endsJobThreadFirst()
    {
        const QString file = makeFile(local("exit.bin"), 400 * 1024 * 1024);
        auto *exchange = new NetworkExchange(Core::instance());
        exchange->uploadData({file});
        QPointer<HandlerUpload> job = exchange->uploaders().value(0);
        QVERIFY(QTest::qWaitFor([&] { return job && job->download() > 0; }, 20000));
        delete exchange; // as at the end of the process: the job and its thread go with it
        QVERIFY(job.isNull());
        QCOMPARE(Core::instance()->uploadModel()->rowCount(), 0);
        QVERIFY(!QFile::exists(remote("exit.bin")));
        QFile::remove(file);
    }

    // A second file of the same name (from another folder) gets a numbered name, also when
    // both go up at once: each link keeps serving its own file. The server holds the first
    // rename until the other upload has renamed too, so that both look at the name before
    // either has placed its file.
    void sameName_fromAnotherFolder_keepsBoth()
    {
        QVERIFY(m_server.hold("first-rename"));
        const auto release = qScopeGuard([this] { m_server.release("first-rename"); });
        QCOMPARE(sameNameKeepsBoth(m_exchange, local(QString()), remote(QString()), "https://files.example/shots/"), QString());
    }

    // What the server holds under a name decides the name of an upload: a file of an earlier
    // day keeps its name, and so does the lock of an upload that is placing a file now; a lock
    // that an ended upload left is taken over and removed.
    void nameOnTheServer_decidesTheUploadsName_data()
    {
        QTest::addColumn<QString>("onServer");
        QTest::addColumn<int>("ageSecs");
        QTest::addColumn<QString>("storedAs");
        QTest::addColumn<bool>("stays");
        QTest::newRow("file of an earlier day") << "taken.png" << 24 * 3600 << "taken_2.png" << true;
        QTest::newRow("lock of an ended upload") << lockFolderOf("taken.png") << 24 * 3600 << "taken.png" << false;
        QTest::newRow("lock of a running upload") << lockFolderOf("taken.png") << 0 << "taken_2.png" << true;
    }

    void nameOnTheServer_decidesTheUploadsName()
    {
        QFETCH(QString, onServer);
        QFETCH(int, ageSecs);
        QFETCH(QString, storedAs);
        QFETCH(bool, stays);
        const QString folder = m_server.root() + "/shots/taken";
        QDir(folder).removeRecursively();
        const QString existing = folder + "/" + onServer;
        const bool lock = onServer.endsWith(".lock");
        QVERIFY(lock ? QDir().mkpath(existing) : writeFile(existing, "earlier"));
        QVERIFY(setAge(existing, ageSecs));
        m_server.useForUploads("shots/taken", "https://files.example/taken");
        const QString file = makeFile(local("taken.png"), 2500);
        QCOMPARE(uploadEach(m_exchange, {file}), QStringList{"https://files.example/taken/" + storedAs});
        QVERIFY(sameBytes(file, folder + "/" + storedAs));
        QCOMPARE(QFileInfo::exists(existing), stays);
        if (!lock)
            QCOMPARE(readFile(existing), QByteArray("earlier"));
    }

    // A cancel while the uploaded file gets its name: the lock, the temporary file and a file
    // placed meanwhile all go. The server holds the step until the job is cancelled.
    void cancel_whileTheNameIsPlaced_leavesNothingOnTheServer_data()
    {
        QTest::addColumn<QString>("step");
        QTest::newRow("lock being made") << "lock";
        QTest::newRow("file being renamed") << "first-rename";
    }

    void cancel_whileTheNameIsPlaced_leavesNothingOnTheServer()
    {
        QFETCH(QString, step);
        const QString folder = m_server.root() + "/shots/held";
        QDir(folder).removeRecursively();
        QVERIFY(QDir().mkpath(folder));
        m_server.useForUploads("shots/held", "https://files.example/held");
        QVERIFY(m_server.hold(step));
        const auto release = qScopeGuard([&] { m_server.release(step); });
        Recorder recorder(m_exchange);
        m_exchange->uploadScreen(makeFile(local("held.png"), 3000), QString());
        QTRY_VERIFY_WITH_TIMEOUT(m_server.isHolding(step), 30000);
        m_exchange->cancelUpload();
        m_server.release(step);
        QTRY_COMPARE_WITH_TIMEOUT(QDir(folder).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList(), 30000);
        QCOMPARE(recorder.outcome(), QString());
    }

    // A server that goes away mid-upload cannot take the removal of the temporary file: the
    // next upload to it removes the file.
    void serverGoneMidUpload_nextUploadRemovesTheTemporaryFile()
    {
        FtpServer server; // slow, so that the upload still runs when the server goes
        QVERIFY(server.start(m_server.root(), 256 * 1024));
        server.useForUploads("shots/gone", "https://files.example/gone");
        const QString folder = m_server.root() + "/shots/gone";
        const auto partHasBytes = [&] {
            const QStringList left = leftoversIn(folder);
            return left.size() == 1 && QFileInfo(folder + "/" + left.first()).size() > 0;
        };
        Recorder recorder(m_exchange);
        m_exchange->uploadScreen(makeFile(local("gone.bin"), 8 * 1024 * 1024), QString());
        QTRY_VERIFY_WITH_TIMEOUT(partHasBytes(), 30000);
        server.stop();
        QVERIFY(waitForEnd(recorder));
        QVERIFY(partHasBytes()); // the removal found no server
        QVERIFY(server.restart());
        QCOMPARE(uploadEach(m_exchange, {makeFile(local("after.png"), 2000)}),
                 QStringList{"https://files.example/gone/after.png"});
        QCOMPARE(leftoversIn(folder), QStringList());
    }

    void abandonedLeftovers_goWithTheFirstUploadToTheirFolder()
    {
        m_server.useForUploads("shots/swept", "https://files.example/swept");
        QCOMPARE(abandonedLeftoversGo(m_exchange, makeFile(local("swept.png"), 2000), m_server.root() + "/shots/swept", true),
                 QString());
    }

    // 255 bytes is the longest name a server's file system takes: no room for a suffix.
    void nameAtTheLengthLimit_goesUp()
    {
        const QString name = QString(251, QLatin1Char('n')) + ".png";
        const QString file = makeFile(local(name), 2000);
        const QStringList partsBefore = QDir(remote(QString())).entryList({"*.part"});
        QCOMPARE(uploadEach(m_exchange, {file}), QStringList{"https://files.example/shots/" + name});
        QVERIFY(sameBytes(file, remote(name)));
        QCOMPARE(QDir(remote(QString())).entryList({"*.part"}), partsBefore);
    }

    void shareAction_opensSharePageWithLink()
    {
        Recorder recorder(m_exchange);
        QVERIFY(recorder.upload(makeFile(local("share.png"), 5000), HandlerUpload::ActionVK));
        QCOMPARE(m_opened.size(), 1);
        QCOMPARE(m_opened.first().host(), QStringLiteral("vk.com"));
        QCOMPARE(QUrlQuery(m_opened.first()).queryItemValue("url", QUrl::FullyDecoded),
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
        HandleFTPUpload probe;
        QSignalSpy finished(&probe, &HandleFTPUpload::checkConnectFinished);
        probe.checkConnect("user", password, "127.0.0.1", "shots", listening ? m_server.port() : freePort());
        QVERIFY(m_messages.isEmpty()); // the probe runs on the pool, not in this call
        QVERIFY(finished.wait(30000));
        QCOMPARE(finished.count(), 1);
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first().first, QStringLiteral("FTP connection"));
        QVERIFY2(m_messages.first().second.contains(expected), qPrintable(m_messages.first().second));
    }

    void probe_deletedBeforeItEnds_doesNotCrash()
    {
        auto *probe = new HandleFTPUpload(Core::instance());
        probe->checkConnect("user", "pass", "127.0.0.1", QString(), m_server.port());
        delete probe;
        QTest::qWait(1500);
        QVERIFY(m_messages.isEmpty());
    }
};

QTEST_MAIN(FtpUploadTest)
#include "tst_ftpupload.moc"
