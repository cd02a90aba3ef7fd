// SFTP uploads, host-key pinning and the SFTP connection probe against the real sshd on
// 127.0.0.1 with a password user made for the test (root only: skipped otherwise).

#include "settings/constants.h"
#include "sshserver.h"
#include "upload/handleftpupload.h"
#include "upload/handlesftpupload.h"
#include <QLoggingCategory>
#include <QSignalSpy>

using namespace UploadTest;

class SftpUploadTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    std::unique_ptr<SshServer> m_server;
    QString m_hostKey;
    NetworkExchange *m_exchange = nullptr;
    QList<QPair<QString, QString>> m_messages;

    QString local(const QString &name) const { return m_scratch.filePath("local/" + name); }
    QString remote(const QString &name) const { return m_server->home() + "/up/loads/" + name; }
    QString knownHosts() const { return m_pathSettings + "sftp_known_hosts"; }

    void useSftp(const QString &password)
    {
        setValues({{SettingKeys::typeUpload, "ftp"}, {SettingKeys::isSftp, 1}, {SettingKeys::sftpHost, "127.0.0.1"},
                   {SettingKeys::sftpPort, m_server->port()}, {SettingKeys::sftpPath, "up/loads"},
                   {SettingKeys::sftpBaseUrl, "https://img.example/u/"}, {SettingKeys::isFtpErrorUploadMavu, 0},
                   {SettingKeys::sftpUser, m_server->user()}, {SettingKeys::sftpPassword, password}});
    }

    // Uploads one small file and returns the recorder's first error (empty on success).
    QString uploadSmall(const QString &name)
    {
        Recorder recorder(m_exchange);
        return recorder.upload(makeFile(local(name), 2048)) ? recorder.firstError() : QStringLiteral("timed out");
    }

    // The connection probe's message for the folder on this server, with the password.
    QString probeMessage(const QString &password, const QString &folder = QString())
    {
        HandleSFTPUpload probe;
        QSignalSpy finished(&probe, &HandleSFTPUpload::checkConnectFinished);
        probe.checkSftpConnect(m_server->user(), password, "127.0.0.1", folder, m_server->port());
        return finished.wait(30000) ? m_messages.last().first + ": " + m_messages.last().second : QString();
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
        const QString file = makeFile(local("1700000000001.png"), 3 * 1024 * 1024);
        Recorder recorder(m_exchange);
        QSignalSpy complete(Core::instance()->uploadModel(), &UploadModel::uploadComplete);
        QVERIFY(recorder.upload(file));
        QCOMPARE(recorder.outcome(), QStringLiteral("link: https://img.example/u/1700000000001.png"));
        QTRY_COMPARE(complete.count(), 1);
        QVERIFY(sameBytes(file, remote("1700000000001.png")));
        QVERIFY(!QFile::exists(remote("1700000000001.png.part")));

        // The server's key is now pinned, for this port only: another server of the host
        // keeps a key of its own.
        const QByteArray entry = readFile(knownHosts());
        QVERIFY(entry.contains(readFile(m_hostKey + ".pub").split(' ').value(1)));
        QVERIFY2(entry.startsWith("[127.0.0.1]:" + QByteArray::number(m_server->port()) + ' '), entry.constData());
        QCOMPARE(QFile::permissions(knownHosts()) & 0x7077, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void sameName_fromAnotherFolder_keepsBoth()
    {
        QCOMPARE(sameNameKeepsBoth(m_exchange, local(QString()), remote(QString()), "https://img.example/u/"), QString());
    }

    void abandonedLeftovers_goWithTheFirstUploadToTheirFolder()
    {
        setValues({{SettingKeys::sftpPath, QString()}}); // the login folder
        QCOMPARE(abandonedLeftoversGo(m_exchange, makeFile(local("swept.png"), 2000), m_server->home(), false), QString());
    }

    void folder_arrivesAsArchiveWithRelativeNames()
    {
        const QString folder = local("album");
        const QStringList files = makeFolder(folder);
        Recorder recorder(m_exchange);
        m_exchange->uploadDataZip({folder});
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(recorder.firstError(), QString());
        const QStringList archives = QDir(remote(QString())).entryList({"album_*.zip"});
        QCOMPARE(archives.size(), 1);
        QCOMPARE(archivedFolderDiffers(remote(archives.first()), folder, files, m_scratch.filePath("unpacked")), QString());
    }

    void wrongPassword_givesErrorAndNoLink()
    {
        useSftp("not-the-password");
        Recorder recorder(m_exchange);
        QVERIFY(recorder.upload(makeFile(local("denied.png"), 2048)));
        QVERIFY2(recorder.failedWith("password"), qPrintable(recorder.outcome()));
        QVERIFY(!recorder.firstError().contains("not-the-password"));
        QVERIFY(!QFile::exists(remote("denied.png")));
    }

    void cancel_midTransfer_stopsCleanlyWithoutLink()
    {
        QCOMPARE(cancelMidTransfer(m_exchange, makeFile(local("huge.bin"), 300 * 1024 * 1024)), QString());
        QVERIFY(!QFile::exists(remote("huge.bin")));
        QTRY_COMPARE(QDir(remote(QString())).entryList({"*.part"}), QStringList());
    }

    // A folder that is not there yet is made by the first upload: the login still counts.
    void probe_reportsSuccessAndFailure()
    {
        QCOMPARE(probeMessage(m_server->password(), "up"), QStringLiteral("SFTP connection: Connection successful"));
        QVERIFY2(probeMessage("bad", "up").contains("password"), qPrintable(m_messages.last().second));
        QVERIFY(probeMessage(m_server->password(), "not/yet")
                    .startsWith("SFTP connection: Connection successful. The folder not/yet"));
        QCOMPARE(m_messages.size(), 3);
    }

    void ftpProbe_withSftpTicked_speaksSftp()
    {
        Setting::instance()->setValue(SettingKeys::isSftp, 1);
        HandleFTPUpload probe;
        QSignalSpy finished(&probe, &HandleFTPUpload::checkConnectFinished);
        probe.checkConnect(m_server->user(), m_server->password(), "127.0.0.1", QString(), m_server->port());
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
        QCOMPARE(uploadSmall("before.png"), QString()); // pinned key still good
        QVERIFY(m_server->start(m_server->makeHostKey("other_" + type, type), m_server->port()));

        const QString error = uploadSmall("after.png");
        QVERIFY2(error.contains("host key"), qPrintable(error));
        QVERIFY(error.contains(knownHosts()));
        QVERIFY(!QFile::exists(remote("after.png")));
        QVERIFY(!QFile::exists(remote("after.png.part")));
        QVERIFY(probeMessage(m_server->password()).contains("host key")); // the probe refuses it as well

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
