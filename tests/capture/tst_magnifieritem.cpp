// The magnifier: the enlarged patch around the cursor checked pixel by pixel against a known
// screen image, the crosshair and strip geometry, and the colour reported under the cursor.
#include "capture/magnifieritem.h"
#include "capturetesthost.h"

#include <QPainter>
#include <QSignalSpy>
#include <QTest>

using Host = CaptureTestHost<MagnifierItem>;

namespace {

const QColor clearColour(10, 200, 90);

// Every pixel of the screen image has its own colour, so a misplaced pixel shows.
QRgb screenPixel(int x, int y) { return qRgb(x, y, (x * 7 + y * 3) & 0xff); }

QPixmap patternedScreen(int w = 200, int h = 160)
{
    QImage image(w, h, QImage::Format_RGB32);
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x)
            image.setPixel(x, y, screenPixel(x, y));
    }
    return QPixmap::fromImage(image);
}

QPixmap uniformScreen(const QColor &colour)
{
    QPixmap pixmap(200, 160);
    pixmap.fill(colour);
    return pixmap;
}

// The magnified pixel k (0..19) of the patch covers item pixels [3.5 k, 3.5 k + 3.5);
// this is the item pixel in the middle of that run.
int itemPixelOf(int k) { return int(3.5 * k + 1.75); }

std::unique_ptr<Host> magnifierAt(const QPixmap &screen, int gx, int gy)
{
    auto host = std::make_unique<Host>(QSize(70, 70), clearColour);
    host->item->setBackground(screen);
    host->item->setGx(gx);
    host->item->setGy(gy);
    host->item->update();
    return host;
}

} // namespace

class TestMagnifierItem : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { useSoftwareRenderer(); }

    void patch_enlargedPixelExact_data()
    {
        QTest::addColumn<int>("i");
        QTest::addColumn<int>("j");
        for (int i : {2, 5, 9, 14, 17}) {
            for (int j : {2, 6, 13, 15})
                QTest::newRow(qPrintable(QString("%1,%2").arg(i).arg(j))) << i << j;
        }
    }

    void patch_enlargedPixelExact()
    {
        QFETCH(int, i);
        QFETCH(int, j);
        auto host = magnifierAt(patternedScreen(), 100, 80);
        const QImage image = host->grab();
        // The patch's top-left is the cursor minus 10 in each direction.
        QCOMPARE(image.pixel(itemPixelOf(i), itemPixelOf(j)), screenPixel(90 + i, 70 + j));
    }

    void patch_cursorPixelUnderCrosshairCentre()
    {
        auto host = magnifierAt(patternedScreen(), 100, 80);
        const QImage image = host->grab();
        // The gap of the crosshair shows the cursor's own pixel.
        QCOMPARE(image.pixel(35, 35), screenPixel(100, 80));
        QCOMPARE(image.pixel(36, 36), screenPixel(100, 80));
        QCOMPARE(image.pixel(37, 30), screenPixel(100, 78));
    }

    void patch_nearImageEdgeKeepsScaleAndCentre()
    {
        auto host = magnifierAt(patternedScreen(), 3, 80);
        const QImage image = host->grab();
        QCOMPARE(host->item->currentColor(), QColor(screenPixel(3, 80)).name());
        QCOMPARE(image.pixel(37, 30), screenPixel(3, 78));
        QCOMPARE(image.pixel(itemPixelOf(14), itemPixelOf(4)), screenPixel(7, 74));
        // Columns left of the image hold nothing: the window shows through.
        QCOMPARE(image.pixel(itemPixelOf(2), itemPixelOf(4)), clearColour.rgb());
    }

    void crosshairAndStrip_geometry()
    {
        auto host = magnifierAt(uniformScreen(Qt::white), 100, 80);
        const QImage image = host->grab();
        const QRgb white = qRgb(255, 255, 255);
        // Arms (35, 0, 1, 33), (35, 37, 1, 33), (0, 35, 33, 1), (37, 35, 33, 1), with a gap
        // of clear pixels around the centre.
        for (const QPoint &arm : {QPoint(35, 10), QPoint(36, 33), QPoint(35, 37), QPoint(36, 50),
                                  QPoint(10, 35), QPoint(33, 36), QPoint(37, 35), QPoint(60, 36)})
            QVERIFY2(image.pixel(arm) != white, qPrintable(QString("arm at %1,%2").arg(arm.x()).arg(arm.y())));
        for (const QPoint &gap : {QPoint(35, 34), QPoint(34, 35), QPoint(35, 35), QPoint(36, 36),
                                  QPoint(34, 10), QPoint(37, 10), QPoint(10, 34), QPoint(10, 37)})
            QCOMPARE(image.pixel(gap), white);
        // The half-transparent strip covers the bottom 14 rows.
        QCOMPARE(image.pixel(60, 55), white);
        // Half of white, give or take the rounding of the opacity.
        QVERIFY(qAbs(qRed(image.pixel(60, 56)) - 128) <= 1);
        QVERIFY(qAbs(qRed(image.pixel(60, 69)) - 128) <= 1);
        // Rounded corners show the window; the top-left corner stays square.
        QCOMPARE(image.pixel(69, 0), clearColour.rgb());
        QCOMPARE(image.pixel(0, 0), white);
    }

    void colour_reportedOnceWhileUnchanged()
    {
        QPixmap screen = uniformScreen(QColor(255, 0, 0));
        {
            QPainter painter(&screen);
            painter.fillRect(QRect(150, 0, 50, 160), QColor(0, 0, 255));
        }
        auto host = magnifierAt(screen, 20, 20);
        QSignalSpy changes(host->item, &MagnifierItem::currentColorChange);
        host->grab();
        QCOMPARE(host->item->currentColor(), QStringLiteral("#ff0000"));
        QCOMPARE(changes.count(), 1);
        QCOMPARE(changes.last().at(0).toString(), QStringLiteral("#ff0000"));
        host->item->setGx(40);
        host->item->update();
        host->grab();
        QCOMPARE(changes.count(), 1);
        host->item->setGx(160);
        host->item->update();
        host->grab();
        QCOMPARE(changes.count(), 2);
        QCOMPARE(host->item->currentColor(), QStringLiteral("#0000ff"));
    }

    void colour_offImageOrWithoutImageReportsNothing()
    {
        auto empty = magnifierAt(QPixmap(), 20, 20);
        QSignalSpy none(empty->item, &MagnifierItem::currentColorChange);
        empty->grab();
        QCOMPARE(none.count(), 0);
        QVERIFY(empty->item->currentColor().isEmpty());

        auto host = magnifierAt(uniformScreen(QColor(0, 255, 0)), 20, 20);
        host->grab();
        QSignalSpy changes(host->item, &MagnifierItem::currentColorChange);
        host->item->setGx(-4);
        host->item->update();
        host->grab();
        QCOMPARE(changes.count(), 0);
        QCOMPARE(host->item->currentColor(), QStringLiteral("#00ff00"));
    }

    void setters_emitOnlyOnChangeAndBackgroundKeepsLogicalSize()
    {
        MagnifierItem item;
        QVERIFY(item.flags() & QQuickItem::ItemHasContents);
        QSignalSpy gx(&item, &MagnifierItem::gxChanged);
        item.setGx(7);
        item.setGx(7);
        QCOMPARE(gx.count(), 1);
        QSignalSpy background(&item, &MagnifierItem::backgroundChanged);
        item.setBackground(patternedScreen(120, 90));
        QCOMPARE(background.count(), 1);
        // The offscreen primary screen has the ratio 1: the image keeps its size.
        QCOMPARE(item.background().size(), QSize(120, 90));
    }
};

QTEST_MAIN(TestMagnifierItem)
#include "tst_magnifieritem.moc"
