// The real program on a real X server: global hotkey, overlay, selection, upload to a
// real FTP server on loopback, link on the clipboard, a capture kept across a crash.

#include "../harness/patternwindow.h"
#include "../harness/xtools.h"
#include "../settings/testsupport.h"
#include "../upload/uploadtestsupport.h"
#include "capture/surfaceselector.h"
#include "settings/constants.h"

#include <QImageReader>
#include <QLockFile>

using namespace UploadTest;

class CaptureEndToEndTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    FtpServer m_server;
    PatternWindow m_pattern;
    QProcess m_program;

    QString m_log;

    static QString unsentFolder() { return m_pathSettings + QStringLiteral("unsent"); }

    // Starts the program and waits until its hotkeys are grabbed.
    void startProgram()
    {
        // The output goes to a file: a pipe nobody reads would fill and stop the program.
        m_log = m_scratch.filePath(QStringLiteral("mavu-%1.log").arg(QDateTime::currentMSecsSinceEpoch()));
        m_program.setProcessChannelMode(QProcess::MergedChannels);
        m_program.setStandardOutputFile(m_log);
        m_program.start(MAVU_PROGRAM, {});
        QVERIFY(m_program.waitForStarted());
        // Printed once the hotkeys are grabbed.
        const QByteArray armed = "Setting up signal/slot connections...";
        QTRY_VERIFY_WITH_TIMEOUT(readFile(m_log).contains(armed), 60000);
    }

    void killProgram()
    {
        m_program.kill();
        QVERIFY(m_program.waitForFinished(10000));
    }

    QString remoteFolder() const { return m_server.root() + QStringLiteral("/shots"); }

    QStringList uploaded() const
    {
        return QDir(remoteFolder()).entryList({"*.png", "*.jpg"}, QDir::Files, QDir::Name);
    }

    // Waits for one more finished file on the server and returns its name.
    QString waitForUpload(int before) { return waitForUploads(before, 1).value(0); }

    // Waits for `count` more finished files on the server and returns their names, oldest first.
    QStringList waitForUploads(int before, int count)
    {
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 20000) {
            const QStringList files = uploaded();
            const auto finished = [this](const QString &name) {
                return !QFile::exists(remoteFolder() + "/" + name + ".part");
            };
            if (files.size() >= before + count && std::all_of(files.cbegin() + before, files.cend(), finished))
                return files.mid(before);
            QTest::qWait(100);
        }
        return QStringList();
    }

    // The program's visible windows with this title.
    int shownWindows(const QString &title) const
    {
        const QString process = QString::number(m_program.processId());
        return commandOutput("xdotool", {"search", "--all", "--onlyvisible", "--pid", process, "--name", title})
            .split('\n', Qt::SkipEmptyParts)
            .size();
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

    // The share of the pixels of `area` that show the picture dimmed, as the overlay shows
    // everything outside the selection.
    double dimmedShare(const QRect &area) const
    {
        QImage dimmed = m_pattern.image.copy(area);
        QPainter(&dimmed).fillRect(dimmed.rect(), SurfaceSelector::dimColor());
        const QImage shown = rgb(QGuiApplication::primaryScreen()->grabWindow(0, area.x(), area.y(), area.width(),
                                                                             area.height()));
        int same = 0;
        for (int y = 0; y < area.height(); ++y) {
            for (int x = 0; x < area.width(); ++x)
                same += shown.pixel(x, y) == dimmed.pixel(x, y);
        }
        return double(same) / (area.width() * area.height());
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
        startProgram();
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
        // Delivered: neither the capture nor its lock waits.
        QTRY_COMPARE(QDir(unsentFolder()).entryList(QDir::Files), QStringList());
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

    // The first capture after start places the toolbar as every later one does: below the
    // selection, where there is room, not beside it.
    void firstCaptureAfterStart_putsTheToolbarBelowTheSelection()
    {
        stopProcess(m_program);
        startProgram();
        openOverlay();
        // One move between press and release, as a quick hand makes it.
        QVERIFY(xdotool({"mousemove", "300", "200", "sleep", "0.2", "mousedown", "1", "mousemove", "700", "500",
                         "sleep", "0.1", "mouseup", "1"}));
        const QRect below(30, 520, 600, 40);   // inside the toolbar at (10, 511)
        const QRect beside(730, 425, 600, 40); // inside a toolbar right of the selection
        const bool toolbarBelow = QTest::qWaitFor([&] { return dimmedShare(below) < 0.1; }, 10000);
        const double besideDimmed = dimmedShare(beside);
        QVERIFY(xdotool({"key", "Escape"}));
        QVERIFY(toolbarBelow);
        QCOMPARE(besideDimmed, 1.0);
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

    // The server goes away for good.
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

    // Killed while the server holds the upload, the program offers the capture at its next
    // start; a capture that another running process holds is neither offered nor removed.
    void killedDuringAnUpload_theNextStartOffersTheCapture()
    {
        FtpServer holding;
        QVERIFY(holding.start(m_scratch.filePath("holding")));
        killProgram();
        // What earlier cases left would be offered on the screen that is captured.
        QVERIFY(QDir(unsentFolder()).removeRecursively());
        holding.useForUploads(QString(), "https://holding.example");
        Setting::instance()->sync();
        startProgram();
        holding.pause();
        QVERIFY(xdotool({"key", "shift+Print"}));
        QStringList handed;
        QTRY_VERIFY_WITH_TIMEOUT(!(handed = QDir(unsentFolder()).entryList({"*.png"}, QDir::Files)).isEmpty(), 20000);
        killProgram();
        holding.resume();
        QCOMPARE(handed.size(), 1);
        QVERIFY2(!readFile(m_log).contains("showErrorWidget"), "the upload ended before the program did");

        // An older capture that a live process (this test) holds, as another Mavu would.
        const QString othersCapture = unsentFolder() + "/1000.png";
        QVERIFY(m_pattern.image.save(othersCapture));
        QVERIFY(setAge(othersCapture, 3600));
        QLockFile othersLock(othersCapture + ".lock");
        QVERIFY(othersLock.tryLock(0));

        startProgram();
        const QByteArray offer = "The capture " + handed.first().toUtf8() + " was not uploaded before Mavu closed.";
        QTRY_VERIFY_WITH_TIMEOUT(readFile(m_log).contains(offer), 20000);
        QTRY_VERIFY_WITH_TIMEOUT(xdotool({"search", "--onlyvisible", "--name", "^Mavu - Error$"}), 20000);
        const QString kept = unsentFolder() + "/" + handed.first();
        QCOMPARE(rgb(QImage(kept)), m_pattern.image);
        QCOMPARE(QFile::permissions(kept) & 0x00FF, QFileDevice::Permissions()); // the user's alone
        QCOMPARE(QFile::permissions(kept + ".lock") & 0x00FF, QFileDevice::Permissions());
        QCOMPARE(QFile::permissions(unsentFolder()) & 0x00FF, QFileDevice::Permissions());
        QVERIFY(!readFile(m_log).contains("The capture 1000.png"));
        QVERIFY(QFile::exists(othersCapture));
    }

    void settingsFileHeld_quickCaptureIsTheStoredFormatOnTheStoredServer_data()
    {
        QTest::addColumn<bool>("heldFromStart");
        QTest::newRow("taken while running") << false;
        QTest::newRow("held from the start: the captures wait") << true;
    }

    // Another program holds the settings file: the capture is encoded as stored (PNG) and
    // goes where the settings say (this FTP server), never after a default. Held since the
    // start, the captures wait as they were taken, the user told once, until the file is
    // free; the signed-in user is not asked to sign in.
    void settingsFileHeld_quickCaptureIsTheStoredFormatOnTheStoredServer()
    {
        QFETCH(bool, heldFromStart);
        m_server.stop(); // an earlier case left it stopped, or running
        QVERIFY(m_server.restart());
        m_server.useForUploads("shots", "https://files.example/shots");
        Setting::instance()->sync();
        stopProcess(m_program);
        QVERIFY(QDir(unsentFolder()).removeRecursively()); // what earlier cases left would be offered
        QProcess holder;
        if (heldFromStart)
            QVERIFY(holdDatabase(holder, m_pathSettings + "setting", "sys.stdin.read()"));
        startProgram();
        if (!heldFromStart)
            QVERIFY(holdDatabase(holder, m_pathSettings + "setting", "sys.stdin.read()"));
        const int before = uploaded().size();
        const int captures = heldFromStart ? 2 : 1;
        for (int i = 1; i <= captures; ++i) {
            QVERIFY(xdotool({"key", "shift+Print"}));
            if (heldFromStart) // kept, should Mavu end first
                QTRY_COMPARE_WITH_TIMEOUT(QDir(unsentFolder()).entryList({"*.png"}).size(), i, 20000);
        }
        QList<QImage> waiting;
        if (heldFromStart) {
            for (const QFileInfo &kept : QDir(unsentFolder()).entryInfoList({"*.png"}, QDir::Files, QDir::Name))
                waiting.append(rgb(QImage(kept.filePath())));
            QTest::qWait(1000); // a second message would be on the screen by now
            QCOMPARE(shownWindows("^Mavu - Mavu$"), 1);
            holder.closeWriteChannel();
        }
        const QStringList names = waitForUploads(before, captures);
        holder.closeWriteChannel();
        holder.waitForFinished(10000);
        QCOMPARE(names.size(), captures);
        for (int i = 0; i < captures; ++i) {
            QVERIFY2(names.at(i).endsWith(".png"), qPrintable("arrived: " + names.at(i)));
            QImageReader arrived(remoteFolder() + "/" + names.at(i));
            QCOMPARE(arrived.format(), QByteArray("png"));
            const QImage picture = rgb(arrived.read());
            QCOMPARE(picture.size(), m_pattern.image.size());
            if (heldFromStart)
                QVERIFY2(picture == waiting.at(i), qPrintable(names.at(i)));
        }
        QCOMPARE(shownWindowsOfSize(m_program.processId(), QSize(430, 360)), 0); // the sign-in window
    }
};

QTEST_MAIN(CaptureEndToEndTest)
#include "tst_capture_e2e.moc"
