// The help box blocks every window of the program until it is closed, so the window
// manager must show it above the windows that stay on top (here the sign-in window of a
// user who is not signed in); beneath them it would leave the program dead to the user.

#include "../harness/shellwindows.h"

#include "core.h"
#include "windows/autorizationwidget_rest.h"

#include <QApplication>
#include <QMessageBox>
#include <QProcess>
#include <QtTest>

namespace {

// The managed windows from bottom to top, as the window manager stacks them.
QList<WId> stackingOrder()
{
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {"-root", "_NET_CLIENT_LIST_STACKING"});
    xprop.waitForFinished(5000);
    const QString line = QString::fromLatin1(xprop.readAllStandardOutput());
    QList<WId> order;
    for (const QString &id : line.mid(line.indexOf(QLatin1Char('#')) + 1).split(QLatin1Char(','), Qt::SkipEmptyParts))
        order.append(id.trimmed().toULongLong(nullptr, 16));
    return order;
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
        QTimer lookForBox;
        connect(&lookForBox, &QTimer::timeout, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            if (!box)
                return;
            const QList<WId> order = stackingOrder();
            boxPlace = order.indexOf(box->winId());
            signInPlace = order.indexOf(signIn->winId());
            if (boxPlace >= 0) {
                lookForBox.stop();
                box->accept();
            }
        });
        lookForBox.start(100);
        QTimer::singleShot(10000, &lookForBox, [&] {
            if (auto *box = QApplication::activeModalWidget())
                box->close();
        });
        Core::instance()->openHelp();

        QVERIFY(signInPlace >= 0);
        QVERIFY2(boxPlace > signInPlace, qPrintable(QStringLiteral("box %1, sign-in %2").arg(boxPlace).arg(signInPlace)));
    }
};

QTEST_MAIN(HelpBoxTest)
#include "tst_helpbox.moc"
