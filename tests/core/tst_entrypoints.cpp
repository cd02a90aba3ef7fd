// The controller's entry points as the hotkeys, the tray, the command line and the pages
// reach them, each checked by what it leaves behind: a file on the service, a window, a
// settings row, an analytics request, the clipboard, a timer. The service is the local
// stand-in on 127.0.0.1; the screen shows a known pattern.

#include "../harness/overlay.h"
#include "../harness/patternwindow.h"
#include "../harness/shellwindows.h"
#include "../harness/pagedriver.h"
#include "../service/standin.h"
#include "../upload/uploadtestsupport.h"
#include "app/hookkeybord.h"
#include "capture/surfaceselector.h"
#include "capture/surfacewidget.h"
#include "core.h"
#include "network/analytics.h"
#include "network/autorization.h"
#include "platform/filearguments.h"
#include "upload/uploadmodel.h"
#include "windows/autorizationwidget_rest.h"
#include "windows/maintoolwidget.h"
#include "windows/settingwidget_rest.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDesktopServices>
#include <QLoggingCategory>
#include <QMenu>
#include <QMessageBox>
#include <QSignalSpy>
#include <QUrlQuery>

#include <cstdio>
#include <sys/stat.h>

using namespace UploadTest;

namespace {

const QString token = QStringLiteral("entry-token");

void signIn(bool signedIn)
{
    Setting::instance()->setValue(SettingKeys::token, signedIn ? token : QString());
}

SurfaceWidget *shownOverlay() { return ShellWindows::shown<SurfaceWidget>().value(0); }

// Invokes a Core slot by name, without arguments, as a page or a connection does.
bool invoke(const QString &slot)
{
    return QMetaObject::invokeMethod(Core::instance(), slot.toLatin1().constData());
}

// A file name as bytes: the program shows the bytes 0x1b and 0xe9 as "\\x1b" and "\\xe9".
QByteArray nameBytes(const QString &shown)
{
    return shown.toUtf8().replace("\\x1b", "\x1b").replace("\\xe9", "\xe9");
}

} // namespace

class EntryPointsTest : public QObject
{
    Q_OBJECT

    ServiceStandIn m_service;
    PatternWindow m_pattern;
    QTemporaryDir m_scratch;
    QList<QUrl> m_shared;
    QList<QUrl> m_opened;
    QStringList m_folderDialog;
    QString m_folderAnswer;

    QStringList recordIds() { return m_service.files().keys(); }

public slots:
    void recordOpened(const QUrl &url) { m_opened.append(url); }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        // Core is made here, while nobody is signed in.
        QVERIFY2(m_service.start(), "the service stand-in did not start");
        m_service.post("/_test/token", {{"token", token}});
        AnalyticsEvent::setDestination(m_service.url("/mp/collect"), QStringLiteral("G-ENTRY"));
        setValues({{SettingKeys::typeUpload, QStringLiteral("mavu")},
                   {SettingKeys::showUpload, 0},
                   {SettingKeys::showLastUpload, 0},
                   {SettingKeys::qualityImage, 2},
                   {SettingKeys::showCloseSurfaceWindow, 0}});
        UploadHooks::openUrl() = [this](const QUrl &url) {
            m_shared.append(url);
            return true;
        };
        QDesktopServices::setUrlHandler(QStringLiteral("https"), this, "recordOpened");
        QDesktopServices::setUrlHandler(QStringLiteral("file"), this, "recordOpened"); // the history's page
        Core::setFolderDialog([this](const QString &caption, const QString &start) {
            m_folderDialog = {caption, start};
            return m_folderAnswer;
        });
        QVERIFY(m_pattern.showExposed());
    }

    void cleanupTestCase()
    {
        QDesktopServices::unsetUrlHandler(QStringLiteral("https"));
        QDesktopServices::unsetUrlHandler(QStringLiteral("file"));
    }

    void cleanup()
    {
        if (SurfaceWidget *overlay = shownOverlay())
            QVERIFY(closeOverlay(overlay, &m_pattern, 100));
        ShellWindows::closeAll();
    }

    // Made while signed out: the hourly account refresh is not armed, not even by a later
    // sign-in (the signed-in start is in tst_core).
    void accountRefresh_notArmedWhenStartedSignedOut()
    {
        auto *refresh = Core::instance()->findChild<QTimer *>(QStringLiteral("accountRefreshTimer"));
        QVERIFY(refresh);
        QVERIFY(!refresh->isActive());
        signIn(true);
        emit Core::instance()->account()->authChanged(true);
        QVERIFY(!refresh->isActive());
    }

    void hotkeyOrTrayEntry_hasItsEffect_data()
    {
        QTest::addColumn<QString>("trigger");
        QTest::addColumn<bool>("signedIn");
        QTest::addColumn<QString>("label");
        QTest::addColumn<QString>("effect");
        QTest::newRow("fragment hotkey") << "hotkey fragment" << true << "fragment" << "empty selection";
        QTest::newRow("full-screen hotkey") << "hotkey full" << true << "screen" << "whole selection";
        QTest::newRow("quick hotkey") << "hotkey quick" << true << "smart" << "desktop uploaded";
        QTest::newRow("quick hotkey, signed out: no sign-in check")
            << "hotkey quick" << false << "smart" << "desktop captured";
        QTest::newRow("fragment hotkey, signed out") << "hotkey fragment" << false << "fragment" << "login window";
        QTest::newRow("full-screen hotkey, signed out") << "hotkey full" << false << "screen" << "login window";
        QTest::newRow("tray: Capture fragment") << "actionScreen" << true << "fragment" << "empty selection";
        QTest::newRow("tray: Capture fullscreen") << "actionVideo" << true << "screen" << "whole selection";
        QTest::newRow("tray: Autorization") << "actionAuth" << false << "" << "login window";
        QTest::newRow("tray: Settings") << "actionSetting" << true << "" << "settings window";
        QTest::newRow("tray: History") << "trayHistory" << true << "" << "history page";
        QTest::newRow("tray: Open last link") << "openLastLink" << true << "" << "link opened";
        QTest::newRow("tray: Copy last link") << "copyLastLink" << true << "" << "link copied";
        QTest::newRow("tray: Help") << "actionHelp" << true << "" << "support box";
    }

    // The hotkey manager's signals, as the grabbed keys emit them, and the tray's entries.
    void hotkeyOrTrayEntry_hasItsEffect()
    {
        QFETCH(QString, trigger);
        QFETCH(bool, signedIn);
        QFETCH(QString, label);
        QFETCH(QString, effect);
        signIn(signedIn);
        const QString link = QStringLiteral("https://files.example/entry.png");
        Core::instance()->setLastLink(link);
        QGuiApplication::clipboard()->setText(QStringLiteral("something else"));
        m_opened.clear();
        const int events = m_service.analyticsCount();
        const QStringList records = recordIds();
        QStringList supportBox;
        QTimer lookForBox;
        connect(&lookForBox, &QTimer::timeout, this, [&] {
            for (QWidget *widget : QApplication::topLevelWidgets()) {
                auto *box = qobject_cast<QMessageBox *>(widget);
                if (!box || !box->isVisible())
                    continue;
                lookForBox.stop();
                supportBox << box->windowTitle() << box->text() << box->informativeText();
                box->close();
            }
        });
        lookForBox.start(20);

        if (trigger == "hotkey fragment")
            emit HookKeybord::m_instance->fragmentScreenActivated();
        else if (trigger == "hotkey full")
            emit HookKeybord::m_instance->fullScreenActivated();
        else if (trigger == "hotkey quick")
            emit HookKeybord::m_instance->quickScreenActivated();
        else
            Core::instance()->trayMenu()->findChild<QAction *>(trigger)->trigger();

        if (!label.isEmpty())
            QCOMPARE(m_service.analyticsEvent(events),
                     (QJsonObject{{"name", "ActionHotkey"}, {"category", "CategoryCapture"}, {"label", label}}));
        QCOMPARE(ShellWindows::shown<AutorizationWidget>().size(), effect == "login window" ? 1 : 0);
        SurfaceWidget *overlay = shownOverlay();
        QCOMPARE(overlay != nullptr, effect.endsWith("selection"));
        if (effect == "empty selection") {
            QVERIFY(overlay->selector()->isEmptySelection());
            QVERIFY(overlay->selector()->firstDraw());
        } else if (effect == "whole selection") {
            QCOMPARE(overlay->selectRect(), QRect(QPoint(0, 0), overlay->size()));
            QVERIFY(overlay->selector()->showToolBar());
        } else if (effect == "desktop uploaded") {
            const QString capture = Core::instance()->lastCaptureFile();
            QCOMPARE(rgb(QImage(capture)), m_pattern.image);
            const QJsonObject record = m_service.newFile(records);
            QCOMPARE(record.value("sha256").toString(), sha256Of(capture));
            QTRY_COMPARE(QGuiApplication::clipboard()->text(), record.value("alternateLink").toString());
        } else if (effect == "desktop captured") {
            // The service refuses a capture without an account; the user is told, and the
            // capture waits to be saved.
            QTRY_COMPARE_WITH_TIMEOUT(ShellWindows::shownErrorTexts().size(), 1, 15000);
            const QString kept = m_pathSettings + "unsent/" + QFileInfo(Core::instance()->lastCaptureFile()).fileName();
            QCOMPARE(rgb(QImage(kept)), m_pattern.image);
        } else if (effect == "settings window") {
            QCOMPARE(ShellWindows::shown<SettingWidget>().size(), 1);
        } else if (effect == "history page") {
            QCOMPARE(m_opened.size(), 1);
            const QString target = ShellWindows::historyPageTarget(m_opened.first().toLocalFile());
            QVERIFY2(target.startsWith(m_service.url("/login/" + token + "/")), qPrintable(target));
        } else if (effect == "link opened") {
            QCOMPARE(m_opened, QList<QUrl>{QUrl(link)});
        } else if (effect == "link copied") {
            QCOMPARE(QGuiApplication::clipboard()->text(), link);
            // The sign-in page pastes what the clipboard holds.
            QCOMPARE(Core::instance()->clipboardText(), link);
        } else if (effect == "support box") {
            QTRY_COMPARE(supportBox.mid(0, 2), (QStringList{"Support", "Support and Help"}));
            for (const char *caption : {"Официальный телеграм - тут подробнее об обновлениях",
                                        "Если у вас что-то не работает, пожалуйста, сообщите в телеграм или по почте:",
                                        "Справка и вопросы"})
                QVERIFY2(supportBox.value(2).contains(QString::fromUtf8(caption)), caption);
            QVERIFY2(supportBox.value(2).contains("\"mailto:support@127.0.0.1\">support@127.0.0.1<"),
                     qPrintable(supportBox.value(2)));
        }
        if (!effect.startsWith("desktop"))
            QCOMPARE(recordIds(), records);
        if (effect != "link copied" && effect != "desktop uploaded")
            QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("something else"));
        if (!effect.contains("link") && effect != "history page")
            QVERIFY(m_opened.isEmpty());
    }

    // On one screen too, the main tool window leaves the screen before the overlay opens.
    void capture_parksTheMainToolWindow()
    {
        signIn(true);
        MainToolWidget *tool = Core::instance()->mainToolWidget();
        tool->setPosition(100, 100);
        tool->show();
        QVERIFY(QTest::qWaitForWindowExposed(tool));
        Core::instance()->screen(false, false);
        QVERIFY(shownOverlay());
        QVERIFY(!tool->isVisible());
        QCOMPARE(tool->position(), QPoint(-1000, -1000));
    }

    // The sign-in page ends its window once the account is in; the next need makes a new one.
    void registrationWidgetDestroy_endsTheLoginWindow()
    {
        signIn(false);
        QVERIFY(!Core::instance()->checkAutorization());
        QPointer<AutorizationWidget> login = Core::instance()->autorizationWidget();
        QVERIFY(login->isVisible());
        Core::instance()->registrationWidgetDestroy();
        QVERIFY(!login->isVisible());
        QTRY_VERIFY(!login);
        QVERIFY(!Core::instance()->checkAutorization());
        QCOMPARE(ShellWindows::shown<AutorizationWidget>().size(), 1);
    }

    void captureResult_reachesTheServiceWithItsShareAction_data()
    {
        QTest::addColumn<QString>("slot");
        QTest::addColumn<QString>("sharePage");
        QTest::addColumn<QString>("linkItem");
        QTest::newRow("upload") << "screenUpload" << "" << "";
        QTest::newRow("Facebook") << "screenPostFacebook" << "https://www.facebook.com/sharer/sharer.php" << "u";
        QTest::newRow("Odnoklassniki") << "screenPostOdnoklassniki" << "https://connect.ok.ru/offer" << "url";
        QTest::newRow("VK") << "screenPostVK" << "https://vk.com/share.php" << "url";
        QTest::newRow("Twitter") << "screenPostTwitter" << "https://twitter.com/intent/tweet" << "url";
        QTest::newRow("e-mail") << "screenPostMail" << "mailto:" << "body";
    }

    // As the overlay calls them: no picture given, the selection is taken from the overlay.
    void captureResult_reachesTheServiceWithItsShareAction()
    {
        QFETCH(QString, slot);
        QFETCH(QString, sharePage);
        QFETCH(QString, linkItem);
        signIn(true);
        m_shared.clear();
        const int count = PageDriver::stored(SettingKeys::countScreen).toInt();
        const QStringList records = recordIds();
        Core::instance()->fragmentScreen();
        SurfaceWidget *overlay = shownOverlay();
        QVERIFY(overlay);
        overlay->selector()->setRubberRect(QRectF(120, 80, 300, 200));
        QVERIFY(invoke(slot));

        QVERIFY(!overlay->isVisible());
        const QString capture = Core::instance()->lastCaptureFile();
        QCOMPARE(rgb(QImage(capture)), m_pattern.image.copy(120, 80, 300, 200));
        const QJsonObject record = m_service.newFile(records);
        QCOMPARE(record.value("sha256").toString(), sha256Of(capture));
        QCOMPARE(PageDriver::stored(SettingKeys::countScreen).toInt(), count + 1);
        QTRY_COMPARE_WITH_TIMEOUT(Core::instance()->uploadModel()->rowCount(), 0, 15000);
        QCOMPARE(m_shared.size(), sharePage.isEmpty() ? 0 : 1);
        if (sharePage.isEmpty())
            return;
        const QUrl shared = m_shared.first();
        QCOMPARE(shared.toString(QUrl::RemoveQuery), sharePage);
        QCOMPARE(QUrlQuery(shared).queryItemValue(linkItem, QUrl::FullyDecoded), record.value("alternateLink").toString());
    }

    void fileUpload_keepsUsablePathsAndReportsMissingOnes_data()
    {
        QTest::addColumn<bool>("signedIn");
        QTest::addColumn<bool>("zip");
        QTest::addColumn<QStringList>("paths");
        QTest::addColumn<QStringList>("reported");
        QTest::addColumn<QString>("uploaded");
        const QStringList oneOfEach{"missing-1.png", "existing.bin", "missing-2.png"};
        const QStringList missing{"missing-1.png", "missing-2.png"};
        QTest::newRow("signed out: only the login window") << false << false << oneOfEach << QStringList() << "";
        QTest::newRow("two missing, one existing") << true << false << oneOfEach << missing << "existing.bin";
        QTest::newRow("zipped, two missing, one existing") << true << true << oneOfEach << missing << "zip";
        QTest::newRow("missing screenshot of another desktop")
            << true << false << QStringList{"screencaptureui-gone.png", "existing.bin"} << QStringList() << "existing.bin";
        QTest::newRow("temporary screenshot of another desktop")
            << true << false << QStringList{"TemporaryItems/screencaptureui/shot.png"} << QStringList() << "";
        QTest::newRow("a folder") << true << false << QStringList{"folder"} << QStringList() << "folder";
        // A device never ends and a pipe blocks whoever reads it.
        const QStringList unreadable{"/dev/zero", "pipe", "zero.png"};
        QTest::newRow("a device, a pipe, a link to a device") << true << false << unreadable << unreadable << "";
        // Names that are no valid text: shown escaped, uploaded all the same.
        QTest::newRow("undecodable names") << true << false << QStringList{"gone\\x1b\\xe9.png", "caf\\xe9.bin"}
                                           << QStringList{"gone\\x1b\\xe9.png"} << "caf\\xe9.bin";
    }

    // As main() hands over the files named on the command line.
    void fileUpload_keepsUsablePathsAndReportsMissingOnes()
    {
        QFETCH(bool, signedIn);
        QFETCH(bool, zip);
        QFETCH(QStringList, paths);
        QFETCH(QStringList, reported);
        QFETCH(QString, uploaded);
        signIn(signedIn);
        const QString folder = m_scratch.filePath(QTest::currentDataTag());
        const QString existing = makeFile(folder + "/existing.bin", 3000);
        const QString undecodable = sha256Of(makeFile(folder + "/undecodable.bin", 3000));
        QCOMPARE(::rename(QFile::encodeName(folder + "/undecodable.bin").constData(), nameBytes(folder + "/caf\\xe9.bin").constData()), 0);
        makeFile(folder + "/TemporaryItems/screencaptureui/shot.png", 100);
        makeFolder(folder + "/folder");
        QCOMPARE(::mkfifo(QFile::encodeName(folder + "/pipe").constData(), 0600), 0);
        QVERIFY(QFile::link(QStringLiteral("/dev/zero"), folder + "/zero.png"));
        const auto argument = [&folder](const QString &path) { return path.startsWith('/') ? path : folder + '/' + path; };
        QStringList arguments;
        for (const QString &path : paths)
            arguments << FileArguments::usablePath(nameBytes(argument(path))); // as main() reads its argv
        QStringList notFound;
        for (const QString &path : reported)
            notFound << "File not found: " + argument(path);
        const QStringList records = recordIds();
        QSignalSpy started(Core::instance()->networkExchange(), &NetworkExchange::startUpload);

        zip ? Core::instance()->uploadDataZip(arguments) : Core::instance()->uploadData(arguments);

        QCOMPARE(ShellWindows::shown<AutorizationWidget>().size(), signedIn ? 0 : 1);
        QStringList shownErrors = ShellWindows::shownErrorTexts();
        shownErrors.sort();
        QCOMPARE(shownErrors, notFound);
        QCOMPARE(started.count(), uploaded.isEmpty() ? 0 : 1);
        if (uploaded.isEmpty())
            return;
        const QJsonObject record = m_service.newFile(records);
        QVERIFY2(!record.isEmpty(), qPrintable(QJsonDocument(m_service.files()).toJson()));
        if (uploaded == "existing.bin") {
            QCOMPARE(record.value("sha256").toString(), sha256Of(existing));
        } else if (uploaded == "caf\\xe9.bin") {
            QCOMPARE(record.value("sha256").toString(), undecodable);
            QCOMPARE(record.value("title").toString(), QStringLiteral("caf_.bin"));
        } else {
            QCOMPARE(record.value("mimeType").toString(), QStringLiteral("application/zip"));
        }
    }

    void saveFolder_isStoredWithBackslashes_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("folderRow");
        QTest::addColumn<QString>("useRow");
        QTest::newRow("chosen") << "" << "/home/u/Pictures" << "\\home\\u\\Pictures" << "1";
        QTest::newRow("another chosen") << "\\srv\\shots" << "/tmp/x" << "\\tmp\\x" << "1";
        QTest::newRow("cancelled, a folder kept") << "\\srv\\shots" << "" << "\\srv\\shots" << "1";
        QTest::newRow("cancelled, none") << "" << "" << "" << "0";
        QTest::newRow("cancelled, 0 stored") << "0" << "" << "" << "0";
    }

    // The settings page's check box and its "Change" button.
    void saveFolder_isStoredWithBackslashes()
    {
        QFETCH(QString, stored);
        QFETCH(QString, chosen);
        QFETCH(QString, folderRow);
        QFETCH(QString, useRow);
        setValues({{SettingKeys::saveScreenFolder, stored}, {SettingKeys::useSaveScreen, 0}});
        m_folderAnswer = chosen;
        Core::instance()->selectSaveScreenFolder();
        QCOMPARE(m_folderDialog, (QStringList{"Mavu - Select folder", QString(stored).replace('\\', '/')}));
        QCOMPARE(PageDriver::stored(SettingKeys::saveScreenFolder), folderRow);
        QCOMPARE(PageDriver::stored(SettingKeys::useSaveScreen), useRow);
    }
};

QTEST_MAIN(EntryPointsTest)
#include "tst_entrypoints.moc"
