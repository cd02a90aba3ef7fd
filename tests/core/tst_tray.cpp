// The tray icon and its menu on a real X server with a real tray host (trayer).

#include "../harness/shellwindows.h"
#include "../harness/xtools.h"
#include "app/hookkeybord.h"
#include "capture/surfacewidget.h"
#include "core.h"
#include "network/autorization.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "windows/autorizationwidget_rest.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QLoggingCategory>
#include <QMenu>
#include <QStyleHints>
#include <QTest>

// Xlib last: its macros clash with Qt's names.
#include "../harness/xwindows.h"
#include "../app/x11testclient.h"

namespace {

QWidget *topLevelWidgetOfClass(const char *className)
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (widget->inherits(className) && widget->isVisible())
            return widget;
    }
    return nullptr;
}

// The icon's window: made anew each time the menu is rebuilt (the icon is shown again).
QWidget *iconWindow() { return topLevelWidgetOfClass("QSystemTrayIconSys"); }

// Where the icon's centre is on the screen, once the tray host has embedded it and stopped
// laying its icons out again; a null point when it does not settle.
QPoint settledIconCentre()
{
    QPoint last;
    for (int steady = 0, round = 0; round < 100; ++round) {
        QTest::qWait(100);
        QWidget *icon = iconWindow();
        const QPoint now = icon && xReparented(icon->winId()) ? xGeometry(icon->winId()).center() : QPoint();
        steady = !now.isNull() && now == last ? steady + 1 : 0;
        if (steady == 3)
            return now;
        last = now;
    }
    return QPoint();
}

// The menu as the user reads it: texts, "-" for separators, "(off)" after a disabled entry.
QStringList menuEntries()
{
    QStringList entries;
    for (QAction *action : Core::instance()->trayMenu()->actions()) {
        if (action->isSeparator())
            entries << QStringLiteral("-");
        else
            entries << action->text() + (action->isEnabled() ? QString() : QStringLiteral(" (off)"));
    }
    return entries;
}

QAction *trayAction(const char *objectName) { return Core::instance()->trayMenu()->findChild<QAction *>(objectName); }

void signIn(bool signedIn)
{
    Setting::instance()->setValue(SettingKeys::token, signedIn ? QStringLiteral("tray-token") : QString());
    emit Core::instance()->account()->authChanged(signedIn);
}

// The English menu of a signed-in user.
QStringList signedInMenu(const QString &settings, const QString &linkState)
{
    return {"Capture fragment", "Capture fullscreen", "-", "History", settings, "-", "Open last link" + linkState,
            "Copy last link" + linkState, "-", "Help", "-", "Quit"};
}

} // namespace

class TrayTest : public QObject
{
    Q_OBJECT

    QProcess m_trayer;

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        QVERIFY(startTrayHost(m_trayer));
        Setting::instance()->setValue(SettingKeys::token, QString());
        Core::instance();
    }

    void cleanupTestCase() { stopProcess(m_trayer); }

    // Rows without a language run first, while no catalogue is installed.
    void menu_followsSignInLinkAndLanguage_data()
    {
        QTest::addColumn<QString>("language");
        QTest::addColumn<bool>("signedIn");
        QTest::addColumn<QString>("link");
        QTest::addColumn<QStringList>("entries");
        const QString none;
        const QString link = QStringLiteral("https://files.example/tray.png");
        QTest::newRow("signed out") << none << false << none << QStringList{"Autorization", "-", "Help", "-", "Quit"};
        QTest::newRow("signed in, no link") << none << true << none << signedInMenu("Settings", " (off)");
        QTest::newRow("signed in, a link arrives") << none << true << link << signedInMenu("Settings", "");
        QTest::newRow("ru, signed out") << QStringLiteral("ru") << false << none
                                        << QStringList{"Авторизация", "-", "Помощь", "-", "Выход"};
        QTest::newRow("ru, signed in")
            << QStringLiteral("ru") << true << link
            << QStringList{"Фрагмент экрана", "Снимок экрана целиком", "-", "История", "Настройки", "-",
                           "Открыть последнюю ссылку", "Скопировать последнюю ссылку", "-", "Помощь", "-", "Выход"};
        QTest::newRow("en, signed in") << QStringLiteral("en") << true << none << signedInMenu("Options", " (off)");
    }

    void menu_followsSignInLinkAndLanguage()
    {
        QFETCH(QString, language);
        QFETCH(bool, signedIn);
        QFETCH(QString, link);
        QFETCH(QStringList, entries);
        Core::instance()->setLastLink(QString());
        if (!language.isEmpty()) {
            Setting::instance()->setValue(SettingKeys::language, language);
            Setting::instance()->checkTranslate();
        }
        signIn(signedIn);
        Core::instance()->setLastLink(link);
        QCOMPARE(menuEntries(), entries);
        QCOMPARE(Core::instance()->trayIcon()->contextMenu(), Core::instance()->trayMenu());
        ShellWindows::hideAll();
    }

    void shortcutLabels_followTheStoredKeyTexts_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QKeySequence>("shown");
        QTest::newRow("arrow for Shift, blanks") << QStringLiteral("Ctrl + \u21e7 + 1") << QKeySequence("Ctrl+Shift+1");
        QTest::newRow("Print Screen") << QStringLiteral("Print Screen") << QKeySequence(Qt::Key_Print);
        QTest::newRow("command sign for Ctrl") << QStringLiteral("\u2318 + Alt + F5") << QKeySequence("Ctrl+Alt+F5");
    }

    // A language switch rebuilds the menu with new action objects.
    void shortcutLabels_followTheStoredKeyTexts()
    {
        QFETCH(QString, stored);
        QFETCH(QKeySequence, shown);
        Setting::instance()->setValue(SettingKeys::keyFragmentScreen, stored);
        Setting::instance()->setValue(SettingKeys::keySnapshotScreen, stored);
        const QPointer<QAction> before = trayAction("actionScreen");
        emit Setting::instance()->languageChanged();
        QVERIFY(!before);
        QCOMPARE(trayAction("actionScreen")->shortcut(), shown);
        QCOMPARE(trayAction("actionVideo")->shortcut(), shown);
    }

    void click_startsACaptureOrAsksToSignIn_data()
    {
        QTest::addColumn<bool>("signedIn");
        QTest::newRow("signed out: login window") << false;
        QTest::newRow("signed in: overlay") << true;
    }

    // The icon is embedded in the tray, and a click on it answers.
    void click_startsACaptureOrAsksToSignIn()
    {
        QFETCH(bool, signedIn);
        signIn(signedIn);
        ShellWindows::hideAll();
        // Not a double click with the previous case's click.
        QTest::qWait(QGuiApplication::styleHints()->mouseDoubleClickInterval());
        const QPoint centre = settledIconCentre();
        QVERIFY(!centre.isNull());
        const auto shown = [] {
            return QStringList{ShellWindows::shown<AutorizationWidget>().isEmpty() ? "" : "login window",
                               ShellWindows::shown<SurfaceWidget>().isEmpty() ? "" : "overlay"}.join("");
        };
        QCOMPARE(shown(), QString());
        QVERIFY(xdotoolClick(centre));
        QTRY_COMPARE_WITH_TIMEOUT(shown(), signedIn ? "overlay" : "login window", 10000);
        Core::instance()->deleteSurfaceScreen();
        ShellWindows::hideAll();
    }

    void reminder_onlyAfterTenDaysWithoutCapture_data()
    {
        QTest::addColumn<int>("daysAgo");
        QTest::addColumn<bool>("balloon");
        QTest::newRow("never captured") << -1 << false;
        QTest::newRow("11 days ago") << 11 << true;
        QTest::newRow("9 days ago") << 9 << false;
    }

    void reminder_onlyAfterTenDaysWithoutCapture()
    {
        QFETCH(int, daysAgo);
        QFETCH(bool, balloon);
        const QVariant last = daysAgo < 0 ? QVariant() : QVariant(QDateTime::currentDateTime().addDays(-daysAgo));
        Setting::instance()->setValue(SettingKeys::dateLastScreen, last);
        Core::instance()->showReminderMessage();
        QWidget *tip = topLevelWidgetOfClass("QBalloonTip");
        QCOMPARE(tip != nullptr, balloon);
        if (tip)
            tip->close();
        if (daysAgo < 0)
            QVERIFY(Setting::instance()->getValue(SettingKeys::dateLastScreen).toDateTime().isValid());
    }

    // Another program holds Ctrl+Print when the hotkeys are armed (as at start): a balloon
    // names the key, and the hotkeys that could be taken work.
    void hotkeyHeldByAnotherProgram_isNamedInABalloon()
    {
        Setting::instance()->setValue(SettingKeys::keyFragmentScreen, QStringLiteral("Ctrl + Print"));
        X11TestClient other;
        QVERIFY(other.grab(other.keycode(XK_Print), ControlMask));
        Core::instance()->updateHook();
        QWidget *tip = topLevelWidgetOfClass("QBalloonTip");
        QVERIFY(tip);
        QStringList texts;
        for (QLabel *label : tip->findChildren<QLabel *>())
            texts << label->text();
        tip->close();
        QVERIFY2(texts.join(' ').contains(QStringLiteral("hotkeys do not work: Ctrl + Print.")), qPrintable(texts.join(' ')));
        QVERIFY(HookKeybord::m_instance->unregisteredKeys() == QStringList{"Ctrl + Print"});
        HookKeybord::m_instance->stopHook();
    }

    // Last: the program ends here in real use.
    void exitApp_takesTheIconOffTheTray()
    {
        QPointer<QWidget> icon = iconWindow();
        QVERIFY(icon);
        Core::instance()->exitApp();
        QVERIFY(!Core::instance()->trayIcon());
        QTRY_VERIFY(!icon || !icon->isVisible());
    }
};

QTEST_MAIN(TrayTest)
#include "tst_tray.moc"
