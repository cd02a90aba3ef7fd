// The hotkey manager on a real X server (Xvfb) with a real settings database: the texts
// of the settings become grabs, each kind fires its own signal, and release works.

#include "app/hookkeybord.h"
#include "app/qxtglobalshortcut.h"
#include "app/qxtglobalshortcut_p.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "x11testclient.h"

namespace {

const QKeySequence ctrlPrint(QStringLiteral("Ctrl+Print"));
const QKeySequence shiftPrint(QStringLiteral("Shift+Print"));
const QKeySequence ctrlShiftPrint(QStringLiteral("Ctrl+Shift+Print"));

// One spy per capture kind, in the order fragment, quick, full screen.
class ActivationCounter
{
public:
    explicit ActivationCounter(HookKeybord *manager)
        : m_fragment(manager, &HookKeybord::fragmentScreenActivated)
        , m_quick(manager, &HookKeybord::quickScreenActivated)
        , m_full(manager, &HookKeybord::fullScreenActivated)
    {
    }

    QList<int> counts() const { return {int(m_fragment.count()), int(m_quick.count()), int(m_full.count())}; }

private:
    QSignalSpy m_fragment;
    QSignalSpy m_quick;
    QSignalSpy m_full;
};

using Counts = QList<int>;

} // namespace

class TestHookKeybord : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<KeyPressBarrier> m_barrier;

    static void storeDatabaseDefaults()
    {
        Setting *setting = Setting::instance();
        setting->setValue(SettingKeys::fragmentScreen, 1);
        setting->setValue(SettingKeys::quickFragmentScreen, 1);
        setting->setValue(SettingKeys::snapshotFull, 1);
        setting->setValue(SettingKeys::keyFragmentScreen, QStringLiteral("Ctrl + Print"));
        setting->setValue(SettingKeys::keyQuickFragmentScreen, QStringLiteral("Shift + Print"));
        setting->setValue(SettingKeys::keySnapshotScreen, QStringLiteral("Ctrl + Shift + Print"));
    }

    static void expectUnregisterWarning(const char *sequence)
    {
        QTest::ignoreMessage(QtWarningMsg,
                             qPrintable(QStringLiteral("QxtGlobalShortcut failed to unregister: \"%1\"")
                                            .arg(QLatin1String(sequence))));
    }

private slots:
    void initTestCase()
    {
        m_barrier = std::make_unique<KeyPressBarrier>();
        QVERIFY(m_barrier->isArmed());
    }

    void cleanupTestCase() { m_barrier.reset(); }

    void init() { storeDatabaseDefaults(); }

    void normalizedKeyText_readsSymbolsAndLongPrintName_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("normalized");
        QTest::newRow("symbols and long name") << QStringLiteral("⇧ + ⌘ + Print Screen") << QStringLiteral("Shift + Ctrl + Print");
        QTest::newRow("reset text") << QStringLiteral("Print Screen") << QStringLiteral("Print");
        QTest::newRow("already plain") << QStringLiteral("Ctrl + Shift + Print") << QStringLiteral("Ctrl + Shift + Print");
        QTest::newRow("every occurrence") << QStringLiteral("⌘⌘") << QStringLiteral("CtrlCtrl");
        QTest::newRow("case-sensitive") << QStringLiteral("print screen") << QStringLiteral("print screen");
        QTest::newRow("empty") << QString() << QString();
    }

    void normalizedKeyText_readsSymbolsAndLongPrintName()
    {
        QFETCH(QString, text);
        QFETCH(QString, normalized);
        QCOMPARE(HookKeybord::normalizedKeyText(text), normalized);
    }

    void storedText_registersItsKeyCombination_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QKeySequence>("combination");
        QTest::newRow("database default") << QStringLiteral("Ctrl + Print") << ctrlPrint;
        QTest::newRow("long print name") << QStringLiteral("Ctrl + Print Screen") << ctrlPrint;
        QTest::newRow("reset text, no modifier") << QStringLiteral("Print Screen") << QKeySequence(Qt::Key_Print);
        QTest::newRow("symbols") << QStringLiteral("⇧ + ⌘ + Print Screen") << QKeySequence(QStringLiteral("Shift+Ctrl+Print"));
        QTest::newRow("digit") << QStringLiteral("Ctrl + ⇧ + 1") << QKeySequence(QStringLiteral("Ctrl+Shift+1"));
        QTest::newRow("first combination only") << QStringLiteral("Alt + F1, Ctrl + F2") << QKeySequence(QStringLiteral("Alt+F1"));
    }

    void storedText_registersItsKeyCombination()
    {
        QFETCH(QString, text);
        QFETCH(QKeySequence, combination);
        Setting::instance()->setValue(SettingKeys::keyFragmentScreen, text);
        Setting::instance()->setValue(SettingKeys::quickFragmentScreen, 0);
        Setting::instance()->setValue(SettingKeys::snapshotFull, 0);

        HookKeybord manager;
        manager.updateHootKey();
        QCOMPARE(manager.keyText(HookKeybord::HookFragment), HookKeybord::normalizedKeyText(text));
        QVERIFY(manager.shortcut(HookKeybord::HookFragment));
        QCOMPARE(manager.shortcut(HookKeybord::HookFragment)->shortcut(), combination);
        QVERIFY(!manager.shortcut(HookKeybord::HookQuickFragment));
        QVERIFY(!manager.shortcut(HookKeybord::HookFullScreen));

        X11TestClient other; // the combination is really grabbed
        const quint32 keycode = QxtGlobalShortcutPrivate::nativeKeycode(combination[0].key());
        QVERIFY(keycode != 0);
        QVERIFY(!other.grab(int(keycode), QxtGlobalShortcutPrivate::nativeModifiers(combination[0].keyboardModifiers())));
    }

    void databaseDefaults_armEachKindOnItsOwnHotkey()
    {
        HookKeybord manager;
        manager.updateHootKey();
        QCOMPARE(manager.shortcut(HookKeybord::HookFragment)->shortcut(), ctrlPrint);
        QCOMPARE(manager.shortcut(HookKeybord::HookQuickFragment)->shortcut(), shiftPrint);
        QCOMPARE(manager.shortcut(HookKeybord::HookFullScreen)->shortcut(), ctrlShiftPrint);

        ActivationCounter activations(&manager);
        QVERIFY(m_barrier->pressAndSettle(QStringLiteral("ctrl+Print")));
        QCOMPARE(activations.counts(), Counts({1, 0, 0}));
        QVERIFY(m_barrier->pressAndSettle(QStringLiteral("shift+Print")));
        QCOMPARE(activations.counts(), Counts({1, 1, 0}));
        QVERIFY(m_barrier->pressAndSettle(QStringLiteral("ctrl+shift+Print")));
        QCOMPARE(activations.counts(), Counts({1, 1, 1}));
    }

    void resetTexts_armPrintWithoutModifier()
    {
        Setting::instance()->resetDefault();
        HookKeybord manager;
        manager.updateHootKey();
        QCOMPARE(manager.shortcut(HookKeybord::HookFragment)->shortcut(), QKeySequence(Qt::Key_Print));
        QCOMPARE(manager.shortcut(HookKeybord::HookFullScreen)->shortcut(), ctrlShiftPrint);

        ActivationCounter activations(&manager);
        QVERIFY(m_barrier->pressAndSettle(QStringLiteral("Print shift+Print")));
        QCOMPARE(activations.counts(), Counts({1, 1, 0}));
    }

    void lockStatesOn_hotkeysStillFire()
    {
        HookKeybord manager;
        manager.updateHootKey();
        ActivationCounter activations(&manager);
        QVERIFY(sendKeys(QStringLiteral("Num_Lock Caps_Lock")));
        const bool settled = m_barrier->pressAndSettle(QStringLiteral("ctrl+Print ctrl+shift+Print"));
        QVERIFY(sendKeys(QStringLiteral("Num_Lock Caps_Lock")));
        QVERIFY(settled);
        QCOMPARE(activations.counts(), Counts({1, 0, 1}));
    }

    void disabledKind_getsNoShortcutAndDoesNotFire_data()
    {
        QTest::addColumn<QString>("enablingSetting");
        QTest::addColumn<int>("kind");
        QTest::addColumn<Counts>("expected"); // after ctrl+Print, shift+Print, ctrl+shift+Print
        QTest::newRow("fragment") << SettingKeys::fragmentScreen << int(HookKeybord::HookFragment) << Counts({0, 1, 1});
        QTest::newRow("quick") << SettingKeys::quickFragmentScreen << int(HookKeybord::HookQuickFragment) << Counts({1, 0, 1});
        QTest::newRow("full screen") << SettingKeys::snapshotFull << int(HookKeybord::HookFullScreen) << Counts({1, 1, 0});
    }

    void disabledKind_getsNoShortcutAndDoesNotFire()
    {
        QFETCH(QString, enablingSetting);
        QFETCH(int, kind);
        QFETCH(Counts, expected);
        Setting::instance()->setValue(enablingSetting, 0);

        HookKeybord manager;
        manager.updateHootKey();
        QVERIFY(!manager.shortcut(HookKeybord::HookType(kind)));
        ActivationCounter activations(&manager);
        QVERIFY(m_barrier->pressAndSettle(QStringLiteral("ctrl+Print shift+Print ctrl+shift+Print")));
        QCOMPARE(activations.counts(), expected);
    }

    void stopHook_releasesEveryGrabAndKeepsTheTexts()
    {
        HookKeybord manager;
        manager.updateHootKey();
        QTest::ignoreMessage(QtDebugMsg, "void HookKeybord::stopHook()");
        manager.stopHook();

        QVERIFY(!manager.shortcut(HookKeybord::HookFragment));
        QVERIFY(!manager.shortcut(HookKeybord::HookQuickFragment));
        QVERIFY(!manager.shortcut(HookKeybord::HookFullScreen));
        QCOMPARE(manager.keyText(HookKeybord::HookFragment), QStringLiteral("Ctrl + Print"));

        ActivationCounter activations(&manager);
        QVERIFY(m_barrier->pressAndSettle(QStringLiteral("ctrl+Print shift+Print ctrl+shift+Print")));
        QCOMPARE(activations.counts(), Counts({0, 0, 0}));

        X11TestClient other;
        QVERIFY(other.grabUnderAllLockStates(XK_Print, ControlMask));
        QVERIFY(other.grabUnderAllLockStates(XK_Print, ShiftMask));
        QVERIFY(other.grabUnderAllLockStates(XK_Print, ControlMask | ShiftMask));
    }

    void stopHookWhenDisarmed_onlyWritesItsDebugLine()
    {
        HookKeybord manager;
        QTest::ignoreMessage(QtDebugMsg, "void HookKeybord::stopHook()");
        manager.stopHook();
        QVERIFY(manager.keyText(HookKeybord::HookFragment).isEmpty());
    }

    void updateTwice_leavesOneShortcutPerKind()
    {
        HookKeybord manager;
        manager.updateHootKey();
        manager.updateHootKey();
        ActivationCounter activations(&manager);
        QVERIFY(m_barrier->pressAndSettle(QStringLiteral("ctrl+Print shift+Print ctrl+shift+Print")));
        QCOMPARE(activations.counts(), Counts({1, 1, 1}));
    }

    void savedNewText_movesTheHotkey()
    {
        HookKeybord manager;
        manager.updateHootKey();
        QTest::ignoreMessage(QtDebugMsg, "void HookKeybord::stopHook()");
        manager.stopHook(); // the settings page starts editing
        Setting::instance()->setValue(SettingKeys::keyFragmentScreen, QStringLiteral("Shift + Ctrl + Enter"));
        manager.updateHootKey(); // and saves

        ActivationCounter activations(&manager);
        QVERIFY(m_barrier->pressAndSettle(QStringLiteral("shift+ctrl+Return ctrl+Print")));
        QCOMPARE(activations.counts(), Counts({1, 0, 0}));
        X11TestClient other;
        QVERIFY(other.grabUnderAllLockStates(XK_Print, ControlMask));
    }

    void sameTextForTwoKinds_onlyTheLaterKindFires()
    {
        Setting::instance()->setValue(SettingKeys::keyQuickFragmentScreen, QStringLiteral("Ctrl + Print"));
        {
            HookKeybord manager;
            manager.updateHootKey();
            QVERIFY(manager.shortcut(HookKeybord::HookFragment));
            QVERIFY(manager.shortcut(HookKeybord::HookQuickFragment));
            ActivationCounter activations(&manager);
            QVERIFY(m_barrier->pressAndSettle(QStringLiteral("ctrl+Print")));
            QCOMPARE(activations.counts(), Counts({0, 1, 0}));
            expectUnregisterWarning("Ctrl+Print"); // the one of the two that no longer owns it
        }
        X11TestClient other;
        QVERIFY(other.grabUnderAllLockStates(XK_Print, ControlMask));
    }

    void hotkeyHeldByAnotherClient_reportedAndOthersStillArm()
    {
        X11TestClient other;
        QVERIFY(other.grab(other.keycode(XK_Print), ControlMask));
        HookKeybord manager;
        QTest::ignoreMessage(QtWarningMsg, "QxtGlobalShortcut failed to register: \"Ctrl+Print\"");
        manager.updateHootKey();
        QVERIFY(manager.shortcut(HookKeybord::HookFragment)); // kept, never fires

        ActivationCounter activations(&manager);
        QVERIFY(m_barrier->pressAndSettle(QStringLiteral("ctrl+Print shift+Print ctrl+shift+Print")));
        QCOMPARE(activations.counts(), Counts({0, 1, 1}));
        expectUnregisterWarning("Ctrl+Print");
    }

    void unreadableText_warnsAndGrabsNothing()
    {
        Setting::instance()->setValue(SettingKeys::keyFragmentScreen, QStringLiteral("Shift + Alt + Nothing"));
        HookKeybord manager;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^QxtGlobalShortcut failed to register:")));
        manager.updateHootKey();
        X11TestClient other;
        QVERIFY(other.grab(AnyKey, ShiftMask | Mod1Mask));
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^QxtGlobalShortcut failed to unregister:")));
    }

    void destroyedInstance_clearsTheStaticPointer()
    {
        HookKeybord::m_instance = new HookKeybord(nullptr);
        HookKeybord::m_instance->updateHootKey();
        delete HookKeybord::m_instance;
        QVERIFY(!HookKeybord::m_instance);
        X11TestClient other;
        QVERIFY(other.grabUnderAllLockStates(XK_Print, ControlMask));
    }
};

QTEST_MAIN(TestHookKeybord)
#include "tst_hookkeybord.moc"
