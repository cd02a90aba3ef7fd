// The X11 global shortcut on a real X server (Xvfb): lock states, refusals by another
// client, release, key lookup and the event filter.

#include "app/qxtglobalshortcut.h"
#include "app/qxtglobalshortcut_p.h"

#include <memory>
#include <QSignalSpy>

#include "x11testclient.h"

namespace {
const QKeySequence ctrlPrint(QStringLiteral("Ctrl+Print"));
const char *const registerWarning = "QxtGlobalShortcut failed to register: \"Ctrl+Print\"";
const char *const unregisterWarning = "QxtGlobalShortcut failed to unregister: \"Ctrl+Print\"";
} // namespace

class TestQxtGlobalShortcut : public QObject
{
    Q_OBJECT
    std::unique_ptr<KeyPressBarrier> m_barrier;

private slots:
    void init()
    {
        m_barrier = std::make_unique<KeyPressBarrier>();
        QVERIFY(m_barrier->isArmed());
    }
    void cleanup() { m_barrier.reset(); }

    void lockStates_doNotHideCombination_data()
    {
        QTest::addColumn<QString>("locks");
        QTest::newRow("none") << QString();
        QTest::newRow("NumLock") << QStringLiteral("Num_Lock");
        QTest::newRow("CapsLock") << QStringLiteral("Caps_Lock");
        QTest::newRow("both") << QStringLiteral("Num_Lock Caps_Lock");
    }

    void lockStates_doNotHideCombination()
    {
        QFETCH(QString, locks);
        QxtGlobalShortcut shortcut;
        QVERIFY(shortcut.setShortcut(ctrlPrint));
        QSignalSpy spy(&shortcut, &QxtGlobalShortcut::activated);
        const bool settled = m_barrier->pressAndSettle(locks + QStringLiteral(" ctrl+Print alt+Print ctrl+shift+Print ") + locks);
        QVERIFY(settled);
        QCOMPARE(spy.count(), 1);
    }

    void disabledShortcut_emitsNothingButKeepsItsGrab()
    {
        QxtGlobalShortcut shortcut;
        QVERIFY(shortcut.setShortcut(ctrlPrint));
        shortcut.setDisabled(true);
        QSignalSpy spy(&shortcut, &QxtGlobalShortcut::activated);
        QVERIFY(m_barrier->pressAndSettle(QStringLiteral("ctrl+Print")));
        QCOMPARE(spy.count(), 0);
        QVERIFY(!X11TestClient().grab(X11TestClient().keycode(XK_Print), ControlMask));
    }

    void newCombinationOrDestruction_releasesEveryLockStateGrab()
    {
        auto shortcut = std::make_unique<QxtGlobalShortcut>();
        QVERIFY(shortcut->setShortcut(ctrlPrint));
        QVERIFY(shortcut->setShortcut(QKeySequence(QStringLiteral("Ctrl+F11"))));
        X11TestClient other;
        QVERIFY(other.grabUnderAllLockStates(XK_Print, ControlMask));
        QVERIFY(!other.grab(other.keycode(XK_F11), ControlMask | Mod2Mask | LockMask));
        shortcut.reset();
        QVERIFY(other.grabUnderAllLockStates(XK_F11, ControlMask));
    }

    void combinationHeldByAnotherClient_failsAndLeavesNoGrab_data()
    {
        QTest::addColumn<unsigned int>("heldLockState");
        QTest::addColumn<unsigned int>("grantedLockState"); // granted to us before the refusal
        QTest::newRow("plain") << 0u << unsigned(LockMask);
        QTest::newRow("only the NumLock variant") << unsigned(Mod2Mask) << 0u;
    }

    void combinationHeldByAnotherClient_failsAndLeavesNoGrab()
    {
        QFETCH(unsigned int, heldLockState);
        QFETCH(unsigned int, grantedLockState);
        X11TestClient holder;
        QVERIFY(holder.grab(holder.keycode(XK_Print), ControlMask | heldLockState));
        auto shortcut = std::make_unique<QxtGlobalShortcut>();
        QTest::ignoreMessage(QtWarningMsg, registerWarning);
        QVERIFY(!shortcut->setShortcut(ctrlPrint));
        QCOMPARE(shortcut->shortcut(), ctrlPrint);

        QSignalSpy spy(shortcut.get(), &QxtGlobalShortcut::activated);
        QVERIFY(m_barrier->pressAndSettle(QStringLiteral("ctrl+Print")));
        QCOMPARE(spy.count(), 0);
        X11TestClient third; // what was granted before the refusal has been taken back
        QVERIFY(third.grab(third.keycode(XK_Print), ControlMask | grantedLockState));
        QTest::ignoreMessage(QtWarningMsg, unregisterWarning);
    }

    void unreadableOrEmptyKey_warnsAndGrabsNothing_data()
    {
        QTest::addColumn<QKeySequence>("sequence");
        QTest::newRow("unknown key name") << QKeySequence::fromString(QStringLiteral("Shift+Alt+Foo"));
        QTest::newRow("empty") << QKeySequence();
        QTest::newRow("modifiers only") << QKeySequence(QKeyCombination(Qt::ShiftModifier | Qt::AltModifier, Qt::Key(0)));
    }

    void unreadableOrEmptyKey_warnsAndGrabsNothing()
    {
        QFETCH(QKeySequence, sequence);
        QTest::ignoreMessage(QtWarningMsg, QRegularExpression(QStringLiteral("^QxtGlobalShortcut failed to register:")));
        QxtGlobalShortcut shortcut;
        QVERIFY(!shortcut.setShortcut(sequence));
        X11TestClient other; // any grab of ours on these modifiers, AnyKey included, collides
        QVERIFY(other.grab(AnyKey, ShiftMask | Mod1Mask));
        QVERIFY(other.grab(AnyKey, 0));
    }

    void sameCombinationTwice_laterShortcutOwnsIt()
    {
        auto earlier = std::make_unique<QxtGlobalShortcut>();
        QxtGlobalShortcut later;
        QVERIFY(earlier->setShortcut(ctrlPrint) && later.setShortcut(ctrlPrint));
        QSignalSpy earlierSpy(earlier.get(), &QxtGlobalShortcut::activated);
        QSignalSpy laterSpy(&later, &QxtGlobalShortcut::activated);
        QTest::ignoreMessage(QtWarningMsg, unregisterWarning);
        earlier.reset();
        QVERIFY(m_barrier->pressAndSettle(QStringLiteral("ctrl+Print")));
        QCOMPARE(earlierSpy.count() + laterSpy.count(), 1);
        QCOMPARE(laterSpy.count(), 1);
    }

    void destroyingFirstShortcut_keepsTheOthersFiring()
    {
        m_barrier.reset();
        QCOMPARE(QxtGlobalShortcutPrivate::ref, 0);
        auto first = std::make_unique<QxtGlobalShortcut>(); // the first filter in the process
        m_barrier = std::make_unique<KeyPressBarrier>();
        QxtGlobalShortcut second;
        QVERIFY(first->setShortcut(ctrlPrint) && second.setShortcut(QKeySequence(QStringLiteral("Alt+F5"))));
        first.reset();
        QSignalSpy spy(&second, &QxtGlobalShortcut::activated);
        QVERIFY(m_barrier->pressAndSettle(QStringLiteral("alt+F5")));
        QCOMPARE(spy.count(), 1);
    }

    void keyLookup_usesXNamesWhereQtsDiffer()
    {
        X11TestClient x11;
        const QList<QPair<Qt::Key, KeySym>> keys = {
            {Qt::Key_Print, XK_Print}, {Qt::Key_F1, XK_F1}, {Qt::Key_A, XK_a}, {Qt::Key_1, XK_1},
            {Qt::Key_Comma, XK_comma}, {Qt::Key_Enter, XK_Return}, {Qt::Key_Escape, XK_Escape},
            {Qt::Key_Delete, XK_Delete}, {Qt::Key_PageUp, XK_Prior}};
        for (const auto &key : keys)
            QCOMPARE(QxtGlobalShortcutPrivate::nativeKeycode(key.first), quint32(x11.keycode(key.second)));
        QCOMPARE(QxtGlobalShortcutPrivate::nativeKeycode(Qt::Key_unknown), 0u);
    }
};

QTEST_MAIN(TestQxtGlobalShortcut)
#include "tst_qxtglobalshortcut.moc"
