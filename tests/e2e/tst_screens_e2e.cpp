// Captures on two monitors side by side under a window manager, over a known picture on the
// root window, driven through the X server as a user would: the pointer and keys by XTest.

#include "../harness/files.h"
#include "../harness/shellwindows.h"
#include "../harness/xtools.h"
#include "capture/editponoramwidget.h"
#include "capture/selectorwidget_linux.h"
#include "capture/surfacewidget.h"
#include "core.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"

#include <QClipboard>
#include <QQuickWindow>

// Xlib last: its macros clash with Qt's names.
#include "../harness/rootpicture.h"

namespace {

using ShellWindows::all;

template <typename T>
T *visibleWindow()
{
    return ShellWindows::shown<T>().value(0);
}

// Where the window really is on the X server, whatever Qt believes.
QRect xGeometry(QWindow *window)
{
    Display *display = XOpenDisplay(nullptr);
    Window root = 0;
    Window child = 0;
    int x = 0;
    int y = 0;
    unsigned int width = 0;
    unsigned int height = 0;
    unsigned int border = 0;
    unsigned int depth = 0;
    XGetGeometry(display, Window(window->winId()), &root, &x, &y, &width, &height, &border, &depth);
    XTranslateCoordinates(display, Window(window->winId()), root, 0, 0, &x, &y, &child);
    XCloseDisplay(display);
    return QRect(x, y, int(width), int(height));
}

QRect screenGeometry(int index)
{
    return QGuiApplication::screens().at(index)->geometry();
}

QImage clipboardImage()
{
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
        QTRY_VERIFY(!visibleWindow<SurfaceWidget>());
        QTRY_COMPARE(all<EditPonoramWidget>().size(), 0);
    }

    // The rows use the one overlay window in turn, on one screen, then on the other.
    void dragInsideOneScreen_opensTheOverlayOnThatScreenWithTheCut_data()
    {
        QTest::addColumn<int>("screen");
        QTest::addColumn<QRect>("selection");
        QTest::newRow("left") << 0 << QRect(300, 200, 400, 300);
        QTest::newRow("right") << 1 << QRect(2100, 100, 300, 200);
        QTest::newRow("left again") << 0 << QRect(10, 600, 500, 400);
    }

    void dragInsideOneScreen_opensTheOverlayOnThatScreenWithTheCut()
    {
        QFETCH(int, screen);
        QFETCH(QRect, selection);
        QVERIFY(openSelectors());
        QVERIFY(xdotoolDrag(selection.topLeft(), selection.topLeft() + QPoint(selection.width(), selection.height())));
        SurfaceWidget *overlay = nullptr;
        QTRY_VERIFY((overlay = visibleWindow<SurfaceWidget>()));
        QTRY_COMPARE(xGeometry(overlay), screenGeometry(screen));
        QCOMPARE(overlay->selectRect(), selection.translated(-screenGeometry(screen).topLeft()));
        QGuiApplication::clipboard()->clear();
        QTest::qWait(300);
        QVERIFY(xdotool({"key", "ctrl+c"}));
        QTRY_VERIFY_WITH_TIMEOUT(!clipboardImage().isNull(), 5000);
        QCOMPARE(clipboardImage(), m_root.copy(selection));
    }

    void dragAcrossScreens_opensTheJoinedCutInTheEditor()
    {
        QVERIFY(openSelectors());
        const QRect selection(1800, 200, 300, 300);
        QVERIFY(xdotoolDrag(selection.topLeft(), selection.topLeft() + QPoint(selection.width(), selection.height())));
        EditPonoramWidget *editor = nullptr;
        QTRY_VERIFY((editor = visibleWindow<EditPonoramWidget>()));
        QVERIFY(QTest::qWaitForWindowExposed(editor));
        QGuiApplication::clipboard()->clear();
        QTRY_VERIFY(editor->isActive());
        QVERIFY(xdotool({"key", "ctrl+c"}));
        QTRY_VERIFY_WITH_TIMEOUT(!clipboardImage().isNull(), 5000);
        QCOMPARE(clipboardImage(), m_root.copy(selection));
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
        EditPonoramWidget *editor = nullptr;
        QTRY_VERIFY((editor = visibleWindow<EditPonoramWidget>()));
        QVERIFY(QTest::qWaitForWindowExposed(editor));
        QGuiApplication::clipboard()->clear();
        editor->screenSaveToClipboard();
        QCOMPARE(clipboardImage(), m_root);
    }
};

QTEST_MAIN(ScreensTest)
#include "tst_screens_e2e.moc"
