#include "pagetestsupport.h"
#include "surfacepagefixture.h"

#include <QSignalSpy>

// The toolbar's drop panel, the page's confirm box and the flags read from the settings.
class ToolbarPanelTest : public QObject
{
    Q_OBJECT

    static bool openPage(SurfacePage &page)
    {
        if (!page.load())
            return false;
        page.selector()->select(QRectF(100, 100, 900, 400));
        QQuickItem *panel = page.item("colorStrip")->parentItem();
        return QTest::qWaitFor([&] { return panel->isVisible(); });
    }

private slots:
    void initTestCase()
    {
        SurfacePage::registerStandIns();
        PageTestSupport::install();
    }

    void cleanup()
    {
        const QString warnings = PageTestSupport::takeWarnings();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
    }

    void colourStripClick_data()
    {
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("marker");
        QTest::addColumn<int>("liveSignals");
        QTest::newRow("left end snaps to -1") << 3 << -1 << 1;
        QTest::newRow("right end snaps to 325") << 339 << 325 << 1;
        QTest::newRow("inside: m - 5") << 100 << 95 << 0;
        QTest::newRow("last inside point") << 332 << 327 << 0;
    }

    void colourStripClick()
    {
        QFETCH(int, at);
        QFETCH(int, marker);
        QFETCH(int, liveSignals);
        SurfacePage page;
        QVERIFY(openPage(page));
        QSignalSpy live(page.toolBar(), SIGNAL(changeColorLineX(int)));
        QSignalSpy end(page.toolBar(), SIGNAL(changeColorLineXEnd(int, int)));
        QQuickItem *strip = page.item("colorStrip");
        page.clickAt(page.pointIn(strip, at, 5));
        QCOMPARE(int(page.item("colorMarker")->x()), marker);
        QCOMPARE(live.count(), liveSignals);
        QCOMPARE(end.count(), 1);
        QCOMPARE(end.at(0).at(1).toInt(), 7);
        QCOMPARE(page.canvas()->currentColorX, marker);
        QCOMPARE(page.ponoramCanvas()->currentColorX, marker);
        QCOMPARE(page.canvas()->currentColor, page.core.getColorFromX(marker));
        QCOMPARE(page.settings.colorColorLine(), marker);
        QVERIFY(page.canvas()->calls.contains(QStringLiteral("pushColorChange %1 7").arg(marker)));
    }

    void colourMarkerDrag_staysWithinTheStrip()
    {
        SurfacePage page;
        QVERIFY(openPage(page));
        QSignalSpy live(page.toolBar(), SIGNAL(changeColorLineX(int)));
        QSignalSpy end(page.toolBar(), SIGNAL(changeColorLineXEnd(int, int)));
        QQuickItem *marker = page.item("colorMarker");
        const QPoint start = page.centreOf(marker);
        QTest::mousePress(page.view.get(), Qt::LeftButton, {}, start);
        QTest::mouseMove(page.view.get(), start - QPoint(30, 0));
        QTest::mouseMove(page.view.get(), start - QPoint(60, 0));
        QCOMPARE(int(marker->x()), -2);
        QTest::mouseMove(page.view.get(), start + QPoint(500, 0));
        QCOMPARE(int(marker->x()), 326);
        QTest::mouseMove(page.view.get(), start + QPoint(100, 0));
        QTest::mouseRelease(page.view.get(), Qt::LeftButton, {}, start + QPoint(100, 0));
        QCOMPARE(int(marker->x()), 107);
        QVERIFY(live.count() >= 4);
        QCOMPARE(end.count(), 1);
        QCOMPARE(end.at(0).at(0).toInt(), 107);
        QCOMPARE(end.at(0).at(1).toInt(), 7);
        QCOMPARE(page.settings.colorColorLine(), 107);
    }

    void colourStrip_hiddenForBlurBlackoutAndScrolling()
    {
        SurfacePage page;
        QVERIFY(openPage(page));
        QQuickItem *strip = page.item("colorStrip");
        QVERIFY(strip->isVisible());
        for (const char *tool : {"Blur", "Blackout", "Ponoram"}) {
            page.canvas()->setCurrentModule(tool);
            QVERIFY2(!strip->isVisible(), tool);
        }
        page.canvas()->setCurrentModule("Pen");
        QVERIFY(strip->isVisible());
    }

    void sliderTrackRelease_data()
    {
        QTest::addColumn<int>("at");
        QTest::addColumn<int>("knob");
        QTest::addColumn<int>("value");
        QTest::newRow("left end") << 0 << -2 << 2;
        QTest::newRow("right end") << 104 << 90 << 24;
        QTest::newRow("middle") << 50 << 41 << 12;
    }

    void sliderTrackRelease()
    {
        QFETCH(int, at);
        QFETCH(int, knob);
        QFETCH(int, value);
        SurfacePage page;
        QVERIFY(openPage(page));
        QQuickItem *slider = page.item("lineWidthSlider");
        QCOMPARE(slider->property("value").toInt(), 3);
        page.clickAt(page.pointIn(slider, at, 2));
        QCOMPARE(int(page.item("sliderKnob")->x()), knob);
        QCOMPARE(slider->property("value").toInt(), value);
        QCOMPARE(page.canvas()->currentLineWidth, value);
        QVERIFY(page.canvas()->calls.contains(QStringLiteral("pushLineWidthChange %1 3").arg(value)));
    }

    void sliderKnobDrag_keepsWithinZeroAndNinety()
    {
        SurfacePage page;
        QVERIFY(openPage(page));
        QQuickItem *knob = page.item("sliderKnob");
        const QPoint start = page.centreOf(knob);
        QTest::mousePress(page.view.get(), Qt::LeftButton, {}, start);
        for (int dx = 10; dx <= 300; dx += 10)
            QTest::mouseMove(page.view.get(), start + QPoint(dx, 0));
        QCOMPARE(knob->x(), 90.0);
        QCOMPARE(page.item("lineWidthSlider")->property("value").toInt(), 24);
        for (int dx = 290; dx >= -300; dx -= 10)
            QTest::mouseMove(page.view.get(), start + QPoint(dx, 0));
        QTest::mouseRelease(page.view.get(), Qt::LeftButton, {}, start + QPoint(-300, 0));
        QCOMPARE(knob->x(), 0.0);
        QCOMPARE(page.canvas()->currentLineWidth, 2);
        QVERIFY(page.canvas()->calls.contains("pushLineWidthChange 2 3"));
    }

    void canvasLineWidth_movesTheKnob()
    {
        SurfacePage page;
        QVERIFY(openPage(page));
        page.canvas()->setProperty("currentLineWidth", 12);
        QCOMPARE(page.item("sliderKnob")->x(), 40.0);
    }

    void undoRedo_actOnTheVisibleCanvas()
    {
        SurfacePage page;
        QVERIFY(openPage(page));
        page.click(page.item("undoButton"));
        QVERIFY(page.canvas()->calls.contains("checkUndo"));
        page.click(page.item("redoButton"));
        QVERIFY(!page.canvas()->calls.contains("checkRedo"));
        emit page.surface.ponoramPixmapComplete();
        page.click(page.item("undoButton"));
        QVERIFY(page.ponoramCanvas()->calls.contains("checkUndo"));
    }

    void substrateSwitch_onlyForTextAndToggles()
    {
        SurfacePage page;
        QVERIFY(openPage(page));
        QQuickItem *substrate = page.item("substrateSwitch");
        QVERIFY(!substrate->isVisible());
        page.canvas()->setCurrentModule("Text");
        QVERIFY(substrate->isVisible());
        page.click(substrate);
        QVERIFY(page.canvas()->currentSubstrate);
        page.click(substrate);
        QVERIFY(!page.canvas()->currentSubstrate);
    }

    void dropPanelFlag_textZeroIsClosed()
    {
        SurfacePage page;
        page.settings.values.insert("visibleColorPanel", "0");
        QVERIFY(page.load());
        QVERIFY(!page.toolBar()->property("showDropPanel").toBool());
        page.selector()->select(QRectF(100, 100, 900, 400));
        page.click(page.item("dropPanelButton"));
        QVERIFY(page.toolBar()->property("showDropPanel").toBool());
        QCOMPARE(page.settings.writes.last(), QStringLiteral("visibleColorPanel=1"));
    }

    void magnifierFlag_textZeroHidesIt()
    {
        for (const char *stored : {"0", "false", "1"}) {
            SurfacePage page;
            page.settings.values.insert("showMagnifier", stored);
            QVERIFY(page.load());
            QCOMPARE(page.item("magnifier")->isVisible(), QByteArray(stored) == "1");
        }
    }

    void confirmBox_centresOnThePrimaryScreenAndStoresTheChoice()
    {
        SurfacePage page;
        page.surface.primaryX = 1920;
        page.surface.primaryY = 100;
        page.surface.primaryWidth = 1280;
        page.surface.primaryHeight = 1024;
        QVERIFY(page.load());
        QQuickItem *box = page.item("confirmBox");
        QVERIFY(!box->isVisible());
        page.surface.visibleCloseWindow = true;
        emit page.surface.visibleCloseWindowChanged(true);
        QVERIFY(box->isVisible());
        QCOMPARE(box->position(), QPointF(1920 + 640 - 220, 100 + 512 - 125));
        QVERIFY(box->hasActiveFocus());
    }

    void confirmBox_buttonsAndCheckBox()
    {
        SurfacePage page;
        page.surface.primaryWidth = 1920;
        page.surface.primaryHeight = 1080;
        QVERIFY(page.load());
        page.surface.visibleCloseWindow = true;
        emit page.surface.visibleCloseWindowChanged(true);
        page.click(page.item("confirmDoNotShow"));
        QCOMPARE(page.settings.writes.last(), QStringLiteral("showCloseSurfaceWindow=false"));
        page.click(page.item("confirmDoNotShow"));
        QCOMPARE(page.settings.writes.last(), QStringLiteral("showCloseSurfaceWindow=true"));
        page.click(page.item("confirmYes"));
        QVERIFY(page.surface.calls.contains("close"));
        page.click(page.item("confirmNo"));
        QVERIFY(!page.surface.visibleCloseWindow);
    }

    void toolTip_showsTitleAndSubtitleAfterASecond()
    {
        SurfacePage page;
        QVERIFY(openPage(page));
        QQuickItem *tip = page.item("toolTip");
        QQuickItem *pen = page.item("toolPen");
        QTest::mouseMove(page.view.get(), page.centreOf(pen));
        QVERIFY(!tip->isVisible());
        QTRY_VERIFY_WITH_TIMEOUT(tip->isVisible(), 3000);
        QCOMPARE(tip->property("text").toString(), QStringLiteral("<b>Tool Pen</b>"));
        QCOMPARE(tip->property("subText").toString(), QStringLiteral("+ Shift - Drawing a straight line"));
        const QPointF origin = page.surface.mapToScene(pen);
        QCOMPARE(tip->x(), origin.x() - 5);
        QCOMPARE(tip->y(), origin.y() - tip->height() + 10);
        QTest::mouseMove(page.view.get(), QPoint(5, 5));
        QVERIFY(!tip->isVisible());
    }
};

QTEST_MAIN(ToolbarPanelTest)
#include "tst_toolbarpanel.moc"
