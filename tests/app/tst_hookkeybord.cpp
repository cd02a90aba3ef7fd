// The hotkey manager on a real X server (Xvfb) with a real settings database: the texts of
// the settings become grabs, each kind fires its own signal, and stopHook releases them.

#include "app/hookkeybord.h"
#include "app/qxtglobalshortcut.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"

#include <memory>
#include <QSignalSpy>

#include "x11testclient.h"

namespace {

using Counts = QList<int>; // activations of fragment, quick, full screen
const QString allThree = QStringLiteral("ctrl+Print shift+Print ctrl+shift+Print");

class ActivationCounter
{
public:
    explicit ActivationCounter(HookKeybord *manager)
        : m_spies{{manager, &HookKeybord::fragmentScreenActivated},
                  {manager, &HookKeybord::quickScreenActivated},
                  {manager, &HookKeybord::fullScreenActivated}}
    {
    }
    Counts counts() const { return {int(m_spies[0].count()), int(m_spies[1].count()), int(m_spies[2].count())}; }

private:
    QSignalSpy m_spies[3];
};

void setSetting(const QString &key, const QVariant &value)
{
    Setting::instance()->setValue(key, value);
}

} // namespace

class TestHookKeybord : public QObject
{
    Q_OBJECT
    std::unique_ptr<KeyPressBarrier> m_barrier;

    Counts pressAndCount(HookKeybord &manager, const QString &keys)
    {
        ActivationCounter activations(&manager);
        return m_barrier->pressAndSettle(keys) ? activations.counts() : Counts{-1};
    }

private slots:
    void initTestCase() { m_barrier = std::make_unique<KeyPressBarrier>(); QVERIFY(m_barrier->isArmed()); }
    void cleanupTestCase() { m_barrier.reset(); }

    void init() // the rows of a new settings database
    {
        for (const QString &key : {SettingKeys::fragmentScreen, SettingKeys::quickFragmentScreen, SettingKeys::snapshotFull})
            setSetting(key, 1);
        setSetting(SettingKeys::keyFragmentScreen, QStringLiteral("Ctrl + Print"));
        setSetting(SettingKeys::keyQuickFragmentScreen, QStringLiteral("Shift + Print"));
        setSetting(SettingKeys::keySnapshotScreen, QStringLiteral("Ctrl + Shift + Print"));
    }

    void storedText_isNormalisedAndGrabbed_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("normalized");
        QTest::addColumn<QKeySequence>("combination");
        QTest::newRow("default") << "Ctrl + Print" << "Ctrl + Print" << QKeySequence(QStringLiteral("Ctrl+Print"));
        QTest::newRow("long print name") << "Ctrl + Print Screen" << "Ctrl + Print" << QKeySequence(QStringLiteral("Ctrl+Print"));
        QTest::newRow("reset text") << "Print Screen" << "Print" << QKeySequence(Qt::Key_Print);
        QTest::newRow("symbols") << "⇧ + ⌘ + Print Screen" << "Shift + Ctrl + Print" << QKeySequence(QStringLiteral("Shift+Ctrl+Print"));
        QTest::newRow("case-sensitive") << "⌘ + print screen" << "Ctrl + print screen" << QKeySequence();
        QTest::newRow("first combination") << "Alt + F1, Ctrl + F2" << "Alt + F1, Ctrl + F2" << QKeySequence(QStringLiteral("Alt+F1"));
    }

    void storedText_isNormalisedAndGrabbed()
    {
        QFETCH(QString, text);
        QFETCH(QString, normalized);
        QFETCH(QKeySequence, combination);
        setSetting(SettingKeys::keyFragmentScreen, text);
        HookKeybord manager;
        if (combination.isEmpty())
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("failed to register")));
        manager.updateHootKey();
        QCOMPARE(manager.keyText(HookKeybord::HookFragment), normalized);
        QVERIFY(manager.shortcut(HookKeybord::HookFragment));
        if (!combination.isEmpty())
            QCOMPARE(manager.shortcut(HookKeybord::HookFragment)->shortcut(), combination);
    }

    void databaseDefaults_fireEachKindOnItsOwnHotkey()
    {
        HookKeybord manager;
        manager.updateHootKey();
        QCOMPARE(pressAndCount(manager, QStringLiteral("ctrl+Print")), Counts({1, 0, 0}));
        QCOMPARE(pressAndCount(manager, QStringLiteral("shift+Print")), Counts({0, 1, 0}));
        QCOMPARE(pressAndCount(manager, QStringLiteral("ctrl+shift+Print")), Counts({0, 0, 1}));
        manager.updateHootKey(); // again: still one grab per kind
        QCOMPARE(pressAndCount(manager, allThree), Counts({1, 1, 1}));
    }

    void heldHotkey_firesOnceNotPerRepeat()
    {
        HookKeybord manager;
        manager.updateHootKey();
        ActivationCounter activations(&manager);
        QCOMPARE(QProcess::execute(QStringLiteral("xdotool"),
                                   {"keydown", "ctrl+Print", "sleep", "1.5", "keyup", "ctrl+Print"}), 0);
        QVERIFY(m_barrier->pressAndSettle(QStringLiteral("shift+Print")));
        QCOMPARE(activations.counts(), Counts({1, 1, 0}));
    }

    void disabledKind_getsNoShortcutAndDoesNotFire_data()
    {
        QTest::addColumn<QString>("enablingSetting");
        QTest::addColumn<int>("kind");
        QTest::addColumn<Counts>("expected");
        QTest::newRow("fragment") << SettingKeys::fragmentScreen << 0 << Counts({0, 1, 1});
        QTest::newRow("quick") << SettingKeys::quickFragmentScreen << 1 << Counts({1, 0, 1});
        QTest::newRow("full screen") << SettingKeys::snapshotFull << 2 << Counts({1, 1, 0});
    }

    void disabledKind_getsNoShortcutAndDoesNotFire()
    {
        QFETCH(QString, enablingSetting);
        QFETCH(int, kind);
        QFETCH(Counts, expected);
        setSetting(enablingSetting, 0);
        HookKeybord manager;
        manager.updateHootKey();
        QVERIFY(!manager.shortcut(HookKeybord::HookType(kind)));
        QCOMPARE(pressAndCount(manager, allThree), expected);
    }

    void stopHook_releasesEveryGrab_saveArmsTheNewText()
    {
        HookKeybord manager;
        manager.updateHootKey();
        QTest::ignoreMessage(QtDebugMsg, "void HookKeybord::stopHook()");
        manager.stopHook();
        QVERIFY(!manager.shortcut(HookKeybord::HookFragment));
        QCOMPARE(manager.keyText(HookKeybord::HookFragment), QStringLiteral("Ctrl + Print"));
        QCOMPARE(pressAndCount(manager, allThree), Counts({0, 0, 0}));
        {
            X11TestClient other;
            QVERIFY(other.grabUnderAllLockStates(XK_Print, ControlMask));
            QVERIFY(other.grabUnderAllLockStates(XK_Print, ShiftMask));
            QVERIFY(other.grabUnderAllLockStates(XK_Print, ControlMask | ShiftMask));
        }
        setSetting(SettingKeys::keyFragmentScreen, QStringLiteral("Shift + Ctrl + Enter"));
        manager.updateHootKey();
        QCOMPARE(pressAndCount(manager, QStringLiteral("shift+ctrl+Return ctrl+Print")), Counts({1, 0, 0}));
    }

    void sameTextForTwoKinds_onlyTheLaterKindFires()
    {
        setSetting(SettingKeys::keyQuickFragmentScreen, QStringLiteral("Ctrl + Print"));
        HookKeybord manager;
        manager.updateHootKey();
        QCOMPARE(pressAndCount(manager, QStringLiteral("ctrl+Print")), Counts({0, 1, 0}));
        QTest::ignoreMessage(QtWarningMsg, "QxtGlobalShortcut failed to unregister: \"Ctrl+Print\"");
        manager.stopHook();
        QVERIFY(X11TestClient().grabUnderAllLockStates(XK_Print, ControlMask));
    }

    void hotkeyHeldByAnotherClient_isReportedAndTheOthersStillArm()
    {
        X11TestClient other;
        QVERIFY(other.grab(other.keycode(XK_Print), ControlMask));
        HookKeybord manager;
        QTest::ignoreMessage(QtWarningMsg, "QxtGlobalShortcut failed to register: \"Ctrl+Print\"");
        manager.updateHootKey();
        QCOMPARE(pressAndCount(manager, allThree), Counts({0, 1, 1}));
        QTest::ignoreMessage(QtWarningMsg, "QxtGlobalShortcut failed to unregister: \"Ctrl+Print\"");
    }

    void destroyedInstance_releasesGrabsAndClearsThePointer()
    {
        HookKeybord::m_instance = new HookKeybord(nullptr);
        HookKeybord::m_instance->updateHootKey();
        delete HookKeybord::m_instance;
        QVERIFY(!HookKeybord::m_instance);
        QVERIFY(X11TestClient().grabUnderAllLockStates(XK_Print, ControlMask));
    }
};

QTEST_MAIN(TestHookKeybord)
#include "tst_hookkeybord.moc"
