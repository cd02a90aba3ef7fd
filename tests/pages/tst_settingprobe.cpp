// "Check ftp connect" on the settings page against real servers on 127.0.0.1: the probe
// speaks the protocol ticked on the page, whatever is stored, and its outcome reaches the
// user in a message window (this desktop has no tray).

#include "../harness/shellwindows.h"
#include "../upload/sshserver.h"
#include "app/messagedialog.h"
#include "core.h"
#include "pagedriver.h"
#include "windows/settingwidget_rest.h"

#include <QPointer>

using namespace PageDriver;
using namespace UploadTest;

class SettingProbeTest : public QObject
{
    Q_OBJECT
    QTemporaryDir m_scratch;
    FtpServer m_ftp;
    std::unique_ptr<SshServer> m_ssh;
    QPointer<SettingWidget> m_window;

    // The title and text of the message the probe leaves, once the page's busy sign is gone.
    QPair<QString, QString> probe(bool sftp, const QString &user, const QString &password, quint16 port)
    {
        Setting::instance()->setValue(SettingKeys::isSftp, !sftp); // the page decides, not this
        Core::instance()->showSetting();
        m_window = Core::instance()->settingWidget();
        if (!activate(m_window))
            return {};
        if (sftp != named(m_window, "sftpCheck")->property("check").toBool())
            click(m_window, "sftpCheck");
        type(m_window, "ftpHost", "127.0.0.1");
        type(m_window, "ftpPort", QString::number(port));
        type(m_window, "ftpUser", user);
        type(m_window, "ftpPassword", password);
        click(m_window, "checkConnectButton");
        QQuickItem *busy = named(m_window, "checkConnectBusy");
        if (!busy->isVisible() || !QTest::qWaitFor([busy] { return !busy->isVisible(); }, 30000))
            return {};
        const QList<MessageDialog *> shown = ShellWindows::shown<MessageDialog>();
        if (shown.size() != 1)
            return {};
        return {shown.first()->data("title").toString(), shown.first()->data("message").toString()};
    }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("probe-token"));
        Setting::instance()->setValue(SettingKeys::typeUpload, QStringLiteral("ftp"));
        QVERIFY(m_ftp.start(m_scratch.filePath(QStringLiteral("ftp"))));
        if (SshServer::isRoot()) {
            m_ssh = std::make_unique<SshServer>(m_scratch.filePath(QStringLiteral("ssh")));
            QVERIFY(m_ssh->createUser());
            QVERIFY(m_ssh->start(m_ssh->makeHostKey(QStringLiteral("host_ed25519"), QStringLiteral("ed25519"))));
        }
    }

    void cleanup()
    {
        for (BasicWindow *window : ShellWindows::shown<BasicWindow>())
            window->close();
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
        const QString user = sftp ? m_ssh->user() : QStringLiteral("user");
        const QString password = !rightPassword ? QStringLiteral("not-it") : sftp ? m_ssh->password() : "pass";
        QCOMPARE(probe(sftp, user, password, sftp ? m_ssh->port() : m_ftp.port()), qMakePair(title, message));
    }
};

QTEST_MAIN(SettingProbeTest)
#include "tst_settingprobe.moc"
