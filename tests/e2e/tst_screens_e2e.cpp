// Captures on two monitors side by side under a window manager, over a known picture on the
// root window, driven through the X server as a user would: the pointer and keys by XTest.

#include "../harness/editor.h"
#include "../harness/files.h"
#include "../harness/pagedriver.h"
#include "../harness/shellwindows.h"
#include "../harness/xtools.h"
#include "capture/editponoramwidget.h"
#include "capture/selectorwidget_linux.h"
#include "capture/surfaceselector.h"
#include "capture/surfacewidget.h"
#include "core.h"
#include "painter/mpainterarea.h"
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

// Ctrl+Shift+Print: the editor on all screens joined, once it shows the picture at the
// page's size and has the keyboard.
EditPonoramWidget *openFullScreenEditor()
{
    Core::instance()->screen(true, false);
    EditPonoramWidget *editor = shownWindow<EditPonoramWidget>();
    const auto ready = [editor] {
        return editor->paintArea()->width() > 0 && xGeometry(editor).size() == editor->rootObject()->size().toSize()
            && editor->isActive();
    };
    return editor && QTest::qWaitFor(ready) ? editor : nullptr;
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

    // A drag with no height selects nothing, across the border as inside a screen: the
    // overlay opens where it began and waits for a selection; no empty editor opens.
    void flatDragAcrossTheBorder_leavesTheOverlayWaitingForASelection()
    {
        QVERIFY(openSelectors());
        QVERIFY(xdotoolDrag(QPoint(1800, 500), QPoint(2100, 500)));
        SurfaceWidget *overlay = shownWindow<SurfaceWidget>();
        QVERIFY(overlay);
        QTRY_COMPARE(xGeometry(overlay), screenGeometry(0));
        QVERIFY(overlay->selector()->isEmptySelection());
        QCOMPARE(all<EditPonoramWidget>().size(), 0);
        Core::instance()->deleteSurfaceScreen();
    }

    // The whole desktop is not read while the selector windows cover it: the selection
    // goes on, and no editor opens on a picture of the selector windows.
    void fullScreen_whileSelecting_leavesTheSelectionAlone()
    {
        QVERIFY(openSelectors());
        Core::instance()->screen(true, false);
        QCOMPARE(all<EditPonoramWidget>().size(), 0);
        QCOMPARE(ShellWindows::shown<SelectorWidgetMac>().size(), 2);
        QVERIFY(xdotool({"key", "Escape"}));
    }

    void fullScreen_opensAllScreensJoinedInTheEditor()
    {
        EditPonoramWidget *editor = openFullScreenEditor();
        QVERIFY(editor);
        QGuiApplication::clipboard()->clear();
        editor->screenSaveToClipboard();
        QCOMPARE(rgb(QGuiApplication::clipboard()->image()), m_root);
    }

    // The window manager's close (Alt+F4) ends the editor as its own close does, so that the
    // next capture opens a new one; with annotations on the image it asks first, as Escape
    // does once no item is checked.
    void editorClose_asksOnlyWhenAnnotationsWouldBeLost_data()
    {
        QTest::addColumn<bool>("annotated");
        QTest::addColumn<QStringList>("keys");
        QTest::newRow("window manager, nothing drawn") << false << QStringList{"alt+F4"};
        QTest::newRow("window manager, drawn") << true << QStringList{"alt+F4"};
        QTest::newRow("escape, drawn") << true << QStringList{"Escape", "Escape"};
    }

    void editorClose_asksOnlyWhenAnnotationsWouldBeLost()
    {
        QFETCH(bool, annotated);
        QFETCH(QStringList, keys);
        EditPonoramWidget *editor = openFullScreenEditor();
        QVERIFY(editor);
        QVERIFY(!annotated || drawRectangle(editor));
        QVERIFY(xdotool(QStringList{"key"} + keys));
        if (annotated) {
            QQuickItem *question = PageDriver::named(editor, QStringLiteral("confirmBox"));
            QTRY_VERIFY(question && question->isVisible());
            QVERIFY(editor->isVisible());
            QVERIFY(xdotool({"key", "Return"}));
        }
        QTRY_COMPARE(all<EditPonoramWidget>().size(), 0);
        editor = openFullScreenEditor();
        QVERIFY(editor);
        editor->close();
    }

    // Without a compositor the editor's panel fills its window: no black margin. Zoomed out,
    // the horizontal scroll bar stands on the picture's lower edge, not under empty space.
    void editorWithoutCompositor_fillsItsWindow_barOnThePicture()
    {
        EditPonoramWidget *editor = openFullScreenEditor();
        QVERIFY(editor);
        const QPoint corner = xGeometry(editor).topLeft() + QPoint(3, 3);
        QTRY_COMPARE(QColor(screenPixel(corner)), QColor(QStringLiteral("#2e353b")));
        QMetaObject::invokeMethod(editor->rootObject(), "setZoom", Q_ARG(QVariant, 50));
        QQuickItem *bar = PageDriver::named(editor, QStringLiteral("horizontalBar"));
        QQuickItem *picture = PageDriver::named(editor, QStringLiteral("picture"));
        QTRY_VERIFY(bar && bar->isVisible());
        const QRectF shown = picture->mapRectToScene(picture->boundingRect());
        QVERIFY2(bar->mapRectToScene(bar->boundingRect()).bottom() <= shown.bottom(),
                 qPrintable(QStringLiteral("bar at %1, picture ends at %2").arg(bar->y()).arg(shown.bottom())));
        editor->close();
    }
};

QTEST_MAIN(ScreensTest)
#include "tst_screens_e2e.moc"
