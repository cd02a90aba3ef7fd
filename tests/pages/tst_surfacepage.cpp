#include "pagetestsupport.h"
#include "surfacepagefixture.h"

#include <QSignalSpy>
#include <QTranslator>

class SurfacePageTest : public QObject
{
    Q_OBJECT

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

    void load_findsTheItemsTheOverlayLooksFor()
    {
        SurfacePage page;
        QVERIFY(page.load());
        QVERIFY(page.canvas());
        QVERIFY(page.selector());
        QVERIFY(page.selector()->findChild<FakeMagnifier *>("MagnifierItem"));
        QVERIFY(page.ponoramCanvas());
        QVERIFY(page.toolBar());
        QCOMPARE(page.root()->size(), QSizeF(1920, 1080));
        // The screen picture comes from the window as it is, never through a data URL.
        QCOMPARE(page.item<ScreenPicture>("screenImage")->picture().toImage(), page.surface.background().toImage());
        QVERIFY(!page.surface.calls.contains("requestBackground"));
        QVERIFY(page.canvas()->hasActiveFocus());
        QCOMPARE(page.canvas()->currentColor, page.core.getColorFromX(7));
        QCOMPARE(page.item("colorMarker")->x(), 7.0);
    }

    void load_layoutChecksFullScreenAndQuickCapture()
    {
        SurfacePage page;
        QVERIFY(page.load());
        QVERIFY(page.selector()->calls.contains("checkProperties"));
        QVERIFY(page.surface.calls.contains("checkProperties"));
    }

    void toolbarPlacement_data()
    {
        QTest::addColumn<QRectF>("selection");
        QTest::addColumn<QRect>("screen");
        QTest::addColumn<QPoint>("expected");
        const QRect full(0, 0, 1920, 1080);
        // Toolbar 790 x 105 on a 1920-wide page.
        QTest::newRow("below, right-aligned") << QRectF(100, 100, 900, 400) << full << QPoint(210, 511);
        QTest::newRow("below, kept 10 from the left") << QRectF(50, 100, 450, 400) << full << QPoint(10, 511);
        QTest::newRow("below, kept 30 from the right") << QRectF(1000, 100, 910, 400) << full << QPoint(1100, 511);
        QTest::newRow("right of it") << QRectF(100, 300, 800, 700) << full << QPoint(910, 895);
        QTest::newRow("left of it") << QRectF(1000, 300, 500, 700) << full << QPoint(200, 895);
        QTest::newRow("above it") << QRectF(500, 300, 1000, 700) << full << QPoint(510, 192);
        QTest::newRow("screen corner") << QRectF(100, 50, 1700, 1020) << full << QPoint(1120, 965);
        QTest::newRow("smaller screen decides") << QRectF(100, 100, 900, 600) << QRect(0, 0, 1366, 768)
                                                << QPoint(1010, 595);
        QTest::newRow("no screen met") << QRectF(100, 100, 900, 400) << QRect() << QPoint(1010, 395);
    }

    void toolbarPlacement()
    {
        QFETCH(QRectF, selection);
        QFETCH(QRect, screen);
        QFETCH(QPoint, expected);
        SurfacePage page;
        QVERIFY(page.load());
        page.surface.toolbarScreenRect = screen;
        page.selector()->select(selection);
        QCOMPARE(QPoint(int(page.toolBar()->x()), int(page.toolBar()->y())), expected);
        QVERIFY(page.toolBar()->isVisible());
        QCOMPARE(page.canvas()->selectRect, selection);
    }

    void toolbarDraggedByItsHandle_staysWhenTheSelectionChanges()
    {
        SurfacePage page;
        QVERIFY(page.load());
        page.selector()->select(QRectF(100, 100, 900, 400));
        QCOMPARE(page.toolBar()->position(), QPointF(210, 511));
        QQuickItem *handle = page.item("moveHandle");
        const QPoint start = page.centreOf(handle);
        QTest::mousePress(page.view.get(), Qt::LeftButton, {}, start);
        for (int step = 1; step <= 5; ++step)
            QTest::mouseMove(page.view.get(), start + QPoint(step * 20, step * 10));
        QTest::mouseRelease(page.view.get(), Qt::LeftButton, {}, start + QPoint(100, 50));
        QCOMPARE(page.toolBar()->position(), QPointF(310, 561));
        QVERIFY(page.toolBar()->property("moved").toBool());
        page.selector()->select(QRectF(300, 200, 500, 300));
        QCOMPARE(page.toolBar()->position(), QPointF(310, 561));
    }

    void startTool_data()
    {
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("expected");
        QTest::newRow("none stored") << "" << "Line";
        QTest::newRow("scrolling capture stored") << "Ponoram" << "Line";
        QTest::newRow("pen stored") << "Pen" << "Pen";
        QTest::newRow("blackout stored") << "Blackout" << "Blackout";
    }

    void startTool()
    {
        QFETCH(QString, stored);
        QFETCH(QString, expected);
        SurfacePage page;
        page.settings.values.insert("lastGraphTools", stored);
        QVERIFY(page.load());
        QCOMPARE(page.canvas()->currentModule(), expected);
        QCOMPARE(page.ponoramCanvas()->currentModule(), expected);
        QCOMPARE(page.toolBar()->property("selectItem").toString(), expected);
        QVERIFY(!page.surface.calls.contains("startPonoram"));
    }

    void toolClickedTwice_selectsThenClears()
    {
        SurfacePage page;
        QVERIFY(page.load());
        page.selector()->select(QRectF(100, 100, 900, 400));
        QSignalSpy clicks(page.toolBar(), SIGNAL(toolClick(QString, bool)));
        QQuickItem *rect = page.item("toolRect");
        page.click(rect);
        QCOMPARE(page.canvas()->currentModule(), QStringLiteral("Rect"));
        QCOMPARE(page.toolBar()->property("selectItem").toString(), QStringLiteral("Rect"));
        QVERIFY(rect->property("check").toBool());
        page.click(rect);
        QCOMPARE(page.canvas()->currentModule(), QString());
        QCOMPARE(page.ponoramCanvas()->currentModule(), QString());
        QCOMPARE(page.toolBar()->property("selectItem").toString(), QString());
        QCOMPARE(clicks.count(), 2);
        QCOMPARE(clicks.at(1).at(1).toBool(), false);
    }

    void toolChange_setsAndClearsScrollingLimits()
    {
        SurfacePage page;
        QVERIFY(page.load());
        page.canvas()->setCurrentModule("Ponoram");
        QCOMPARE(page.selector()->maxSelectWidth, 1920 - 112 - 10);
        QCOMPARE(page.selector()->maxSelectHeight, 1080 - 105 - 10);
        QVERIFY(page.item("scrollHint")->isVisible() == false);
        page.surface.calls.clear();
        page.canvas()->setCurrentModule("Pen");
        QCOMPARE(page.selector()->maxSelectWidth, -1);
        QCOMPARE(page.selector()->maxSelectHeight, -1);
        QVERIFY(page.surface.calls.contains("cancelPonoram"));
        QVERIFY(page.surface.calls.contains("setEnableMask 0"));
    }

    void ctrlHeld_showsFilledShapeIcons()
    {
        SurfacePage page;
        QVERIFY(page.load());
        QQuickItem *icon = page.item("toolEllipse")->findChild<QQuickItem *>("toolIcon");
        QVERIFY(!icon->property("source").toUrl().toString().contains("_command"));
        page.surface.isCommandModified = true;
        emit page.surface.isCommandModifiedChanged();
        QCOMPARE(icon->property("source").toUrl().toString(),
                 QStringLiteral("qrc:/component/image/component/tool_circle_command.png"));
    }

    void menu_actionsReachTheOverlay()
    {
        SurfacePage page;
        QVERIFY(page.load());
        page.selector()->select(QRectF(100, 100, 900, 400));
        QQuickItem *menu = page.item("toolBarMenu");
        QVERIFY(!menu->isVisible());
        page.click(page.item("menuButton"));
        QTRY_VERIFY(menu->isVisible() && menu->opacity() == 1.0);
        QCOMPARE(menu->height(), 280.0);
        QVERIFY(!page.item("menuMail")->isVisible());
        page.click(page.item("menuSave"));
        QVERIFY(page.surface.calls.contains("saveScreen"));
        page.click(page.item("menuVk"));
        QVERIFY(page.surface.calls.contains("screenPostVK"));
        page.click(page.item("menuCopy"));
        QVERIFY(page.surface.calls.contains("screenSaveToClipboard"));
        QVERIFY(!page.toolBar()->property("showMenu").toBool());
        page.click(page.item("acceptButton"));
        QVERIFY(page.surface.calls.contains("uploadScreen"));
    }

    void menu_opensUpwardNearTheBottom()
    {
        SurfacePage page;
        QVERIFY(page.load());
        page.selector()->select(QRectF(100, 300, 800, 700));
        QVERIFY(page.item("toolBarMenu")->property("topMenu").toBool());
        page.selector()->select(QRectF(100, 100, 900, 400));
        QVERIFY(!page.item("toolBarMenu")->property("topMenu").toBool());
    }

    void hideToolBar_hidesToolbarAndMenu()
    {
        SurfacePage page;
        QVERIFY(page.load());
        page.selector()->select(QRectF(100, 100, 900, 400));
        page.toolBar()->setProperty("showMenu", true);
        emit page.surface.hideToolBar();
        QVERIFY(!page.toolBar()->isVisible());
        QVERIFY(!page.toolBar()->property("showMenu").toBool());
    }

    void scrollingCaptureEnd_clearsTheTool()
    {
        SurfacePage page;
        QVERIFY(page.load());
        page.surface.setPonoramWork(true);
        QCOMPARE(page.toolBar()->height(), 200.0);
        QVERIFY(page.item("ponoramIndicator")->isVisible());
        page.surface.setPonoramWork(false);
        QVERIFY(page.surface.calls.contains("stopPonoram"));
        QCOMPARE(page.canvas()->currentModule(), QString());
        QVERIFY(!page.item("ponoramIndicator")->isVisible());
    }

    void sizeLabel_followsTheCornerAndTurnsInwardAtTheEdge()
    {
        SurfacePage page;
        QVERIFY(page.load());
        QQuickItem *label = page.item("sizeLabel");
        QQuickItem *plate = page.item("sizeLabelPlate");
        page.selector()->select(QRectF(100, 100, 300, 200));
        page.selector()->setProperty("isPress", true);
        QVERIFY(label->isVisible());
        QCOMPARE(page.item("sizeLabelText")->property("text").toString(), QStringLiteral("300x200"));
        QCOMPARE(label->position(), QPointF(410, 280));
        QVERIFY(!plate->isVisible());
        page.selector()->select(QRectF(1700, 100, 215, 200));
        const qreal width = label->width();
        // Turned inward beside a turned magnifier: it goes above the magnifier.
        QCOMPARE(label->position(), QPointF(1915 - width - 20, page.item("magnifier")->y() - 20));
        QCOMPARE(page.item("magnifier")->y(), 300.0 - 82 - 10);
        QVERIFY(plate->isVisible());
        page.selector()->setProperty("isPress", false);
        QVERIFY(!label->isVisible());
    }

    void magnifier_besideTheCursorThenBesideTheCorner()
    {
        SurfacePage page;
        QVERIFY(page.load());
        QQuickItem *magnifier = page.item("magnifier");
        page.selector()->setProperty("gx", 300);
        page.selector()->setProperty("gy", 200);
        QVERIFY(magnifier->isVisible());
        QCOMPARE(magnifier->position(), QPointF(310, 210));
        auto *lens = page.selector()->findChild<FakeMagnifier *>("MagnifierItem");
        QCOMPARE(lens->gx, 300);
        QCOMPARE(lens->background().size(), QSize(64, 48));
        page.selector()->select(QRectF(1800, 950, 100, 100));
        QCOMPARE(magnifier->position(), QPointF(1900 - magnifier->width() - 10, 1050 - magnifier->height() - 10));
        QVERIFY(!magnifier->isVisible());
    }

    void russianCatalogue_translatesToolTipsMenuConfirmBoxAndNotice()
    {
        QTranslator russian;
        QVERIFY(russian.load(":/translate/mavu.qm"));
        QCoreApplication::installTranslator(&russian);
        SurfacePage page;
        page.surface.isPonoramFull = true;
        const bool loaded = page.load();
        QCoreApplication::removeTranslator(&russian);
        QVERIFY(loaded);
        const QVariantList tools = page.toolBar()->property("tools").toList();
        QCOMPARE(tools.size(), 11);
        QCOMPARE(tools.at(1).toMap().value("title").toString(), QStringLiteral("<b>Инструмент «Карандаш»</b>"));
        QCOMPARE(page.item("menuSave")->property("text").toString(), QStringLiteral("Сохранить"));
        QCOMPARE(page.item("confirmYes")->property("text").toString(), QStringLiteral("Да"));
        QCOMPARE(page.item("confirmDoNotShow")->property("text").toString(),
                 QStringLiteral("Больше не показывать это окно"));
        QCOMPARE(page.item("ponoramErrorText")->property("text").toString(),
                 QStringLiteral("Съёмка с прокруткой остановлена на наибольшем снимке, который ещё можно сохранить: "
                                "снимок заканчивается последним подошедшим кадром."));
    }

    void stitchedResult_handsTheSecondCanvasOver()
    {
        SurfacePage page;
        QVERIFY(page.load());
        page.selector()->select(QRectF(100, 100, 400, 300));
        QQuickItem *viewer = page.item("ponoramViewer");
        QVERIFY(!viewer->isVisible());
        emit page.surface.ponoramPixmapComplete();
        QVERIFY(viewer->isVisible());
        QVERIFY(page.surface.calls.contains("setPaintArea ponoramPaintArea"));
    }
};

QTEST_MAIN(SurfacePageTest)
#include "tst_surfacepage.moc"
