// Flattening the canvas: background crop, scaling, z limit, visibility, antialiasing, the
// dim layer and the QML registration.

#include "canvasfixture.h"

#include "painter/abstractgraphitem.h"
#include "painter/blackoutarea.h"
#include "painter/paintertypes.h"

#include <QQmlComponent>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTest>

class PainterRenderTest : public QObject
{
    Q_OBJECT

private slots:
    void withoutItems_equalsTheBackgroundCropPixelForPixel();
    void reversedRectangle_isNormalized();
    void rectangleBeyondTheBackground_keepsThePicturePart();
    void background_isScaledToTheCanvasKeepingItsAspect();
    void itemsAtOrAboveTheZLimit_areLeftOut();
    void hiddenItemsAndItemsOutsideTheRect_areLeftOut();
    void antialiasFlag_switchesSmoothEdges();
    void setBackground_emitsOnlyOnChange();
    void blackoutArea_dimsAroundTheSelection_andShowsUnderTheZLimit();
    void qmlRegistration_createsTheCanvasTypes();
};

void PainterRenderTest::withoutItems_equalsTheBackgroundCropPixelForPixel()
{
    const QImage picture = patternImage(QSize(640, 480));
    CanvasFixture f(QSize(640, 480), picture);
    const QRect crop(37, 51, 300, 200);
    const QImage rendered = f.canvas->renderRect(crop, 50000.0, true, false);
    QCOMPARE(rendered.size(), crop.size());
    QCOMPARE(asArgb(rendered), asArgb(picture.copy(crop)));
    QCOMPARE(asArgb(f.canvas->renderRect(QRect(0, 0, 640, 480), 10000.0, false, false)), asArgb(picture));
}

void PainterRenderTest::reversedRectangle_isNormalized()
{
    const QImage picture = patternImage(QSize(200, 100));
    CanvasFixture f(QSize(200, 100), picture);
    const QRect reversed(QPoint(150, 80), QPoint(20, 10));
    const QImage rendered = f.canvas->renderRect(reversed, 50000.0, true, false);
    QCOMPARE(asArgb(rendered), asArgb(picture.copy(reversed.normalized())));
    const QRect upward(150, 80, -100, -50);
    QCOMPARE(asArgb(f.canvas->renderRect(upward, 50000.0, true, false)), asArgb(picture.copy(upward.normalized())));
    QVERIFY(f.canvas->renderRect(QRect(10, 10, 0, 0), 50000.0, true, false).isNull());
}

void PainterRenderTest::rectangleBeyondTheBackground_keepsThePicturePart()
{
    const QImage picture = patternImage(QSize(200, 100));
    CanvasFixture f(QSize(200, 100), picture);
    const QImage rendered = asArgb(f.canvas->renderRect(QRect(150, 50, 100, 100), 50000.0, false, false));
    QCOMPARE(rendered.size(), QSize(100, 100));
    QCOMPARE(rendered.copy(0, 0, 50, 50), asArgb(picture.copy(150, 50, 50, 50)));
    QCOMPARE(qAlpha(rendered.pixel(75, 75)), 0);
}

void PainterRenderTest::background_isScaledToTheCanvasKeepingItsAspect()
{
    // A 200x100 picture on a 400x400 canvas: scaled to 400x200, at the top left.
    QImage picture(200, 100, QImage::Format_RGB32);
    picture.fill(Qt::red);
    CanvasFixture f(QSize(400, 400), picture);
    const QImage rendered = f.render();
    QCOMPARE(rendered.pixelColor(399, 199), QColor(Qt::red));
    QCOMPARE(rendered.pixelColor(0, 0), QColor(Qt::red));
    QCOMPARE(qAlpha(rendered.pixel(200, 300)), 0);
}

void PainterRenderTest::itemsAtOrAboveTheZLimit_areLeftOut()
{
    CanvasFixture f;
    const QImage empty = f.render();
    AbstractGraphItem *rect = f.drag("Blackout", QPoint(50, 50), QPoint(150, 150));
    rect->setZ(60000);
    QCOMPARE(f.render(false, 50000.0), empty);
    QCOMPARE(f.render(false, 70000.0).pixelColor(100, 100), QColor(Qt::black));
    rect->setZ(50000);
    QCOMPARE(f.render(false, 50000.0), empty);
    rect->setZ(49999);
    QCOMPARE(f.render(false, 50000.0).pixelColor(100, 100), QColor(Qt::black));
}

void PainterRenderTest::hiddenItemsAndItemsOutsideTheRect_areLeftOut()
{
    CanvasFixture f;
    AbstractGraphItem *left = f.drag("Blackout", QPoint(10, 10), QPoint(60, 60));
    AbstractGraphItem *right = f.drag("Blackout", QPoint(300, 10), QPoint(350, 60));
    Q_UNUSED(left);
    // A later child paints over an earlier one.
    f.canvas->setCurrentColor(Qt::blue);
    f.drag("Rect", QPoint(20, 20), QPoint(50, 50));
    const QImage part = asArgb(f.canvas->renderRect(QRect(0, 0, 100, 100), 50000.0, false, false));
    QCOMPARE(part.pixelColor(35, 20), QColor(Qt::blue));
    QCOMPARE(part.pixelColor(15, 15), QColor(Qt::black));

    right->setVisible(false);
    QCOMPARE(f.render().pixelColor(320, 30), QColor(Qt::white));
}

void PainterRenderTest::antialiasFlag_switchesSmoothEdges()
{
    CanvasFixture f;
    f.canvas->setCurrentColor(Qt::black);
    f.drag("Line", QPoint(10, 10), QPoint(390, 200));
    auto colours = [](const QImage &image) {
        QSet<QRgb> seen;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                seen.insert(image.pixel(x, y));
        return seen.size();
    };
    QCOMPARE(colours(f.render(false)), 2);
    QVERIFY(colours(f.render(true)) > 2);
}

void PainterRenderTest::setBackground_emitsOnlyOnChange()
{
    CanvasFixture f(QSize(100, 100), patternImage(QSize(100, 100)));
    QSignalSpy changed(f.canvas, &MPainterArea::backgroundChanged);
    f.canvas->setBackground(patternImage(QSize(100, 100)));
    QCOMPARE(changed.count(), 0);
    f.canvas->setBackground(whiteImage(QSize(100, 100)));
    QCOMPARE(changed.count(), 1);
    QCOMPARE(f.render().pixelColor(50, 50), QColor(Qt::white));
}

void PainterRenderTest::blackoutArea_dimsAroundTheSelection_andShowsUnderTheZLimit()
{
    CanvasFixture f;
    auto *dim = new BlackoutArea(f.canvas);
    dim->setSize(QSizeF(400, 300));
    QCOMPARE(dim->paintArea(), f.canvas);
    QSignalSpy repainted(dim, &BlackoutArea::selectRectChanged);
    f.canvas->setSelectRect(QRectF(100, 50, 200, 100));
    QCOMPARE(dim->selectRect(), QRectF(100, 50, 200, 100));
    QCOMPARE(repainted.count(), 1);

    QImage image(400, 300, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    dim->paint(&painter);
    painter.end();
    QCOMPARE(qAlpha(image.pixel(150, 100)), 0);
    QVERIFY(qAlpha(image.pixel(50, 100)) > 0);
    QVERIFY(qAlpha(image.pixel(150, 200)) > 0);
    QCOMPARE(qRed(image.pixel(50, 100)), 0);

    // Like every painted child of the canvas it shows in the capture, unless it lies at or
    // above the z limit.
    QCOMPARE(f.render().pixelColor(50, 100), QColor(127, 127, 127));
    QCOMPARE(f.render().pixelColor(150, 100), QColor(Qt::white));
    dim->setZ(50000);
    QCOMPARE(f.render().pixelColor(50, 100), QColor(Qt::white));
}

void PainterRenderTest::qmlRegistration_createsTheCanvasTypes()
{
    registerPainterTypes();
    registerPainterTypes();
    QQmlEngine engine;
    QQmlComponent component(&engine);
    component.setData("import QtQuick 2.0\nimport MavuComponent 1.0\n"
                      "Item { property AbstractGraphItem item: canvas.currentItem\n"
                      "  MPainterArea { id: canvas; objectName: 'paintArea'; currentModule: 'Pen' }\n"
                      "  BlackoutArea { paintArea: canvas } }",
                      QUrl());
    std::unique_ptr<QObject> root(component.create());
    QVERIFY2(root, qPrintable(component.errorString()));
    auto *canvas = root->findChild<MPainterArea *>("paintArea");
    QVERIFY(canvas);
    QCOMPARE(canvas->currentModule(), QStringLiteral("Pen"));
    auto *dim = root->findChild<BlackoutArea *>();
    QVERIFY(dim);
    QCOMPARE(dim->paintArea(), canvas);

    QQmlComponent abstract(&engine);
    abstract.setData("import MavuComponent 1.0\nAbstractGraphItem {}", QUrl());
    QVERIFY(abstract.isError());
}

QTEST_MAIN(PainterRenderTest)
#include "tst_painter_render.moc"
