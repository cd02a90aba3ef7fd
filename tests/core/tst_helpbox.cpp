// The help box must show above the windows that stay on top (here the sign-in window of a
// user who is not signed in), and must leave every other window of the program alive: a
// capture started while it is open takes input. A capture never opens under a window that
// blocks the program.

#include "../harness/shellwindows.h"
#include "../harness/xtools.h"

#include "capture/selectorwidget_linux.h"
#include "core.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "windows/autorizationwidget_rest.h"

#include <QApplication>
#include <QDialog>
#include <QLoggingCategory>
#include <QMessageBox>
#include <QProcess>
#include <QTest>

#include <functional>

namespace {

QMessageBox *shownHelpBox()
{
    for (QWidget *widget : QApplication::topLevelWidgets()) {
        if (auto *box = qobject_cast<QMessageBox *>(widget); box && box->isVisible())
            return box;
    }
    return nullptr;
}

// Runs the steps while the help box is up, then closes it; true when the box showed.
bool whileHelpBoxIsOpen(const std::function<void(QMessageBox *)> &steps)
{
    bool shown = false;
    bool done = false;
    QTimer::singleShot(0, [&] {
        shown = QTest::qWaitFor([] { return shownHelpBox() && !stackingOrder().isEmpty(); });
        if (shown)
            steps(shownHelpBox());
        if (QMessageBox *box = shownHelpBox())
            box->close();
        done = true;
    });
    Core::instance()->openHelp();
    return QTest::qWaitFor([&] { return done; }, 30000) && shown;
}

} // namespace

class HelpBoxTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        Core::instance();
    }

    void helpBox_isStackedAboveTheSignInWindow()
    {
        QVERIFY(!Core::instance()->checkAutorization());
        AutorizationWidget *signIn = ShellWindows::shown<AutorizationWidget>().value(0);
        QVERIFY(signIn && QTest::qWaitForWindowExposed(signIn));

        qsizetype signInPlace = -1;
        qsizetype boxPlace = -1;
        QVERIFY(whileHelpBoxIsOpen([&](QMessageBox *box) {
            (void)QTest::qWaitFor([&] { return stackingOrder().contains(box->winId()); });
            const QList<WId> order = stackingOrder();
            boxPlace = order.indexOf(box->winId());
            signInPlace = order.indexOf(signIn->winId());
        }));

        QVERIFY(signInPlace >= 0);
        QVERIFY2(boxPlace > signInPlace, qPrintable(QStringLiteral("box %1, sign-in %2").arg(boxPlace).arg(signInPlace)));
        ShellWindows::hideAll();
    }

    void capture_whileTheHelpBoxIsOpen_takesInput()
    {
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("token"));
        bool closedByEscape = false;
        QVERIFY(whileHelpBoxIsOpen([&](QMessageBox *) {
            Core::instance()->screen(false, false);
            const bool shown = QTest::qWaitFor([] {
                const QList<SelectorWidgetMac *> selectors = ShellWindows::shown<SelectorWidgetMac>();
                return selectors.size() == 2 && selectors.at(0)->isExposed() && selectors.at(1)->isExposed();
            });
            closedByEscape = shown && xdotool({"key", "Escape"})
                && QTest::qWaitFor([] { return ShellWindows::shown<SelectorWidgetMac>().isEmpty(); }, 3000);
        }));
        for (SelectorWidgetMac *selector : ShellWindows::shown<SelectorWidgetMac>())
            selector->close();
        QVERIFY(closedByEscape);
    }

    // A window that blocks all others (a file dialog) comes forward instead of a capture
    // that could take no input.
    void capture_whileADialogBlocksTheProgram_bringsTheDialogForward()
    {
        QDialog dialog;
        dialog.setModal(true);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));
        Core::instance()->screen(false, false);
        QVERIFY(ShellWindows::all<SelectorWidgetMac>().isEmpty());
        QTRY_VERIFY(dialog.isActiveWindow());
    }
};

QTEST_MAIN(HelpBoxTest)
#include "tst_helpbox.moc"
