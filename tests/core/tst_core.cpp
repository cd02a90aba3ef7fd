#include "../harness/shellwindows.h"
#include "core.h"
#include "settings/constants.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"

#include <QLockFile>
#include <QTest>

namespace {

void writeFile(const QString &path)
{
    QFile file(path);
    file.open(QIODevice::WriteOnly);
    file.write("kept");
}

} // namespace

class CoreTest : public QObject
{
    Q_OBJECT

    const QString m_unsent = m_pathSettings + "unsent/";
    // A capture that another running Mavu holds: this test's lock names this live process.
    QLockFile m_heldElsewhere{m_unsent + "held.png.lock"};

private slots:
    void initTestCase()
    {
        // Captures an earlier run left, the oldest first, for the start to offer; among them
        // one held elsewhere and two whose locks no lock file can replace.
        for (const QString &name : QStringList{"5.png", "4.png", "3.png", "held.png", "2.png", "1.png"}) {
            QFile capture(m_unsent + name);
            QVERIFY(QDir().mkpath(m_unsent) && capture.open(QIODevice::WriteOnly));
            const int age = name == "held.png" ? 25 : name.left(1).toInt() * 10;
            QVERIFY(capture.setFileTime(QDateTime::currentDateTime().addSecs(-age), QFileDevice::FileModificationTime));
        }
        QVERIFY(m_heldElsewhere.tryLock(0));
        QVERIFY(QFile::link("/nowhere/5.png.lock", m_unsent + "5.png.lock"));
        QVERIFY(QDir().mkpath(m_unsent + "4.png.lock"));
        // Core is made here, while someone is signed in.
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("token"));
        Core::instance();
    }

    // However many an earlier run left, one window offers them, oldest first: closing it
    // gives that capture up and offers the next. The count is of those still to be
    // offered; those that cannot be are named, with why, and stay.
    void leftCaptures_areOfferedOneAtATime()
    {
        const QString notLost = "\n\nThe capture was not lost: press \"Save\" to save it to disk.";
        const QString refused = "These captures were not uploaded before Mavu closed and cannot be offered:\n"
            + m_unsent + "5.png: " + m_unsent + "5.png.lock is a link to /nowhere/5.png.lock\n"
            + m_unsent + "4.png: " + m_unsent + "4.png.lock is a folder\nThey stay in the unsent folder.";
        const QStringList offers{
            "The capture 3.png was not uploaded before Mavu closed. Waiting after it: 2 more." + notLost,
            "The capture 2.png was not uploaded before Mavu closed. Waiting after it: 1 more." + notLost,
            "The capture 1.png was not uploaded before Mavu closed." + notLost};
        QTRY_COMPARE(ShellWindows::shownErrorTexts().size(), 2);
        for (ErrorWidget *window : ShellWindows::shown<ErrorWidget>()) {
            if (ShellWindows::shownErrorText(window) == refused)
                window->close();
        }
        for (const QString &offer : offers) {
            QTRY_COMPARE(ShellWindows::shownErrorTexts(), QStringList{offer});
            ShellWindows::shown<ErrorWidget>().first()->close();
        }
        QTRY_VERIFY(ShellWindows::shown<ErrorWidget>().isEmpty());
        QCOMPARE(QDir(m_unsent).entryList(QDir::Files), (QStringList{"4.png", "5.png", "held.png", "held.png.lock"}));
    }

    // The signed-out start is in tst_entrypoints.
    void accountRefresh_armedHourlyWhenStartedSignedIn()
    {
        auto *refresh = Core::instance()->findChild<QTimer *>(QStringLiteral("accountRefreshTimer"));
        QVERIFY(refresh);
        QVERIFY(refresh->isActive());
        QVERIFY(!refresh->isSingleShot());
        QCOMPARE(refresh->interval(), 3600000);
    }

    void addresses_followTheHostsAndBetaLeavesSupportAlone()
    {
        Core *core = Core::instance();
        const QString ping = core->pingUrl();
        core->setHostUrl("api.test");
        core->setHostUrlAuth("web.test");
        QCOMPARE(core->serverHistory(), QStringLiteral("https://web.test/login/"));
        QCOMPARE(core->serverUploadUrl(), QStringLiteral("https://api.test/upload/drive/v1/files"));
        QCOMPARE(core->serverInit(), QStringLiteral("https://api.test/drive/v1/files?fields=id,alternateLink,selfLink"));
        QCOMPARE(core->pingUrl(), ping);
        QVERIFY(ping.startsWith("https://") && ping.endsWith("/ping?q="));
        QVERIFY(core->feedbackUrl().endsWith("/support/tickets/"));
    }

    void userAgent_isNameAndVersion()
    {
        QCoreApplication::setApplicationName("Mavu");
        QCoreApplication::setApplicationVersion("3.1.51");
        QCOMPARE(Core::instance()->userAgent(), QStringLiteral("Mavu 3.1.51"));
    }

    void paletteStrip_readsRowFiveShiftedBySeven()
    {
        Core *core = Core::instance();
        QCOMPARE(core->getColorFromX(-7), QColor(255, 0, 0));
        QCOMPARE(core->getColorFromX(332), QColor(0, 0, 0));
        // Column 332 lies in the closing ramp from white to black.
        QCOMPARE(core->getColorFromX(325), QColor(46, 46, 46));
        QCOMPARE(core->getColorFromX(1000), QColor(0, 0, 0));
        QCOMPARE(core->getColorFromX(-100), QColor(255, 0, 0));
        QCOMPARE(core->getColorFromX(100).alpha(), 255);
    }

    void windowsManager_isTheDesktopInLowerCase()
    {
        qputenv("XDG_CURRENT_DESKTOP", "GNOME");
        QCOMPARE(Core::instance()->getWindowsManager(), QStringLiteral("gnome"));
        qunsetenv("XDG_CURRENT_DESKTOP");
        QCOMPARE(Core::instance()->getWindowsManager(), QString());
        QVERIFY(!Core::instance()->is_mac());
    }

    void clearTempPath_removesVisibleFilesOnly()
    {
        QDir().mkpath(m_tempDir + "keep-folder");
        QDir().mkpath(m_audioTempDir);
        for (const QString &name : {m_tempDir + "a.png", m_tempDir + ".hidden", m_audioTempDir + "r.wav",
                                    m_tempDir + "keep-folder/inner.png"}) {
            QFile file(name);
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        Core::instance()->clearTempPath();
        QVERIFY(!QFile::exists(m_tempDir + "a.png"));
        QVERIFY(!QFile::exists(m_audioTempDir + "r.wav"));
        QVERIFY(QFile::exists(m_tempDir + ".hidden"));
        QVERIFY(QFile::exists(m_tempDir + "keep-folder/inner.png"));
    }

    void removeDir_deletesTreeWithoutFollowingLinks()
    {
        QTemporaryDir scratch;
        const QString outside = scratch.filePath("outside");
        QDir().mkpath(outside);
        QFile precious(outside + "/precious");
        QVERIFY(precious.open(QIODevice::WriteOnly));
        precious.close();
        const QString tree = scratch.filePath("tree");
        QDir().mkpath(tree + "/a/b");
        QFile(tree + "/a/b/file").open(QIODevice::WriteOnly);
        QVERIFY(QFile::link(outside, tree + "/a/link-to-outside"));
        QVERIFY(removeDir(tree));
        QVERIFY(!QFileInfo::exists(tree));
        QVERIFY(QFile::exists(outside + "/precious"));
        QVERIFY(removeDir(scratch.filePath("never-existed")));
    }

    // A temporary, audio or update folder that leads elsewhere is not emptied: the files
    // there are not the program's.
    void linkedTempAndUpdateFolders_areNotEmptied()
    {
        Core *core = Core::instance(); // the data folder exists from here on
        QTemporaryDir outside;
        writeFile(outside.filePath("precious.png"));
        writeFile(outside.filePath("Mavu.exe"));
        writeFile(outside.filePath("Mavu.exe.sha256"));
        QDir(outside.path()).mkdir("audio");
        writeFile(outside.filePath("audio/voice.wav"));
        QVERIFY(QDir(m_tempDir).removeRecursively());
        QDir(m_updatePath).removeRecursively();
        QVERIFY(QFile::link(outside.path(), m_pathSettings + "tmp"));
        QVERIFY(QFile::link(outside.path(), m_pathSettings + "update"));

        core->clearTempPath();
        core->clearAudioFile();
        QVERIFY(!startPendingUpdate());
        QVERIFY(QFile::exists(outside.filePath("audio/voice.wav")));
        const QStringList left = QDir(outside.path()).entryList(QDir::Files);
        QFile::remove(m_pathSettings + "tmp");
        QFile::remove(m_pathSettings + "update");
        QDir().mkpath(m_tempDir);
        QCOMPARE(left, (QStringList{"Mavu.exe", "Mavu.exe.sha256", "precious.png"}));
    }
};

QTEST_MAIN(CoreTest)
#include "tst_core.moc"
