// The screen picture on a real X server: exact, never changing under its holder, and its
// shared memory used again once the picture is let go, and given back when no grab comes.
// Run also where the server cannot reach this process's shared memory (a separate IPC
// namespace): the picture is as exact there, read through plain requests.

#include "capture/screengrab.h"
#include "../harness/patternwindow.h"
#include "../harness/sharedmemory.h"

#include <QScreen>
#include <QTest>

class ScreenGrabTest : public QObject
{
    Q_OBJECT

    PatternWindow m_pattern;

    static QImage inverted(QImage image)
    {
        image.invertPixels();
        return image;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_pattern.showExposed());
        QTest::qWait(200);
    }

    void sharedMemory_isUsedWhereTheServerReachesIt()
    {
        QCOMPARE(screenReadThroughSharedMemory(), !serverOutsideOurMemory());
    }

    void picture_isTheScreenExactly()
    {
        const QImage picture = grabScreenArea(desktopArea());
        QCOMPARE(picture.format(), QImage::Format_RGB32);
        QCOMPARE(picture, m_pattern.image);
        QCOMPARE(grabScreenArea(QRect(100, 50, 300, 200)), m_pattern.image.copy(100, 50, 300, 200));
    }

    void heldPicture_keepsItsPixelsWhenTheScreenIsGrabbedAgain()
    {
        const QImage original = m_pattern.image;
        const QImage held = grabScreenArea(desktopArea());
        m_pattern.showPicture(inverted(original));
        const QImage next = grabScreenArea(desktopArea());
        m_pattern.showPicture(original);
        QCOMPARE(next, inverted(original));
        QCOMPARE(held, original);
    }

    void releasedPicture_givesItsMemoryToTheNextGrab()
    {
        if (serverOutsideOurMemory())
            QSKIP("the X server cannot reach this process's shared memory here");
        const QImage original = m_pattern.image;
        const uchar *memory = grabScreenArea(desktopArea()).constBits();
        m_pattern.showPicture(inverted(original));
        const QImage next = grabScreenArea(desktopArea());
        m_pattern.showPicture(original);
        QCOMPARE(next.constBits(), memory);
        QCOMPARE(next, inverted(original));
    }

    // Small areas grabbed while the screen's picture is held (a scrolling capture's frames)
    // leave the screen's memory for the next capture.
    void screensMemory_outlastsSmallerGrabsMeanwhile()
    {
        if (serverOutsideOurMemory())
            QSKIP("the X server cannot reach this process's shared memory here");
        const uchar *memory = nullptr;
        {
            const QImage screen = grabScreenArea(desktopArea());
            memory = screen.constBits();
            for (int frame = 0; frame < 3; ++frame)
                QCOMPARE(grabScreenArea(QRect(100, 50, 300, 200)), m_pattern.image.copy(100, 50, 300, 200));
        }
        QCOMPARE(grabScreenArea(desktopArea()).constBits(), memory);
    }

    void keptMemory_goesBackWhenNoGrabComes()
    {
        if (serverOutsideOurMemory())
            QSKIP("the X server cannot reach this process's shared memory here");
        const qsizetype screenBytes = qsizetype(m_pattern.image.sizeInBytes());
        const int keep = grabMemoryKeepMsecs();
        setGrabMemoryKeepMsecs(100);
        (void)grabScreenArea(desktopArea());
        QCOMPARE(mappedSegments(screenBytes), 1);
        QTRY_COMPARE(mappedSegments(screenBytes), 0);
        setGrabMemoryKeepMsecs(keep);
    }
};

QTEST_MAIN(ScreenGrabTest)
#include "tst_screengrab.moc"
