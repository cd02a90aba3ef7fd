// The canvas's undo history: adding, moving, recolouring and re-sizing items step back
// and forth, and the canvas's current item, colour and width follow the steps.

#include "canvasfixture.h"

#include "painter/abstractgraphitem.h"

#include <QPointer>
#include <QSignalSpy>
#include <QTest>

class PainterHistoryTest : public QObject
{
    Q_OBJECT

private slots:
    void cleanup();
    void undo_hidesTheLastItem_redoRestoresIt();
    void undo_withEmptyHistory_doesNothing();
    void canUndoCanRedo_followTheHistory();
    void undo_makesTheItemOnTopCurrentWithItsColourAndWidth();
    void colourStep_undoesOnTheCheckedItem();
    void colourStep_withoutItem_restoresTheCanvasColour();
    void lineWidthStep_undoesToTheItemsOwnWidth();
    void oneDrag_isOneMoveStep();
    void newStepAfterUndo_dropsTheUndoneItem();
    void colourLookup_isAskedOnUndo();
};

void PainterHistoryTest::cleanup()
{
    MPainterArea::setColorLookup(nullptr);
}

void PainterHistoryTest::undo_hidesTheLastItem_redoRestoresIt()
{
    CanvasFixture f;
    const QImage empty = f.render();
    AbstractGraphItem *first = f.drag("Rect", QPoint(20, 20), QPoint(80, 80));
    AbstractGraphItem *second = f.drag("Ellipse", QPoint(200, 100), QPoint(300, 200));
    const QImage both = f.render();
    QSignalSpy blackout(f.canvas, &MPainterArea::updateBlackoutArea);

    f.canvas->checkUndo();
    QVERIFY(!second->isVisible());
    QVERIFY(first->isVisible());
    QCOMPARE(differingPixels(f.render(), empty, QRect(190, 90, 120, 120)), 0);
    QVERIFY(differingPixels(f.render(), empty, QRect(10, 10, 80, 80)) > 0);
    QCOMPARE(blackout.count(), 1);

    f.canvas->checkRedo();
    QVERIFY(second->isVisible());
    QCOMPARE(f.render(), both);
    QCOMPARE(f.canvas->currentItem(), second);
    QCOMPARE(blackout.count(), 2);

    f.canvas->checkUndo();
    f.canvas->checkUndo();
    QCOMPARE(f.render(), empty);
    QCOMPARE(f.canvas->currentItem(), nullptr);
}

void PainterHistoryTest::undo_withEmptyHistory_doesNothing()
{
    CanvasFixture f;
    QSignalSpy blackout(f.canvas, &MPainterArea::updateBlackoutArea);
    QSignalSpy current(f.canvas, &MPainterArea::currentItemChange);
    f.canvas->checkUndo();
    f.canvas->checkRedo();
    QCOMPARE(blackout.count(), 0);
    QCOMPARE(current.count(), 0);

    // Undoing past the first step is as harmless.
    AbstractGraphItem *rect = f.drag("Rect", QPoint(20, 20), QPoint(80, 80));
    f.canvas->checkUndo();
    f.canvas->checkUndo();
    QVERIFY(!rect->isVisible());
    f.canvas->checkRedo();
    f.canvas->checkRedo();
    QVERIFY(rect->isVisible());
}

void PainterHistoryTest::canUndoCanRedo_followTheHistory()
{
    CanvasFixture f;
    QSignalSpy undoSpy(f.canvas, &MPainterArea::canUndoChanged);
    QSignalSpy redoSpy(f.canvas, &MPainterArea::canRedoChanged);
    QVERIFY(!f.canvas->canUndo());
    QVERIFY(!f.canvas->canRedo());
    f.drag("Line", QPoint(20, 20), QPoint(80, 80));
    QVERIFY(f.canvas->canUndo());
    QCOMPARE(undoSpy.count(), 1);
    f.canvas->checkUndo();
    QVERIFY(!f.canvas->canUndo());
    QVERIFY(f.canvas->canRedo());
    QCOMPARE(redoSpy.count(), 1);
    QCOMPARE(f.canvas->property("canRedo").toBool(), true);
}

void PainterHistoryTest::undo_makesTheItemOnTopCurrentWithItsColourAndWidth()
{
    CanvasFixture f;
    f.canvas->setCurrentModule("Rect");
    f.canvas->setCurrentColor(Qt::green);
    f.canvas->setCurrentColorX(120);
    f.canvas->setCurrentLineWidth(7);
    AbstractGraphItem *green = f.drag("Rect", QPoint(20, 20), QPoint(80, 80));
    f.canvas->uncheckAllItem();
    f.canvas->setCurrentColor(Qt::blue);
    f.canvas->setCurrentColorX(200);
    f.canvas->setCurrentLineWidth(3);
    f.drag("Rect", QPoint(120, 20), QPoint(180, 80));

    QSignalSpy colourX(f.canvas, &MPainterArea::currentColorXChanged);
    f.canvas->checkUndo();
    QCOMPARE(f.canvas->currentItem(), green);
    QCOMPARE(f.canvas->currentColor(), QColor(Qt::green));
    QCOMPARE(f.canvas->currentColorX(), 120);
    QCOMPARE(f.canvas->currentLineWidth(), 7);
    QCOMPARE(colourX.count(), 1);
    QCOMPARE(colourX.first().first().toInt(), 120);
}

void PainterHistoryTest::colourStep_undoesOnTheCheckedItem()
{
    CanvasFixture f;
    f.canvas->setCurrentColorX(10);
    f.canvas->setCurrentColor(MPainterArea::colorFromX(10));
    AbstractGraphItem *rect = f.drag("Rect", QPoint(20, 20), QPoint(80, 80));
    QVERIFY(rect->isChecked());

    // As the page does it: the canvas colour follows the drag on the line, the item only the
    // step at its end. The line showed another colour than the item's before.
    f.canvas->setCurrentColor(MPainterArea::colorFromX(250));
    f.canvas->setCurrentColorX(250);
    QCOMPARE(rect->color(), MPainterArea::colorFromX(10));
    f.canvas->pushColorChange(250, 40);
    QCOMPARE(rect->color(), MPainterArea::colorFromX(250));

    f.canvas->checkUndo();
    QCOMPARE(rect->color(), MPainterArea::colorFromX(10));
    QCOMPARE(rect->colorX(), 10);
    QCOMPARE(f.canvas->currentColorX(), 10);
    QCOMPARE(f.canvas->currentColor(), MPainterArea::colorFromX(10));
    QVERIFY(rect->isVisible());

    f.canvas->checkRedo();
    QCOMPARE(rect->color(), MPainterArea::colorFromX(250));
    QCOMPARE(f.canvas->currentColorX(), 250);

    // A pick that changes nothing is no step.
    const int index = f.canvas->history()->index();
    f.canvas->pushColorChange(250, 250);
    QCOMPARE(f.canvas->history()->index(), index);
}

void PainterHistoryTest::colourStep_withoutItem_restoresTheCanvasColour()
{
    CanvasFixture f;
    f.canvas->setCurrentColorX(30);
    f.canvas->setCurrentColor(MPainterArea::colorFromX(30));
    f.canvas->setCurrentColorX(90);
    f.canvas->setCurrentColor(MPainterArea::colorFromX(90));
    f.canvas->pushColorChange(90, 30);
    QVERIFY(f.canvas->canUndo());
    f.canvas->checkUndo();
    QCOMPARE(f.canvas->currentColorX(), 30);
    QCOMPARE(f.canvas->currentColor(), MPainterArea::colorFromX(30));
    QCOMPARE(f.canvas->currentItem(), nullptr);
}

void PainterHistoryTest::lineWidthStep_undoesToTheItemsOwnWidth()
{
    CanvasFixture f;
    f.canvas->setCurrentModule("Line");
    f.canvas->setCurrentLineWidth(2);
    AbstractGraphItem *line = f.drag("Line", QPoint(20, 150), QPoint(380, 150));
    const QImage thin = f.render();
    // A width of another tool is the canvas's; the selected line keeps its own until a step.
    f.canvas->setCurrentLineWidth(9);
    QCOMPARE(f.render(), thin);
    f.canvas->pushLineWidthChange(10, 9);
    QCOMPARE(line->lineWidth(), 10);
    QVERIFY(differingPixels(thin, f.render(), QRect(0, 140, 400, 20)) > 1000);

    f.canvas->checkUndo();
    QCOMPARE(line->lineWidth(), 2);
    QCOMPARE(f.canvas->currentLineWidth(), 2);
    QCOMPARE(f.render(), thin);
    f.canvas->checkRedo();
    QCOMPARE(line->lineWidth(), 10);
    QCOMPARE(f.canvas->currentLineWidth(), 10);
}

void PainterHistoryTest::oneDrag_isOneMoveStep()
{
    CanvasFixture f;
    AbstractGraphItem *rect = f.drag("Rect", QPoint(100, 100), QPoint(150, 150));
    const QPolygonF drawn = rect->points();
    f.canvas->setCurrentModule("Move");
    GraphModule *move = f.canvas->module("Move");
    move->beginPaintItem(f.canvas, QPoint(120, 120));
    for (int step = 1; step <= 20; ++step)
        move->paintItem(f.canvas, QPoint(120 + step, 120 + step));
    move->endPaintItem(f.canvas, QPoint(140, 140));
    f.drag("Move", QPoint(150, 150), QPoint(160, 150)); // a second drag: its own step

    QCOMPARE(f.canvas->history()->count(), 3);
    f.canvas->checkUndo();
    QCOMPARE(rect->points(), drawn.translated(20, 20));
    f.canvas->checkUndo();
    QCOMPARE(rect->points(), drawn);
    QVERIFY(rect->isVisible());
    f.canvas->checkRedo();
    QCOMPARE(rect->points(), drawn.translated(20, 20));
}

void PainterHistoryTest::newStepAfterUndo_dropsTheUndoneItem()
{
    CanvasFixture f;
    QPointer<AbstractGraphItem> dropped = f.drag("Rect", QPoint(20, 20), QPoint(80, 80));
    f.canvas->checkUndo();
    f.drag("Line", QPoint(100, 100), QPoint(200, 200));
    QVERIFY(!f.canvas->canRedo());
    QTRY_VERIFY(dropped.isNull());
    QCOMPARE(f.canvas->graphItems().size(), 1);
}

void PainterHistoryTest::colourLookup_isAskedOnUndo()
{
    QList<int> asked;
    MPainterArea::setColorLookup([&asked](int x) {
        asked << x;
        return QColor(x, 0, 0);
    });
    CanvasFixture f;
    f.canvas->pushColorChange(200, 100);
    asked.clear();
    f.canvas->checkUndo();
    QVERIFY(asked.contains(100));
    QCOMPARE(f.canvas->currentColor(), QColor(100, 0, 0));
}

QTEST_MAIN(PainterHistoryTest)
#include "tst_painter_history.moc"
