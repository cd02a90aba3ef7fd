// The capture overlay on a real X server, over a known picture on the screen, drawn by the
// software scene graph as in the program. One overlay window serves every capture, until
// none has come for a while where the X server cannot reach this process's shared memory.
// Its keys and mouse are in tst_overlayinput.

#include "../harness/files.h"
#include "../harness/overlay.h"
#include "../harness/pagedriver.h"
#include "../harness/patternwindow.h"
#include "../harness/sharedmemory.h"
#include "capture/screengrab.h"
#include "capture/screenpicture.h"
#include "painter/mpainterarea.h"
#include "settings/constants.h"
#include "settings/setting.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QSignalSpy>
#include <QTest>

#include "../harness/xwindows.h"

namespace {

// The picture under the overlay's dim layer, drawn the way the overlay draws it.
QImage dimmed(const QImage &picture)
{
    QImage result = rgb(picture);
    QPainter(&result).fillRect(result.rect(), QColor(QStringLiteral("#6c141517")));
    return result;
}

} // namespace

class SurfaceWidgetTest : public QObject
{
    Q_OBJECT

    PatternWindow m_pattern;
    QPointer<SurfaceWidget> m_overlay;

    bool open(const QRect &selection = QRect()) { return (m_overlay = openOverlay(selection)); }

    // What the screen showed when the overlay's first frame of a new capture was out.
    QImage firstFrameOfCapture()
    {
        QImage firstFrame;
        m_overlay = Core::instance()->surfaceWidget();
        const QMetaObject::Connection grab = connect(m_overlay, &QQuickWindow::frameSwapped, this, [&] {
            if (firstFrame.isNull())
                firstFrame = rgb(QGuiApplication::primaryScreen()->grabWindow(0));
        });
        m_overlay->show();
        (void)QTest::qWaitFor([&] { return !firstFrame.isNull(); }, 5000);
        disconnect(grab);
        return firstFrame;
    }

private slots:
    void initTestCase()
    {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        Setting::instance()->setValue("showCloseSurfaceWindow", 1);
        QVERIFY(m_pattern.showExposed());
        QTest::qWait(100);
    }

    void cleanup()
    {
        if (m_overlay)
            QVERIFY(closeOverlay(m_overlay, &m_pattern));
    }

    void background_isTheScreenBeforeTheOverlayShows()
    {
        QVERIFY(open());
        QCOMPARE(rgb(m_overlay->background()), m_pattern.image);
        auto *picture = m_overlay->rootObject()->findChild<ScreenPicture *>("screenImage");
        QVERIFY(picture);
        QCOMPARE(rgb(picture->picture()), m_pattern.image);
    }

    // The first frame of each capture already holds that capture's picture, dimmed; the
    // second capture shows a changed screen, not the first one's picture.
    void eachCapture_showsItsOwnScreenInItsFirstFrame()
    {
        QCursor::setPos(2, 2);
        const QImage first = m_pattern.image;
        QImage second = first;
        second.invertPixels();
        const QRect sample(300, 200, 800, 500);
        QCOMPARE(firstFrameOfCapture().copy(sample), dimmed(first).copy(sample));
        QVERIFY(closeOverlay(m_overlay, &m_pattern));
        m_pattern.showPicture(second);
        const QImage frame = firstFrameOfCapture().copy(sample);
        m_pattern.showPicture(first);
        QCOMPARE(frame, dimmed(second).copy(sample));
        QCOMPARE(rgb(m_overlay->background()), second);
    }

    // The X server shows the capture's picture, dimmed, the moment the window maps, while the
    // overlay has not drawn a frame yet (its event loop stands still); the next capture shows
    // its own screen the same way.
    void eachCapture_showsItsScreenDimmedBeforeItsFirstFrame()
    {
        const QImage first = m_pattern.image;
        QImage second = first;
        second.invertPixels();
        const QRect sample(300, 200, 800, 500);
        for (const QImage &screen : {first, second}) {
            m_pattern.showPicture(screen);
            m_overlay = Core::instance()->surfaceWidget();
            m_overlay->show();
            const QImage shown = xWindowPicture(m_overlay->winId(), sample);
            QVERIFY(closeOverlay(m_overlay, &m_pattern));
            QCOMPARE(shown, dimmed(screen).copy(sample));
        }
        m_pattern.showPicture(first);
    }

    // While a capture is open the X server holds the screen's picture; this process reads
    // only what it draws, and keeps no copy of the whole screen.
    void openCapture_keepsNoCopyOfTheScreenHere()
    {
        const qsizetype screenBytes = qsizetype(m_pattern.image.sizeInBytes());
        const int keep = grabMemoryKeepMsecs();
        setGrabMemoryKeepMsecs(0);
        (void)grabScreenArea(QRect(0, 0, 1, 1));
        QTRY_COMPARE(mappedSegments(screenBytes), 0);
        QVERIFY(!firstFrameOfCapture().isNull());
        const int held = mappedSegments(screenBytes);
        setGrabMemoryKeepMsecs(keep);
        QCOMPARE(held, 0);
    }

    // Where the X server cannot reach this process's shared memory, Qt keeps the pixels of a
    // window it has drawn here for as long as the window lives: once no capture has come for
    // the keep time, the overlay that drew them makes way for a fresh one, which serves the
    // next capture.
    void overlayWithoutSharedMemory_isRenewedWhenNoCaptureComes()
    {
        if (!serverOutsideOurMemory())
            QSKIP("Qt draws the overlay through shared memory here");
        const int keep = grabMemoryKeepMsecs();
        setGrabMemoryKeepMsecs(100);
        QVERIFY(open());
        const QPointer<SurfaceWidget> drawn = m_overlay;
        QVERIFY(closeOverlay(m_overlay, &m_pattern));
        const bool renewed = QTest::qWaitFor([&] { return !drawn; });
        setGrabMemoryKeepMsecs(keep);
        QVERIFY(renewed);
        QVERIFY(open());
        QCOMPARE(rgb(m_overlay->background()), m_pattern.image);
    }

    void requestBackground_isAPngDataUrlOfTheScreen()
    {
        QVERIFY(open());
        const QString url = m_overlay->requestBackground();
        QVERIFY(url.startsWith("data:image/png;base64,"));
        QCOMPARE(rgb(QImage::fromData(QByteArray::fromBase64(url.mid(22).toLatin1()), "PNG")), m_pattern.image);
    }

    // Once a capture is over nothing holds its picture any more, not even what the hidden
    // window drew last.
    void endedCapture_letsItsPictureGo()
    {
        QVERIFY(open());
        const QImage picture = m_overlay->background().toImage();
        QVERIFY(closeOverlay(m_overlay, &m_pattern));
        QVERIFY(picture.isDetached());
    }

    // Items, history, tool, toolbar, menu, confirm box and selection of one capture are gone
    // in the next; the tool is the start tool a new page picks from the settings.
    void nextCapture_startsFromAFreshState()
    {
        QVERIFY(open(QRect(100, 100, 400, 300)));
        MPainterArea *canvas = m_overlay->paintArea();
        QQuickItem *toolBar = m_overlay->rootObject()->findChild<QQuickItem *>("toolBar");
        QVERIFY(toolBar);
        QMetaObject::invokeMethod(toolBar, "toolButtonTriggered", Q_ARG(QVariant, "Rect"), Q_ARG(QVariant, true));
        QTest::mousePress(m_overlay, Qt::LeftButton, {}, QPoint(150, 150));
        QTest::mouseMove(m_overlay, QPoint(250, 220));
        QTest::mouseRelease(m_overlay, Qt::LeftButton, {}, QPoint(250, 220));
        QCOMPARE(canvas->graphItems().size(), 1);
        QVERIFY(canvas->canUndo());
        QMetaObject::invokeMethod(toolBar, "toolButtonTriggered", Q_ARG(QVariant, "Rect"), Q_ARG(QVariant, false));
        QCOMPARE(canvas->currentModule(), QString());
        toolBar->setProperty("moved", true);
        toolBar->setPosition(QPointF(50, 50));
        toolBar->setProperty("showMenu", true);
        // The first Escape unchecks the new item, the second asks.
        QTest::keyClick(m_overlay, Qt::Key_Escape);
        QTest::keyClick(m_overlay, Qt::Key_Escape);
        QVERIFY(m_overlay->visibleCloseWindow());
        QVERIFY(closeOverlay(m_overlay, &m_pattern));

        QVERIFY(open());
        QVERIFY(m_overlay->selector()->isEmptySelection());
        QVERIFY(m_overlay->selector()->firstDraw());
        QVERIFY(!m_overlay->selector()->showToolBar());
        QVERIFY(!m_overlay->visibleCloseWindow());
        QVERIFY(canvas->graphItems().isEmpty());
        QVERIFY(!canvas->canUndo());
        QCOMPARE(canvas->currentModule(), QStringLiteral("Rect"));
        QCOMPARE(toolBar->property("selectItem").toString(), QStringLiteral("Rect"));
        QVERIFY(!toolBar->property("moved").toBool());
        QVERIFY(!toolBar->property("showMenu").toBool());
        m_overlay->selector()->setRubberRect(QRectF(100, 100, 400, 300));
        QCOMPARE(toolBar->position(), QPointF(10, 411));
        QTest::keyClick(m_overlay, Qt::Key_Z, Qt::ControlModifier);
        QVERIFY(canvas->graphItems().isEmpty());
    }

    void renderRubberRect_isTheExactCrop_emptyIsNothing()
    {
        QVERIFY(open(QRect(100, 50, 300, 200)));
        QCOMPARE(m_overlay->selectRect(), QRect(100, 50, 300, 200));
        QCOMPARE(rgb(m_overlay->renderRubberRect()), m_pattern.image.copy(100, 50, 300, 200));
        m_overlay->selector()->setRubberRect(QRectF(10, 10, 0, 40));
        QVERIFY(m_overlay->renderRubberRect().isNull());
    }

    void showOnWindow_writesScreenInfoExactly()
    {
        m_overlay = Core::instance()->surfaceWidget();
        m_overlay->showOnWindow(0, QRect(10, 20, 300, 200), QPixmap::fromImage(m_pattern.image));
        QCOMPARE(readFile(m_pathSettings + "screen_info.log"), QByteArray("index = 0\nrect = 10:20 300x200"));
        QCOMPARE(m_overlay->selectRect(), QRect(10, 20, 300, 200));
        QVERIFY(m_overlay->selector()->showToolBar());
    }

    void toolbarScreen_isTheScreenMetOrNull()
    {
        m_overlay = Core::instance()->surfaceWidget();
        const QSize screen = QGuiApplication::primaryScreen()->geometry().size();
        QCOMPARE(m_overlay->toolbarScreen(10, 10, 50, 50), QRect(QPoint(0, 0), screen));
        QVERIFY(m_overlay->toolbarScreen(-500, -500, 50, 50).isNull());
    }

    // The window system may close the window while a copy waits for its repaint: nothing is
    // copied, and the next capture closes as usual.
    void windowSystemClose_duringTheRepaintPause_endsTheCapture()
    {
        QVERIFY(open(QRect(40, 30, 120, 90)));
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        QTimer::singleShot(50, m_overlay, [this] {
            QCloseEvent close;
            QCoreApplication::sendEvent(m_overlay, &close);
        });
        m_overlay->screenSaveToClipboard();
        QVERIFY(!m_overlay->isCapturing());
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        QVERIFY(open());
        QSignalSpy closed(m_overlay, &SurfaceWidget::closed);
        m_overlay->close();
        QCOMPARE(closed.count(), 1);
        QVERIFY(!m_overlay->isVisible());
    }

    void copy_duringTheRepaintPause_keepsTheOverlayAlive()
    {
        QVERIFY(open(QRect(40, 30, 120, 90)));
        QPointer<SurfaceWidget> overlay(m_overlay);
        QSignalSpy closed(m_overlay, &SurfaceWidget::closed);
        QTimer::singleShot(50, m_overlay, [this] { m_overlay->close(); });
        QTimer::singleShot(60, m_overlay, [this] { QTest::keyClick(m_overlay, Qt::Key_Escape); });
        int closedDuringPause = -1;
        QTimer::singleShot(100, m_overlay, [&] { closedDuringPause = closed.count(); });
        m_overlay->screenSaveToClipboard();
        QVERIFY(overlay);
        QCOMPARE(closedDuringPause, 0);
        QVERIFY(closed.count() >= 1);
        QCOMPARE(rgb(QGuiApplication::clipboard()->image()), m_pattern.image.copy(40, 30, 120, 90));
    }

    // The window outlives a language switch: the next capture asks in the new language.
    void languageSwitch_reachesTheOverlayMadeBefore()
    {
        QVERIFY(open(QRect(100, 100, 400, 300)));
        QVERIFY(closeOverlay(m_overlay, &m_pattern));
        Setting::instance()->setLanguage(QStringLiteral("ru"));
        QVERIFY(open(QRect(100, 100, 400, 300)));
        QTest::keyClick(m_overlay, Qt::Key_Escape);
        QQuickItem *box = PageDriver::named(m_overlay, QStringLiteral("confirmBox"));
        QTRY_VERIFY(box->isVisible());
        QStringList texts;
        PageDriver::find(box, [&](QQuickItem *item) {
            texts << item->property("text").toString();
            return false;
        });
        Setting::instance()->setLanguage(QStringLiteral("en"));
        QVERIFY2(texts.contains(QStringLiteral("Отменить снимок экрана? Все изменения будут потеряны!")),
                 qPrintable(texts.join(QLatin1Char('|'))));
    }
};

QTEST_MAIN(SurfaceWidgetTest)
#include "tst_surfacewidget.moc"
