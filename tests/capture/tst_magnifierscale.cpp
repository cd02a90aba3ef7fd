// The magnifier on a primary screen with device pixel ratio 2: a screen image in device pixels
// is brought to logical pixels, so the cursor's logical position finds its pixel.
#include "capture/magnifieritem.h"

#include <QGuiApplication>
#include <QScreen>
#include <QTest>

class TestMagnifierScale : public QObject
{
    Q_OBJECT

private slots:
    void background_halvedOnRatioTwo()
    {
        QCOMPARE(QGuiApplication::primaryScreen()->devicePixelRatio(), 2.0);
        QImage device(400, 301, QImage::Format_RGB32);
        device.fill(Qt::red);
        MagnifierItem item;
        item.setBackground(QPixmap::fromImage(device));
        // Truncated halves: 301 / 2 gives 150.
        QCOMPARE(item.background().size(), QSize(200, 150));
    }
};

int main(int argc, char **argv)
{
    qputenv("QT_SCALE_FACTOR", "2");
    QGuiApplication app(argc, argv);
    TestMagnifierScale test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_magnifierscale.moc"
