// The settings and proxy pages with the real settings store: what Accept and Cancel leave
// in the database file, the credentials stored encrypted, ports refused with a message.

#include "core.h"
#include "pagedriver.h"
#include "pagetestsupport.h"
#include "settings/settingkeys.h"
#include "windows/proxywidget.h"
#include "windows/settingwidget_rest.h"

#include <QPointer>
#include <QSignalSpy>

using namespace PageDriver;

namespace {

int &armings()
{
    static int count = 0;
    return count;
}

QtMessageHandler pageHandler = nullptr;

void countArmings(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    if (text == QLatin1String("void Core::updateHook()"))
        ++armings();
    pageHandler(type, context, text);
}

// What another program makes of the stored text: the independent AES-GCM of the settings tests.
QString decryptedElsewhere(const QString &stored)
{
    QProcess python;
    python.start(QStringLiteral("python3"), {QStringLiteral(MAVU_TEST_DIR "/../settings/aesgcm.py"),
                                             QStringLiteral("decrypt"), QStringLiteral("page-token"), stored});
    python.waitForFinished(20000);
    return QString::fromUtf8(python.readAllStandardOutput());
}

QString databaseDump()
{
    Setting::instance()->sync();
    QProcess sqlite;
    sqlite.start(QStringLiteral("sqlite3"), {QStringLiteral("-readonly"), m_pathSettings + "setting", ".dump"});
    sqlite.waitForFinished(10000);
    return QString::fromUtf8(sqlite.readAllStandardOutput());
}

} // namespace

class SettingPageTest : public QObject
{
    Q_OBJECT
    QPointer<SettingWidget> m_window;

    SettingWidget *openSettings()
    {
        Core::instance()->showSetting();
        m_window = Core::instance()->settingWidget();
        return activate(m_window) ? m_window.data() : nullptr;
    }

    // Types a new fragment hotkey on the hot key tab.
    void captureFragmentHotkey(SettingWidget *window)
    {
        QVERIFY(click(window, "hotKeyTab"));
        QVERIFY(click(window, named(named(window, "fragmentHotKey"), "change")));
        QTest::keyClick(window, Qt::Key_F9, Qt::ShiftModifier | Qt::ControlModifier);
    }

private slots:
    void initTestCase()
    {
        Core::instance();
        PageTestSupport::install();
        pageHandler = qInstallMessageHandler(countArmings);
        Setting *settings = Setting::instance();
        settings->setValue(SettingKeys::token, QStringLiteral("page-token"));
        // No X here: armed hotkeys would only warn that nothing can be grabbed.
        for (const QString &key : {SettingKeys::fragmentScreen, SettingKeys::quickFragmentScreen, SettingKeys::snapshotFull})
            settings->setValue(key, 0);
    }

    void cleanup()
    {
        if (m_window)
            m_window->close();
        if (ProxyWidget *proxy = Core::instance()->proxyWidget())
            proxy->close();
        const QString warnings = PageTestSupport::takeWarnings();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
    }

    void accept_writesEveryTabAndArmsHotkeysOnce_data()
    {
        QTest::addColumn<bool>("sftp");
        QTest::newRow("ftp") << false;
        QTest::newRow("sftp") << true;
    }

    void accept_writesEveryTabAndArmsHotkeysOnce()
    {
        QFETCH(bool, sftp);
        Setting *settings = Setting::instance();
        settings->setValue(SettingKeys::typeUpload, QStringLiteral("mavu"));
        settings->setValue(SettingKeys::isSftp, sftp ? QStringLiteral("0") : QStringLiteral("1"));
        for (const QString &key : {SettingKeys::showUpload, SettingKeys::shortLink, SettingKeys::isFtpErrorUploadMavu})
            settings->setValue(key, QStringLiteral("0")); // as the database hands flags back
        const QString prefix = sftp ? QStringLiteral("sftp_") : QStringLiteral("ftp_");
        const QString user = QStringLiteral("user-") + QTest::currentDataTag();
        const QString password = QStringLiteral("pässword ") + QTest::currentDataTag();

        SettingWidget *window = openSettings();
        QVERIFY(window);
        QVERIFY(click(window, labelled(window, "destinations", "FTP\\SFTP")));
        if (sftp != named(window, "sftpCheck")->property("check").toBool())
            QVERIFY(click(window, "sftpCheck"));
        QVERIFY(type(window, "ftpHost", "127.0.0.1"));
        QVERIFY(type(window, "ftpPort", "2222"));
        QVERIFY(type(window, "ftpUser", user));
        QVERIFY(type(window, "ftpPassword", password));
        QVERIFY(click(window, "settingsTab"));
        QVERIFY(click(window, "shortLink"));
        QVERIFY(click(window, labelled(window, "quality", "High")));
        captureFragmentHotkey(window);
        armings() = 0;
        QVERIFY(click(window, "acceptButton"));

        QTRY_VERIFY(!m_window);
        QCOMPARE(armings(), 1);
        const QList<QPair<QString, QString>> rows = {
            {SettingKeys::typeUpload, "ftp"}, {SettingKeys::isSftp, sftp ? "1" : "0"}, {prefix + "host", "127.0.0.1"},
            {prefix + "port", "2222"}, {SettingKeys::shortLink, "1"}, {SettingKeys::showUpload, "0"},
            {SettingKeys::isFtpErrorUploadMavu, "0"}, {SettingKeys::qualityImage, "2"},
            {SettingKeys::keyFragmentScreen, "Shift + Ctrl + F9"}};
        for (const auto &row : rows)
            QCOMPARE(storedRow(row.first), row.second);
        const QString storedUser = storedRow(prefix + "user");
        QVERIFY(!storedUser.contains(user));
        QCOMPARE(decryptedElsewhere(storedUser), user);
        QCOMPARE(decryptedElsewhere(storedRow(prefix + "password")), password);
        QCOMPARE(settings->getValue(prefix + "password").toString(), password);
    }

    void cancel_writesNothing()
    {
        Setting::instance()->setValue(SettingKeys::typeUpload, QStringLiteral("ftp"));
        const QString before = databaseDump();
        QSignalSpy writes(Setting::instance(), &Setting::valueChanged);
        SettingWidget *window = openSettings();
        QVERIFY(window);
        QVERIFY(type(window, "ftpHost", "cancelled.example"));
        QVERIFY(click(window, "settingsTab"));
        QVERIFY(click(window, "shortLink"));
        captureFragmentHotkey(window);
        QVERIFY(click(window, "cancelButton"));

        QTRY_VERIFY(!m_window);
        QCOMPARE(writes.count(), 0);
        QCOMPARE(databaseDump(), before);
    }

    void portOutOfRange_isRefusedWithAMessage_data()
    {
        QTest::addColumn<QString>("port");
        QTest::newRow("zero") << "0";
        QTest::newRow("above 65535") << "65536";
        QTest::newRow("letters") << "21a";
        QTest::newRow("empty") << "";
    }

    void portOutOfRange_isRefusedWithAMessage()
    {
        QFETCH(QString, port);
        Setting::instance()->setValue(SettingKeys::typeUpload, QStringLiteral("ftp"));
        SettingWidget *window = openSettings();
        QVERIFY(window);
        QVERIFY(type(window, "ftpPort", port));
        QVERIFY(click(window, "settingsTab"));
        QSignalSpy writes(Setting::instance(), &Setting::valueChanged);
        QVERIFY(click(window, "acceptButton"));
        QVERIFY(click(window, "checkConnectButton")); // Accept went back to the storage tab
        QCOMPARE(named(window, "ftpMessage")->property("text").toString(),
                 QStringLiteral("The port must be a number from 1 to 65535"));
        QVERIFY(!named(window, "checkConnectBusy")->isVisible()); // nothing was tried
        QCOMPARE(writes.count(), 0);
        QVERIFY(window->isVisible());
    }

    void proxyPage_storesItsFieldsOrSaysWhyNot()
    {
        Core::instance()->showProxyWidget();
        ProxyWidget *window = Core::instance()->proxyWidget();
        QVERIFY(activate(window));
        QVERIFY(type(window, "proxyHost", "proxy.example"));
        QVERIFY(type(window, "proxyPort", "0x"));
        QCOMPARE(named(window, "proxyPort")->property("text").toString(), QString()); // cannot be typed
        QVERIFY(type(window, "proxyPort", "65536"));
        QVERIFY(click(window, "proxyAccept"));
        QCOMPARE(named(window, "proxyMessage")->property("text").toString(),
                 QStringLiteral("The port must be a number from 1 to 65535"));
        QVERIFY(window->isVisible());
        QCOMPARE(storedRow(SettingKeys::proxyHost), QString());

        QVERIFY(type(window, "proxyPort", "3128"));
        QVERIFY(type(window, "proxyLogin", "proxy-user"));
        QVERIFY(click(window, "proxyAccept"));
        QTRY_VERIFY(!window->isVisible());
        QCOMPARE(storedRow(SettingKeys::proxyHost), QStringLiteral("proxy.example"));
        QCOMPARE(storedRow(SettingKeys::proxyPort), QStringLiteral("3128"));
        QCOMPARE(storedRow(SettingKeys::proxyUser), QStringLiteral("proxy-user"));
    }

    void quota_showsUsageAlsoWhenNoneIsKnown_data()
    {
        QTest::addColumn<QString>("usage");
        QTest::addColumn<QString>("quota");
        QTest::addColumn<QString>("shown");
        QTest::newRow("half") << "5242880" << "10485760" << "Usage 50% - 5.00 MB of 10 MB";
        QTest::newRow("no quota yet") << "2048" << "0" << "Usage 0% - 2.00 KB of 0 KB";
        QTest::newRow("nothing stored") << "" << "" << "Usage 0% - 0.00 KB of 0 KB";
    }

    void quota_showsUsageAlsoWhenNoneIsKnown()
    {
        QFETCH(QString, usage);
        QFETCH(QString, quota);
        QFETCH(QString, shown);
        Setting::instance()->setValue(SettingKeys::typeUpload, QStringLiteral("mavu"));
        Setting::instance()->setValue(SettingKeys::usage, usage);
        Setting::instance()->setValue(SettingKeys::quota, quota);
        SettingWidget *window = openSettings();
        QVERIFY(window);
        QCOMPARE(named(named(window, "mavuQuota"), "quotaText")->property("text").toString(), shown);
    }
};

QTEST_MAIN(SettingPageTest)
#include "tst_settingpage.moc"
