// The X11 global shortcut against a real X server (Xvfb): grabs, lock states, refusals
// by other clients, release, and key lookup.

#include "app/qxtglobalshortcut.h"
#include "app/qxtglobalshortcut_p.h"

#include <QSignalSpy>
#include <QTest>

#include <memory>

#include "x11testclient.h"

namespace {

const QKeySequence ctrlPrint(QStringLiteral("Ctrl+Print"));
const char *const registerWarning = "QxtGlobalShortcut failed to register: \"Ctrl+Print\"";

} // namespace

class TestQxtGlobalShortcut : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<KeyPressBarrier> m_barrier;

    void pressAndWaitForSentinel(const QString &keys) { QVERIFY(m_barrier->pressAndSettle(keys)); }

    void setLockKey(const QString &key)
    {
        if (!key.isEmpty())
            QVERIFY(sendKeys(key));
    }

private slots:
    void initTestCase()
    {
        QVERIFY(X11TestClient().isValid());
        m_barrier = std::make_unique<KeyPressBarrier>();
        QVERIFY(m_barrier->isArmed());
    }

    void cleanupTestCase() { m_barrier.reset(); }

    void pressingCombination_emitsActivatedOncePerPress()
    {
        QxtGlobalShortcut shortcut;
        QVERIFY(shortcut.setShortcut(ctrlPrint));
        QCOMPARE(shortcut.shortcut(), ctrlPrint);
        QVERIFY(shortcut.isEnabled());

        QSignalSpy spy(&shortcut, &QxtGlobalShortcut::activated);
        pressAndWaitForSentinel(QStringLiteral("ctrl+Print"));
        QCOMPARE(spy.count(), 1);
        pressAndWaitForSentinel(QStringLiteral("ctrl+Print ctrl+Print"));
        QCOMPARE(spy.count(), 3);
    }

    void otherModifiersOrKeys_doNotActivate()
    {
        QxtGlobalShortcut shortcut;
        QVERIFY(shortcut.setShortcut(ctrlPrint));
        QSignalSpy spy(&shortcut, &QxtGlobalShortcut::activated);
        pressAndWaitForSentinel(QStringLiteral("ctrl+shift+Print Print alt+Print ctrl+F11"));
        QCOMPARE(spy.count(), 0);
    }

    void lockStates_doNotHideCombination_data()
    {
        QTest::addColumn<QString>("lockKeys");
        QTest::newRow("NumLock") << QStringLiteral("Num_Lock");
        QTest::newRow("CapsLock") << QStringLiteral("Caps_Lock");
        QTest::newRow("NumLock and CapsLock") << QStringLiteral("Num_Lock Caps_Lock");
    }

    void lockStates_doNotHideCombination()
    {
        QFETCH(QString, lockKeys);
        QxtGlobalShortcut shortcut;
        QVERIFY(shortcut.setShortcut(ctrlPrint));
        QSignalSpy spy(&shortcut, &QxtGlobalShortcut::activated);

        setLockKey(lockKeys); // switches the lock states on
        pressAndWaitForSentinel(QStringLiteral("ctrl+Print"));
        setLockKey(lockKeys); // and off again for the next test
        QCOMPARE(spy.count(), 1);
    }

    void disabledShortcut_emitsNothingButKeepsItsGrab()
    {
        QxtGlobalShortcut shortcut;
        QVERIFY(shortcut.setShortcut(ctrlPrint));
        shortcut.setDisabled(true);
        QVERIFY(!shortcut.isEnabled());
        QSignalSpy spy(&shortcut, &QxtGlobalShortcut::activated);
        pressAndWaitForSentinel(QStringLiteral("ctrl+Print"));
        QCOMPARE(spy.count(), 0);

        X11TestClient other;
        QVERIFY(!other.grab(other.keycode(XK_Print), ControlMask));

        shortcut.setEnabled(true);
        pressAndWaitForSentinel(QStringLiteral("ctrl+Print"));
        QCOMPARE(spy.count(), 1);
    }

    void destroyedShortcut_releasesEveryLockStateGrab()
    {
        auto shortcut = std::make_unique<QxtGlobalShortcut>();
        QVERIFY(shortcut->setShortcut(ctrlPrint));
        X11TestClient other;
        QVERIFY(!other.grab(other.keycode(XK_Print), ControlMask | Mod2Mask | LockMask));

        shortcut.reset();
        QVERIFY(other.grabUnderAllLockStates(XK_Print, ControlMask));
    }

    void newCombination_releasesThePreviousOne()
    {
        QxtGlobalShortcut shortcut;
        QVERIFY(shortcut.setShortcut(ctrlPrint));
        QVERIFY(shortcut.setShortcut(QKeySequence(QStringLiteral("Ctrl+F11"))));
        QCOMPARE(shortcut.shortcut(), QKeySequence(QStringLiteral("Ctrl+F11")));

        X11TestClient other;
        QVERIFY(other.grabUnderAllLockStates(XK_Print, ControlMask));
        QVERIFY(!other.grab(other.keycode(XK_F11), ControlMask));
    }

    void combinationHeldByAnotherClient_reportsFailure()
    {
        X11TestClient other;
        QVERIFY(other.grab(other.keycode(XK_Print), ControlMask));

        QxtGlobalShortcut shortcut;
        QTest::ignoreMessage(QtWarningMsg, registerWarning);
        QVERIFY(!shortcut.setShortcut(ctrlPrint));
        QCOMPARE(shortcut.shortcut(), ctrlPrint); // kept, though not bound

        QSignalSpy spy(&shortcut, &QxtGlobalShortcut::activated);
        pressAndWaitForSentinel(QStringLiteral("ctrl+Print"));
        QCOMPARE(spy.count(), 0);
        QTest::ignoreMessage(QtWarningMsg, "QxtGlobalShortcut failed to unregister: \"Ctrl+Print\"");
    }

    void refusedLockState_leavesNoPartialGrabBehind()
    {
        // The other client holds only the NumLock variant: the plain grab succeeds first,
        // then the refusal must take it back.
        auto holder = std::make_unique<X11TestClient>();
        QVERIFY(holder->grab(holder->keycode(XK_Print), ControlMask | Mod2Mask));
        {
            QxtGlobalShortcut shortcut;
            QTest::ignoreMessage(QtWarningMsg, registerWarning);
            QVERIFY(!shortcut.setShortcut(ctrlPrint));

            X11TestClient third;
            QVERIFY(third.grab(third.keycode(XK_Print), ControlMask));
            QVERIFY(third.grab(third.keycode(XK_Print), ControlMask | LockMask));
            QTest::ignoreMessage(QtWarningMsg, "QxtGlobalShortcut failed to unregister: \"Ctrl+Print\"");
        }
        holder.reset();
    }

    void refusedGrab_doesNotStopLaterRegistrations()
    {
        X11TestClient other;
        QVERIFY(other.grab(other.keycode(XK_Print), ControlMask));
        QxtGlobalShortcut refused;
        QTest::ignoreMessage(QtWarningMsg, registerWarning);
        QVERIFY(!refused.setShortcut(ctrlPrint));

        QxtGlobalShortcut accepted;
        QVERIFY(accepted.setShortcut(QKeySequence(QStringLiteral("Shift+Print"))));
        QSignalSpy spy(&accepted, &QxtGlobalShortcut::activated);
        pressAndWaitForSentinel(QStringLiteral("shift+Print"));
        QCOMPARE(spy.count(), 1);
        QTest::ignoreMessage(QtWarningMsg, "QxtGlobalShortcut failed to unregister: \"Ctrl+Print\"");
    }

    void unreadableOrEmptyKey_warnsAndGrabsNothing_data()
    {
        QTest::addColumn<QKeySequence>("sequence");
        QTest::addColumn<bool>("keyKept"); // a key kept after the failure is released again
        QTest::newRow("unknown key name")
            << QKeySequence::fromString(QStringLiteral("Shift+Alt+Foo"), QKeySequence::PortableText) << true;
        QTest::newRow("empty") << QKeySequence() << false;
        QTest::newRow("modifiers only")
            << QKeySequence(QKeyCombination(Qt::ShiftModifier | Qt::AltModifier, Qt::Key(0))) << false;
    }

    void unreadableOrEmptyKey_warnsAndGrabsNothing()
    {
        QFETCH(QKeySequence, sequence);
        QFETCH(bool, keyKept);
        QxtGlobalShortcut shortcut;
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^QxtGlobalShortcut failed to register:")));
        QVERIFY(!shortcut.setShortcut(sequence));

        // Any grab of ours with these modifiers (AnyKey included) would collide with these.
        X11TestClient other;
        QVERIFY(other.grab(AnyKey, ShiftMask | Mod1Mask));
        QVERIFY(other.grab(AnyKey, 0));
        if (keyKept)
            QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^QxtGlobalShortcut failed to unregister:")));
    }

    void sameCombinationTwice_laterShortcutOwnsIt()
    {
        auto earlier = std::make_unique<QxtGlobalShortcut>();
        QxtGlobalShortcut later;
        QVERIFY(earlier->setShortcut(ctrlPrint));
        QVERIFY(later.setShortcut(ctrlPrint));
        QSignalSpy earlierSpy(earlier.get(), &QxtGlobalShortcut::activated);
        QSignalSpy laterSpy(&later, &QxtGlobalShortcut::activated);
        pressAndWaitForSentinel(QStringLiteral("ctrl+Print"));
        QCOMPARE(earlierSpy.count(), 0);
        QCOMPARE(laterSpy.count(), 1);

        QTest::ignoreMessage(QtWarningMsg, "QxtGlobalShortcut failed to unregister: \"Ctrl+Print\"");
        earlier.reset();
        pressAndWaitForSentinel(QStringLiteral("ctrl+Print"));
        QCOMPARE(laterSpy.count(), 2);
    }

    void destroyingFirstShortcut_keepsTheOthersFiring()
    {
        // The first shortcut alive in the process is the one made here.
        m_barrier.reset();
        QCOMPARE(QxtGlobalShortcutPrivate::ref, 0);
        auto first = std::make_unique<QxtGlobalShortcut>();
        m_barrier = std::make_unique<KeyPressBarrier>();
        QxtGlobalShortcut second;
        QVERIFY(first->setShortcut(ctrlPrint));
        QVERIFY(second.setShortcut(QKeySequence(QStringLiteral("Alt+F5"))));
        first.reset();
        QSignalSpy spy(&second, &QxtGlobalShortcut::activated);
        pressAndWaitForSentinel(QStringLiteral("alt+F5"));
        QCOMPARE(spy.count(), 1);
    }

    void lastShortcutGone_newOneStillFires()
    {
        m_barrier.reset();
        QCOMPARE(QxtGlobalShortcutPrivate::ref, 0);
        m_barrier = std::make_unique<KeyPressBarrier>();
        QCOMPARE(QxtGlobalShortcutPrivate::ref, 1);
        QVERIFY(m_barrier->pressAndSettle(QString()));
    }

    void keyLookup_findsTheKeysOfTheKeyboard()
    {
        X11TestClient x11;
        QCOMPARE(QxtGlobalShortcutPrivate::nativeKeycode(Qt::Key_Print), quint32(x11.keycode(XK_Print)));
        QCOMPARE(QxtGlobalShortcutPrivate::nativeKeycode(Qt::Key_F1), quint32(x11.keycode(XK_F1)));
        QCOMPARE(QxtGlobalShortcutPrivate::nativeKeycode(Qt::Key_A), quint32(x11.keycode(XK_a)));
        QCOMPARE(QxtGlobalShortcutPrivate::nativeKeycode(Qt::Key_1), quint32(x11.keycode(XK_1)));
        QCOMPARE(QxtGlobalShortcutPrivate::nativeKeycode(Qt::Key_Comma), quint32(x11.keycode(XK_comma)));
        // Names that differ between Qt and X.
        QCOMPARE(QxtGlobalShortcutPrivate::nativeKeycode(Qt::Key_Enter), quint32(x11.keycode(XK_Return)));
        QCOMPARE(QxtGlobalShortcutPrivate::nativeKeycode(Qt::Key_Escape), quint32(x11.keycode(XK_Escape)));
        QCOMPARE(QxtGlobalShortcutPrivate::nativeKeycode(Qt::Key_Delete), quint32(x11.keycode(XK_Delete)));
        QCOMPARE(QxtGlobalShortcutPrivate::nativeKeycode(Qt::Key_PageUp), quint32(x11.keycode(XK_Prior)));
        // No key at all rather than a wrong one.
        QCOMPARE(QxtGlobalShortcutPrivate::nativeKeycode(Qt::Key_unknown), 0u);
        QCOMPARE(QxtGlobalShortcutPrivate::nativeKeycode(Qt::Key(0)), 0u);
        QVERIFY(x11.keycode(XK_Return) != 0);
    }

    void modifierMasks_followTheXCoreProtocol()
    {
        using P = QxtGlobalShortcutPrivate;
        QCOMPARE(P::nativeModifiers(Qt::ShiftModifier), 1u);
        QCOMPARE(P::nativeModifiers(Qt::ControlModifier), 4u);
        QCOMPARE(P::nativeModifiers(Qt::AltModifier), 8u);
        QCOMPARE(P::nativeModifiers(Qt::MetaModifier), 64u);
        QCOMPARE(P::nativeModifiers(Qt::ControlModifier | Qt::ShiftModifier | Qt::KeypadModifier), 5u);
        QCOMPARE(P::nativeModifiers(Qt::GroupSwitchModifier), 0u);
    }

    void enterCombination_firesOnTheReturnKey()
    {
        QxtGlobalShortcut shortcut;
        QVERIFY(shortcut.setShortcut(QKeySequence(QStringLiteral("Shift+Ctrl+Enter"))));
        QSignalSpy spy(&shortcut, &QxtGlobalShortcut::activated);
        pressAndWaitForSentinel(QStringLiteral("shift+ctrl+Return"));
        QCOMPARE(spy.count(), 1);
    }
};

QTEST_MAIN(TestQxtGlobalShortcut)
#include "tst_qxtglobalshortcut.moc"
