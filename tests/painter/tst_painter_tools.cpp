// The drawing tools as the overlay page drives them: each tool makes its item, the item
// shows in the rendered image at the place and in the colour it was drawn with.

#include "canvasfixture.h"

#include "painter/abstractgraphitem.h"
#include "painter/bluritem.h"
#include "painter/counteritem.h"
#include "painter/rectitem.h"
#include "painter/textitem.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"

#include <QSignalSpy>
#include <QTest>

namespace {
const QColor blue(0, 0, 255);
}

class PainterToolsTest : public QObject
{
    Q_OBJECT

private slots:
    void dragTools_drawTheirItemWhereDragged_data();
    void dragTools_drawTheirItemWhereDragged();
    void clickWithoutDrag_leavesNoShape();
    void shiftAndControl_shapeTheDrag();
    void counter_marksCountUpFromOne();
    void text_typedTextShowsInTheRender();
    void text_selectionOfTwoLines_readsWithNewline();
    void text_substrateFillsABoxBehindTheText();
    void blur_changesEveryPixelOfTextUnderIt();
    void move_dragsTheItemUnderThePointer();
    void move_resizesTheCheckedItemByItsHandle();
    void move_pressOnFreeSpace_unchecksEverything();
    void checkedItem_showsHandlesOnScreen_uncheckedNone();
    void mouseInput_reachesTheCurrentTool();
    void selectLastModule_togglesMoveAndThePreviousTool();
    void currentModule_storesLastToolAndRejectsUnknownNames();
    void toolLineWidths_comeFromTheirSettings();
    void loadGraphModule_makesOneModulePerToolWithPonoramLast();
};

void PainterToolsTest::dragTools_drawTheirItemWhereDragged_data()
{
    QTest::addColumn<QString>("tool");
    QTest::addColumn<QPoint>("sample");
    QTest::addColumn<QColor>("expected"); // invalid: any colour other than the background

    QTest::newRow("Rect") << "Rect" << QPoint(100, 140) << blue;
    QTest::newRow("Ellipse") << "Ellipse" << QPoint(150, 100) << blue;
    QTest::newRow("Line") << "Line" << QPoint(150, 140) << blue;
    QTest::newRow("Arrow") << "Arrow" << QPoint(150, 140) << blue;
    QTest::newRow("Arrow head") << "Arrow" << QPoint(192, 173) << blue;
    QTest::newRow("Pen") << "Pen" << QPoint(175, 160) << blue;
    QTest::newRow("Marker") << "Marker" << QPoint(175, 160) << QColor();
    QTest::newRow("Blackout") << "Blackout" << QPoint(150, 140) << QColor(Qt::black);
}

void PainterToolsTest::dragTools_drawTheirItemWhereDragged()
{
    QFETCH(QString, tool);
    QFETCH(QPoint, sample);
    QFETCH(QColor, expected);

    CanvasFixture f;
    const QImage before = f.render();
    f.canvas->setCurrentModule(tool);
    f.canvas->setCurrentColor(blue);
    f.canvas->setCurrentLineWidth(4);
    AbstractGraphItem *item = f.drag(tool, QPoint(100, 100), QPoint(200, 180));

    QVERIFY(item);
    QCOMPARE(item->name(), tool);
    QCOMPARE(item->color(), blue);
    QVERIFY(item->isChecked());
    const QImage after = f.render();
    const QColor drawn = after.pixelColor(sample);
    if (expected.isValid()) {
        QCOMPARE(drawn, expected);
    } else {
        // The marker lets the picture through: neither the plain colour nor the background.
        QVERIFY2(drawn != blue && drawn != QColor(Qt::white), qPrintable(drawn.name()));
        QVERIFY(drawn.blue() > drawn.red());
    }
    // Nothing far from the drag changes.
    QCOMPARE(differingPixels(before, after, QRect(0, 0, 400, 80)), 0);
    QCOMPARE(differingPixels(before, after, QRect(230, 0, 170, 300)), 0);
}

void PainterToolsTest::clickWithoutDrag_leavesNoShape()
{
    CanvasFixture f;
    for (const QString tool : {"Rect", "Ellipse", "Line", "Arrow", "Pen", "Blur", "Blackout"}) {
        f.click(tool, QPoint(50, 50));
        QVERIFY2(f.canvas->graphItems().isEmpty(), qPrintable(tool));
        QVERIFY(!f.canvas->canUndo());
    }
}

void PainterToolsTest::shiftAndControl_shapeTheDrag()
{
    CanvasFixture f;
    QVERIFY(f.show());
    QTest::keyPress(f.window.get(), Qt::Key_Shift, Qt::ShiftModifier);
    QCOMPARE(f.drag("Rect", QPoint(100, 100), QPoint(160, 130))->shapeBounds(), QRectF(100, 100, 60, 60));
    QCOMPARE(f.drag("Ellipse", QPoint(300, 100), QPoint(280, 60))->shapeBounds(), QRectF(260, 60, 40, 40));
    const QPointF end = f.drag("Arrow", QPoint(100, 200), QPoint(200, 210))->points().last();
    QVERIFY2(qAbs(end.y() - 200.0) < 0.01, qPrintable(QString::number(end.y())));
    QCOMPARE(f.drag("Pen", QPoint(20, 250), QPoint(120, 290))->points().size(), 2);
    QTest::keyRelease(f.window.get(), Qt::Key_Shift, Qt::NoModifier);

    QTest::keyPress(f.window.get(), Qt::Key_Control, Qt::ControlModifier);
    auto *filled = qobject_cast<RectItem *>(f.drag("Rect", QPoint(200, 200), QPoint(260, 260)));
    QTest::keyRelease(f.window.get(), Qt::Key_Control, Qt::NoModifier);
    QVERIFY(filled && filled->isFilled());
    QCOMPARE(f.render().pixelColor(230, 230), filled->color());
    auto *hollow = qobject_cast<RectItem *>(f.drag("Rect", QPoint(300, 200), QPoint(360, 260)));
    QVERIFY(hollow && !hollow->isFilled());
    QCOMPARE(f.render().pixelColor(330, 230), QColor(Qt::white));
}

void PainterToolsTest::counter_marksCountUpFromOne()
{
    CanvasFixture f;
    f.canvas->setCurrentColor(blue);
    QList<int> numbers;
    for (int i = 0; i < 3; ++i) {
        auto *counter = qobject_cast<CounterItem *>(f.click("Counter", QPoint(60 + 80 * i, 150)));
        QVERIFY(counter);
        numbers << counter->number();
    }
    QCOMPARE(numbers, QList<int>({1, 2, 3}));

    // Undoing the last mark frees its number.
    f.canvas->checkUndo();
    auto *again = qobject_cast<CounterItem *>(f.click("Counter", QPoint(300, 250)));
    QCOMPARE(again->number(), 3);

    // The mark is a disc in the current colour around the click.
    const QImage image = f.render();
    const int r = qRound(again->radius());
    QCOMPARE(image.pixelColor(300 - r + 4, 250), blue);
    QCOMPARE(image.pixelColor(300 - r - 4, 250), QColor(Qt::white));
}

void PainterToolsTest::text_typedTextShowsInTheRender()
{
    CanvasFixture f;
    QVERIFY(f.show());
    f.canvas->setCurrentColor(blue);
    const QImage before = f.render();
    auto *text = qobject_cast<TextItem *>(f.click("Text", QPoint(50, 100)));
    QVERIFY(text);
    QTRY_VERIFY(text->hasActiveFocus());

    for (const char key : QByteArray("Hello"))
        QTest::keyClick(f.window.get(), key);
    QCOMPARE(text->text(), QStringLiteral("Hello"));
    QTest::keyClick(f.window.get(), Qt::Key_Backspace);
    QCOMPARE(text->text(), QStringLiteral("Hell"));

    const QImage after = f.render(true);
    const QRect box = text->shapeBounds().toAlignedRect();
    QVERIFY(box.contains(QPoint(55, 100)));
    QVERIFY(differingPixels(before, after, box) > 20);
    bool hasTextColour = false;
    for (int y = box.top(); y <= box.bottom() && !hasTextColour; ++y)
        for (int x = box.left(); x <= box.right() && !hasTextColour; ++x)
            hasTextColour = after.pixelColor(x, y).blue() > 200 && after.pixelColor(x, y).red() < 60;
    QVERIFY(hasTextColour);
    QCOMPARE(differingPixels(before, after, QRect(0, 0, 400, 60)), 0);

    // Once unchecked, the label takes no more keys.
    f.canvas->uncheckAllItem();
    QVERIFY(!text->hasActiveFocus());
    QTest::keyClick(f.window.get(), 'x');
    QCOMPARE(text->text(), QStringLiteral("Hell"));
}

void PainterToolsTest::text_selectionOfTwoLines_readsWithNewline()
{
    CanvasFixture f;
    auto *text = qobject_cast<TextItem *>(f.click("Text", QPoint(50, 100)));
    QVERIFY(text);
    text->setText(QStringLiteral("a\nb"));
    QCOMPARE(text->getSelectedText(), QString());
    text->selectAll();
    QCOMPARE(text->getSelectedText(), QStringLiteral("a\nb"));
    text->setSelection(2, 3);
    QCOMPARE(text->getSelectedText(), QStringLiteral("b"));
}

void PainterToolsTest::text_substrateFillsABoxBehindTheText()
{
    CanvasFixture f;
    f.canvas->setCurrentColor(blue);
    f.canvas->setCurrentSubstrate(false);
    auto *plain = qobject_cast<TextItem *>(f.click("Text", QPoint(50, 100)));
    plain->setText(QStringLiteral("x"));
    f.canvas->uncheckAllItem();
    f.canvas->setCurrentSubstrate(true);
    QCOMPARE(Setting::instance()->getValue(SettingKeys::substrate).toBool(), true);
    auto *boxed = qobject_cast<TextItem *>(f.click("Text", QPoint(50, 200)));
    boxed->setText(QStringLiteral("x"));
    QVERIFY(boxed->substrate());
    QVERIFY(!plain->substrate());

    const QImage image = f.render();
    // The top-left corner of each text box, inside the box but away from the glyph.
    const QPoint plainCorner = plain->shapeBounds().topLeft().toPoint() + QPoint(4, 2);
    const QPoint boxedCorner = boxed->shapeBounds().topLeft().toPoint() + QPoint(4, 2);
    QCOMPARE(image.pixelColor(plainCorner), QColor(Qt::white));
    QCOMPARE(image.pixelColor(boxedCorner), blue);
}

void PainterToolsTest::blur_changesEveryPixelOfTextUnderIt()
{
    QImage picture = whiteImage(QSize(400, 300));
    {
        QPainter painter(&picture);
        QFont font(QStringLiteral("Arial"));
        font.setPixelSize(18);
        painter.setFont(font);
        painter.setPen(Qt::black);
        painter.drawText(QRect(60, 100, 280, 40), Qt::AlignCenter, QStringLiteral("Secret 4821 token"));
    }
    CanvasFixture f(QSize(400, 300), picture);
    const QImage before = f.render();
    QList<QPoint> ink;
    for (int y = 100; y < 140; ++y)
        for (int x = 60; x < 340; ++x)
            if (qGray(before.pixel(x, y)) < 128)
                ink << QPoint(x, y);
    QVERIFY(ink.size() > 100);

    AbstractGraphItem *blur = f.drag("Blur", QPoint(50, 90), QPoint(350, 150));
    QVERIFY(qobject_cast<BlurItem *>(blur));
    const QImage after = f.render();
    for (const QPoint &p : ink)
        QVERIFY2(after.pixel(p) != before.pixel(p), qPrintable(QStringLiteral("%1,%2").arg(p.x()).arg(p.y())));
    // The blur keeps to its box.
    QCOMPARE(differingPixels(before, after, QRect(0, 0, 400, 89)), 0);
    QCOMPARE(differingPixels(before, after, QRect(0, 151, 400, 149)), 0);
}

void PainterToolsTest::move_dragsTheItemUnderThePointer()
{
    CanvasFixture f;
    AbstractGraphItem *rect = f.drag("Rect", QPoint(100, 100), QPoint(200, 180));
    AbstractGraphItem *line = f.drag("Line", QPoint(300, 20), QPoint(380, 60));
    f.canvas->uncheckAllItem();
    const QPolygonF lineBefore = line->points();

    f.drag("Move", QPoint(150, 140), QPoint(180, 160));
    QCOMPARE(rect->points(), QPolygonF({QPointF(130, 120), QPointF(230, 200)}));
    QCOMPARE(line->points(), lineBefore);
    QVERIFY(rect->isChecked());
    QVERIFY(!line->isChecked());
    QCOMPARE(f.canvas->currentItem(), rect);
    QCOMPARE(f.canvas->checkItem(), rect);

    // Lines are picked near the stroke only, not anywhere in their bounding box.
    f.drag("Move", QPoint(310, 55), QPoint(320, 65));
    QCOMPARE(line->points(), lineBefore);
    f.drag("Move", QPoint(340, 40), QPoint(340, 50));
    QCOMPARE(line->points(), lineBefore.translated(0, 10));
}

void PainterToolsTest::move_resizesTheCheckedItemByItsHandle()
{
    CanvasFixture f;
    AbstractGraphItem *rect = f.drag("Rect", QPoint(100, 100), QPoint(200, 180));
    // Bottom-right handle dragged outward.
    f.drag("Move", QPoint(200, 180), QPoint(250, 220));
    QCOMPARE(rect->shapeBounds(), QRectF(100, 100, 150, 120));
    // Right-edge handle changes the width only.
    f.drag("Move", QPoint(250, 160), QPoint(220, 100));
    QCOMPARE(rect->shapeBounds(), QRectF(100, 100, 120, 120));

    // A line is resized by its ends.
    AbstractGraphItem *line = f.drag("Line", QPoint(20, 250), QPoint(120, 250));
    f.drag("Move", QPoint(120, 250), QPoint(120, 290));
    QCOMPARE(line->points(), QPolygonF({QPointF(20, 250), QPointF(120, 290)}));
}

void PainterToolsTest::move_pressOnFreeSpace_unchecksEverything()
{
    CanvasFixture f;
    f.drag("Rect", QPoint(100, 100), QPoint(200, 180));
    QVERIFY(f.canvas->checkItem());
    f.click("Move", QPoint(350, 280));
    QCOMPARE(f.canvas->checkItem(), nullptr);
    QCOMPARE(f.canvas->currentItem(), nullptr);
}

void PainterToolsTest::checkedItem_showsHandlesOnScreen_uncheckedNone()
{
    CanvasFixture f;
    QVERIFY(f.show());
    f.canvas->setCurrentColor(blue);
    f.canvas->setCurrentLineWidth(4);
    AbstractGraphItem *rect = f.drag("Rect", QPoint(100, 100), QPoint(200, 180));
    QVERIFY(rect->isChecked());
    // The top-middle handle is a white square over the blue frame.
    QTRY_COMPARE(f.window->grabWindow().pixelColor(150, 100), QColor(Qt::white));
    f.canvas->uncheckAllItem();
    QTRY_COMPARE(f.window->grabWindow().pixelColor(150, 100), blue);
    // The rendered capture never shows handles, checked or not.
    rect->setCheck(true);
    QCOMPARE(f.render().pixelColor(150, 100), blue);
}

void PainterToolsTest::mouseInput_reachesTheCurrentTool()
{
    CanvasFixture f;
    QVERIFY(f.show());
    f.canvas->setCurrentModule("Rect");
    QTest::mousePress(f.window.get(), Qt::LeftButton, {}, QPoint(50, 60));
    QTest::mouseMove(f.window.get(), QPoint(100, 100));
    QTest::mouseRelease(f.window.get(), Qt::LeftButton, {}, QPoint(120, 130));
    QCOMPARE(f.canvas->graphItems().size(), 1);
    QCOMPARE(f.canvas->graphItems().first()->shapeBounds(), QRectF(50, 60, 70, 70));

    // Switching the tool in the middle of a drag finishes the drag as one undoable item.
    QTest::mousePress(f.window.get(), Qt::LeftButton, {}, QPoint(200, 200));
    QTest::mouseMove(f.window.get(), QPoint(260, 250));
    f.canvas->setCurrentModule("Ellipse");
    QTest::mouseRelease(f.window.get(), Qt::LeftButton, {}, QPoint(300, 290));
    QCOMPARE(f.canvas->graphItems().size(), 2);
    QCOMPARE(f.canvas->graphItems().last()->shapeBounds(), QRectF(200, 200, 60, 50));
    f.canvas->checkUndo();
    QVERIFY(!f.canvas->graphItems().last()->isVisible());
    f.canvas->checkRedo();

    // Losing the mouse grab in the middle of a drag finishes the drag too.
    QTest::mousePress(f.window.get(), Qt::LeftButton, {}, QPoint(20, 200));
    QTest::mouseMove(f.window.get(), QPoint(80, 280));
    f.canvas->ungrabMouse();
    QCOMPARE(f.canvas->graphItems().size(), 3);
    QVERIFY(f.canvas->graphItems().last()->isVisible());
    QTest::mouseRelease(f.window.get(), Qt::LeftButton, {}, QPoint(90, 290));
    QCOMPARE(f.canvas->graphItems().size(), 3);

    // Without a tool the canvas leaves the mouse alone.
    f.canvas->setCurrentModule(QString());
    QTest::mousePress(f.window.get(), Qt::LeftButton, {}, QPoint(200, 60));
    QTest::mouseRelease(f.window.get(), Qt::LeftButton, {}, QPoint(260, 130));
    QCOMPARE(f.canvas->graphItems().size(), 3);
}

void PainterToolsTest::selectLastModule_togglesMoveAndThePreviousTool()
{
    CanvasFixture f;
    f.canvas->setCurrentModule("Arrow");
    f.canvas->selectLastModule();
    QCOMPARE(f.canvas->currentModule(), QStringLiteral("Move"));
    f.canvas->selectLastModule();
    QCOMPARE(f.canvas->currentModule(), QStringLiteral("Arrow"));
    f.canvas->setCurrentModule("Text");
    f.canvas->setCurrentModule("Move");
    f.canvas->selectLastModule();
    QCOMPARE(f.canvas->currentModule(), QStringLiteral("Text"));
}

void PainterToolsTest::currentModule_storesLastToolAndRejectsUnknownNames()
{
    CanvasFixture f;
    QSignalSpy changed(f.canvas, &MPainterArea::currentModuleChanged);
    QSignalSpy stored(Setting::instance(), &Setting::lastGraphToolsChanged);
    f.canvas->setCurrentModule("Ellipse");
    QCOMPARE(changed.count(), 1);
    QCOMPARE(changed.last().first().toString(), QStringLiteral("Ellipse"));
    QCOMPARE(Setting::instance()->getValue(SettingKeys::lastGraphTools).toString(), QStringLiteral("Ellipse"));
    QCOMPARE(stored.count(), 1);

    QTest::ignoreMessage(QtWarningMsg, QRegularExpression("no tool named"));
    f.canvas->setCurrentModule("Spray");
    QCOMPARE(f.canvas->currentModule(), QStringLiteral("Ellipse"));

    f.canvas->setCurrentModule(QString());
    QCOMPARE(f.canvas->currentModule(), QString());
    QCOMPARE(changed.count(), 2);
    QCOMPARE(Setting::instance()->getValue(SettingKeys::lastGraphTools).toString(), QStringLiteral("Ellipse"));
}

void PainterToolsTest::toolLineWidths_comeFromTheirSettings()
{
    CanvasFixture f;
    Setting::instance()->setValue(SettingKeys::widthColorLine, 3);
    f.canvas->setCurrentModule("Text");
    QCOMPARE(f.canvas->currentLineWidth(), 6);
    f.canvas->setCurrentModule("Blur");
    QCOMPARE(f.canvas->currentLineWidth(), 9);
    f.canvas->setCurrentModule("Pen");
    QCOMPARE(f.canvas->currentLineWidth(), 3);

    // A width change is kept for the tool it was made with.
    f.canvas->setCurrentModule("Blackout");
    f.canvas->setCurrentLineWidth(12);
    f.canvas->pushLineWidthChange(12, 9);
    QCOMPARE(Setting::instance()->getValue(SettingKeys::widthBlackoutLine).toInt(), 12);
    QCOMPARE(Setting::instance()->getValue(SettingKeys::widthColorLine).toInt(), 3);
}

void PainterToolsTest::loadGraphModule_makesOneModulePerToolWithPonoramLast()
{
    CanvasFixture f;
    f.canvas->loadGraphModule(); // a second call adds nothing
    const QList<GraphModule *> modules = f.canvas->findChildren<GraphModule *>(QString(), Qt::FindDirectChildrenOnly);
    QStringList names;
    for (GraphModule *module : modules)
        names << module->name();
    QCOMPARE(names, MPainterArea::toolNames());
    QCOMPARE(names.size(), 12);
    QCOMPARE(names.last(), QStringLiteral("Ponoram"));
    QCOMPARE(f.canvas->objectName(), QStringLiteral("MPainterArea"));

    // The scrolling capture's tool draws nothing.
    f.drag("Ponoram", QPoint(10, 10), QPoint(200, 200));
    QVERIFY(f.canvas->graphItems().isEmpty());
}

QTEST_MAIN(PainterToolsTest)
#include "tst_painter_tools.moc"
