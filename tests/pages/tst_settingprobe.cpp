// "Check ftp connect" on the settings page against real servers on 127.0.0.1: the probe
// speaks the protocol ticked on the page, whatever is stored, and its outcome reaches the
// user in a message window (this desktop has no tray).

#include "../harness/shellwindows.h"
#include "../upload/sshserver.h"
#include "app/messagedialog.h"
#include "core.h"
#include "../harness/pagedriver.h"
#include "windows/settingwidget_rest.h"
#include <QLoggingCategory>

using namespace PageDriver;
using namespace UploadTest;

class SettingProbeTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_scratch;
    FtpServer m_ftp;
    std::unique_ptr<SshServer> m_ssh;

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("probe-token"));
        Setting::instance()->setValue(SettingKeys::typeUpload, QStringLiteral("ftp"));
        QVERIFY(m_ftp.start(m_scratch.filePath(QStringLiteral("ftp"))));
        if (!SshServer::isRoot())
            return;
        m_ssh = std::make_unique<SshServer>(m_scratch.filePath(QStringLiteral("ssh")));
        QVERIFY(m_ssh->createUser());
        QVERIFY(m_ssh->start(m_ssh->makeHostKey(QStringLiteral("host_ed25519"), QStringLiteral("ed25519"))));
    }

    void cleanup()
    {
        ShellWindows::closeAll();
    }

    void outcome_isShownForTheTickedProtocol_data()
    {
        QTest::addColumn<bool>("sftp");
        QTest::addColumn<bool>("rightPassword");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("message");
        const QString wrong = QStringLiteral("Wrong user name or password, or access denied");
        QTest::newRow("FTP, right password") << false << true << "FTP connection" << "Connection successful";
        QTest::newRow("FTP, wrong password") << false << false << "FTP connection" << wrong;
        QTest::newRow("SFTP, right password") << true << true << "SFTP connection" << "Connection successful";
        QTest::newRow("SFTP, wrong password") << true << false << "SFTP connection" << wrong;
    }

    void outcome_isShownForTheTickedProtocol()
    {
        QFETCH(bool, sftp);
        QFETCH(bool, rightPassword);
        QFETCH(QString, title);
        QFETCH(QString, message);
        if (sftp && !m_ssh)
            QSKIP("The SFTP server needs root: it creates a system user and runs sshd.");
        Setting::instance()->setValue(SettingKeys::isSftp, !sftp); // the page decides, not this
        Core::instance()->showSetting();
        SettingWidget *window = Core::instance()->settingWidget();
        QVERIFY(click(window, "sftpCheck"));
        QVERIFY(type(window, "ftpHost", "127.0.0.1"));
        QVERIFY(type(window, "ftpPort", QString::number(sftp ? m_ssh->port() : m_ftp.port())));
        QVERIFY(type(window, "ftpUser", sftp ? m_ssh->user() : QStringLiteral("user")));
        QVERIFY(type(window, "ftpPassword", !rightPassword ? QStringLiteral("not-it") : sftp ? m_ssh->password() : "pass"));
        QVERIFY(click(window, "checkConnectButton"));

        QTRY_COMPARE_WITH_TIMEOUT(ShellWindows::shown<MessageDialog>().size(), 1, 30000);
        const MessageDialog *shown = ShellWindows::shown<MessageDialog>().first();
        QCOMPARE(shown->data("title").toString() + ": " + shown->data("message").toString(), title + ": " + message);
        QTRY_VERIFY(!named(window, "checkConnectBusy")->isVisible());
    }
};

QTEST_MAIN(SettingProbeTest)
#include "tst_settingprobe.moc"
