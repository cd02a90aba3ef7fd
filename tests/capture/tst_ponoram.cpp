// The scrolling capture's engine on frames cut from one tall known picture: what it glues,
// when a run ends, and the preview it feeds.
#include "capture/ponoram.h"
#include "capture/ponorampreview.h"
#include "../harness/tallpicture.h"

#include <QCursor>
#include <QPainter>
#include <QSignalSpy>
#include <QTest>

namespace {

constexpr int frameHeight = 300;

// Random blocks with two plain white bands and, further down, a band that repeats one above.
QImage scrolledPicture()
{
    QImage picture = tallPicture(QSize(240, 2400), 7);
    QPainter painter(&picture);
    painter.fillRect(0, 700, 240, 200, Qt::white);
    painter.drawImage(0, 1000, picture.copy(0, 300, 240, 300));
    painter.fillRect(0, 1500, 240, 150, Qt::white);
    return picture;
}

QList<int> steps(int from, int to, int step)
{
    QList<int> tops;
    for (int top = from; top <= to; top += step)
        tops << top;
    return tops;
}

// An engine whose frame shows the picture's rows from `top` on; the pointer is in its area.
struct Scrolling
{
    Ponoram engine;
    QImage picture = scrolledPicture();
    QRect area{QCursor::pos() - QPoint(5, 5), QSize(240, frameHeight)};
    int top = 0;
    QStringList signalsSeen;
    QImage result;

    Scrolling()
    {
        engine.setFrameSource([this](const QRect &) { return picture.copy(0, top, picture.width(), frameHeight); });
        QObject::connect(&engine, &Ponoram::complete, [this](const QPixmap &image) {
            signalsSeen << "complete";
            result = image.toImage().convertToFormat(QImage::Format_RGB32);
        });
        QObject::connect(&engine, &Ponoram::errorGlueImage, [this] { signalsSeen << "error"; });
        QObject::connect(&engine, &Ponoram::sizeLimitReached, [this] { signalsSeen << "limit"; });
    }
    void showAt(int row, int ticks = 1)
    {
        top = row;
        for (int i = 0; i < ticks; ++i)
            engine.shotTimer();
    }
};

} // namespace

class TestPonoram : public QObject
{
    Q_OBJECT

private slots:
    void frames_glueBackIntoThePicture_data()
    {
        QTest::addColumn<QList<int>>("tops");
        QTest::newRow("steady steps") << steps(0, 2100, 35);
        QTest::newRow("uneven steps") << QList<int>{0, 13, 70, 160, 165, 350, 549, 690, 760, 850, 1000, 1010,
                                                    1190, 1390, 1460, 1530, 1590, 1700, 1900, 2100};
        QTest::newRow("up and down again") << QList<int>{0, 150, 90, 250, 400, 330, 500, 690};
        QTest::newRow("starting further down") << steps(600, 1400, 50);
        QTest::newRow("slowly through the white bands") << steps(0, 2100, 20);
    }

    // A frame whose top lies in a white band is found by the rows below the band, and frames
    // inside a band do not count as standing still; the repeated band is placed next to the
    // last frame, not where it first appeared.
    void frames_glueBackIntoThePicture()
    {
        QFETCH(QList<int>, tops);
        Scrolling scrolling;
        QVERIFY(scrolling.engine.startPonoram(scrolling.area));
        for (int top : tops)
            scrolling.showAt(top);
        scrolling.engine.stopPonoram();
        const int bottom = *std::max_element(tops.begin(), tops.end()) + frameHeight;
        QCOMPARE(scrolling.signalsSeen, QStringList{"complete"});
        QCOMPARE(scrolling.result, scrolling.picture.copy(0, tops.first(), 240, bottom - tops.first()));
    }

    // Standing still before the first scroll ends nothing; after it, five still frames do.
    // Nothing of a run is left for the next: that it moved, its stillness count, its last
    // offset (a move by the same step would otherwise count as standing still).
    void stillFrames_endARunOnceItMoved_eachRunAfresh()
    {
        Scrolling scrolling;
        QVERIFY(scrolling.engine.startPonoram(scrolling.area));
        scrolling.showAt(0, 8);
        scrolling.showAt(120);
        scrolling.showAt(120, 4);
        QVERIFY(scrolling.engine.isRunning());
        scrolling.engine.cancelPonoram();

        // Now it stands still where the top of the frame is white.
        QVERIFY(scrolling.engine.startPonoram(scrolling.area));
        scrolling.showAt(1400, 6);
        scrolling.showAt(1520);
        scrolling.showAt(1520, 4);
        QVERIFY(scrolling.engine.isRunning());
        scrolling.showAt(1520);
        QVERIFY(!scrolling.engine.isRunning());
        QCOMPARE(scrolling.result, scrolling.picture.copy(0, 1400, 240, 420));
    }

    // The run is started from the toolbar, outside the area: only leaving after entering ends it.
    void pointerLeavingTheArea_endsTheRunOnceItWasIn()
    {
        Scrolling scrolling;
        const QRect area(QCursor::pos() + QPoint(50, 50), QSize(240, frameHeight));
        QVERIFY(scrolling.engine.startPonoram(area));
        scrolling.showAt(0);
        scrolling.showAt(40);
        QVERIFY(scrolling.engine.isRunning());
        QCursor::setPos(area.center());
        scrolling.showAt(80);
        QCursor::setPos(area.bottomRight() + QPoint(1, 1));
        scrolling.showAt(120);
        QVERIFY(!scrolling.engine.isRunning());
        QCOMPARE(scrolling.result, scrolling.picture.copy(0, 0, 240, 380));
    }

    void runThatCannotGoOn_deliversThePictureSoFarThenSaysWhy_data()
    {
        QTest::addColumn<QImage>("picture");
        QTest::addColumn<QList<int>>("tops");
        QTest::addColumn<QString>("why");
        QTest::addColumn<int>("bottom");
        QTest::newRow("a jump further than a frame") << scrolledPicture() << QList<int>{0, 40, 1200} << "error" << 340;
        QImage gap = tallPicture(QSize(240, 2000), 5);
        QPainter(&gap).fillRect(0, 900, 240, frameHeight, Qt::white);
        QTest::newRow("a white gap as tall as the frame") << gap << steps(800, 1400, 20) << "error" << 1180;
        QTest::newRow("taller than a JPEG can be") << tallPicture(QSize(240, 66000), 9) << steps(0, 65600, 200)
                                                   << "limit" << 65500;
    }

    void runThatCannotGoOn_deliversThePictureSoFarThenSaysWhy()
    {
        QFETCH(QImage, picture);
        QFETCH(QList<int>, tops);
        QFETCH(QString, why);
        QFETCH(int, bottom);
        Scrolling scrolling;
        scrolling.picture = picture;
        QVERIFY(scrolling.engine.startPonoram(scrolling.area));
        for (int top : tops)
            scrolling.showAt(top);
        QVERIFY(!scrolling.engine.isRunning());
        QCOMPARE(scrolling.signalsSeen, (QStringList{"complete", why}));
        QCOMPARE(scrolling.result, picture.copy(0, tops.first(), 240, bottom - tops.first()));
    }

    void preview_showsTheWholeWidthAndTheNewestRows_data()
    {
        QTest::addColumn<QSize>("stitched");
        QTest::addColumn<QRect>("shown");
        QTest::addColumn<QSize>("pictureSize");
        QTest::newRow("narrow and tall: the bottom rows at full scale")
            << QSize(96, 1000) << QRect(0, 766, 96, 234) << QSize(96, 234);
        QTest::newRow("wide and low: all of it at half scale") << QSize(192, 300) << QRect(0, 0, 192, 300)
                                                                 << QSize(96, 150);
    }

    void preview_showsTheWholeWidthAndTheNewestRows()
    {
        QFETCH(QSize, stitched);
        QFETCH(QRect, shown);
        QFETCH(QSize, pictureSize);
        const QImage image = tallPicture(stitched, 3);
        PonoramPreview preview;
        preview.setImage(image);
        QImage drawn(112, 253, QImage::Format_RGB32);
        drawn.fill(Qt::black);
        QPainter painter(&drawn);
        preview.paint(&painter);
        painter.end();
        const QImage expected = image.copy(shown).scaled(pictureSize, Qt::IgnoreAspectRatio, Qt::FastTransformation);
        QCOMPARE(drawn.copy(QRect(QPoint(9, 9), pictureSize)), expected);
        QCOMPARE(drawn.pixel(9 + 95, 9 + 233), pictureSize.height() < 234 ? qRgb(255, 255, 255) : expected.pixel(95, 233));
    }
};

QTEST_MAIN(TestPonoram)
#include "tst_ponoram.moc"
