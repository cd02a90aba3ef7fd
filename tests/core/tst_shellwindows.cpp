// The controller's windows, links and messages on a real X server: the clipboard is read
// back with xclip, windows are the ones the user would see.

#include "../harness/overlay.h"
#include "../harness/pagedriver.h"
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
#include <QFileDialog>
#include <QImageReader>
#include <QLoggingCategory>
#include <QQuickItem>
#include <QSignalSpy>
#include <QTcpServer>

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

// A batch of uploads ends, one of them gone up.
void completeAnUpload()
{
    emit Core::instance()->networkExchange()->readyLinkAfterUpload(QStringLiteral("https://files.example/done.png"));
    emit Core::instance()->uploadModel()->uploadComplete();
}

// Where a capture waits while the user is offered to save it.
QString keptCapture(const QString &capture)
{
    return m_pathSettings + "unsent/" + QFileInfo(capture).fileName();
}

// The capture that went to a failing upload, once its question or error window is shown.
QString uploadUntilOffered(const QPixmap &picture, const std::function<bool()> &offered)
{
    Core::instance()->screenUpload(0, false, picture);
    const QString capture = Core::instance()->lastCaptureFile();
    return QTest::qWaitFor(offered, 15000) ? capture : QString();
}

// A modal file dialog as the program's own, answered by keys through the X server: Return
// saves under the answer, Escape cancels when it is empty.
QString answerInAFileDialog(const QString &caption, const QString &filter, const QString &answer)
{
    QFileDialog dialog(nullptr, caption, QString(), filter);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.selectFile(answer);
    QTimer::singleShot(0, &dialog, [&dialog, answer] {
        if (QTest::qWaitForWindowActive(dialog.windowHandle()))
            xdotool({"key", answer.isEmpty() ? "Escape" : "Return"});
    });
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles().value(0) : QString();
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
    QString m_errorDuringSaveDialog; // an upload's error, told while the save dialog is open
    QList<QUrl> m_opened;
    // The next save is answered in a real file dialog, through the X server: empty cancels.
    std::optional<QString> m_modalAnswer;

public slots:
    void recordUrl(const QUrl &url) { m_opened.append(url); }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        signIn(true);
        Core::setSaveFileDialog([this](const QString &caption, const QString &, const QString &filter) {
            ++m_saveDialogs;
            if (!m_errorDuringSaveDialog.isEmpty())
                Core::instance()->showErrorWidget(m_errorDuringSaveDialog);
            if (m_modalAnswer)
                return answerInAFileDialog(caption, filter, *std::exchange(m_modalAnswer, std::nullopt));
            return m_saveAnswer;
        });
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "recordUrl");
        // The desktop's opener, as every local user sees it started.
        QDir().mkpath(m_scratch.filePath("bin"));
        QVERIFY(writeFile(m_scratch.filePath("bin/xdg-open"),
                          "#!/bin/sh\ntr '\\0' '\\n' < /proc/$$/cmdline > \"$(dirname \"$0\")/../opener.cmdline\"\n"));
        QFile::setPermissions(m_scratch.filePath("bin/xdg-open"), QFileDevice::ReadOwner | QFileDevice::ExeOwner);
        qputenv("PATH", QFile::encodeName(m_scratch.filePath("bin")) + ':' + qgetenv("PATH"));
    }

    void cleanup()
    {
        ShellWindows::closeAll();
        signIn(true);
        m_modalAnswer.reset();
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
        completeAnUpload();
        QVERIFY(ShellWindows::shown<UploadWidget>().isEmpty());
        QCOMPARE(ShellWindows::shown<LastUploadWidget>().size(), flag == "1" ? 1 : 0);
    }

    void lastUpload_neverCoversAMessageOrTheOverlay_data()
    {
        QTest::addColumn<QString>("opens");
        QTest::newRow("error before") << QStringLiteral("error before");
        QTest::newRow("error after") << QStringLiteral("error after");
        QTest::newRow("question after") << QStringLiteral("question after");
        QTest::newRow("overlay") << QStringLiteral("overlay");
    }

    void lastUpload_neverCoversAMessageOrTheOverlay()
    {
        QFETCH(QString, opens);
        Setting::instance()->setValue(SettingKeys::showLastUpload, 1);
        const auto openMessage = [&] {
            if (opens.startsWith("question"))
                Core::instance()->internetNotAvailable(makeFile(m_tempDir + "offline.png", 100));
            else
                Core::instance()->showErrorWidget(QStringLiteral("in the corner"));
        };
        if (opens == "error before")
            openMessage();
        SurfaceWidget *overlay = opens == "overlay" ? openOverlay() : nullptr;
        completeAnUpload();
        if (opens.endsWith("after"))
            openMessage();
        LastUploadWidget *complete = Core::instance()->lastUploadWidget();
        if (overlay) {
            QVERIFY(!complete->isVisible());
            QVERIFY(closeOverlay(overlay, overlay, 0));
            return;
        }
        QVERIFY(complete->isVisible());
        const QList<QWindow *> messages = QList<QWindow *>() << ShellWindows::shown<ErrorWidget>().value(0)
                                                             << ShellWindows::shown<MessageDialog>().value(0);
        QCOMPARE(messages.count(nullptr), 1);
        for (QWindow *message : messages) {
            if (message)
                QVERIFY2(!complete->geometry().intersects(message->geometry()), qPrintable(opens));
        }
    }

    // Shown again while it is up, the window stays for 10 seconds from the second showing.
    void lastUpload_shownAgain_hidesTenSecondsAfterThat()
    {
        setValues({{SettingKeys::showLastUpload, 1}});
        completeAnUpload();
        LastUploadWidget *window = Core::instance()->lastUploadWidget();
        QVERIFY(QTest::qWaitForWindowExposed(window));
        QTest::qWait(3000); // the time between the two showings is what is looked at
        completeAnUpload();
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

    void settingsWindow_isNewAfterClosing_data()
    {
        QTest::addColumn<bool>("byWindowManager");
        QTest::newRow("its own close") << false;
        QTest::newRow("the window manager's close") << true;
    }

    // Nothing the page held unsaved comes back with the next window.
    void settingsWindow_isNewAfterClosing()
    {
        QFETCH(bool, byWindowManager);
        Core::instance()->showSetting();
        QPointer<SettingWidget> first = Core::instance()->settingWidget();
        first->requestActivate();
        QTRY_COMPARE(xdotoolWindow("getactivewindow"), first->winId());
        if (byWindowManager)
            QVERIFY(xdotool({"key", "alt+F4"}));
        else
            first->close();
        QTRY_VERIFY(!first);
        Core::instance()->showSetting();
        QCOMPARE(ShellWindows::shown<SettingWidget>().size(), 1);
    }

    void captureError_showsAboveTheOverlay_data()
    {
        QTest::addColumn<QString>("toldDuringTheDialog");
        QTest::newRow("the save's own error") << QString();
        QTest::newRow("and an upload's, told while the dialog hid the overlay") << "An earlier upload failed";
    }

    // A failed save from the overlay: the overlay comes back, every error above it in the
    // window manager's stacking and the save's readable on the screen.
    void captureError_showsAboveTheOverlay()
    {
        QFETCH(QString, toldDuringTheDialog);
        Setting::instance()->setValue(SettingKeys::qualityImage, 2);
        SurfaceWidget *overlay = openOverlay(QRect(100, 100, 400, 300));
        QVERIFY(overlay);
        m_saveAnswer = m_scratch.filePath("no/such/folder/shot");
        m_errorDuringSaveDialog = toldDuringTheDialog;
        overlay->saveScreen();
        m_errorDuringSaveDialog.clear();
        const QList<ErrorWidget *> errors = ShellWindows::shown<ErrorWidget>();
        QCOMPARE(errors.size(), toldDuringTheDialog.isEmpty() ? 1 : 2);
        for (ErrorWidget *error : errors) {
            QVERIFY(overlay->isVisible() && QTest::qWaitForWindowExposed(error));
            QTRY_VERIFY(stackingOrder().contains(overlay->winId())
                        && stackingOrder().indexOf(error->winId()) > stackingOrder().indexOf(overlay->winId()));
        }
        ErrorWidget *saveError = errors.last()->error().startsWith("Can't save") ? errors.last() : errors.first();
        auto *text = saveError->rootObject()->findChild<QQuickItem *>(QStringLiteral("errorText"));
        const QRect area = text->mapRectToScene(text->boundingRect()).toAlignedRect();
        const QRect onScreen = area.translated(saveError->position());
        QTRY_COMPARE(rgb(QGuiApplication::primaryScreen()->grabWindow(0, onScreen.x(), onScreen.y(), area.width(),
                                                                     area.height())),
                     rgb(saveError->grabWindow().copy(area)));
        QVERIFY(closeOverlay(overlay, overlay, 0));
    }

    // An upload that fails while the user works in the overlay: its error shows above the
    // overlay, but the keys stay with the capture, and an Escape meant for it ends the capture,
    // not the error window that offers the earlier one.
    void errorDuringACapture_leavesTheKeysWithTheOverlay()
    {
        QTcpServer silent; // accepts and never answers, until the test lets the upload fail
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        setValues({{SettingKeys::typeUpload, "ftp"}, {SettingKeys::isSftp, 0}, {SettingKeys::ftpHost, "127.0.0.1"},
                   {SettingKeys::ftpPort, silent.serverPort()}, {SettingKeys::isFtpErrorUploadMavu, 0},
                   {SettingKeys::qualityImage, 2}, {SettingKeys::showCloseSurfaceWindow, 0}});
        Core::instance()->screenUpload(0, false, patternPicture());
        const QString capture = Core::instance()->lastCaptureFile();
        QTRY_VERIFY(silent.hasPendingConnections());
        SurfaceWidget *overlay = openOverlay(QRect(100, 100, 400, 300));
        QVERIFY(overlay);
        QTRY_COMPARE(xdotoolWindow("getwindowfocus"), overlay->winId());

        silent.nextPendingConnection()->abort();
        QTRY_COMPARE(ShellWindows::shown<ErrorWidget>().size(), 1);
        QPointer<ErrorWidget> error = ShellWindows::shown<ErrorWidget>().first();
        QTRY_VERIFY(stackingOrder().indexOf(error->winId()) > stackingOrder().indexOf(overlay->winId()));
        QCOMPARE(xdotoolWindow("getwindowfocus"), overlay->winId());
        QVERIFY(xdotool({"key", "Escape"}));
        QTRY_VERIFY(!overlay->isVisible());
        QVERIFY(error && error->isVisible());
        QVERIFY(QFile::exists(keptCapture(capture)));
    }

    void windowShownDuringACapture_isOnItsOwnOnceTheCaptureEnds_data()
    {
        QTest::addColumn<bool>("hiddenMeanwhile");
        QTest::newRow("shown again after the capture") << true;
        QTest::newRow("left open as the capture ends") << false;
    }

    // A window that lives for the whole run is tied to the capture's window only while that is
    // on the screen.
    void windowShownDuringACapture_isOnItsOwnOnceTheCaptureEnds()
    {
        QFETCH(bool, hiddenMeanwhile);
        SurfaceWidget *overlay = openOverlay(QRect(100, 100, 400, 300));
        QVERIFY(overlay);
        LastUploadWidget *complete = Core::instance()->lastUploadWidget();
        complete->show();
        QVERIFY(QTest::qWaitForWindowExposed(complete));
        QCOMPARE(xTransientFor(complete->winId()), overlay->winId());
        if (hiddenMeanwhile)
            complete->hide();
        QVERIFY(closeOverlay(overlay, overlay, 0));
        complete->show();
        QVERIFY(QTest::qWaitForWindowExposed(complete));
        QTRY_COMPARE(xTransientFor(complete->winId()), WId(0));
        complete->hide();
    }

    void offlineQuestion_savesTheCaptureUnderANameThatSaysWhatItHolds_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::addColumn<QString>("target");
        QTest::addColumn<QString>("saved");
        QTest::addColumn<QByteArray>("format");
        QTest::newRow("cancel") << false << "cancelled.png" << QString() << QByteArray();
        QTest::newRow("ok, no extension: the capture's own") << true << "plain" << "plain.jpg" << QByteArray("jpeg");
        QTest::newRow("ok, png name over a jpeg, replacing a file") << true << "existing.png" << "existing.png"
                                                                     << QByteArray("png");
        QTest::newRow("ok, folder missing") << true << "no/such/folder/shot.png" << QString() << QByteArray();
    }

    // A real upload to a service nobody answers on asks the question.
    void offlineQuestion_savesTheCaptureUnderANameThatSaysWhatItHolds()
    {
        QFETCH(bool, ok);
        QFETCH(QString, target);
        QFETCH(QString, saved);
        QFETCH(QByteArray, format);
        setValues({{SettingKeys::qualityImage, 0}, {SettingKeys::showLastUpload, 1}});
        goOffline();
        m_saveAnswer = m_scratch.filePath(target);
        QVERIFY(writeFile(m_scratch.filePath("existing.png"), "an older picture"));
        const int dialogsBefore = m_saveDialogs;

        const QString capture =
            uploadUntilOffered(patternPicture(), [] { return shownDialogTitled(QStringLiteral("Warning")); });
        QVERIFY(!capture.isEmpty());
        const QByteArray jpeg = readFile(keptCapture(capture));
        QVERIFY(jpeg.startsWith("\xff\xd8\xff"));
        QPointer<MessageDialog> question = shownDialogTitled(QStringLiteral("Warning"));
        QCOMPARE(question->data("type").toString(), QStringLiteral("questions"));
        QTRY_COMPARE(Core::instance()->uploadModel()->rowCount(), 0);
        QVERIFY(ShellWindows::shown<LastUploadWidget>().isEmpty());
        ok ? question->on_pbOk_clicked() : question->on_pbCancel_clcked();

        QCOMPARE(m_saveDialogs, dialogsBefore + (ok ? 1 : 0));
        if (!saved.isEmpty()) {
            const QString file = m_scratch.filePath(saved);
            QCOMPARE(QImageReader(file).format(), format);
            QCOMPARE(QImage(file), QImage::fromData(jpeg));
            QVERIFY(format != "jpeg" || readFile(file) == jpeg);
        } else {
            QCOMPARE(readFile(m_scratch.filePath("existing.png")), QByteArray("an older picture"));
        }
        // Waiting in the unsent folder only while it is offered again: saved or given up, it goes.
        QCOMPARE(QFile::exists(keptCapture(capture)), ok && saved.isEmpty());
        QCOMPARE(ShellWindows::shownErrorTexts().size(), ok && saved.isEmpty() ? 1 : 0);
        QTRY_VERIFY(!question);
    }

    // Each question saves its own capture, also after a start emptied the temporary folder;
    // a failed save says why and the capture's window lets the user try again.
    void offlineQuestions_eachSaveTheirOwnCapture_alsoAfterARestart()
    {
        setValues({{SettingKeys::qualityImage, 2}, {SettingKeys::showLastUpload, 0}});
        goOffline();
        const QImage first = patternPicture().toImage();
        const QImage second = first.mirrored(true, false);
        QPointer<MessageDialog> questions[2];
        for (int i = 0; i < 2; ++i) {
            QVERIFY(!uploadUntilOffered(QPixmap::fromImage(i ? second : first),
                                        [i] { return ShellWindows::shown<MessageDialog>().size() == i + 1; })
                         .isEmpty());
            for (MessageDialog *dialog : ShellWindows::shown<MessageDialog>()) {
                if (dialog != questions[0])
                    questions[i] = dialog;
            }
        }
        Core::instance()->clearTempPath(); // as the next start does

        m_saveAnswer = m_scratch.filePath("first.png");
        questions[0]->on_pbOk_clicked();
        QCOMPARE(QImage(m_saveAnswer), first);

        m_saveAnswer = m_scratch.filePath("gone/second.png");
        questions[1]->on_pbOk_clicked();
        QTRY_COMPARE(ShellWindows::shown<ErrorWidget>().size(), 1);
        ErrorWidget *error = ShellWindows::shown<ErrorWidget>().first();
        const QString text = ShellWindows::shownErrorText(error);
        QVERIFY2(text.startsWith("Can't save file " + m_saveAnswer + ": No such file or directory\n\n"), qPrintable(text));
        m_saveAnswer = m_scratch.filePath("second.png");
        QVERIFY(PageDriver::click(error, "saveButton"));
        QCOMPARE(QImage(m_saveAnswer), second);
        QTRY_VERIFY(ShellWindows::shown<ErrorWidget>().isEmpty());
        QCOMPARE(QDir(m_pathSettings + "unsent").entryList(QDir::Files), QStringList());
    }

    // The error window of a capture whose upload failed says how to keep it, and does: its
    // Save, clicked through the X server, opens the save dialog as often as it is cancelled.
    void failedUpload_offersToSaveTheCapture()
    {
        setValues({{SettingKeys::typeUpload, "ftp"}, {SettingKeys::isSftp, 0}, {SettingKeys::ftpHost, "127.0.0.1"},
                   {SettingKeys::ftpPort, freePort()}, {SettingKeys::isFtpErrorUploadMavu, 0},
                   {SettingKeys::qualityImage, 2}});
        QVERIFY(!uploadUntilOffered(patternPicture(), [] { return !ShellWindows::shownErrorTexts().isEmpty(); }).isEmpty());
        QCOMPARE(ShellWindows::shownErrorTexts(),
                 QStringList{"Could not connect to the server 127.0.0.1\n\n"
                             "The capture was not lost: press \"Save\" to save it to disk."});
        Core::instance()->clearTempPath();
        QPointer<ErrorWidget> error = ShellWindows::shown<ErrorWidget>().first();
        QVERIFY(QTest::qWaitForWindowExposed(error));
        const QPoint save = error->mapToGlobal(PageDriver::centreOf(PageDriver::named(error, "saveButton")));
        const QString saved = m_scratch.filePath("after-failure");
        for (const QString &answer : {QString(), saved}) {
            m_modalAnswer = answer;
            const int dialogs = m_saveDialogs;
            QVERIFY(xdotoolClick(save));
            QTRY_COMPARE(m_saveDialogs, dialogs + 1);
        }
        QTRY_VERIFY(!error);
        QCOMPARE(QImage(saved + ".png"), patternPicture().toImage());
    }

    void captureThatCannotBeKept_isOfferedAtOnce_data()
    {
        QTest::addColumn<bool>("goesUp");
        QTest::newRow("upload fails: the offer stays") << false;
        QTest::newRow("uploaded: the offer goes") << true;
    }

    // A capture that cannot wait in the unsent folder (a file is in its place) is offered at
    // its hand-off, and its window does not call it safe. Once the capture is up the offer
    // is withdrawn; after a failed upload it stays.
    void captureThatCannotBeKept_isOfferedAtOnce()
    {
        QFETCH(bool, goesUp);
        setValues({{SettingKeys::qualityImage, 2}});
        FtpServer server;
        if (goesUp) {
            QVERIFY(server.start(m_scratch.filePath("ftproot")));
            server.useForUploads(QString(), "https://kept.example");
            server.pause(); // until the offer is seen
        } else {
            goOffline();
        }
        const QString unsent = m_pathSettings + "unsent";
        QVERIFY(QDir(unsent).removeRecursively() && writeFile(unsent, "in the way"));
        const QString capture = uploadUntilOffered(patternPicture(), [goesUp] {
            const bool asked = goesUp || shownDialogTitled(QStringLiteral("Warning"));
            return asked && !ShellWindows::shownErrorTexts().isEmpty();
        });
        QVERIFY(QFile::remove(unsent));
        QVERIFY(!capture.isEmpty());
        QCOMPARE(ShellWindows::shownErrorTexts(),
                 QStringList{"Can't keep the capture in " + unsent + "/ until it is uploaded: the folder cannot be made\n\n"
                             "The capture is not kept after Mavu closes: press \"Save\" to save it to disk now."});
        if (goesUp) {
            server.resume();
            QTRY_VERIFY_WITH_TIMEOUT(xclipRead().startsWith("https://kept.example/"), 15000);
            QVERIFY(ShellWindows::shown<ErrorWidget>().isEmpty());
            return;
        }
        m_saveAnswer = m_scratch.filePath("not-kept.png");
        QVERIFY(PageDriver::click(ShellWindows::shown<ErrorWidget>().first(), "saveButton"));
        QCOMPARE(QImage(m_saveAnswer), patternPicture().toImage());
    }

    // Files are already on disk: nothing to save, the user is told.
    void offlineFileUpload_isToldWithoutTheQuestion()
    {
        goOffline();
        Core::instance()->uploadData({makeFile(m_scratch.filePath("notes.bin"), 100)});
        QTRY_COMPARE_WITH_TIMEOUT(ShellWindows::shownErrorTexts(), QStringList{"Internet is not available"}, 15000);
        QVERIFY(ShellWindows::shown<MessageDialog>().isEmpty());
    }

    // What other local users see of the opener: its command line.
    void openHistory_keepsTheTokenOffCommandLines_andForwardsToTheSignedAddress()
    {
        QFile::remove(m_scratch.filePath("opener.cmdline"));
        Core::instance()->setHostUrlAuth(QStringLiteral("web.example"));
        Core::instance()->openHistory();
        QTRY_VERIFY_WITH_TIMEOUT(QFileInfo(m_scratch.filePath("opener.cmdline")).size() > 0, 15000);
        const QStringList commandLine = QString::fromUtf8(readFile(m_scratch.filePath("opener.cmdline"))).split('\n');
        QVERIFY2(!commandLine.join(' ').contains("shell-token"), qPrintable(commandLine.join(' ')));
        const QString page = QUrl(commandLine.value(2)).toLocalFile();
        QCOMPARE(QFileInfo(page).path() + '/', m_tempDir);
        QCOMPARE(QFile::permissions(page) & 0x7077, QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        const QString url = ShellWindows::historyPageTarget(page);
        const QString prefix = QStringLiteral("https://web.example/login/shell-token/");
        QVERIFY2(url.startsWith(prefix), qPrintable(url));
        const QStringList signatureAndSeconds = url.mid(prefix.size()).split('/');
        QCOMPARE(signatureAndSeconds.size(), 2);
        const QString seconds = signatureAndSeconds.at(1);
        QVERIFY(qAbs(seconds.toLongLong() - QDateTime::currentSecsSinceEpoch()) < 5);
        const QString md5sum = commandOutput("sh", {"-c", "printf %s \"$0\" | md5sum", "shell-token" + seconds});
        QCOMPARE(signatureAndSeconds.at(0), md5sum.left(32));
    }

    void openHistoryOrLastLink_withoutAnOpener_isTold_data()
    {
        QTest::addColumn<bool>("history");
        QTest::addColumn<QString>("told");
        const QString noOpener = QStringLiteral("no program to open web pages could be started (xdg-open)");
        QTest::newRow("history") << true << "The history page cannot be opened: " + noOpener;
        QTest::newRow("last link") << false << "The link https://files.example/last.png cannot be opened: " + noOpener;
    }

    // The desktop's services keep the opener they found first: it goes, not only the PATH.
    // Web links go to the desktop's opener too, not to this test's recorder.
    void openHistoryOrLastLink_withoutAnOpener_isTold()
    {
        QFETCH(bool, history);
        QFETCH(QString, told);
        Core::instance()->setLastLink(QStringLiteral("https://files.example/last.png"));
        const QString opener = m_scratch.filePath("bin/xdg-open");
        const QByteArray path = qgetenv("PATH");
        QVERIFY(QFile::rename(opener, opener + ".gone"));
        qputenv("PATH", QFile::encodeName(m_scratch.filePath("bin")));
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        history ? Core::instance()->openHistory() : Core::instance()->openLastLink();
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "recordUrl");
        qputenv("PATH", path);
        QVERIFY(QFile::rename(opener + ".gone", opener));
        QCOMPARE(ShellWindows::shownErrorTexts(), QStringList{told});
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
