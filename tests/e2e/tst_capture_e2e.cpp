// The real program on a real X server: global hotkey, overlay, selection, upload to a
// real FTP server on loopback, link on the clipboard.

#include "../upload/uploadtestsupport.h"

using namespace UploadTest;
#include "../harness/patternwindow.h"
#include "settings/constants.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"

#include <QtTest>

namespace {

bool xdotool(const QStringList &arguments)
{
    return QProcess::execute(QStringLiteral("xdotool"), arguments) == 0;
}

QByteArray clipboard(const QStringList &extra = {})
{
    QProcess xclip;
    xclip.start(QStringLiteral("xclip"), QStringList{"-o", "-selection", "clipboard"} + extra);
    xclip.waitForFinished(10000);
    return xclip.readAllStandardOutput();
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

QImage rgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

// Where two images of one size first differ, for the failure message.
QByteArray firstDifference(const QImage &actual, const QImage &expected)
{
    for (int y = 0; y < expected.height(); ++y)
        for (int x = 0; x < expected.width(); ++x)
            if (actual.pixel(x, y) != expected.pixel(x, y))
                return QStringLiteral("first difference at %1,%2: %3 instead of %4")
                    .arg(x).arg(y).arg(QColor(actual.pixel(x, y)).name(), QColor(expected.pixel(x, y)).name())
                    .toUtf8();
    return QByteArray();
}

} // namespace

class CaptureEndToEndTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    FtpServer m_server;
    PatternWindow m_pattern;
    QProcess m_program;

    QString remoteFolder() const { return m_server.root() + QStringLiteral("/shots"); }

    QStringList uploaded() const
    {
        return QDir(remoteFolder()).entryList({"*.png", "*.jpg"}, QDir::Files, QDir::Name);
    }

    // Waits for one more finished file on the server and returns its name.
    QString waitForUpload(int before)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 20000) {
            const QStringList files = uploaded();
            if (files.size() > before && !QFile::exists(remoteFolder() + "/" + files.last() + ".part"))
                return files.last();
            QTest::qWait(100);
        }
        return QString();
    }

    void dragSelection(const QPoint &from, const QPoint &to)
    {
        const QPoint middle = (from + to) / 2;
        QVERIFY(xdotool({"mousemove", QString::number(from.x()), QString::number(from.y()), "mousedown", "1",
                         "mousemove", QString::number(middle.x()), QString::number(middle.y()),
                         "mousemove", QString::number(to.x()), QString::number(to.y()), "mouseup", "1"}));
        QTest::qWait(300);
    }

    // The picture window repaints what the last overlay covered before the next grab;
    // while xdotool runs, this process handles no events.
    void openOverlay()
    {
        QTest::qWait(500);
        QVERIFY(xdotool({"key", "ctrl+Print"}));
        // The overlay dims the screen around the (still empty) selection.
        QTRY_VERIFY_WITH_TIMEOUT(screenPixel(QPoint(5, 5)) != m_pattern.image.pixel(5, 5), 20000);
    }

    static QRgb screenPixel(const QPoint &point)
    {
        return QGuiApplication::primaryScreen()->grabWindow(0, point.x(), point.y(), 1, 1).toImage().pixel(0, 0);
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.start(m_scratch.filePath("ftproot")));
        QDir().mkpath(remoteFolder());
        Setting *settings = Setting::instance();
        settings->setValue(SettingKeys::token, "e2e-token");
        settings->setValue(SettingKeys::typeUpload, "ftp");
        settings->setValue(SettingKeys::isSftp, 0);
        settings->setValue(SettingKeys::ftpHost, "127.0.0.1");
        settings->setValue(SettingKeys::ftpPort, m_server.port());
        settings->setValue(SettingKeys::ftpPath, "shots");
        settings->setValue(SettingKeys::ftpBaseUrl, "https://files.example/shots");
        settings->setValue(SettingKeys::ftpUser, "user");
        settings->setValue(SettingKeys::ftpPassword, "pass");
        settings->setValue(SettingKeys::qualityImage, 2);
        settings->setValue(SettingKeys::showUpload, 0);
        settings->setValue(SettingKeys::showCloseSurfaceWindow, 0);
        settings->sync();

        m_pattern.show();
        QVERIFY(QTest::qWaitForWindowExposed(&m_pattern));
        // The program's output goes to a file: a pipe nobody reads would fill and stop it.
        const QString log = m_scratch.filePath("mavu.log");
        m_program.setProcessChannelMode(QProcess::MergedChannels);
        m_program.setStandardOutputFile(log);
        m_program.start(MAVU_PROGRAM, {});
        QVERIFY(m_program.waitForStarted());
        // Printed once the hotkeys are grabbed.
        const QByteArray armed = "Setting up signal/slot connections...";
        QTRY_VERIFY_WITH_TIMEOUT(readFile(log).contains(armed), 60000);
    }

    void cleanupTestCase()
    {
        m_program.kill();
        m_program.waitForFinished(5000);
    }

    void quickCapture_uploadsTheWholeDesktopAndCopiesTheLink()
    {
        const int before = uploaded().size();
        QVERIFY(xdotool({"key", "shift+Print"}));
        const QString name = waitForUpload(before);
        QVERIFY2(!name.isEmpty(), "nothing arrived on the server");
        QImage arrived(remoteFolder() + "/" + name);
        QCOMPARE(rgb(arrived), m_pattern.image);
        QTRY_COMPARE_WITH_TIMEOUT(clipboard(), "https://files.example/shots/" + name.toUtf8(), 10000);
    }

    void fragmentCapture_uploadsExactlyTheSelection()
    {
        const int before = uploaded().size();
        openOverlay();
        dragSelection(QPoint(100, 50), QPoint(400, 250));
        QVERIFY(xdotool({"key", "ctrl+Return"}));
        const QString name = waitForUpload(before);
        QVERIFY2(!name.isEmpty(), "nothing arrived on the server");
        const QImage arrived = rgb(QImage(remoteFolder() + "/" + name));
        QCOMPARE(arrived.size(), QSize(300, 200));
        QCOMPARE(arrived, m_pattern.image.copy(100, 50, 300, 200));
        QTRY_COMPARE_WITH_TIMEOUT(clipboard(), "https://files.example/shots/" + name.toUtf8(), 10000);
    }

    void copyKey_putsTheExactCropOnTheClipboard()
    {
        openOverlay();
        dragSelection(QPoint(500, 300), QPoint(700, 420));
        QVERIFY(xdotool({"key", "ctrl+c"}));
        QTest::qWait(1000);
        QImage copied;
        QTRY_VERIFY_WITH_TIMEOUT(copied.loadFromData(clipboard({"-t", "image/png"}), "PNG"), 10000);
        QCOMPARE(copied.size(), QSize(200, 120));
        const QImage expected = m_pattern.image.copy(500, 300, 200, 120);
        QVERIFY2(rgb(copied) == expected, firstDifference(rgb(copied), expected).constData());
    }

    void escape_closesTheOverlayWithoutUploading()
    {
        const int before = uploaded().size();
        openOverlay();
        dragSelection(QPoint(10, 10), QPoint(60, 60));
        QVERIFY(xdotool({"key", "Escape"}));
        QTest::qWait(1000);
        QCOMPARE(uploaded().size(), before);
        QVERIFY(m_program.state() == QProcess::Running);
    }

    // Last: the server goes away for good.
    void uploadToAServerThatIsDown_showsAnErrorAndKeepsTheCapture()
    {
        m_server.stop();
        openOverlay();
        dragSelection(QPoint(150, 120), QPoint(350, 260));
        QVERIFY(xdotool({"key", "ctrl+Return"}));
        QTRY_VERIFY_WITH_TIMEOUT(xdotool({"search", "--onlyvisible", "--name", "^Mavu - Error$"}), 20000);
        const QFileInfoList captures = QDir(m_tempDir).entryInfoList({"*.png"}, QDir::Files, QDir::Time);
        QVERIFY(!captures.isEmpty());
        QCOMPARE(rgb(QImage(captures.first().filePath())), m_pattern.image.copy(150, 120, 200, 140));
    }
};

QTEST_MAIN(CaptureEndToEndTest)
#include "tst_capture_e2e.moc"
