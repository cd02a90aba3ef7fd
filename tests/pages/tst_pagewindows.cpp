// The program's small windows with their pages: each loads without a warning, takes the
// size of its page with the frame's margin and the window flags it needs; the message
// dialog shows the buttons of its kind.

#include "../harness/pagedriver.h"
#include "../harness/shellwindows.h"
#include "app/messagedialog.h"
#include "core.h"
#include "pagetestsupport.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "windows/autorizationwidget_rest.h"
#include "windows/lastuploadwidget_win.h"
#include "windows/maintoolwidget.h"
#include "windows/proxywidget.h"
#include "windows/settingwidget_rest.h"
#include "windows/uploadwidget_win.h"

#include <QQuickItem>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include <functional>
#include <memory>

using WindowFactory = std::function<BasicWindow *()>;
Q_DECLARE_METATYPE(WindowFactory)
using TextWindowFactory = std::function<BasicWindow *(const QString &text)>;
Q_DECLARE_METATYPE(TextWindowFactory)

class PageWindowsTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        // The controller's tray icon tells once that this platform has no tray.
        Core::instance();
        PageTestSupport::install();
        Setting::instance()->setValue(SettingKeys::typeUpload, QStringLiteral("ftp"));
    }

    void cleanup()
    {
        const QString warnings = PageTestSupport::takeWarnings();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
    }

    void window_takesItsPageSize_data()
    {
        QTest::addColumn<WindowFactory>("make");
        QTest::addColumn<QSize>("size");
        QTest::addColumn<bool>("onTop");
        QTest::newRow("settings, ftp storage") << WindowFactory([] { return new SettingWidget; }) << QSize(640, 566) << false;
        QTest::newRow("sign-in") << WindowFactory([] { return new AutorizationWidget; }) << QSize(400, 490) << true;
        QTest::newRow("upload, no job") << WindowFactory([] { return new UploadWidget; }) << QSize(300, 215) << true;
        QTest::newRow("last upload") << WindowFactory([] { return new LastUploadWidget; }) << QSize(301, 290) << true;
        QTest::newRow("proxy") << WindowFactory([] { return new ProxyWidget; }) << QSize(470, 445) << false;
        QTest::newRow("main tool, no link") << WindowFactory([] { return new MainToolWidget; }) << QSize(301, 360) << true;
        QTest::newRow("error") << WindowFactory([] { return new ErrorWidget(QStringLiteral("Failed")); }) << QSize(310, 290) << false;
        QTest::newRow("message") << WindowFactory([] {
            auto *dialog = new MessageDialog;
            dialog->information(QString(), QStringLiteral("Done"));
            return dialog;
        }) << QSize(301, 260) << false;
    }

    void window_takesItsPageSize()
    {
        QFETCH(WindowFactory, make);
        QFETCH(QSize, size);
        QFETCH(bool, onTop);
        std::unique_ptr<BasicWindow> window(make());
        QCOMPARE(window->status(), QQuickView::Ready);
        QCOMPARE(window->size(), size);
        QVERIFY(window->flags() & Qt::FramelessWindowHint);
        QCOMPARE(bool(window->flags() & Qt::WindowStaysOnTopHint), onTop);
    }

    void errorWindow_growsWithALongText()
    {
        ErrorWidget window;
        window.setError(QStringLiteral("A long error text. ").repeated(40));
        QTRY_VERIFY(window.height() > 290);
        QCOMPARE(ShellWindows::shownErrorText(&window), QStringLiteral("A long error text. ").repeated(40));
    }

    // Server texts, links and file names are shown as written: their markup neither
    // formats the text nor fetches a picture (over plain http, past the proxy setting).
    void outsideText_showsAsWrittenAndFetchesNothing_data()
    {
        QTest::addColumn<TextWindowFactory>("make");
        QTest::addColumn<QString>("item");
        QTest::newRow("error") << TextWindowFactory([](const QString &text) { return new ErrorWidget(text); })
                               << "errorText";
        QTest::newRow("message") << TextWindowFactory([](const QString &text) {
            auto *dialog = new MessageDialog;
            dialog->information(QString(), text);
            return dialog;
        }) << "message";
        QTest::newRow("last link") << TextWindowFactory([](const QString &text) {
            Core::instance()->setLastLink(text);
            return new LastUploadWidget;
        }) << "lastLink";
    }

    void outsideText_showsAsWrittenAndFetchesNothing()
    {
        QFETCH(TextWindowFactory, make);
        QFETCH(QString, item);
        QTcpServer tracker;
        QVERIFY(tracker.listen(QHostAddress::LocalHost));
        const QString text = QStringLiteral("<b>PAY NOW.png</b><img src=\"http://127.0.0.1:%1/track.png\" height=\"400\">")
                                 .arg(tracker.serverPort());
        std::unique_ptr<BasicWindow> window(make(text));
        window->show();
        QQuickItem *shown = PageDriver::named(window.get(), item);
        QCOMPARE(shown->property("text").toString(), text);
        QVERIFY(shown->property("contentHeight").toDouble() < 100); // no 400-pixel picture
        QVERIFY(QTest::qWaitForWindowExposed(window.get()));
        // A fetch would have begun by then.
        QVERIFY(!QTest::qWaitFor([&tracker] { return tracker.hasPendingConnections(); }, 2000));
    }

    void messageDialog_showsTheButtonsOfItsKind_data()
    {
        QTest::addColumn<bool>("question");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("titleText");
        QTest::newRow("information, no title") << false << QString() << QStringLiteral("Mavu");
        QTest::newRow("question") << true << QStringLiteral("Warning") << QStringLiteral("Mavu - Warning");
    }

    void messageDialog_showsTheButtonsOfItsKind()
    {
        QFETCH(bool, question);
        QFETCH(QString, title);
        QFETCH(QString, titleText);
        MessageDialog dialog;
        question ? dialog.questions(title, QStringLiteral("Save?")) : dialog.information(title, QStringLiteral("Done"));
        dialog.show();
        QVERIFY(PageDriver::named(&dialog, "okButton")->isVisible());
        QCOMPARE(PageDriver::named(&dialog, "cancelButton")->isVisible(), question);
        QCOMPARE(dialog.title(), titleText); // what the window manager shows
    }

    void messageDialog_answersOnlyThroughItsButtons()
    {
        MessageDialog dialog;
        dialog.questions(QStringLiteral("Warning"), QStringLiteral("Save?"));
        QSignalSpy results(&dialog, &MessageDialog::result);
        QSignalSpy closed(&dialog, &BasicWindow::closed);
        dialog.show();
        dialog.requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QTest::keyClick(&dialog, Qt::Key_Escape);
        QCOMPARE(closed.count(), 1);
        QVERIFY(results.isEmpty());
        dialog.show();
        QVERIFY(PageDriver::click(&dialog, "cancelButton"));
        QCOMPARE(results, QList<QVariantList>{{1}});
        QCOMPARE(closed.count(), 2);
    }
};

QTEST_MAIN(PageWindowsTest)
#include "tst_pagewindows.moc"
