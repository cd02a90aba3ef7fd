// The selection item under real window input: drawing, emptiness, hover zones and cursors,
// side and corner drags, the Space slide, and the operations the overlay calls.
#include "capture/captureitemtypes.h"
#include "capture/surfaceselector.h"
#include "capturetesthost.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>

using Host = CaptureTestHost<SurfaceSelector>;

class TestSurfaceSelector : public QObject
{
    Q_OBJECT

private:
    // Draws and finishes the selection (100, 100, 200, 100), then parks the pointer inside it.
    static void drawStandardSelection(Host &host)
    {
        host.drag(QPoint(100, 100), {QPoint(200, 150), QPoint(300, 200)});
        host.move(QPoint(150, 150));
    }

private slots:
    void initTestCase() { useSoftwareRenderer(); }

    void registration_bothTypesCreatableFromQml()
    {
        registerCaptureItemTypes();
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData("import QtQuick 2.0\nimport MavuComponent 1.0\n"
                          "Item { SurfaceSelector { objectName: \"s\" }"
                          " MagnifierItem { objectName: \"m\"; width: 70; height: 70 } }",
                          QUrl());
        std::unique_ptr<QObject> root(component.create());
        QVERIFY2(root, qPrintable(component.errorString()));
        auto *selector = root->findChild<SurfaceSelector *>();
        QVERIFY(selector);
        QCOMPARE(selector->maxSelectWidth(), -1);
        QCOMPARE(selector->maxSelectHeight(), -1);
        QCOMPARE(selector->screenIndex(), -1);
        QVERIFY(selector->firstDraw());
        QVERIFY(!selector->isPress());
        QVERIFY(root->findChild<QQuickItem *>(QStringLiteral("m")));
    }

    void construction_namesItselfAndTakesAllButtons()
    {
        SurfaceSelector selector;
        QCOMPARE(selector.objectName(), QStringLiteral("SurfaceSelector"));
        QCOMPARE(selector.acceptedMouseButtons(), Qt::AllButtons);
        QVERIFY(selector.acceptHoverEvents());
        QVERIFY(selector.clip());
        QVERIFY(!selector.isCompleteSelectRect());
    }

    void drawing_pressDragRelease_givesExactRect()
    {
        Host host(QSize(640, 480));
        QVERIFY(host.exposed);
        QSignalSpy complete(host.item, &SurfaceSelector::selectComplete);
        QSignalSpy toolbar(host.item, &SurfaceSelector::showToolBarChanged);
        host.press(QPoint(100, 80));
        QVERIFY(host.item->isPress());
        host.move(QPoint(150, 120));
        host.move(QPoint(300, 250));
        QCOMPARE(host.item->gx(), 300);
        QCOMPARE(host.item->gy(), 250);
        host.release(QPoint(300, 250));
        QCOMPARE(host.item->rubberRect(), QRectF(100, 80, 200, 170));
        QCOMPARE(complete.count(), 1);
        QCOMPARE(toolbar.count(), 1);
        QVERIFY(host.item->showToolBar());
        QVERIFY(!host.item->firstDraw());
        QVERIFY(!host.item->isPress());
        QVERIFY(host.item->isCompleteSelectRect());
        QCOMPARE(host.item->rubberRectRight(), 300);
        QCOMPARE(host.item->rubberRectBottom(), 250);
    }

    void drawing_upLeft_sideSignalsRawGettersNormalized()
    {
        Host host(QSize(640, 480));
        QSignalSpy leftSignal(host.item, &SurfaceSelector::rubberRectLeftChanged);
        host.press(QPoint(300, 250));
        host.move(QPoint(100, 80));
        QCOMPARE(host.item->rubberRectLeft(), 100);
        QCOMPARE(leftSignal.last().at(0).toInt(), 300);
        host.release(QPoint(100, 80));
        QCOMPARE(host.item->rubberRect(), QRectF(100, 80, 200, 170));
    }

    void emptiness_clickWithoutMoveKeepsWaiting()
    {
        Host host(QSize(640, 480));
        QSignalSpy complete(host.item, &SurfaceSelector::selectComplete);
        host.press(QPoint(200, 200));
        host.release(QPoint(200, 200));
        QVERIFY(host.item->firstDraw());
        QVERIFY(!host.item->showToolBar());
        QVERIFY(!host.item->isPress());
        QVERIFY(host.item->isEmptySelection());
        QCOMPARE(complete.count(), 0);
    }

    void emptiness_underOnePixel_data()
    {
        QTest::addColumn<QPoint>("to");
        QTest::newRow("no height") << QPoint(400, 100);
        QTest::newRow("no width") << QPoint(100, 400);
    }

    void emptiness_underOnePixel()
    {
        QFETCH(QPoint, to);
        Host host(QSize(640, 480));
        QSignalSpy complete(host.item, &SurfaceSelector::selectComplete);
        host.drag(QPoint(100, 100), {to});
        QCOMPARE(complete.count(), 0);
        QVERIFY(host.item->firstDraw());
        QVERIFY(!host.item->showToolBar());
        QVERIFY(host.item->isEmptySelection());
        QCOMPARE(host.item->rubberRect(), QRectF());
        // Nothing is selected, so the item keeps every point, the drawn line included.
        QVERIFY(host.item->contains(QPointF(250, 100)));
        QVERIFY(host.item->contains(QPointF(100, 250)));
    }

    void emptiness_fractionalRectIsEmpty()
    {
        SurfaceSelector selector;
        selector.setSize(QSizeF(640, 480));
        QSignalSpy complete(&selector, &SurfaceSelector::selectComplete);
        selector.setRubberRect(QRectF(10, 10, 0.5, 300));
        QCOMPARE(complete.count(), 0);
        QVERIFY(selector.firstDraw());
        QVERIFY(!selector.showToolBar());
        QVERIFY(selector.contains(QPointF(10.2, 100)));
        QVERIFY(SurfaceSelector::isEmptyArea(QRectF(0, 0, 100, -0.9)));
        QVERIFY(!SurfaceSelector::isEmptyArea(QRectF(0, 0, -1, 1)));
    }

    void emptiness_resizedToNothingReturnsToWaitingWithoutToolbar()
    {
        Host host(QSize(640, 480));
        drawStandardSelection(host);
        QVERIFY(host.item->showToolBar());
        host.move(QPoint(200, 250));
        host.drag(QPoint(200, 250), {QPoint(200, 200), QPoint(200, 150)});
        QVERIFY(host.item->firstDraw());
        QVERIFY(!host.item->showToolBar());
        QVERIFY(host.item->isEmptySelection());
    }

    void hitTest_insideFinishedSelectionGoesToCanvas()
    {
        Host host(QSize(640, 480));
        QVERIFY(host.item->contains(QPointF(150, 150)));
        drawStandardSelection(host);
        QVERIFY(!host.item->contains(QPointF(150, 150)));
        QVERIFY(host.item->contains(QPointF(50, 150)));
        QVERIFY(!host.item->contains(QPointF(700, 150)));
        QSignalSpy press(host.item, &SurfaceSelector::isPressChanged);
        host.press(QPoint(150, 150));
        host.release(QPoint(150, 150));
        QCOMPARE(press.count(), 0);
        QCOMPARE(host.item->rubberRect(), QRectF(100, 100, 200, 100));
    }

    void hover_zonesSetCursor_data()
    {
        QTest::addColumn<QPoint>("at");
        QTest::addColumn<int>("shape");
        QTest::newRow("top-left") << QPoint(50, 50) << int(Qt::SizeFDiagCursor);
        QTest::newRow("top-right") << QPoint(350, 50) << int(Qt::SizeBDiagCursor);
        QTest::newRow("bottom-left") << QPoint(50, 250) << int(Qt::SizeBDiagCursor);
        QTest::newRow("bottom-right") << QPoint(350, 250) << int(Qt::SizeFDiagCursor);
        QTest::newRow("top") << QPoint(200, 50) << int(Qt::SizeVerCursor);
        QTest::newRow("bottom") << QPoint(200, 250) << int(Qt::SizeVerCursor);
        QTest::newRow("left") << QPoint(50, 150) << int(Qt::SizeHorCursor);
        QTest::newRow("right") << QPoint(350, 150) << int(Qt::SizeHorCursor);
        QTest::newRow("inside") << QPoint(150, 150) << int(Qt::BitmapCursor); // the cross cursor picture
    }

    void hover_zonesSetCursor()
    {
        QFETCH(QPoint, at);
        QFETCH(int, shape);
        Host host(QSize(640, 480));
        drawStandardSelection(host);
        host.move(QPoint(at.x() + 1, at.y()));
        host.move(at);
        QCOMPARE(int(host.item->cursor().shape()), shape);
    }

    void resize_bySideOrCorner_data()
    {
        QTest::addColumn<QPoint>("grab");
        QTest::addColumn<QPoint>("step");
        QTest::addColumn<QRectF>("expected");
        QTest::newRow("left") << QPoint(50, 150) << QPoint(-20, 30) << QRectF(80, 100, 220, 100);
        QTest::newRow("right") << QPoint(350, 150) << QPoint(40, -30) << QRectF(100, 100, 240, 100);
        QTest::newRow("top") << QPoint(200, 50) << QPoint(25, 10) << QRectF(100, 110, 200, 90);
        QTest::newRow("bottom") << QPoint(200, 250) << QPoint(-5, 35) << QRectF(100, 100, 200, 135);
        QTest::newRow("top-left") << QPoint(50, 50) << QPoint(-10, -20) << QRectF(90, 80, 210, 120);
        QTest::newRow("top-right") << QPoint(350, 50) << QPoint(30, 20) << QRectF(100, 120, 230, 80);
        QTest::newRow("bottom-left") << QPoint(50, 250) << QPoint(30, 20) << QRectF(130, 100, 170, 120);
        QTest::newRow("bottom-right") << QPoint(350, 250) << QPoint(-50, -40) << QRectF(100, 100, 150, 60);
    }

    void resize_bySideOrCorner()
    {
        QFETCH(QPoint, grab);
        QFETCH(QPoint, step);
        QFETCH(QRectF, expected);
        Host host(QSize(640, 480));
        drawStandardSelection(host);
        host.move(grab);
        QSignalSpy complete(host.item, &SurfaceSelector::selectComplete);
        // Two steps, so that each step is measured from the last one.
        host.drag(grab, {grab + step / 2, grab + step});
        QCOMPARE(host.item->rubberRect(), expected);
        QCOMPARE(complete.count(), 1);
        QVERIFY(host.item->showToolBar());
    }

    void resize_pastOppositeEdgeNormalizesOnRelease()
    {
        Host host(QSize(640, 480));
        drawStandardSelection(host);
        host.move(QPoint(350, 150));
        host.drag(QPoint(350, 150), {QPoint(200, 150), QPoint(120, 150)});
        QCOMPARE(host.item->rubberRect(), QRectF(70, 100, 30, 100));
    }

    void dragInsideFinishedSelection_changesNothing()
    {
        Host host(QSize(640, 480));
        drawStandardSelection(host);
        host.drag(QPoint(150, 150), {QPoint(250, 250)});
        QCOMPARE(host.item->rubberRect(), QRectF(100, 100, 200, 100));
    }

    void spaceSlide_keepsSizeAndResumesFromNewPlace()
    {
        Host host(QSize(640, 480));
        host.item->forceActiveFocus();
        host.press(QPoint(100, 100));
        host.move(QPoint(200, 150));
        QTest::keyPress(host.window.get(), Qt::Key_Space);
        QVERIFY(host.item->moveSelector());
        host.move(QPoint(400, 300));
        QCOMPARE(host.item->rubberRect(), QRectF(300, 250, 100, 50));
        QTest::keyRelease(host.window.get(), Qt::Key_Space);
        QVERIFY(!host.item->moveSelector());
        host.move(QPoint(450, 320));
        QCOMPARE(host.item->rubberRect(), QRectF(300, 250, 150, 70));
        host.release(QPoint(450, 320));
        QCOMPARE(host.item->rubberRect(), QRectF(300, 250, 150, 70));
        QVERIFY(!host.item->firstDraw());
    }

    // The item's own Space key switches move mode whatever the state; only a first drag
    // slides with it.
    void spaceKey_switchesMoveModeAlsoOnAFinishedSelection()
    {
        Host host(QSize(640, 480));
        drawStandardSelection(host);
        host.item->forceActiveFocus();
        QTest::keyPress(host.window.get(), Qt::Key_Space);
        QVERIFY(host.item->moveSelector());
        QTest::keyRelease(host.window.get(), Qt::Key_Space);
        QVERIFY(!host.item->moveSelector());
    }

    void setRubberRect_normalizesAndFinishes()
    {
        SurfaceSelector selector;
        selector.setSize(QSizeF(640, 480));
        QStringList order;
        connect(&selector, &SurfaceSelector::showToolBarChanged, [&] { order << "toolbar"; });
        connect(&selector, &SurfaceSelector::rubberRectChanged, [&] { order << "rect"; });
        connect(&selector, &SurfaceSelector::rubberRectBottomChanged, [&] { order << "bottom"; });
        connect(&selector, &SurfaceSelector::firstDrawChanged, [&] { order << "firstDraw"; });
        connect(&selector, &SurfaceSelector::isPressChanged, [&] { order << "press"; });
        connect(&selector, &SurfaceSelector::selectComplete, [&] { order << "complete"; });
        selector.setRubberRect(QRectF(310, 220, -300, -200));
        QCOMPARE(selector.rubberRect(), QRectF(10, 20, 300, 200));
        QCOMPARE(order, QStringList({"toolbar", "rect", "bottom", "firstDraw", "press", "complete"}));
        QVERIFY(selector.showToolBar());
        QVERIFY(selector.isCompleteSelectRect());
    }

    void setGRect_announcesGlobalThenLocal()
    {
        SurfaceSelector selector;
        QStringList order;
        connect(&selector, &SurfaceSelector::rubberRectChanged, [&] { order << "rect"; });
        connect(&selector, &SurfaceSelector::gRubberRectLeftChanged, [&](int v) { order << QString("gl%1").arg(v); });
        connect(&selector, &SurfaceSelector::gRubberRectBottomChanged, [&](int v) { order << QString("gb%1").arg(v); });
        connect(&selector, &SurfaceSelector::rubberRectLeftChanged, [&](int v) { order << QString("l%1").arg(v); });
        connect(&selector, &SurfaceSelector::rubberRectBottomChanged, [&](int v) { order << QString("b%1").arg(v); });
        selector.setGRect(QRectF(1900, 100, 300, 200), QRectF(0, 100, 280, 200));
        QCOMPARE(order, QStringList({"rect", "gl1900", "gb300", "l0", "b300"}));
        QCOMPARE(selector.gRect(), QRectF(1900, 100, 300, 200));
        QCOMPARE(selector.gRubberRectRight(), 2200);
        QCOMPARE(selector.gRubberRectTop(), 100);
        QCOMPARE(selector.rubberRect(), QRectF(0, 100, 280, 200));
        QVERIFY(selector.isPress());
        QVERIFY(selector.firstDraw());
    }

    void moveRubber_movesWholeSelection()
    {
        SurfaceSelector selector;
        selector.setSize(QSizeF(640, 480));
        selector.setRubberRect(QRectF(100, 100, 200, 100));
        QSignalSpy right(&selector, &SurfaceSelector::rubberRectRightChanged);
        selector.moveRubber(150, 70);
        QCOMPARE(selector.rubberRect(), QRectF(150, 70, 200, 100));
        QCOMPARE(right.count(), 1);
        QCOMPARE(right.last().at(0).toInt(), 350);
    }

    void expandAndCollapse_roundTrip()
    {
        SurfaceSelector selector;
        selector.setSize(QSizeF(640, 480));
        selector.expandToFullScreen();
        QCOMPARE(selector.rubberRect(), QRectF(0, 0, 640, 480));
        selector.setRubberRect(selector.rubberRect());
        QSignalSpy toolbar(&selector, &SurfaceSelector::showToolBarChanged);
        QSignalSpy firstDraw(&selector, &SurfaceSelector::firstDrawChanged);
        selector.collapseFromFullScreen();
        QCOMPARE(selector.rubberRect(), QRectF(0, 0, 0, 0));
        QVERIFY(selector.isEmptySelection());
        QVERIFY(selector.firstDraw());
        QVERIFY(!selector.showToolBar());
        QCOMPARE(toolbar.count(), 1);
        QCOMPARE(firstDraw.count(), 1);
        QVERIFY(selector.contains(QPointF(100, 100)));
    }

    void checkProperties_onlyForFullScreen()
    {
        SurfaceSelector selector;
        selector.setSize(QSizeF(640, 480));
        selector.checkProperties();
        QVERIFY(selector.firstDraw());
        QSignalSpy fullScreen(&selector, &SurfaceSelector::fullScreenChanged);
        selector.setFullScreen(true);
        selector.setFullScreen(true);
        QCOMPARE(fullScreen.count(), 1);
        selector.checkProperties();
        QCOMPARE(selector.rubberRect(), QRectF(0, 0, 640, 480));
        QVERIFY(selector.showToolBar());
        QVERIFY(selector.isCompleteSelectRect());
    }

    void setters_signalRules()
    {
        SurfaceSelector selector;
        QSignalSpy index(&selector, &SurfaceSelector::screenIndexChanged);
        selector.setScreenIndex(1);
        selector.setScreenIndex(1);
        QCOMPARE(index.count(), 2);
        QSignalSpy magnified(&selector, &SurfaceSelector::isShowMagnifiedChanged);
        selector.setIsShowMagnified(true);
        selector.setIsShowMagnified(true);
        QCOMPARE(magnified.count(), 1);
        QSignalSpy gx(&selector, &SurfaceSelector::gxChanged);
        selector.setX(-5);
        selector.setY(40);
        QCOMPARE(selector.gx(), -5);
        QCOMPARE(selector.gy(), 40);
        QCOMPARE(gx.count(), 0);
        QSignalSpy quick(&selector, &SurfaceSelector::quickScreenChanged);
        selector.setQuickScreen(true);
        QVERIFY(selector.quickScreen());
        QCOMPARE(quick.count(), 1);
    }
};

QTEST_MAIN(TestSurfaceSelector)
#include "tst_surfaceselector.moc"
