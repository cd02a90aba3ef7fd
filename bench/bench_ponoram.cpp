// Speed of one tick of the scrolling capture with 1,000 and 5,000 rows already stitched: the
// frame found in the picture so far, glued, and the preview scaled from it, the page moving
// 40 rows a tick. Once with frames from memory, once grabbed from the screen (a window shows
// each frame where the engine grabs) as the overlay runs it.
// Needs an X server: HOME=$(mktemp -d) xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/bench_ponoram

#include "../tests/harness/tallpicture.h"
#include "capture/ponoram.h"
#include "capture/ponorampreview.h"

#include <QCursor>
#include <QElapsedTimer>
#include <QPainter>
#include <QBackingStore>
#include <QWindow>
#include <QTest>

#include <algorithm>

namespace {

constexpr QSize frameSize(1000, 700);
constexpr int step = 40;
constexpr int measuredTicks = 30;
const QRect area(QPoint(400, 200), frameSize);

// Shows one frame exactly where the engine grabs, drawn at once: the engine's next grab on
// the same X connection sees it, without a turn of the event loop (which would run the
// engine's own timer).
class FrameWindow : public QWindow
{
public:
    FrameWindow()
        : m_store(this)
    {
    }
    void showFrame(const QImage &frame)
    {
        const QRect whole(QPoint(0, 0), size());
        m_store.resize(size());
        m_store.beginPaint(whole);
        QPainter(m_store.paintDevice()).drawImage(0, 0, frame);
        m_store.endPaint();
        m_store.flush(whole);
    }

private:
    QBackingStore m_store;
};

QString figures(QList<double> values)
{
    std::sort(values.begin(), values.end());
    return QStringLiteral("median %1 ms, max %2 ms (n=%3)")
        .arg(values.at(values.size() / 2), 0, 'f', 2).arg(values.last(), 0, 'f', 2).arg(values.size());
}

} // namespace

class PonoramBenchmark : public QObject
{
    Q_OBJECT

    QImage m_picture = tallPicture(QSize(frameSize.width(), 8000), 21);
    int m_top = 0;
    Ponoram m_engine;
    PonoramPreview m_preview;
    FrameWindow m_window;

    QImage frameAt(int top) const { return m_picture.copy(0, top, frameSize.width(), frameSize.height()); }

    double timedTick()
    {
        QElapsedTimer timer;
        timer.start();
        m_engine.shotTimer();
        return timer.nsecsElapsed() / 1e6;
    }

    // Stitches frames from memory until the picture has `rows` rows.
    void stitchUpTo(int rows)
    {
        m_engine.setFrameSource([this](const QRect &) { return frameAt(m_top); });
        QVERIFY(m_engine.startPonoram(area));
        for (m_top = 0; m_top + frameSize.height() <= rows; m_top += step)
            m_engine.shotTimer();
        m_top -= step;
        QVERIFY(m_engine.isRunning());
    }

private slots:
    void initTestCase()
    {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        connect(&m_engine, &Ponoram::changePreview, &m_preview, &PonoramPreview::setImage);
        m_window.setFlags(Qt::FramelessWindowHint);
        m_window.setGeometry(area);
        m_window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_window));
        QCursor::setPos(area.center());
        QTRY_COMPARE(QCursor::pos(), area.center());
    }

    void tick_data()
    {
        QTest::addColumn<int>("rows");
        QTest::newRow("1,000 rows stitched") << 1000;
        QTest::newRow("5,000 rows stitched") << 5000;
    }

    void tick()
    {
        QFETCH(int, rows);
        stitchUpTo(rows);
        QList<double> fromMemory;
        for (int i = 0; i < measuredTicks; ++i) {
            m_top += step;
            fromMemory << timedTick();
        }
        // The first grab of a run sets up the shared memory for frames of this size.
        m_engine.setFrameSource(nullptr);
        m_top += step;
        m_window.showFrame(frameAt(m_top));
        m_engine.shotTimer();
        QList<double> grabbed;
        for (int i = 0; i < measuredTicks; ++i) {
            m_top += step;
            m_window.showFrame(frameAt(m_top));
            grabbed << timedTick();
        }
        QVERIFY(m_engine.isRunning());
        m_engine.cancelPonoram();
        QTextStream(stdout) << QTest::currentDataTag() << ", frame " << frameSize.width() << "x"
                            << frameSize.height() << ", 40 rows a tick:\n  frames from memory: " << figures(fromMemory)
                            << "\n  frames grabbed from the screen: " << figures(grabbed) << "\n";
    }
};

QTEST_MAIN(PonoramBenchmark)
#include "bench_ponoram.moc"
