// The controller's windows, links and messages on a real X server: the clipboard is read
// back with xclip, windows are the ones the user would see.

#include "../harness/shellwindows.h"
#include "../harness/xtools.h"
#include "../upload/uploadtestsupport.h"
#include "app/messagedialog.h"
#include "network/autorization.h"
#include "network/networkhooks.h"
#include "windows/autorizationwidget_rest.h"
#include "windows/lastuploadwidget_win.h"
#include "windows/settingwidget_rest.h"
#include "windows/uploadwidget_win.h"

#include <QClipboard>
#include <QDesktopServices>
#include <QQuickItem>

using namespace UploadTest;

namespace {

void signIn(bool signedIn)
{
    Setting::instance()->setValue(SettingKeys::token, signedIn ? QStringLiteral("shell-token") : QString());
}

// A setting switched on and off, as the database hands it back.
void flagRows()
{
    QTest::addColumn<QString>("flag");
    QTest::newRow("on") << QStringLiteral("1");
    QTest::newRow("off") << QStringLiteral("0");
}

// Uploads go to a service nobody answers on.
void goOffline()
{
    Setting::instance()->setValue(SettingKeys::typeUpload, QStringLiteral("mavu"));
    Core::instance()->setHostUrl(QStringLiteral("127.0.0.1:%1").arg(freePort()));
}

MessageDialog *shownDialogTitled(const QString &title)
{
    for (MessageDialog *dialog : ShellWindows::shown<MessageDialog>()) {
        if (dialog->data("title").toString() == title)
            return dialog;
    }
    return nullptr;
}

} // namespace

class ShellWindowsTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    QString m_saveAnswer;
    int m_saveDialogs = 0;
    QList<QUrl> m_opened;

public slots:
    void recordUrl(const QUrl &url) { m_opened.append(url); }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        signIn(true);
        Core::setSaveFileDialog([this](const QString &, const QString &, const QString &) {
            ++m_saveDialogs;
            return m_saveAnswer;
        });
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "recordUrl");
    }

    void cleanup()
    {
        ShellWindows::closeAll();
        signIn(true);
    }

    void readyLink_showsTheUploadWindowFirstThenCopiesOnce_data() { flagRows(); }

    void readyLink_showsTheUploadWindowFirstThenCopiesOnce()
    {
        QFETCH(QString, flag);
        Setting::instance()->setValue(SettingKeys::showUpload, flag);
        const QString link = QStringLiteral("https://files.example/%1.png").arg(QTest::currentDataTag());
        Core *core = Core::instance();
        QSignalSpy changes(core, &Core::lastLinkChanged);
        bool windowAtFirstChange = false;
        const auto seen = connect(core, &Core::lastLinkChanged, this, [&] {
            if (changes.count() == 1)
                windowAtFirstChange = !ShellWindows::shown<UploadWidget>().isEmpty();
        });
        emit core->networkExchange()->readyLink(link);
        QCOMPARE(windowAtFirstChange, flag == "1");
        QCOMPARE(changes.count(), 2);
        QCOMPARE(QString(xclipRead()), link);

        // The same link once the bytes are up: announced again, the clipboard left alone.
        QGuiApplication::clipboard()->setText(QStringLiteral("copied meanwhile"));
        emit core->networkExchange()->readyLinkAfterUpload(link);
        disconnect(seen);
        QCOMPARE(changes.count(), 3);
        QCOMPARE(QString(xclipRead()), QStringLiteral("copied meanwhile"));
        core->copyLastLink();
        QCOMPARE(QString(xclipRead()), link);
    }

    void lastUpload_showsOnlyWhenWanted_data() { flagRows(); }

    void lastUpload_showsOnlyWhenWanted()
    {
        QFETCH(QString, flag);
        setValues({{SettingKeys::showUpload, 1}, {SettingKeys::showLastUpload, flag}});
        Core::instance()->showUploadPage();
        emit Core::instance()->uploadModel()->uploadComplete();
        QVERIFY(ShellWindows::shown<UploadWidget>().isEmpty());
        QCOMPARE(ShellWindows::shown<LastUploadWidget>().size(), flag == "1" ? 1 : 0);
    }

    // Shown again while it is up, the window stays for 10 seconds from the second showing.
    void lastUpload_shownAgain_hidesTenSecondsAfterThat()
    {
        setValues({{SettingKeys::showLastUpload, 1}});
        Core::instance()->showLastUploadPage();
        LastUploadWidget *window = Core::instance()->lastUploadWidget();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTest::qWait(3000); // the time between the two showings is what is looked at
        Core::instance()->showLastUploadPage();
        QElapsedTimer sinceAgain;
        sinceAgain.start();
        QTRY_VERIFY_WITH_TIMEOUT(!window->isVisible(), 15000);
        // Qt may fire a 10-second timer up to half a second early.
        QVERIFY2(sinceAgain.elapsed() > 9000, qPrintable(QString::number(sinceAgain.elapsed())));
    }

    void errors_eachInAWindowOfItsOwn_deletedWhenClosed_data()
    {
        QTest::addColumn<bool>("signedIn");
        QTest::newRow("signed in") << true;
        QTest::newRow("signed out") << false;
    }

    void errors_eachInAWindowOfItsOwn_deletedWhenClosed()
    {
        QFETCH(bool, signedIn);
        signIn(signedIn);
        Core::instance()->showErrorWidget(QStringLiteral("first error"));
        Core::instance()->showErrorWidget(QStringLiteral("second error"));
        QStringList texts = ShellWindows::shownErrorTexts();
        texts.sort();
        QCOMPARE(texts, QStringList({"first error", "second error"}));
        QList<QPointer<ErrorWidget>> windows;
        for (ErrorWidget *window : ShellWindows::shown<ErrorWidget>()) {
            windows.append(window);
            window->close();
        }
        QTRY_VERIFY(std::all_of(windows.cbegin(), windows.cend(), [](const auto &window) { return !window; }));
    }

    // The upload window may be the sender of the signal that leads to the error.
    void error_replacesTheUploadWindow_alsoFromInsideItsOwnSignal()
    {
        Setting::instance()->setValue(SettingKeys::showUpload, 1);
        QPointer<UploadWidget> first = Core::instance()->uploadWidget();
        connect(first, &BasicWindow::showed, Core::instance(),
                [] { Core::instance()->showErrorWidget(QStringLiteral("while showing")); },
                Qt::SingleShotConnection);
        Core::instance()->showUploadPage();
        QCOMPARE(ShellWindows::shownErrorTexts(), QStringList{"while showing"});
        QTRY_VERIFY(!first);
        QVERIFY(Core::instance()->uploadWidget());
    }

    void uploadWindow_growsUpwardsInItsCornerOnTheScreen()
    {
        Setting::instance()->setValue(SettingKeys::showUpload, 1);
        Core::instance()->showUploadPage();
        UploadWidget *window = Core::instance()->uploadWidget();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        const QRect before = window->geometry();
        const int pageHeight = window->rootObject()->property("windowHeight").toInt();
        window->rootObject()->setProperty("windowHeight", pageHeight + 3 * 33);
        QTRY_COMPARE(window->height(), before.height() + 99);
        QTRY_COMPARE(window->geometry().bottomRight(), before.bottomRight());
        // No compositor here: the frame is opaque and without margin, and must not leave
        // the screen.
        QVERIFY(window->screen()->availableGeometry().contains(window->geometry()));
    }

    void settingsWindow_isNewAfterClosing()
    {
        Core::instance()->showSetting();
        QPointer<SettingWidget> first = Core::instance()->settingWidget();
        QVERIFY(first->isVisible());
        first->close();
        QTRY_VERIFY(!first);
        Core::instance()->showSetting();
        QCOMPARE(ShellWindows::shown<SettingWidget>().size(), 1);
    }

    void offlineQuestion_savesTheCaptureAsEncoded_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("target");
        QTest::addColumn<bool>("saved");
        QTest::newRow("cancel") << false << QStringLiteral("cancelled.png") << false;
        QTest::newRow("ok, png name over a jpeg, replacing a file") << true << QStringLiteral("existing.png") << true;
        QTest::newRow("ok, folder missing") << true << QStringLiteral("no/such/folder/shot.png") << false;
    }

    // A real upload to a service nobody answers on asks the question.
    void offlineQuestion_savesTheCaptureAsEncoded()
    {
        QFETCH(bool, ok);
        QFETCH(QString, target);
        QFETCH(bool, saved);
        setValues({{SettingKeys::qualityImage, 0}, {SettingKeys::showLastUpload, 1}});
        goOffline();
        m_saveAnswer = m_scratch.filePath(target);
        QVERIFY(writeFile(m_scratch.filePath("existing.png"), "an older picture"));
        const int dialogsBefore = m_saveDialogs;

        Core::instance()->screenUpload(0, false, patternPicture());
        const QString capture = Core::instance()->lastCaptureFile();
        const QByteArray jpeg = readFile(capture);
        QVERIFY(jpeg.startsWith("\xff\xd8\xff"));
        QTRY_VERIFY_WITH_TIMEOUT(shownDialogTitled(QStringLiteral("Warning")), 15000);
        QPointer<MessageDialog> question = shownDialogTitled(QStringLiteral("Warning"));
        QCOMPARE(question->data("type").toString(), QStringLiteral("questions"));
        QTRY_COMPARE(Core::instance()->uploadModel()->rowCount(), 0);
        QVERIFY(ShellWindows::shown<LastUploadWidget>().isEmpty());
        ok ? question->on_pbOk_clicked() : question->on_pbCancel_clcked();

        QCOMPARE(m_saveDialogs, dialogsBefore + (ok ? 1 : 0));
        QCOMPARE(readFile(m_saveAnswer) == jpeg, saved);
        QCOMPARE(QFile::exists(capture), !saved);
        QCOMPARE(ShellWindows::shownErrorTexts().size(), ok && !saved ? 1 : 0);
        if (!saved)
            QCOMPARE(readFile(m_scratch.filePath("existing.png")), QByteArray("an older picture"));
        QTRY_VERIFY(!question);
    }

    // Files are already on disk: nothing to save, the user is told.
    void offlineFileUpload_isToldWithoutTheQuestion()
    {
        goOffline();
        Core::instance()->uploadData({makeFile(m_scratch.filePath("notes.bin"), 100)});
        QTRY_COMPARE_WITH_TIMEOUT(ShellWindows::shownErrorTexts(), QStringList{"Internet is not available"}, 15000);
        QVERIFY(ShellWindows::shown<MessageDialog>().isEmpty());
    }

    void openHistory_signsTokenAndSecondsWithMd5()
    {
        m_opened.clear();
        Core::instance()->setHostUrlAuth(QStringLiteral("web.example"));
        Core::instance()->openHistory();
        QCOMPARE(m_opened.size(), 1);
        const QString url = m_opened.first().toString();
        const QString prefix = QStringLiteral("https://web.example/login/shell-token/");
        QVERIFY2(url.startsWith(prefix), qPrintable(url));
        const QStringList signatureAndSeconds = url.mid(prefix.size()).split('/');
        QCOMPARE(signatureAndSeconds.size(), 2);
        const QString seconds = signatureAndSeconds.at(1);
        QVERIFY(qAbs(seconds.toLongLong() - QDateTime::currentSecsSinceEpoch()) < 5);
        const QString md5sum = commandOutput("sh", {"-c", "printf %s \"$0\" | md5sum", "shell-token" + seconds});
        QCOMPARE(signatureAndSeconds.at(0), md5sum.left(32));
    }

    void openHistory_signedOut_onlyAsksToSignIn()
    {
        signIn(false);
        m_opened.clear();
        Core::instance()->openHistory();
        QVERIFY(m_opened.isEmpty());
        QCOMPARE(ShellWindows::shown<AutorizationWidget>().size(), 1);
    }

    // With no tray on this desktop the outcome of a connection probe opens a window.
    void connectionProbe_outcomeReachesTheUser()
    {
        Setting::instance()->setValue(SettingKeys::isSftp, 0);
        Core::instance()->checkFtpConnecrion("user", "pass", "127.0.0.1", "/", freePort());
        QTRY_VERIFY_WITH_TIMEOUT(shownDialogTitled(QStringLiteral("FTP connection")), 15000);
        QVERIFY(!shownDialogTitled(QStringLiteral("FTP connection"))->data("message").toString().isEmpty());
    }

    void uploadOverTheLimit_isToldInAnErrorWindow()
    {
        Setting::instance()->setValue(SettingKeys::maxPostSize, 1000);
        Core::instance()->uploadData({makeFile(m_scratch.filePath("big.bin"), 5000)});
        Setting::instance()->setValue(SettingKeys::maxPostSize, 0);
        const QStringList errors = ShellWindows::shownErrorTexts();
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().startsWith("Max upload total size "), qPrintable(errors.first()));
    }

    void listenerFailure_isToldInADialog()
    {
        NetworkHooks::showInformation()(QStringLiteral("Error start socket"));
        QTRY_COMPARE(ShellWindows::shown<MessageDialog>().size(), 1);
        MessageDialog *dialog = ShellWindows::shown<MessageDialog>().first();
        QCOMPARE(dialog->data("type").toString() + ": " + dialog->data("message").toString(),
                 QStringLiteral("information: Error start socket"));
    }
};

QTEST_MAIN(ShellWindowsTest)
#include "tst_shellwindows.moc"
