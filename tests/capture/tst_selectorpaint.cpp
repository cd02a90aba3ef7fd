// What the selection item paints: the dim bands around the selection in their exact colour,
// the untouched inside, the whole surface dimmed while waiting, and the guide lines.
#include "capture/surfaceselector.h"
#include "capturetesthost.h"

#include <QPainter>
#include <QTest>

using Host = CaptureTestHost<SurfaceSelector>;

namespace {

const QColor clearColour(200, 120, 40);

// The named colour laid over the window's colour the way a painted item reaches the screen:
// painted into the item's transparent surface, then that surface composed over the window.
QRgb over(const QColor &colour, const QColor &below = clearColour)
{
    QImage layer(1, 1, QImage::Format_ARGB32_Premultiplied);
    layer.fill(Qt::transparent);
    QPainter(&layer).fillRect(QRect(0, 0, 1, 1), colour);
    QImage result(1, 1, QImage::Format_RGB32);
    result.fill(below);
    QPainter(&result).drawImage(0, 0, layer);
    return result.pixel(0, 0);
}

QRgb dimmed() { return over(QColor(QStringLiteral("#6c141517"))); }

} // namespace

class TestSelectorPaint : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase() { useSoftwareRenderer(); }

    void colourNames_readAsAlphaFirst()
    {
        const QColor dim(QStringLiteral("#6c141517"));
        QCOMPARE(dim.alpha(), 0x6c);
        QCOMPARE(dim.red(), 0x14);
        QCOMPARE(dim.blue(), 0x17);
        QCOMPARE(QColor(QStringLiteral("#33FFFFFF")).alpha(), 0x33);
        // The reference really is darker than the window, not the window itself.
        QVERIFY(qRed(dimmed()) < clearColour.red() && qGreen(dimmed()) < clearColour.green());
    }

    void waiting_wholeSurfaceDimmedWithCursorLines()
    {
        Host host(QSize(400, 300), clearColour);
        host.move(QPoint(150, 100));
        host.move(QPoint(151, 101));
        QCOMPARE(host.item->gx(), 151);
        const QImage image = host.grab();
        QCOMPARE(image.pixel(10, 10), dimmed());
        QCOMPARE(image.pixel(399, 299), dimmed());
        QCOMPARE(image.pixel(300, 250), dimmed());
        // Both guide lines run across the whole item through the pointer.
        QVERIFY(image.pixel(151, 5) != dimmed());
        QVERIFY(image.pixel(151, 295) != dimmed());
        QVERIFY(image.pixel(5, 101) != dimmed());
        QVERIFY(image.pixel(395, 101) != dimmed());
        QCOMPARE(image.pixel(152, 5), dimmed());
    }

    void finished_bandsDimOutsideAndInsideUntouched()
    {
        Host host(QSize(400, 300), clearColour);
        host.drag(QPoint(100, 80), {QPoint(250, 200)});
        host.move(QPoint(5, 5));
        const QImage image = host.grab();
        const QRgb window = QColor(clearColour).rgb();
        // One pixel in each band and at the item's far corners.
        const QPoint outside[] = {QPoint(0, 0), QPoint(200, 40), QPoint(50, 150), QPoint(320, 150),
                                  QPoint(200, 260), QPoint(399, 299), QPoint(99, 79)};
        for (const QPoint &point : outside)
            QCOMPARE(image.pixel(point), dimmed());
        // The inside is left clear, apart from the start lines on its left and top edges.
        for (int y = 81; y < 200; y += 7) {
            for (int x = 101; x < 250; x += 9)
                QCOMPARE(image.pixel(x, y), window);
        }
        QCOMPARE(image.pixel(249, 199), window);
        QVERIFY(image.pixel(100, 150) != window);
        QVERIFY(image.pixel(150, 80) != window);
        // The stop lines run just outside, on the right and bottom bands.
        QVERIFY(image.pixel(250, 20) != dimmed());
        QVERIFY(image.pixel(20, 200) != dimmed());
        QCOMPARE(image.pixel(251, 20), dimmed());
    }

    void drawing_surroundFollowsPointer()
    {
        Host host(QSize(400, 300), clearColour);
        host.press(QPoint(300, 250));
        host.move(QPoint(200, 150));
        const QImage image = host.grab();
        QCOMPARE(image.pixel(250, 200), QColor(clearColour).rgb());
        QCOMPARE(image.pixel(10, 10), dimmed());
        QCOMPARE(image.pixel(350, 280), dimmed());
        host.release(QPoint(200, 150));
    }
};

QTEST_MAIN(TestSelectorPaint)
#include "tst_selectorpaint.moc"
