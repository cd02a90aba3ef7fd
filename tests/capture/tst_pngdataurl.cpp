#include "capture/pngdataurl.h"

#include <QTest>

class PngDataUrlTest : public QObject
{
    Q_OBJECT
private slots:
    void decodesToTheSameImage_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::newRow("one pixel, two padding characters") << QSize(1, 1);
        QTest::newRow("one padding character") << QSize(2, 1);
        QTest::newRow("no padding") << QSize(3, 3);
        QTest::newRow("odd size") << QSize(101, 77);
        QTest::newRow("many stored blocks") << QSize(300, 300);
    }

    void decodesToTheSameImage()
    {
        QFETCH(QSize, size);
        QImage image(size, QImage::Format_ARGB32);
        for (int y = 0; y < size.height(); ++y)
            for (int x = 0; x < size.width(); ++x)
                image.setPixel(x, y, qRgb((x * 37) & 255, (y * 91) & 255, (x ^ y) & 255));
        const QString url = pngDataUrl(image);
        QVERIFY(url.startsWith("data:image/png;base64,"));
        const QByteArray encoded = url.mid(22).toLatin1();
        QCOMPARE(QByteArray::fromBase64(encoded).toBase64(), encoded);
        QImage decoded;
        QVERIFY(decoded.loadFromData(QByteArray::fromBase64(encoded), "PNG"));
        QCOMPARE(decoded.convertToFormat(QImage::Format_RGB32), image.convertToFormat(QImage::Format_RGB32));
    }

    void nullImage_givesAnEmptyDataUrl()
    {
        QCOMPARE(pngDataUrl(QImage()), QStringLiteral("data:image/png;base64,"));
    }
};

QTEST_GUILESS_MAIN(PngDataUrlTest)
#include "tst_pngdataurl.moc"
