#include "pagetestsupport.h"
#include "windows/window_win.h"
#include "windows/windowtypes.h"

#include <QBitmap>
#include <QGuiApplication>
#include <QQuickItem>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

namespace {

class FrameWindow : public BasicWindow
{
public:
    explicit FrameWindow(bool movable)
    {
        setupUi();
        setMoviable(movable);
    }

protected:
    void init() override
    {
        setObjectName("FrameWindow");
        setSource(QUrl::fromLocalFile(MAVU_TEST_DIR "/fixtures/FramePage.qml"));
    }
};

} // namespace

// The window base on a primary screen that is not at the origin: (1920, 200), 1280 x 1024,
// as when it stands right of another screen.
class BasicWindowTest : public QObject
{
    Q_OBJECT

    static QPoint topLeft(const QWindow &window) { return window.position(); }

private slots:
    void initTestCase()
    {
        registerWindowQmlTypes();
        PageTestSupport::install();
        QCOMPARE(QGuiApplication::primaryScreen()->geometry(), QRect(1920, 200, 1280, 1024));
    }

    void cleanup()
    {
        const QString warnings = PageTestSupport::takeWarnings();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
    }

    void page_takesItsSizeWithTheMargin()
    {
        FrameWindow window(false);
        QCOMPARE(window.status(), QQuickView::Ready);
        QVERIFY(window.isTransparentSupport());
        QCOMPARE(window.size(), QSize(301, 260));
        QVERIFY(window.flags() & Qt::FramelessWindowHint);
    }

    void show_putsTheWindowInTheCornerOfThePrimaryScreen()
    {
        FrameWindow window(false);
        QSignalSpy showed(&window, &BasicWindow::showed);
        window.show();
        QCOMPARE(showed.count(), 1);
        QCOMPARE(topLeft(window), QPoint(1920 + 1280 - 301 + 10, 200 + 1024 - 260 + 10));
    }

    void centred_usesTheScreenOrigin()
    {
        FrameWindow window(false);
        window.setPosCenter(true);
        QCOMPARE(topLeft(window), QPoint(1920 + 640 - 150, 200 + 512 - 130));
        window.show();
        QCOMPARE(topLeft(window), QPoint(1920 + 640 - 150, 200 + 512 - 130));
    }

    void setHeight_replacesUnlessDragged()
    {
        FrameWindow window(true);
        window.show();
        QSignalSpy heights(&window, &BasicWindow::heightChanged);
        window.setHeight(300);
        QCOMPARE(heights.count(), 1);
        QCOMPARE(heights.at(0).at(0).toInt(), 300);
        QCOMPARE(topLeft(window), QPoint(1920 + 1280 - 301 - 10, 200 + 1024 - 300 - 20));
        QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(100, 40));
        QTest::mouseMove(&window, QPoint(80, 45));
        QTest::mouseRelease(&window, Qt::LeftButton, {}, QPoint(100, 40));
        QVERIFY(window.isMoved());
        const QPoint dragged = topLeft(window);
        window.setHeight(320);
        QCOMPARE(window.height(), 320);
        QCOMPARE(topLeft(window), dragged);
    }

    void sameSize_emitsOnlyGeometryChanged()
    {
        FrameWindow window(false);
        QSignalSpy widths(&window, &BasicWindow::widthChanged);
        QSignalSpy heights(&window, &BasicWindow::heightChanged);
        QSignalSpy geometry(&window, &BasicWindow::geometryChanged);
        window.setWidth(window.width());
        window.setHeight(window.height());
        QCOMPARE(widths.count(), 0);
        QCOMPARE(heights.count(), 0);
        QCOMPARE(geometry.count(), 2);
        window.setWidth(400);
        QCOMPARE(widths.count(), 1);
        QCOMPARE(window.minimumWidth(), 400);
        QCOMPARE(window.maximumWidth(), 400);
    }

    void dataMap_announcesEveryWriteAndReachesThePage()
    {
        FrameWindow window(false);
        QSignalSpy changes(&window, &BasicWindow::dataChanged);
        QVERIFY(!window.data("title").isValid());
        window.setData("title", "Upload");
        window.setData("title", "Upload");
        QCOMPARE(changes.count(), 2);
        QCOMPARE(changes.at(1).at(0).toString(), QStringLiteral("title"));
        QCOMPARE(window.data("title").toString(), QStringLiteral("Upload"));
        window.setSource(window.source());
        QCOMPARE(window.rootObject()->property("titleText").toString(), QStringLiteral("Mavu - Upload"));
    }

    void drag_onlyFromTheBandUnderTheMargin_data()
    {
        QTest::addColumn<int>("pressY");
        QTest::addColumn<bool>("movable");
        QTest::addColumn<bool>("moves");
        QTest::newRow("margin edge 30") << 30 << true << false;
        QTest::newRow("band top 31") << 31 << true << true;
        QTest::newRow("band bottom 59") << 59 << true << true;
        QTest::newRow("below band 60") << 60 << true << false;
        QTest::newRow("not movable") << 40 << false << false;
    }

    void drag_onlyFromTheBandUnderTheMargin()
    {
        QFETCH(int, pressY);
        QFETCH(bool, movable);
        QFETCH(bool, moves);
        FrameWindow window(movable);
        window.show();
        const QPoint start = topLeft(window);
        const int pressesBefore = window.rootObject()->property("presses").toInt();
        QTest::mousePress(&window, Qt::LeftButton, {}, QPoint(120, pressY));
        QTest::mouseMove(&window, QPoint(100, pressY + 7));
        // Released where the pointer now is in the window, which may have followed it.
        const QPoint followed = moves ? QPoint(120, pressY) : QPoint(100, pressY + 7);
        QTest::mouseRelease(&window, Qt::LeftButton, {}, followed);
        QCOMPARE(topLeft(window) != start, moves);
        if (moves)
            QCOMPARE(topLeft(window), start + QPoint(-20, 7));
        QCOMPARE(window.isMoved(), moves);
        if (pressY > 40 || !movable)
            QCOMPARE(window.rootObject()->property("presses").toInt(), pressesBefore + 1);
    }

    void escape_closesUnlessThePageTakesIt()
    {
        FrameWindow window(false);
        window.show();
        window.requestActivate();
        QVERIFY(QTest::qWaitForWindowActive(&window));
        QVERIFY(window.rootObject()->findChild<QQuickItem *>("keyTaker")->hasActiveFocus());
        QSignalSpy closed(&window, &BasicWindow::closed);
        window.rootObject()->setProperty("keepEscape", true);
        QTest::keyClick(&window, Qt::Key_Escape);
        QCOMPARE(closed.count(), 0);
        window.rootObject()->setProperty("keepEscape", false);
        QTest::keyClick(&window, Qt::Key_Escape);
        QCOMPARE(closed.count(), 1);
        QVERIFY(!window.isVisible());
    }

    void mapToScene_sumsPositionsBelowTheRoot()
    {
        FrameWindow window(false);
        auto *keyTaker = window.rootObject()->findChild<QQuickItem *>("keyTaker");
        QVERIFY(keyTaker);
        // keyTaker (12, 7) in the content item, which fills the panel at (30, 30).
        QCOMPARE(window.mapToScene(keyTaker), QPointF(42, 37));
        QCOMPARE(window.mapToScenePoint(keyTaker, 50, 50), QPointF(8, 13));
    }

    void cornerMask_cutsTheFourCorners()
    {
        const QPixmap corner(":/image/image/image/rounded_edge.png");
        QCOMPARE(corner.size(), QSize(20, 20));
        const QRegion region(roundedWindowMask(corner, 100, 60));
        for (const QPoint corners : {QPoint(0, 0), QPoint(99, 0), QPoint(0, 59), QPoint(99, 59)})
            QVERIFY2(!region.contains(corners), qPrintable(QString("%1,%2").arg(corners.x()).arg(corners.y())));
        for (const QPoint inside : {QPoint(50, 30), QPoint(10, 0), QPoint(0, 30), QPoint(89, 59), QPoint(9, 9)})
            QVERIFY2(region.contains(inside), qPrintable(QString("%1,%2").arg(inside.x()).arg(inside.y())));
    }
};

int main(int argc, char **argv)
{
    // Offscreen screens as the test needs them: the primary one away from the origin.
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" MAVU_TEST_DIR "/screens.json");
    QGuiApplication app(argc, argv);
    BasicWindowTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_basicwindow.moc"
