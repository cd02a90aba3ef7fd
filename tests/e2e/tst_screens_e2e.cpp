// Captures on two monitors side by side under a window manager, over a known picture on the
// root window, driven through the X server as a user would: the pointer and keys by XTest.

#include "../harness/files.h"
#include "../harness/shellwindows.h"
#include "../harness/xtools.h"
#include "capture/editponoramwidget.h"
#include "capture/selectorwidget_linux.h"
#include "capture/surfaceselector.h"
#include "capture/surfacewidget.h"
#include "core.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"

#include <QClipboard>
#include <QQuickWindow>

// Xlib last: its macros clash with Qt's names.
#include "../harness/rootpicture.h"
#include "../harness/xwindows.h"

namespace {

using ShellWindows::all;

QRect xGeometry(QWindow *window) { return ::xGeometry(window->winId()); }

QRect screenGeometry(int index)
{
    return QGuiApplication::screens().at(index)->geometry();
}

// The window of the class once it shows, null when none does.
template <typename T>
T *shownWindow()
{
    T *window = nullptr;
    return QTest::qWaitFor([&] { return (window = ShellWindows::shown<T>().value(0)) && window->isExposed(); }) ? window : nullptr;
}

// What Ctrl+C puts on the clipboard, which is emptied first.
QImage copiedPicture()
{
    QGuiApplication::clipboard()->clear();
    QTest::qWait(300);
    if (!xdotool({"key", "ctrl+c"}))
        return QImage();
    (void)QTest::qWaitFor([] { return !QGuiApplication::clipboard()->image().isNull(); }, 5000);
    return rgb(QGuiApplication::clipboard()->image());
}

} // namespace

class ScreensTest : public QObject
{
    Q_OBJECT

    QImage m_root;

    // A fragment capture: one selector window on each screen, covering exactly that screen.
    bool openSelectors()
    {
        Core::instance()->screen(false, false);
        const QList<SelectorWidgetMac *> selectors = all<SelectorWidgetMac>();
        if (selectors.size() != 2)
            return false;
        for (SelectorWidgetMac *selector : selectors) {
            const QRect screen = screenGeometry(selector->indexScreen());
            if (!QTest::qWaitFor([&] { return selector->isExposed() && xGeometry(selector) == screen; }, 5000)) {
                qWarning() << "selector" << selector->indexScreen() << "at" << xGeometry(selector);
                return false;
            }
        }
        QTest::qWait(200);
        return true;
    }

private slots:
    void initTestCase()
    {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        QCOMPARE(QGuiApplication::screens().size(), 2);
        QCOMPARE(screenGeometry(1), QRect(1920, 0, 1920, 1080));
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("token"));
        m_root = paintRootPattern();
        QCOMPARE(m_root.size(), QSize(3840, 1080));
    }

    // No window of a capture stays behind, open or closed.
    void cleanup()
    {
        QTRY_COMPARE(all<SelectorWidgetMac>().size(), 0);
        QTRY_VERIFY(ShellWindows::shown<SurfaceWidget>().isEmpty());
        QTRY_COMPARE(all<EditPonoramWidget>().size(), 0);
    }

    // The rows use the one overlay window in turn, on one screen, then on the other; a cut
    // across both screens opens in the editor instead (screen -1).
    void drag_opensTheCutOnItsScreenOrJoinedInTheEditor_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QRect>("selection");
        QTest::newRow("left") << 0 << QRect(300, 200, 400, 300);
        QTest::newRow("right") << 1 << QRect(2100, 100, 300, 200);
        QTest::newRow("left again") << 0 << QRect(10, 600, 500, 400);
        QTest::newRow("across both") << -1 << QRect(1800, 200, 300, 300);
    }

    void drag_opensTheCutOnItsScreenOrJoinedInTheEditor()
    {
        QFETCH(int, screen);
        QFETCH(QRect, selection);
        QVERIFY(openSelectors());
        QVERIFY(xdotoolDrag(selection.topLeft(), selection.bottomRight() + QPoint(1, 1)));
        if (screen < 0) {
            EditPonoramWidget *editor = shownWindow<EditPonoramWidget>();
            QVERIFY(editor);
            QTRY_VERIFY(editor->isActive());
        } else {
            SurfaceWidget *overlay = shownWindow<SurfaceWidget>();
            QVERIFY(overlay);
            QTRY_COMPARE(xGeometry(overlay), screenGeometry(screen));
            QCOMPARE(overlay->selectRect(), selection.translated(-screenGeometry(screen).topLeft()));
        }
        QCOMPARE(copiedPicture(), m_root.copy(selection));
    }

    // While the button is held, each screen draws only its own part of the selection.
    void dragOnTheRightScreen_isDrawnThereOnly()
    {
        QVERIFY(openSelectors());
        const QRect selection(2100, 100, 300, 200);
        QVERIFY(xdotool(QStringList{"mousemove"} + xdotoolPoint(selection.topLeft())
                        + QStringList{"sleep", "0.2", "mousedown", "1", "mousemove"}
                        + xdotoolPoint(selection.bottomRight() + QPoint(1, 1)) + QStringList{"sleep", "0.2"}));
        SelectorWidgetMac *left = nullptr;
        SelectorWidgetMac *right = nullptr;
        for (SelectorWidgetMac *window : all<SelectorWidgetMac>())
            (window->indexScreen() == 0 ? left : right) = window;
        QTRY_COMPARE(right->selector()->rubberRect(), QRectF(180, 100, 300, 200));
        const QRectF drawnLeft = left->selector()->rubberRect();
        QVERIFY(xdotool({"mouseup", "1"}));
        QVERIFY(shownWindow<SurfaceWidget>());
        Core::instance()->deleteSurfaceScreen();
        QVERIFY2(!drawnLeft.intersects(QRectF(0, 0, 1920, 1080)), qPrintable(QDebug::toString(drawnLeft)));
    }

    void ctrlC_copiesTheColourOfThePixelUnderThePointer()
    {
        QVERIFY(openSelectors());
        const QPoint pointer(2500, 600);
        QVERIFY(xdotool(QStringList{"mousemove"} + xdotoolPoint(pointer) + QStringList{"sleep", "0.2", "key", "ctrl+c"}));
        const QString expected = QColor(m_root.pixel(pointer)).name().mid(1);
        QTRY_COMPARE(QGuiApplication::clipboard()->text(), expected);
    }

    void fullScreen_opensAllScreensJoinedInTheEditor()
    {
        Core::instance()->screen(true, false);
        EditPonoramWidget *editor = shownWindow<EditPonoramWidget>();
        QVERIFY(editor);
        QGuiApplication::clipboard()->clear();
        editor->screenSaveToClipboard();
        QCOMPARE(rgb(QGuiApplication::clipboard()->image()), m_root);
    }
};

QTEST_MAIN(ScreensTest)
#include "tst_screens_e2e.moc"
