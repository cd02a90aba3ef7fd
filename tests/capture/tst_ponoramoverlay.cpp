// The scrolling capture in the overlay on a real X server: a window of this test scrolls a
// tall known picture under the selection; the overlay lets the wheel through, stitches what
// it shows and hands the stitched picture on like any capture.

#include "../harness/files.h"
#include "../harness/overlay.h"
#include "../harness/shellwindows.h"
#include "../harness/tallpicture.h"
#include "../harness/xtools.h"
#include "app/messagedialog.h"
#include "capture/ponoram.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"

#include <QPainter>
#include <QQuickItem>
#include <QRasterWindow>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QWheelEvent>

namespace {

constexpr int wheelStep = 40;

// The whole screen, showing a tall picture from `offset` on; each wheel notch down scrolls
// it by 40 rows.
class ScrollWindow : public QRasterWindow
{
public:
    ScrollWindow()
    {
        setFlags(Qt::FramelessWindowHint);
        setGeometry(QRect(0, 0, 1920, 1080));
    }
    void paintEvent(QPaintEvent *) override { QPainter(this).drawImage(QPoint(0, 0), picture, QRect(0, offset, 1920, 1080)); }
    void wheelEvent(QWheelEvent *event) override { scrollBy(-event->angleDelta().y() / 120 * wheelStep); }
    void mousePressEvent(QMouseEvent *event) override
    {
        if (scrollBar.contains(event->position().toPoint()))
            scrollBy(wheelStep);
    }
    void keyPressEvent(QKeyEvent *) override { ++keys; }
    void scrollBy(int rows)
    {
        offset = qBound(0, offset + rows, picture.height() - 1080);
        update();
    }

    QImage picture = tallPicture(QSize(1920, 3000), 11);
    int offset = 0;
    QRect scrollBar; // a click in it scrolls down a step
    int keys = 0;
};

Ponoram *runningEngine(QObject *overlay)
{
    const QList<Ponoram *> engines = overlay->findChildren<Ponoram *>();
    const auto running = std::find_if(engines.begin(), engines.end(), [](Ponoram *engine) { return engine->isRunning(); });
    return running == engines.end() ? nullptr : *running;
}

} // namespace

class PonoramOverlayTest : public QObject
{
    Q_OBJECT

    ScrollWindow m_scroll;
    QPointer<SurfaceWidget> m_overlay;
    QTemporaryDir m_scratch;

    bool open(const QRect &selection) { return (m_overlay = openOverlay(selection)); }

    QQuickItem *pageItem(const char *name) const { return m_overlay->rootObject()->findChild<QQuickItem *>(name); }

    void chooseScrollingTool(bool on)
    {
        QMetaObject::invokeMethod(pageItem("toolBar"), "toolButtonTriggered", Q_ARG(QVariant, "Ponoram"),
                                  Q_ARG(QVariant, on));
    }

private slots:
    void initTestCase()
    {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        Setting::instance()->setValue(SettingKeys::qualityImage, 2);
        m_scroll.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_scroll));
    }

    void cleanup()
    {
        if (m_overlay && m_overlay->isCapturing())
            Core::instance()->deleteSurfaceScreen();
        m_scroll.offset = 0;
        m_scroll.update();
        QTest::qWait(200);
    }

    // The whole road: the toolbar's button, the pointer into the selection, the wheel, the
    // capture ending by itself once the page stands still, then Save.
    void scrolledPage_isSavedAsTheStitchedPicture()
    {
        const QRect selection(600, 200, 400, 500);
        QVERIFY(open(selection));
        QQuickItem *button = pageItem("ponoramButton");
        QTRY_VERIFY(button->isVisible());
        const QPoint play = button->mapToScene(QPointF(12, 10)).toPoint();
        QVERIFY(xdotoolClick(play));
        QTRY_VERIFY(m_overlay->isPonoramWork());
        QProcess wheel;
        wheel.start("xdotool", {"mousemove", "800", "450", "sleep", "0.3", "click", "--repeat", "8", "--delay",
                                "100", "5"});
        QTRY_VERIFY_WITH_TIMEOUT(wheel.state() == QProcess::NotRunning, 10000);
        QTRY_VERIFY_WITH_TIMEOUT(!m_overlay->isPonoramWork(), 10000);
        QCOMPARE(m_scroll.offset, 8 * wheelStep);

        const QString file = m_scratch.filePath("scrolled.png");
        Core::setSaveFileDialog([&](const QString &, const QString &, const QString &) { return file; });
        m_overlay->saveScreen();
        QCOMPARE(rgb(QImage(file)),
                 m_scroll.picture.copy(600, 200, 400, 500 + 8 * wheelStep));
    }

    // A click on the scroll bar gives the window underneath the keyboard; once the capture
    // ends, the overlay has it again, and the keys meant for the capture reach it alone.
    void keyboard_isTheOverlaysAgainOnceTheCaptureEnds()
    {
        const QRect selection(600, 200, 400, 500);
        m_scroll.scrollBar = QRect(selection.right() - 20, selection.top(), 20, selection.height());
        QVERIFY(open(selection));
        Core::instance()->setHostUrl(QStringLiteral("127.0.0.1:%1").arg(freePort())); // nobody answers
        chooseScrollingTool(true);
        QSignalSpy firstFrame(runningEngine(m_overlay), &Ponoram::changePreview);
        QVERIFY(firstFrame.wait());
        QVERIFY(xdotoolClick(m_scroll.scrollBar.center()));
        QTRY_COMPARE(xdotoolWindow("getwindowfocus"), m_scroll.winId());
        QTRY_VERIFY(!m_overlay->isPonoramWork()); // the page stands still again
        QCOMPARE(m_scroll.offset, wheelStep);

        QTRY_COMPARE(xdotoolWindow("getwindowfocus"), m_overlay->winId());
        const QString before = Core::instance()->lastCaptureFile();
        QVERIFY(xdotool({"key", "ctrl+Return"}));
        QTRY_VERIFY(Core::instance()->lastCaptureFile() != before);
        QVERIFY(!m_overlay->isCapturing());
        QCOMPARE(m_scroll.keys, 0);
        // The upload finds nobody and asks about the capture; no window may lie over the next cases.
        QTRY_VERIFY_WITH_TIMEOUT(!ShellWindows::shown<MessageDialog>().isEmpty(), 15000);
        ShellWindows::closeAll();
    }

    // The viewer shows the stitched picture, not the screen, and the result is all of it at
    // its own size.
    void result_isShownAndRenderedWhole()
    {
        QVERIFY(open(QRect(100, 100, 400, 300)));
        const QImage picture = tallPicture(QSize(400, 1200), 5);
        m_overlay->ponoramComplete(QPixmap::fromImage(picture));
        const QImage shown = rgb(m_overlay->grabWindow());
        QCOMPARE(shown.copy(100, 100, 380, 300), picture.copy(0, 0, 380, 300));
        QCOMPARE(rgb(m_overlay->renderRubberRect()), picture);
    }

    void start_grabsTheSelectionOnTheDesktop_butNotOneWithoutWidth()
    {
        QVERIFY(open(QRect(10, 20, 300, 200)));
        m_overlay->setGeometry(QRect(100, 50, 1000, 700));
        QTRY_COMPARE(m_overlay->position(), QPoint(100, 50));
        chooseScrollingTool(true);
        Ponoram *engine = runningEngine(m_overlay);
        QVERIFY(engine);
        QCOMPARE(engine->rect(), QRect(110, 70, 300, 200));
        chooseScrollingTool(false);

        m_overlay->selector()->setRubberRect(QRectF(100, 100, 0, 50));
        m_overlay->startPonoram();
        QVERIFY(!m_overlay->isPonoramWork() && m_overlay->isPonoramError() && !runningEngine(m_overlay));
    }

    void scrollingTool_keepsRoomForThePreview_data()
    {
        QTest::addColumn<QRect>("selection");
        QTest::newRow("the whole width") << QRect(0, 300, 1920, 400);
        QTest::newRow("nearly the whole width") << QRect(10, 300, 1900, 400);
        QTest::newRow("against the right edge") << QRect(1500, 300, 415, 400);
    }

    void scrollingTool_keepsRoomForThePreview()
    {
        QFETCH(QRect, selection);
        QVERIFY(open(selection));
        chooseScrollingTool(true);
        // The run starts on the selection as the tool's limits left it.
        QCOMPARE(runningEngine(m_overlay)->rect(), m_overlay->selectRect());
        QQuickItem *preview = pageItem("ponoramPreview");
        QVERIFY(preview->isVisible());
        QVERIFY(QRectF(0, 0, 1920, 1080).contains(preview->mapRectToScene(preview->boundingRect())));
        chooseScrollingTool(false);
        QVERIFY(!m_overlay->isPonoramWork());
    }

    // The error shows over the result, saying why; nothing of the run, its result or its
    // error is left for the next capture.
    void errorAndResult_showThenAreGoneInTheNextCapture()
    {
        const QRect selection(200, 150, 300, 200);
        QVERIFY(open(selection));
        m_overlay->startPonoram();
        QTest::qWait(200);
        m_overlay->stopPonoram();
        m_overlay->ponoramError();
        QVERIFY(pageItem("ponoramErrorNotice")->isVisible());
        m_overlay->ponoramFull();
        QCOMPARE(pageItem("ponoramErrorText")->property("text").toString(),
                 QString("The scrolling capture stopped at the largest picture that can still be saved: the "
                         "picture ends with the last frame that fitted."));
        QVERIFY(!m_overlay->ponoramResult().isNull());
        Core::instance()->deleteSurfaceScreen();

        QVERIFY(open(selection));
        QVERIFY(!m_overlay->isPonoramError() && m_overlay->ponoramResult().isNull());
        QCOMPARE(m_overlay->ponoramSize(), QSize(-1, -1));
        QVERIFY(!pageItem("ponoramViewer")->isVisible());
        QCOMPARE(rgb(m_overlay->renderRubberRect()), m_scroll.picture.copy(selection));
        // A run still going when the capture ends stops with it.
        m_overlay->startPonoram();
        Core::instance()->deleteSurfaceScreen();
        QVERIFY(!runningEngine(m_overlay));
        QTRY_VERIFY(!m_overlay->isPonoramWork());
    }
};

QTEST_MAIN(PonoramOverlayTest)
#include "tst_ponoramoverlay.moc"
