// The capture overlay on a real X server, over a known picture on the screen.

#include "capture/magnifieritem.h"
#include "capture/surfaceselector.h"
#include "capture/surfacewidget.h"
#include "core.h"
#include "painter/mpainterarea.h"
#include "settings/constants.h"
#include "settings/setting.h"
#include "../harness/patternwindow.h"

#include <QClipboard>
#include <QPainter>
#include <QProcess>
#include <QRasterWindow>
#include <QScreen>
#include <QtTest>

namespace {

bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

QImage rgb(const QPixmap &pixmap)
{
    return pixmap.toImage().convertToFormat(QImage::Format_RGB32);
}

} // namespace

class SurfaceWidgetTest : public QObject
{
    Q_OBJECT

    PatternWindow *m_pattern = nullptr;
    QPointer<SurfaceWidget> m_overlay;

    // The overlay as the controller makes it, so that results reach the controller.
    SurfaceWidget *openOverlay()
    {
        m_overlay = Core::instance()->surfaceWidget();
        m_overlay->show();
        if (!QTest::qWaitForWindowExposed(m_overlay))
            return nullptr;
        m_overlay->requestActivate();
        (void)QTest::qWaitForWindowActive(m_overlay);
        return m_overlay;
    }

    // Waits until the overlay is gone and the picture underneath is painted again.
    void closeOverlay()
    {
        QPointer<SurfaceWidget> overlay(m_overlay);
        Core::instance()->deleteSurfaceScreen();
        QTRY_VERIFY(!overlay);
        m_overlay = nullptr;
        m_pattern->requestUpdate();
        QTest::qWait(300);
    }

    void select(const QRect &rect)
    {
        m_overlay->selector()->setRubberRect(QRectF(rect));
    }

private slots:
    void initTestCase()
    {
        Setting::instance()->setValue("showCloseSurfaceWindow", 1);
        m_pattern = new PatternWindow();
        m_pattern->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_pattern));
        QTest::qWait(100);
    }

    void cleanup()
    {
        closeOverlay();
        Setting::instance()->setValue("showCloseSurfaceWindow", 1);
    }

    void background_isTheScreenBeforeTheOverlayShows()
    {
        QVERIFY(openOverlay());
        QCOMPARE(rgb(m_overlay->background()), m_pattern->image);
        QVERIFY(m_overlay->selector());
        QVERIFY(m_overlay->paintArea());
    }

    void requestBackground_isAPngDataUrlOfTheScreen()
    {
        QVERIFY(openOverlay());
        const QString url = m_overlay->requestBackground();
        QVERIFY(url.startsWith("data:image/png;base64,"));
        QImage decoded;
        QVERIFY(decoded.loadFromData(QByteArray::fromBase64(url.mid(22).toLatin1()), "PNG"));
        QCOMPARE(decoded.convertToFormat(QImage::Format_RGB32), m_pattern->image);
    }

    void renderRubberRect_isTheExactCrop()
    {
        QVERIFY(openOverlay());
        select(QRect(100, 50, 300, 200));
        QCOMPARE(m_overlay->selectRect(), QRect(100, 50, 300, 200));
        QCOMPARE(rgb(m_overlay->renderRubberRect()), m_pattern->image.copy(100, 50, 300, 200));
    }

    void emptySelection_rendersNothing()
    {
        QVERIFY(openOverlay());
        select(QRect(10, 10, 0, 40));
        QVERIFY(m_overlay->renderRubberRect().isNull());
    }

    void showOnWindow_writesScreenInfoExactly()
    {
        m_overlay = Core::instance()->surfaceWidget();
        m_overlay->showOnWindow(0, QRect(10, 20, 300, 200), QPixmap::fromImage(m_pattern->image));
        QFile log(m_pathSettings + "screen_info.log");
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll(), QByteArray("index = 0\nrect = 10:20 300x200"));
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

    void escape_asksWithASelectionAndReturnCloses()
    {
        QVERIFY(openOverlay());
        select(QRect(100, 100, 200, 200));
        QSignalSpy closed(m_overlay, &SurfaceWidget::closed);
        QTest::keyClick(m_overlay, Qt::Key_Escape);
        QVERIFY(m_overlay->visibleCloseWindow());
        QTest::keyClick(m_overlay, Qt::Key_Escape);
        QVERIFY(!m_overlay->visibleCloseWindow());
        QTest::keyClick(m_overlay, Qt::Key_Escape);
        QTest::keyClick(m_overlay, Qt::Key_Return);
        QVERIFY(closed.count() >= 1);
    }

    void escape_closesAtOnceWithoutConfirmOrSelection()
    {
        QVERIFY(openOverlay());
        QSignalSpy closed(m_overlay, &SurfaceWidget::closed);
        QTest::keyClick(m_overlay, Qt::Key_Escape);
        QVERIFY(closed.count() >= 1);
        closeOverlay();
        Setting::instance()->setValue("showCloseSurfaceWindow", 0);
        QVERIFY(openOverlay());
        select(QRect(100, 100, 200, 200));
        QSignalSpy closedToo(m_overlay, &SurfaceWidget::closed);
        QTest::keyClick(m_overlay, Qt::Key_Escape);
        QVERIFY(closedToo.count() >= 1);
        QVERIFY(!m_overlay || !m_overlay->visibleCloseWindow());
    }

    void doubleClick_expandsThenCollapses()
    {
        QVERIFY(openOverlay());
        QTest::mouseDClick(m_overlay, Qt::LeftButton, Qt::NoModifier, QPoint(400, 300));
        QCOMPARE(m_overlay->selector()->rubberRect(), QRectF(0, 0, m_overlay->width(), m_overlay->height()));
        QTest::mouseDClick(m_overlay, Qt::LeftButton, Qt::NoModifier, QPoint(400, 300));
        QVERIFY(m_overlay->selector()->isEmptySelection());
    }

    void ctrlC_withoutSelection_copiesTheColourUnderTheCursor()
    {
        QVERIFY(openOverlay());
        QTRY_VERIFY(m_overlay->isActive());
        QSignalSpy closed(m_overlay, &SurfaceWidget::closed);
        QVERIFY(xdotool({"mousemove", "333", "222"}));
        QTest::qWait(300);
        const QString expected = QColor(m_pattern->image.pixel(333, 222)).name().mid(1);
        QVERIFY(xdotool({"key", "ctrl+c"}));
        QTRY_VERIFY(closed.count() >= 1);
        QCOMPARE(QGuiApplication::clipboard()->text(), expected);
    }

    void copy_duringTheRepaintPause_keepsTheOverlayAlive()
    {
        QVERIFY(openOverlay());
        select(QRect(40, 30, 120, 90));
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
        QCOMPARE(QGuiApplication::clipboard()->image().convertToFormat(QImage::Format_RGB32),
                 m_pattern->image.copy(40, 30, 120, 90));
    }
};

QTEST_MAIN(SurfaceWidgetTest)
#include "tst_surfacewidget.moc"
