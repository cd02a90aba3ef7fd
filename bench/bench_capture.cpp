// Speed of the capture path: encodings, the screen image for the page, opening the
// overlay, dragging a selection, and a quick capture to a loopback FTP server.
// Needs an X server: xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/bench_capture
// (with HOME pointing at a throw-away folder).

#include "../tests/upload/uploadtestsupport.h"
#include "processstatus.h"
#include "capture/surfaceselector.h"
#include "capture/surfacewidget.h"
#include "core.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"

#include <QBuffer>
#include <QPainter>
#include <QQuickWindow>
#include <QScreen>
#include <QSignalSpy>
#include <QTest>

using namespace UploadTest;

namespace {

QImage noise(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    quint32 state = 12345;
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x) {
            state = state * 1664525u + 1013904223u;
            // Mostly flat areas with some detail, like a desktop.
            line[x] = (x / 64 + y / 64) % 7 == 0 ? QRgb(state) : qRgb(40 + x / 30, 60, 90 + y / 40);
        }
    }
    return image;
}

qint64 encodedSize(const QImage &image, const char *format, int quality)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    image.save(&buffer, format, quality);
    return bytes.size();
}

// True when the screen shows the overlay's picture under its dim layer at a few points away
// from the pointer's guide lines and the magnifier.
bool screenShowsPicture(const QImage &picture)
{
    const QSize size = picture.size();
    for (const QPoint point : {QPoint(size.width() / 8, size.height() / 8), QPoint(size.width() * 7 / 8, size.height() / 8),
                               QPoint(size.width() / 8, size.height() * 7 / 8),
                               QPoint(size.width() * 7 / 8, size.height() * 7 / 8)}) {
        QImage expected(1, 1, QImage::Format_RGB32);
        expected.fill(picture.pixel(point));
        QPainter(&expected).fillRect(expected.rect(), QColor(QStringLiteral("#6c141517")));
        const QImage shown =
            QGuiApplication::primaryScreen()->grabWindow(0, point.x(), point.y(), 1, 1).toImage();
        if ((shown.pixel(0, 0) & 0xffffff) != (expected.pixel(0, 0) & 0xffffff))
            return false;
    }
    return true;
}

// Shows an overlay until a frame with its picture is on the screen (frames without it do
// not count), then ends the capture.
void openAndCloseOverlay()
{
    SurfaceWidget *overlay = Core::instance()->surfaceWidget();
    QSignalSpy swapped(overlay, &QQuickWindow::frameSwapped);
    overlay->show();
    const QImage picture = overlay->background().toImage();
    while (swapped.wait(5000) && !screenShowsPicture(picture)) {
    }
    Core::instance()->deleteSurfaceScreen();
    QCoreApplication::processEvents();
}

} // namespace

class CaptureBenchmark : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        QCursor::setPos(0, 0);
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
    }

    void encode_data()
    {
        QTest::addColumn<QSize>("size");
        QTest::addColumn<QByteArray>("format");
        QTest::addColumn<int>("quality");
        for (const QSize &size : {QSize(1920, 1080), QSize(3840, 2160)}) {
            const QByteArray name = QByteArray::number(size.width()) + "x" + QByteArray::number(size.height());
            QTest::newRow((name + " jpeg 90").constData()) << size << QByteArray("JPG") << 90;
            QTest::newRow((name + " jpeg 100").constData()) << size << QByteArray("JPG") << 100;
            QTest::newRow((name + " png default").constData()) << size << QByteArray("PNG") << -1;
            for (int quality : {100, 90, 80, 50})
                QTest::newRow((name + " png quality " + QByteArray::number(quality)).constData())
                    << size << QByteArray("PNG") << quality;
        }
    }

    void encode()
    {
        QFETCH(QSize, size);
        QFETCH(QByteArray, format);
        QFETCH(int, quality);
        const QImage image = noise(size);
        QTextStream(stdout) << QTest::currentDataTag() << ": " << encodedSize(image, format.constData(), quality)
                            << " bytes\n";
        QBENCHMARK {
            encodedSize(image, format.constData(), quality);
        }
    }

    // From the request to the first frame on the screen that shows the picture.
    void openOverlay()
    {
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("bench"));
        QBENCHMARK {
            openAndCloseOverlay();
        }
    }

    // Resident memory with the overlay open, and after twenty captures opened and closed.
    void overlayMemory()
    {
        qint64 afterFirst = 0;
        for (int capture = 1; capture <= 20; ++capture) {
            openAndCloseOverlay();
            QCoreApplication::processEvents();
            QTest::qWait(50);
            if (capture == 1)
                afterFirst = statusKilobytes(QStringLiteral("self"), "VmRSS:");
        }
        QTextStream(stdout) << "peak resident: " << statusKilobytes(QStringLiteral("self"), "VmHWM:") / 1024 << " MB, after first capture: "
                            << afterFirst / 1024 << " MB, after 20: " << statusKilobytes(QStringLiteral("self"), "VmRSS:") / 1024 << " MB\n";
    }

    void dragSelectionOneMove()
    {
        SurfaceWidget *overlay = Core::instance()->surfaceWidget();
        overlay->show();
        QVERIFY(QTest::qWaitForWindowExposed(overlay));
        QTest::mousePress(overlay, Qt::LeftButton, Qt::NoModifier, QPoint(100, 100));
        int step = 0;
        QBENCHMARK {
            ++step;
            QTest::mouseMove(overlay, QPoint(200 + step % 500, 200 + step % 300));
            QCoreApplication::processEvents();
        }
        QTest::mouseRelease(overlay, Qt::LeftButton, Qt::NoModifier, QPoint(300, 300));
        Core::instance()->deleteSurfaceScreen();
        QCoreApplication::processEvents();
    }

    // Hotkey slot to the link on the clipboard, against a loopback FTP server.
    void quickCaptureToLink()
    {
        QTemporaryDir scratch;
        FtpServer server;
        QVERIFY(server.start(scratch.filePath("ftp")));
        setValues({{SettingKeys::typeUpload, QStringLiteral("ftp")},
                   {SettingKeys::ftpHost, QStringLiteral("127.0.0.1")},
                   {SettingKeys::ftpPort, server.port()},
                   {SettingKeys::ftpBaseUrl, QStringLiteral("https://files.example")},
                   {SettingKeys::qualityImage, 1}});
        Setting::instance()->setValue(SettingKeys::ftpUser, QStringLiteral("user"));
        Setting::instance()->setValue(SettingKeys::ftpPassword, QStringLiteral("pass"));
        QBENCHMARK {
            QSignalSpy link(Core::instance(), &Core::lastLinkChanged);
            Core::instance()->quickScreen();
            QTRY_VERIFY_WITH_TIMEOUT(link.count() > 0, 10000);
        }
    }
};

QTEST_MAIN(CaptureBenchmark)
#include "bench_capture.moc"
