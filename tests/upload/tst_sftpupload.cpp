// SFTP uploads, host-key pinning and the SFTP connection probe against the real sshd on
// 127.0.0.1 with a password user made for the test (root only: skipped otherwise).

#include "core.h"
#include "settings/constants.h"
#include "sshserver.h"
#include "upload/handlesftpupload.h"
#include "upload/uploadmodel.h"

using namespace UploadTest;

class SftpUploadTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    std::unique_ptr<SshServer> m_server;
    QString m_hostKey;
    NetworkExchange *m_exchange = nullptr;
    QList<QPair<QString, QString>> m_messages;

    QString local(const QString &name) const { return m_scratch.filePath(QStringLiteral("local/") + name); }
    QString remote(const QString &name) const { return m_server->home() + QStringLiteral("/up/loads/") + name; }
    QString knownHosts() const { return m_pathSettings + QStringLiteral("sftp_known_hosts"); }

    void useSftp(const QString &password)
    {
        setValues({{SettingKeys::typeUpload, QStringLiteral("ftp")},
                   {SettingKeys::isSftp, 1},
                   {SettingKeys::sftpHost, QStringLiteral("127.0.0.1")},
                   {SettingKeys::sftpPort, m_server->port()},
                   {SettingKeys::sftpPath, QStringLiteral("up/loads")},
                   {SettingKeys::sftpBaseUrl, QStringLiteral("https://img.example/u/")},
                   {SettingKeys::isFtpErrorUploadMavu, 0}});
        Setting::instance()->setValue(SettingKeys::sftpUser, m_server->user(), true);
        Setting::instance()->setValue(SettingKeys::sftpPassword, password, true);
    }

    // Uploads one small file and returns the recorder's first error (empty on success).
    QString uploadSmall(const QString &name)
    {
        const QString file = makeFile(local(name), 2048);
        Recorder recorder(m_exchange);
        m_exchange->uploadScreen(file, QString(), HandlerUpload::ActionNone);
        if (!waitForEnd(recorder))
            return QStringLiteral("timed out");
        return recorder.firstError();
    }

private slots:
    void initTestCase()
    {
        if (!SshServer::isRoot())
            QSKIP("The SFTP tests need root: they create a system user with a password and run sshd.");
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("test-token"));
        m_server = std::make_unique<SshServer>(m_scratch.filePath(QStringLiteral("ssh")));
        QVERIFY2(m_server->createUser(), "could not create the test user");
        m_hostKey = m_server->makeHostKey(QStringLiteral("host_ed25519"), QStringLiteral("ed25519"));
        QVERIFY2(m_server->start(m_hostKey), "sshd did not start");
        m_exchange = new NetworkExchange(Core::instance());
        UploadHooks::openUrl() = [](const QUrl &) { return true; };
        UploadHooks::showMessage() = [this](const QString &title, const QString &text) { m_messages.append({title, text}); };
    }

    void init()
    {
        useSftp(m_server->password());
        m_messages.clear();
    }

    void capture_reachesServerByteForByte_andPinsHostKey()
    {
        QVERIFY(!QFile::exists(knownHosts()));
        const QString file = makeFile(local(QStringLiteral("1700000000001.png")), 3 * 1024 * 1024);
        Recorder recorder(m_exchange);
        QSignalSpy complete(Core::instance()->uploadModel(), &UploadModel::uploadComplete);

        m_exchange->uploadScreen(file, QString(), HandlerUpload::ActionNone);
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(recorder.firstError(), QString());
        QCOMPARE(recorder.readyLink.count(), 1);
        QCOMPARE(recorder.readyLinkAfterUpload.count(), 1);
        QCOMPARE(recorder.link(), QStringLiteral("https://img.example/u/1700000000001.png"));
        QTRY_COMPARE(complete.count(), 1);
        QVERIFY(sameBytes(file, remote(QStringLiteral("1700000000001.png"))));
        QVERIFY(!QFile::exists(remote(QStringLiteral("1700000000001.png.part"))));

        // The server's key is now pinned.
        QFile pinned(knownHosts());
        QVERIFY(pinned.open(QIODevice::ReadOnly));
        QFile pub(m_hostKey + QStringLiteral(".pub"));
        QVERIFY(pub.open(QIODevice::ReadOnly));
        const QByteArray entry = pinned.readAll();
        QVERIFY(entry.contains(pub.readAll().split(' ').value(1)));
        // Pinned for this port only: another server of the host keeps a key of its own.
        QVERIFY2(entry.startsWith("[127.0.0.1]:" + QByteArray::number(m_server->port()) + ' '), entry.constData());
    }

    void sameName_fromAnotherFolder_keepsBoth()
    {
        QCOMPARE(sameNameKeepsBoth(m_exchange, local(QString()), remote(QString()), QStringLiteral("https://img.example/u/")), QString());
    }

    void folder_arrivesAsArchiveWithRelativeNames()
    {
        const QString folder = m_scratch.filePath(QStringLiteral("local/album"));
        const QStringList files = makeFolder(folder);
        Recorder recorder(m_exchange);
        m_exchange->uploadDataZip({folder});
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(recorder.firstError(), QString());
        const QStringList archives = QDir(remote(QString())).entryList({QStringLiteral("album_*.zip")});
        QCOMPARE(archives.size(), 1);
        QCOMPARE(archivedFolderDiffers(remote(archives.first()), folder, files, m_scratch.filePath(QStringLiteral("unpacked"))),
                 QString());
    }

    void wrongPassword_givesErrorAndNoLink()
    {
        useSftp(QStringLiteral("not-the-password"));
        const QString file = makeFile(local(QStringLiteral("denied.png")), 2048);
        Recorder recorder(m_exchange);
        m_exchange->uploadScreen(file, QString(), HandlerUpload::ActionNone);
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(recorder.error.count(), 1);
        QVERIFY2(recorder.firstError().contains(QLatin1String("password")), qPrintable(recorder.firstError()));
        QVERIFY(!recorder.firstError().contains(QLatin1String("not-the-password")));
        QCOMPARE(recorder.readyLink.count(), 0);
        QCOMPARE(recorder.readyLinkAfterUpload.count(), 0);
        QVERIFY(!QFile::exists(remote(QStringLiteral("denied.png"))));
    }

    void cancel_midTransfer_stopsCleanlyWithoutLink()
    {
        const QString file = makeFile(local(QStringLiteral("huge.bin")), 300 * 1024 * 1024);
        Recorder recorder(m_exchange);
        UploadModel *model = Core::instance()->uploadModel();
        m_exchange->uploadData({file});
        QPointer<HandlerUpload> job = model->uploader(0);
        QVERIFY(QTest::qWaitFor([&] { return job && job->download() > 0; }, 20000));
        QVERIFY(job->download() < job->total());
        m_exchange->cancelUpload();
        QCOMPARE(model->rowCount(), 0);
        QTRY_VERIFY(job.isNull());
        QTest::qWait(300);
        QCOMPARE(recorder.readyLink.count(), 0);
        QCOMPARE(recorder.readyLinkAfterUpload.count(), 0);
        QCOMPARE(recorder.error.count(), 0);
        QVERIFY(!QFile::exists(remote(QStringLiteral("huge.bin"))));
        QFile::remove(file);
    }

    void probe_reportsSuccessAndFailure()
    {
        HandleSFTPUpload probe;
        QSignalSpy finished(&probe, &HandleSFTPUpload::checkConnectFinished);
        probe.checkSftpConnect(m_server->user(), m_server->password(), QStringLiteral("127.0.0.1"),
                               QStringLiteral("up"), m_server->port());
        QVERIFY(finished.wait(30000));
        probe.checkSftpConnect(m_server->user(), QStringLiteral("bad"), QStringLiteral("127.0.0.1"),
                               QStringLiteral("up"), m_server->port());
        QVERIFY(finished.wait(30000));
        QCOMPARE(m_messages.size(), 2);
        QVERIFY2(m_messages.at(1).second.contains(QLatin1String("password")), qPrintable(m_messages.at(1).second));
        QCOMPARE(m_messages.at(0), qMakePair(QStringLiteral("SFTP connection"), QStringLiteral("Connection successful")));
        // A folder that is not there yet is made by the first upload: the login still counts.
        probe.checkSftpConnect(m_server->user(), m_server->password(), QStringLiteral("127.0.0.1"),
                               QStringLiteral("not/yet"), m_server->port());
        QVERIFY(finished.wait(30000));
        QVERIFY(m_messages.last().second.startsWith(QLatin1String("Connection successful. The folder not/yet")));
    }

    void ftpProbe_withSftpTicked_speaksSftp()
    {
        Setting::instance()->setValue(SettingKeys::isSftp, 1);
        HandleFTPUpload probe;
        QSignalSpy finished(&probe, &HandleFTPUpload::checkConnectFinished);
        probe.checkConnect(m_server->user(), m_server->password(), QStringLiteral("127.0.0.1"), QString(), m_server->port());
        QVERIFY(finished.wait(30000));
        QCOMPARE(m_messages.size(), 1);
        QCOMPARE(m_messages.first().second, QStringLiteral("Connection successful"));
    }

    // Runs last: it replaces the server's key.
    void changedHostKey_isRefused_data()
    {
        QTest::addColumn<QString>("type");
        QTest::newRow("same key type") << "ed25519";
        QTest::newRow("other key type") << "ecdsa";
    }

    void changedHostKey_isRefused()
    {
        QFETCH(QString, type);
        QCOMPARE(uploadSmall(QStringLiteral("before.png")), QString()); // pinned key still good
        const QString otherKey = m_server->makeHostKey(QStringLiteral("other_") + type, type);
        QVERIFY(m_server->start(otherKey, m_server->port()));

        const QString error = uploadSmall(QStringLiteral("after.png"));
        QVERIFY2(error.contains(QLatin1String("host key")), qPrintable(error));
        QVERIFY(error.contains(knownHosts()));
        QVERIFY(!QFile::exists(remote(QStringLiteral("after.png"))));
        QVERIFY(!QFile::exists(remote(QStringLiteral("after.png.part"))));

        // The probe refuses it as well.
        HandleSFTPUpload probe;
        QSignalSpy finished(&probe, &HandleSFTPUpload::checkConnectFinished);
        probe.checkSftpConnect(m_server->user(), m_server->password(), QStringLiteral("127.0.0.1"), QString(),
                               m_server->port());
        QVERIFY(finished.wait(30000));
        QVERIFY(m_messages.last().second.contains(QLatin1String("host key")));

        QVERIFY(m_server->start(m_hostKey, m_server->port()));
    }

    void cleanupTestCase()
    {
        delete m_exchange;
        m_server.reset();
    }
};

QTEST_MAIN(SftpUploadTest)
#include "tst_sftpupload.moc"
