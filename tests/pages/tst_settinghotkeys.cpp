// The hot key tab on a real X server: editing a hotkey releases the global hotkeys, and
// however the editing ends they are grabbed again (seen from a second X client); a
// combination typed on the page and accepted fires its capture; keys pressed after it was
// taken change nothing.

#include "app/hookkeybord.h"
#include "app/messagedialog.h"
#include "core.h"
#include "../harness/pagedriver.h"
#include "../harness/shellwindows.h"
#include "../harness/xtools.h"
#include "windows/settingwidget_rest.h"

#include <QLoggingCategory>
#include <QPointer>
#include <QSignalSpy>

// Xlib last: its macros would break the Qt headers.
#include "../app/x11testclient.h"

using namespace PageDriver;

namespace {

bool allThreeHeldByUs()
{
    X11TestClient other;
    const int print = other.keycode(XK_Print);
    return !other.grab(print, ControlMask) && !other.grab(print, ShiftMask) && !other.grab(print, ControlMask | ShiftMask);
}

} // namespace

class SettingHotkeysTest : public QObject
{
    Q_OBJECT
    QPointer<SettingWidget> m_window;

    SettingWidget *editFragmentHotkey()
    {
        Core::instance()->showSetting();
        m_window = Core::instance()->settingWidget();
        m_window->requestActivate();
        const bool editing = QTest::qWaitForWindowActive(m_window) && click(m_window, "hotKeyTab")
            && click(m_window, named(named(m_window, "fragmentHotKey"), "change"));
        return editing ? m_window.data() : nullptr;
    }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        Core::instance()->updateHook(); // the defaults: Ctrl, Shift, Ctrl+Shift with Print
    }

    void cleanup()
    {
        if (m_window)
            m_window->close();
    }

    void editingEnds_hotkeysAreGrabbedAgain_data()
    {
        QTest::addColumn<QString>("leave");
        QTest::newRow("Escape") << "Escape";
        QTest::newRow("Cancel") << "Cancel";
        QTest::newRow("window closed") << "close";
    }

    void editingEnds_hotkeysAreGrabbedAgain()
    {
        QFETCH(QString, leave);
        QVERIFY(allThreeHeldByUs());
        SettingWidget *window = editFragmentHotkey();
        QVERIFY(window);
        QVERIFY(!HookKeybord::m_instance->shortcut(HookKeybord::HookFragment)); // released while typing
        if (leave == "Escape")
            QTest::keyClick(window, Qt::Key_Escape);
        else if (leave == "Cancel")
            QVERIFY(click(window, "cancelButton"));
        else
            window->close();
        QCOMPARE(window && window->isVisible(), leave == "Escape"); // Escape only ends the typing
        QVERIFY(allThreeHeldByUs());
    }

    void typedCombination_firesTheCaptureOnceAccepted()
    {
        SettingWidget *window = editFragmentHotkey();
        QVERIFY(window);
        QTest::keyClick(window, Qt::Key_F9, Qt::ShiftModifier | Qt::ControlModifier);
        QCOMPARE(named(named(window, "fragmentHotKey"), "value")->property("text").toString(),
                 QStringLiteral("Shift + Ctrl + F9"));
        QVERIFY(click(window, "acceptButton"));

        KeyPressBarrier barrier;
        QVERIFY(barrier.isArmed());
        QSignalSpy fragment(HookKeybord::m_instance, &HookKeybord::fragmentScreenActivated);
        QVERIFY(barrier.pressAndSettle(QStringLiteral("ctrl+shift+F9")));
        QCOMPARE(fragment.count(), 1);
    }

    // Without a tray on this desktop, a window names the accepted key another program holds.
    void acceptedCombinationHeldElsewhere_isNamedInAWindow()
    {
        X11TestClient other;
        QVERIFY(other.grab(other.keycode(XK_F10), ShiftMask | ControlMask));
        SettingWidget *window = editFragmentHotkey();
        QVERIFY(window);
        QTest::keyClick(window, Qt::Key_F10, Qt::ShiftModifier | Qt::ControlModifier);
        QVERIFY(click(window, "acceptButton"));
        QTRY_COMPARE(ShellWindows::shown<MessageDialog>().size(), 1);
        const QString message = ShellWindows::shown<MessageDialog>().first()->data("message").toString();
        QVERIFY2(message.contains("hotkeys do not work: Shift + Ctrl + F10."), qPrintable(message));
    }

    // The X server hands keys and pointer moves over in the order sent: once Accept shows
    // the pointer over it, every stray key before has been handled; Escape's close likewise.
    void strayKeysAfterTheCombinationWasTaken_changeNothing_data()
    {
        QTest::addColumn<QString>("finish");
        QTest::addColumn<QString>("stored");
        QTest::newRow("Accept stores the combination taken") << "Accept" << "Ctrl + Alt + A";
        QTest::newRow("Escape closes the window") << "Escape" << "Ctrl + Print";
    }

    void strayKeysAfterTheCombinationWasTaken_changeNothing()
    {
        QFETCH(QString, finish);
        QFETCH(QString, stored);
        Setting::instance()->setValue(QStringLiteral("keyFragmentScreen"), QStringLiteral("Ctrl + Print"));
        SettingWidget *window = editFragmentHotkey();
        QVERIFY(window);
        QVERIFY(sendKeys(QStringLiteral("ctrl+alt+a shift+F5 ctrl+alt+b")));
        if (finish == "Accept") {
            QQuickItem *accept = named(window, "acceptButton");
            QVERIFY(xdotool(QStringList{"mousemove"} + xdotoolPoint(window->mapToGlobal(centreOf(accept)))));
            QTRY_VERIFY(accept->property("hovered").toBool());
            QVERIFY(xdotool({"click", "1"}));
        } else {
            QVERIFY(sendKeys(QStringLiteral("Escape")));
        }
        QTRY_VERIFY(!m_window || !m_window->isVisible());
        QCOMPARE(PageDriver::stored(QStringLiteral("keyFragmentScreen")), stored);
    }
};

QTEST_MAIN(SettingHotkeysTest)
#include "tst_settinghotkeys.moc"
