// Without an X display the global shortcut reports failure and never claims a grab.

#include "app/qxtglobalshortcut.h"

#include <QTest>

class TestQxtGlobalShortcutWithoutX11 : public QObject
{
    Q_OBJECT

private slots:
    void noXConnection_registrationFailsWithWarning()
    {
        QVERIFY(qEnvironmentVariableIsEmpty("DISPLAY"));
        QxtGlobalShortcut shortcut;
        QTest::ignoreMessage(QtWarningMsg, "QxtGlobalShortcut failed to register: \"Ctrl+Print\"");
        QVERIFY(!shortcut.setShortcut(QKeySequence(QStringLiteral("Ctrl+Print"))));
        QTest::ignoreMessage(QtWarningMsg, "QxtGlobalShortcut failed to unregister: \"Ctrl+Print\"");
    }
};

QTEST_MAIN(TestQxtGlobalShortcutWithoutX11)
#include "tst_qxtglobalshortcut_nox11.moc"
