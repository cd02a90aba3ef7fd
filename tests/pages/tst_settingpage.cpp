// The settings and proxy pages with the real settings store: what Accept and Cancel leave
// in the database file, credentials stored encrypted, ports refused with a message.

#include "core.h"
#include "../harness/pagedriver.h"
#include "pagetestsupport.h"
#include "settings/settingkeys.h"
#include "windows/proxywidget.h"
#include "windows/settingwidget_rest.h"

#include <QPointer>
#include <QSignalSpy>

using namespace PageDriver;

namespace {

int armings = 0; // "void Core::updateHook()" lines
QtMessageHandler pageHandler = nullptr;

void countArmings(QtMsgType type, const QMessageLogContext &context, const QString &text)
{
    armings += text == QLatin1String("void Core::updateHook()");
    pageHandler(type, context, text);
}

// Decrypted by the independent AES-GCM of the settings tests.
QString decryptedElsewhere(const QString &stored)
{
    return commandOutput(QStringLiteral("python3"), {QStringLiteral(MAVU_TEST_DIR "/../settings/aesgcm.py"),
                                           QStringLiteral("decrypt"), QStringLiteral("page-token"), stored});
}

const QString portMessage = QStringLiteral("The port must be a number from 1 to 65535");

} // namespace

class SettingPageTest : public QObject
{
    Q_OBJECT
    QPointer<SettingWidget> m_window;

    SettingWidget *openSettings(const QString &typeUpload)
    {
        Setting::instance()->setValue(SettingKeys::typeUpload, typeUpload);
        Core::instance()->showSetting();
        m_window = Core::instance()->settingWidget();
        m_window->requestActivate();
        return QTest::qWaitForWindowActive(m_window) ? m_window.data() : nullptr;
    }

    ProxyWidget *openProxy()
    {
        Core::instance()->showProxyWidget();
        ProxyWidget *window = Core::instance()->proxyWidget();
        window->requestActivate();
        return QTest::qWaitForWindowActive(window) ? window : nullptr;
    }

private slots:
    void initTestCase()
    {
        Core::instance();
        PageTestSupport::install();
        pageHandler = qInstallMessageHandler(countArmings);
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("page-token"));
        // No X here: armed hotkeys would only warn that nothing can be grabbed.
        for (const QString &key : {SettingKeys::fragmentScreen, SettingKeys::quickFragmentScreen, SettingKeys::snapshotFull})
            Setting::instance()->setValue(key, 0);
    }

    void cleanup()
    {
        if (m_window)
            m_window->close();
        Core::instance()->proxyWidget()->close();
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
        settings->setValue(SettingKeys::isSftp, sftp ? "0" : "1");
        settings->setValue(SettingKeys::useProxy, 0);
        settings->setValue(SettingKeys::proxyHost, QString());
        for (const QString &key : {SettingKeys::showUpload, SettingKeys::shortLink, SettingKeys::isFtpErrorUploadMavu})
            settings->setValue(key, QStringLiteral("0")); // flags as the database hands them back
        const QString prefix = sftp ? QStringLiteral("sftp_") : QStringLiteral("ftp_");
        const QString user = QStringLiteral("user-") + QTest::currentDataTag();
        const QString password = QStringLiteral("pässword ") + QTest::currentDataTag();

        SettingWidget *window = openSettings(QStringLiteral("mavu"));
        QVERIFY(click(window, labelled(window, "destinations", "FTP\\SFTP")));
        QVERIFY(click(window, "sftpCheck"));
        QVERIFY(type(window, "ftpHost", "127.0.0.1") && type(window, "ftpPort", "2222"));
        QVERIFY(type(window, "ftpUser", user) && type(window, "ftpPassword", password));
        QVERIFY(click(window, "settingsTab") && click(window, "shortLink"));
        QVERIFY(click(window, labelled(window, "quality", "High")));
        QVERIFY(click(window, "hotKeyTab") && click(window, named(named(window, "fragmentHotKey"), "change")));
        QTest::keyClick(window, Qt::Key_F9, Qt::ShiftModifier | Qt::ControlModifier);
        QVERIFY(click(window, "settingsTab") && click(window, "useProxy")); // the proxy window opens, no host is typed
        armings = 0;
        QVERIFY(click(window, "acceptButton"));

        QTRY_VERIFY(!m_window);
        QCOMPARE(armings, 1);
        const QList<QPair<QString, QString>> rows = {
            {SettingKeys::typeUpload, "ftp"}, {SettingKeys::isSftp, sftp ? "1" : "0"}, {prefix + "host", "127.0.0.1"},
            {prefix + "port", "2222"}, {SettingKeys::shortLink, "1"}, {SettingKeys::showUpload, "0"},
            {SettingKeys::isFtpErrorUploadMavu, "0"}, {SettingKeys::qualityImage, "2"}, {SettingKeys::useProxy, "0"},
            {SettingKeys::keyFragmentScreen, "Shift + Ctrl + F9"}};
        for (const auto &row : rows)
            QCOMPARE(stored(row.first), row.second);
        QVERIFY(!stored(prefix + "user").contains(user));
        QCOMPARE(decryptedElsewhere(stored(prefix + "user")), user);
        QCOMPARE(decryptedElsewhere(stored(prefix + "password")), password);
        QCOMPARE(settings->getValue(prefix + "password").toString(), password);
    }

    // The page writes Shift first; the full-screen hotkey is stored the other way round.
    void combinationOfAnotherHotkey_isNotTaken()
    {
        Setting::instance()->setValue(SettingKeys::keyFragmentScreen, QStringLiteral("Ctrl + Print"));
        Setting::instance()->setValue(SettingKeys::keySnapshotScreen, QStringLiteral("Ctrl + Shift + Print"));
        SettingWidget *window = openSettings(QStringLiteral("mavu"));
        QVERIFY(click(window, "hotKeyTab") && click(window, named(named(window, "fragmentHotKey"), "change")));
        QTest::keyClick(window, Qt::Key_Print, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(named(named(window, "fragmentHotKey"), "typed")->property("text").toString(),
                 QStringLiteral("Shift + Ctrl + Print - already in use"));
        QCOMPARE(window->rootObject()->property("hootKeyFragmentScreen").toString(), QStringLiteral("Ctrl + Print"));
    }

    void cancel_writesNothing()
    {
        SettingWidget *window = openSettings(QStringLiteral("ftp"));
        const QString before = stored(".dump");
        QSignalSpy writes(Setting::instance(), &Setting::valueChanged);
        QVERIFY(type(window, "ftpHost", "cancelled.example"));
        QVERIFY(click(window, "settingsTab") && click(window, "shortLink"));
        QVERIFY(click(window, "cancelButton"));
        QTRY_VERIFY(!m_window);
        QCOMPARE(writes.count(), 0);
        QCOMPARE(stored(".dump"), before);
    }

    void port_isTakenFrom1To65535_data()
    {
        QTest::addColumn<QString>("field");
        QTest::addColumn<QString>("port");
        QTest::addColumn<bool>("taken");
        for (const char *field : {"ftpPort", "proxyPort"}) {
            QTest::addRow("%s 1", field) << field << "1" << true;
            QTest::addRow("%s 65535", field) << field << "65535" << true;
            QTest::addRow("%s 0", field) << field << "0" << false;
            QTest::addRow("%s 65536", field) << field << "65536" << false;
        }
        QTest::newRow("ftpPort letters") << "ftpPort" << "21a" << false;
        QTest::newRow("ftpPort empty") << "ftpPort" << "" << false;
    }

    // The FTP port shows its message when Accept brought the storage tab back; the proxy
    // port, needed with a host, under the proxy fields.
    void port_isTakenFrom1To65535()
    {
        QFETCH(QString, field);
        QFETCH(QString, port);
        QFETCH(bool, taken);
        const bool proxy = field == "proxyPort";
        Setting::instance()->setValue(SettingKeys::isSftp, 0);
        QPointer<QQuickView> window = proxy ? static_cast<QQuickView *>(openProxy()) : openSettings(QStringLiteral("ftp"));
        QVERIFY(window && type(window, field, port));
        QVERIFY(proxy ? type(window, "proxyHost", "proxy.example") : click(window, "settingsTab"));
        QSignalSpy writes(Setting::instance(), &Setting::valueChanged);
        QVERIFY(click(window, proxy ? "proxyAccept" : "acceptButton"));
        if (taken) {
            QTRY_VERIFY(!window || !window->isVisible());
            QCOMPARE(stored(proxy ? SettingKeys::proxyPort : SettingKeys::ftpPort), port);
            return;
        }
        QVERIFY(window && window->isVisible());
        QVERIFY(proxy || click(window, "checkConnectButton"));
        QCOMPARE(named(window, proxy ? "proxyMessage" : "ftpMessage")->property("text").toString(), portMessage);
        QVERIFY(proxy || !named(window, "checkConnectBusy")->isVisible()); // nothing was tried
        QCOMPARE(writes.count(), 0);
    }

    void proxyPage_storesItsFields()
    {
        ProxyWidget *window = openProxy();
        QVERIFY(window && type(window, "proxyHost", "proxy.example") && type(window, "proxyPort", "0x"));
        QCOMPARE(named(window, "proxyPort")->property("text").toString(), QString()); // cannot be typed
        QVERIFY(type(window, "proxyPort", "3128") && click(window, "proxyAccept"));
        QTRY_VERIFY(!window->isVisible());
        QCOMPARE(stored(SettingKeys::proxyHost) + ":" + stored(SettingKeys::proxyPort), QStringLiteral("proxy.example:3128"));
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
        Setting::instance()->setValue(SettingKeys::usage, usage);
        Setting::instance()->setValue(SettingKeys::quota, quota);
        SettingWidget *window = openSettings(QStringLiteral("mavu"));
        QCOMPARE(named(named(window, "mavuQuota"), "quotaText")->property("text").toString(), shown);
    }
};

QTEST_MAIN(SettingPageTest)
#include "tst_settingpage.moc"
