// The real program on a real X server: global hotkey, overlay, selection, upload to a
// real FTP server on loopback, link on the clipboard.

#include "../harness/patternwindow.h"
#include "../harness/xtools.h"
#include "../upload/uploadtestsupport.h"
#include "settings/constants.h"

using namespace UploadTest;

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
        QVERIFY(xdotoolDrag(from, to));
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

private slots:
    void initTestCase()
    {
        QVERIFY(m_server.start(m_scratch.filePath("ftproot")));
        QDir().mkpath(remoteFolder());
        setValues({{SettingKeys::token, "e2e-token"}, {SettingKeys::qualityImage, 2}, {SettingKeys::showUpload, 0},
                   {SettingKeys::showCloseSurfaceWindow, 0}});
        m_server.useForUploads("shots", "https://files.example/shots");
        Setting::instance()->sync();

        QVERIFY(m_pattern.showExposed());
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

    void cleanupTestCase() { stopProcess(m_program); }

    void quickCapture_uploadsTheWholeDesktopAndCopiesTheLink()
    {
        const int before = uploaded().size();
        QVERIFY(xdotool({"key", "shift+Print"}));
        const QString name = waitForUpload(before);
        QVERIFY2(!name.isEmpty(), "nothing arrived on the server");
        QImage arrived(remoteFolder() + "/" + name);
        QCOMPARE(rgb(arrived), m_pattern.image);
        QTRY_COMPARE_WITH_TIMEOUT(xclipRead(), "https://files.example/shots/" + name.toUtf8(), 10000);
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
        QTRY_COMPARE_WITH_TIMEOUT(xclipRead(), "https://files.example/shots/" + name.toUtf8(), 10000);
    }

    void copyKey_putsTheExactCropOnTheClipboard()
    {
        openOverlay();
        dragSelection(QPoint(500, 300), QPoint(700, 420));
        QVERIFY(xdotool({"key", "ctrl+c"}));
        QTest::qWait(1000);
        QImage copied;
        QTRY_VERIFY_WITH_TIMEOUT(copied.loadFromData(xclipRead({"-t", "image/png"}), "PNG"), 10000);
        QCOMPARE(rgb(copied), m_pattern.image.copy(500, 300, 200, 120));
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
        // Kept where the next start does not empty it, while the error window offers it.
        const QFileInfoList captures = QDir(m_pathSettings + "unsent").entryInfoList({"*.png"}, QDir::Files, QDir::Time);
        QVERIFY(!captures.isEmpty());
        QCOMPARE(rgb(QImage(captures.first().filePath())), m_pattern.image.copy(150, 120, 200, 140));
    }
};

QTEST_MAIN(CaptureEndToEndTest)
#include "tst_capture_e2e.moc"
