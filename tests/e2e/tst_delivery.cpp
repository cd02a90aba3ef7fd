// A finished capture leaving the controller: encodings, the extra copy, the save dialog.

#include "../harness/overlay.h"
#include "../harness/shellwindows.h"
#include "../harness/tallpicture.h"
#include "../upload/uploadtestsupport.h"
#include "settings/constants.h"
#include "windows/lastuploadwidget_win.h"

#include <QClipboard>

#include <sys/resource.h>

using namespace UploadTest;

using OverlayAction = void (SurfaceWidget::*)();
Q_DECLARE_METATYPE(OverlayAction)

namespace {

// What ImageMagick reads in a file: the format, and for a JPEG the quality its tables hold.
QString encodingOf(const QString &path)
{
    const QString found = commandOutput("identify", {"-format", "%m %Q", path});
    return found.startsWith("PNG") ? QStringLiteral("PNG") : found;
}

QString copyName(const QDateTime &when, const QString &extension)
{
    return when.toString(QStringLiteral("dd-MM-yyyy hh-mm-ss")) + extension;
}

// Copies of earlier captures under the names of this second and the next: whatever second
// the next capture falls in, an earlier copy already bears its name.
QStringList plantEarlierCopies(const QString &folder, const QString &extension)
{
    QStringList names;
    const QDateTime now = QDateTime::currentDateTime();
    for (const QDateTime &when : {now, now.addSecs(1)}) {
        if (writeFile(folder + '/' + copyName(when, extension), "an earlier copy"))
            names << copyName(when, extension);
    }
    return names;
}

// Runs `run` while no file of this process may grow at all, as on a full disk. The settings
// written before are on disk first: their writes must not meet the limit.
void withoutRoomForFiles(const std::function<void()> &run)
{
    Setting::instance()->sync();
    rlimit before{};
    ::getrlimit(RLIMIT_FSIZE, &before);
    rlimit none = before;
    none.rlim_cur = 0;
    QVERIFY(::setrlimit(RLIMIT_FSIZE, &none) == 0);
    run();
    ::setrlimit(RLIMIT_FSIZE, &before);
}

} // namespace

class DeliveryTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    FtpServer m_server;
    QString m_dialogAnswer;
    int m_dialogCalls = 0;

    static bool openOverlayWithSelection(const QRect &selection)
    {
        SurfaceWidget *overlay = openOverlay(selection);
        return overlay && overlay->selectRect() == selection;
    }

    QString uploadWithQuality(const QVariant &quality)
    {
        Setting::instance()->setValue(SettingKeys::qualityImage, quality);
        Core::instance()->screenUpload(0, false, patternPicture());
        return Core::instance()->lastCaptureFile();
    }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        ::signal(SIGXFSZ, SIG_IGN); // a write past the file-size limit fails instead
        QVERIFY(m_server.start(m_scratch.filePath("ftproot")));
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("delivery-token"));
        m_server.useForUploads(QString(), "https://files.example");
        Core::setSaveFileDialog([this](const QString &, const QString &, const QString &) {
            ++m_dialogCalls;
            return m_dialogAnswer;
        });
    }

    void quality_choosesTheEncoding_data()
    {
        QTest::addColumn<QVariant>("quality");
        QTest::addColumn<QString>("encoding");
        QTest::newRow("0: JPEG 90") << QVariant(0) << "JPEG 90";
        QTest::newRow("1: JPEG 100") << QVariant(1) << "JPEG 100";
        QTest::newRow("1.9 counts as 1") << QVariant("1.9") << "JPEG 100";
        QTest::newRow("2: PNG") << QVariant(2) << "PNG";
        QTest::newRow("-1: PNG") << QVariant(-1) << "PNG";
    }

    void quality_choosesTheEncoding()
    {
        QFETCH(QVariant, quality);
        QFETCH(QString, encoding);
        const QString file = uploadWithQuality(quality);
        QCOMPARE(encodingOf(file), encoding);
        QCOMPARE(QFileInfo(file).suffix(), encoding == "PNG" ? QStringLiteral("png") : QStringLiteral("jpg"));
        if (encoding == "PNG")
            QCOMPARE(QImage(file), patternPicture().toImage());
        QCOMPARE(QFileInfo(file).path() + "/", m_tempDir);
        QCOMPARE(QFile::permissions(file) & 0x00FF, QFileDevice::Permissions()); // no group or other bits
    }

    void extraCopy_landsInTheChosenFolderBesideEarlierOnes_data()
    {
        QTest::addColumn<bool>("clipboard");
        QTest::newRow("upload") << false;
        QTest::newRow("clipboard") << true;
    }

    // The folder is stored with "\\" for "/"; a copy of the same second as an earlier one
    // is kept beside it.
    void extraCopy_landsInTheChosenFolderBesideEarlierOnes()
    {
        QFETCH(bool, clipboard);
        const QString folder = m_scratch.filePath(QTest::currentDataTag());
        QDir().mkpath(folder);
        setValues({{SettingKeys::useSaveScreen, 1},
                   {SettingKeys::saveScreenFolder, QString(folder).replace('/', '\\')},
                   {SettingKeys::qualityImage, 2}});
        const QStringList earlier = plantEarlierCopies(folder, ".png");
        QImage captured = patternPicture().toImage();
        if (clipboard) {
            QVERIFY(openOverlayWithSelection(QRect(30, 40, 120, 80)));
            Core::instance()->screenSaveToClipboard();
            captured = rgb(QGuiApplication::clipboard()->image());
            QCOMPARE(captured.size(), QSize(120, 80));
        } else {
            Core::instance()->screenUpload(0, false, patternPicture());
        }
        Setting::instance()->setValue(SettingKeys::useSaveScreen, 0);
        QStringList copies = QDir(folder).entryList({"*.png"});
        for (const QString &name : earlier) {
            QVERIFY(copies.removeOne(name));
            QCOMPARE(readFile(folder + '/' + name), QByteArray("an earlier copy"));
        }
        QCOMPARE(copies.size(), 1);
        const QRegularExpression numbered("^\\d\\d-\\d\\d-\\d{4} \\d\\d-\\d\\d-\\d\\d \\(2\\)\\.png$");
        QVERIFY2(numbered.match(copies.first()).hasMatch(), qPrintable(copies.first()));
        QCOMPARE(QImage(folder + '/' + copies.first()), captured);
    }

    // Uploads that run at once: the newest capture's link stays on the clipboard, whichever
    // ends last, and "Upload complete" tells of it although another upload failed.
    void uploadsAtOnce_keepTheNewestLink_andCompleteDespiteAFailure()
    {
        FtpServer stalled;
        QVERIFY(stalled.start(m_scratch.filePath("stalled")));
        const auto cleanUp = qScopeGuard([&] {
            stalled.resume();
            ShellWindows::closeAll();
        });
        setValues({{SettingKeys::showLastUpload, 1}, {SettingKeys::qualityImage, 2}});
        const auto uploadTo = [](const std::function<void()> &destination) {
            const qint64 stamp = QDateTime::currentMSecsSinceEpoch(); // captures are named by the millisecond
            QTRY_VERIFY(QDateTime::currentMSecsSinceEpoch() > stamp);
            destination();
            Core::instance()->screenUpload(0, false, patternPicture());
        };
        stalled.pause();
        uploadTo([&] { stalled.useForUploads(QString(), "https://stalled.example"); });
        uploadTo([] { Setting::instance()->setValue(SettingKeys::ftpPort, freePort()); });
        uploadTo([this] { m_server.useForUploads(QString(), "https://files.example"); });
        const QString newest = "https://files.example/" + QFileInfo(Core::instance()->lastCaptureFile()).fileName();
        QTRY_COMPARE_WITH_TIMEOUT(Core::instance()->lastLink(), newest, 20000);
        QTRY_COMPARE_WITH_TIMEOUT(ShellWindows::shown<ErrorWidget>().size(), 1, 20000);
        stalled.resume();
        QTRY_COMPARE_WITH_TIMEOUT(Core::instance()->uploadModel()->rowCount(), 0, 30000);
        QCOMPARE(QDir(stalled.root()).entryList(QDir::Files).size(), 1);
        QCOMPARE(Core::instance()->lastLink(), newest);
        QCOMPARE(QGuiApplication::clipboard()->text(), newest);
        QCOMPARE(ShellWindows::shown<LastUploadWidget>().size(), 1);
    }

    void repeatedResult_withoutOverlay_returnsQuietly()
    {
        const QString last = Core::instance()->lastCaptureFile();
        const int dialogs = m_dialogCalls;
        Core::instance()->screenUpload(0, false, QPixmap());
        Core::instance()->screenSaveToDisk(QPixmap());
        Core::instance()->screenSaveToClipboard();
        QCOMPARE(Core::instance()->lastCaptureFile(), last);
        QCOMPARE(m_dialogCalls, dialogs);
    }

    void saveToDisk_writesTheChosenFileAndRemembersTheFolder()
    {
        Setting::instance()->setValue(SettingKeys::qualityImage, 1);
        m_dialogAnswer = m_scratch.filePath("saved/shot.jpg.old");
        QDir().mkpath(m_scratch.filePath("saved"));
        Core::instance()->screenSaveToDisk(patternPicture());
        QCOMPARE(encodingOf(m_dialogAnswer), QStringLiteral("JPEG 100"));
        QCOMPARE(Setting::instance()->getValue(SettingKeys::lastSavePath).toString(), m_scratch.filePath("saved"));
    }

    void saveToDisk_replacesAConfirmedExistingFile()
    {
        Setting::instance()->setValue(SettingKeys::qualityImage, 2);
        m_dialogAnswer = m_scratch.filePath("saved/existing");
        QVERIFY(writeFile(m_dialogAnswer + ".png", "old contents"));
        Core::instance()->screenSaveToDisk(patternPicture());
        QCOMPARE(QImage(m_dialogAnswer + ".png"), patternPicture().toImage());
    }

    void saveToDisk_failure_isReportedAndForgetsNothing()
    {
        Setting::instance()->setValue(SettingKeys::qualityImage, 2);
        const QString lastFolder = Setting::instance()->getValue(SettingKeys::lastSavePath).toString();
        m_dialogAnswer = m_scratch.filePath("no/such/folder/shot");
        Core::instance()->screenSaveToDisk(patternPicture());
        QVERIFY(!QFile::exists(m_dialogAnswer + ".png"));
        const QStringList errors = ShellWindows::shownErrorTexts();
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().startsWith("Can't save file " + m_dialogAnswer + ".png: "), qPrintable(errors.first()));
        QCOMPARE(Setting::instance()->getValue(SettingKeys::lastSavePath).toString(), lastFolder);
    }

    void unreadableScreen_isToldAndNoPictureLeaves_data()
    {
        QTest::addColumn<OverlayAction>("action");
        QTest::addColumn<QString>("error");
        QTest::newRow("upload") << &SurfaceWidget::uploadScreen << "Can't read the screen: nothing was uploaded";
        QTest::newRow("save") << &SurfaceWidget::saveScreen << "Can't read the screen: nothing was saved";
        QTest::newRow("copy") << &SurfaceWidget::screenSaveToClipboard << "Can't read the screen: nothing was copied";
    }

    // A capture whose screen could not be read would hold only the annotations.
    void unreadableScreen_isToldAndNoPictureLeaves()
    {
        QFETCH(OverlayAction, action);
        QFETCH(QString, error);
        ShellWindows::closeAll();
        const QStringList temporary = QDir(m_tempDir).entryList(QDir::Files);
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        QVERIFY(openOverlayWithSelection(QRect(10, 20, 200, 100)));
        SurfaceWidget *overlay = Core::instance()->surfaceWidget();
        overlay->setBackground(QPixmap()); // as when the screen could not be read
        const int calls = m_dialogCalls;
        (overlay->*action)();
        QCOMPARE(ShellWindows::shownErrorTexts(), QStringList{error});
        QCOMPARE(m_dialogCalls, calls);
        QCOMPARE(QDir(m_tempDir).entryList(QDir::Files), temporary);
        QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
        QVERIFY(!overlay->isCapturing());
        ShellWindows::closeAll();
    }

    void captureNotWritten_staysInTheOverlay_data()
    {
        QTest::addColumn<bool>("upload");
        QTest::addColumn<int>("stitchedHeight"); // 0: the selection itself
        QTest::addColumn<bool>("diskFull");
        QTest::addColumn<QString>("error");
        QTest::newRow("save dialog cancelled") << false << 0 << false << QString();
        QTest::newRow("too tall for a JPEG: save") << false << 65501 << false
                                                   << "Can't encode the 16x65501 px capture: nothing was saved";
        QTest::newRow("too tall for a JPEG: upload") << true << 65501 << false
                                                     << "Can't encode the 16x65501 px capture: nothing was uploaded";
        QTest::newRow("disk full: upload") << true << 0 << true << "Can't write the capture: File too large";
    }

    // The capture stays: a later save (as PNG) still has it.
    void captureNotWritten_staysInTheOverlay()
    {
        QFETCH(bool, upload);
        QFETCH(int, stitchedHeight);
        QFETCH(bool, diskFull);
        QFETCH(QString, error);
        ShellWindows::closeAll();
        Setting::instance()->setValue(SettingKeys::qualityImage, error.isEmpty() ? 2 : 0);
        const QString folder = m_scratch.filePath("saved");
        QDir().mkpath(folder);
        const QStringList before = QDir(folder).entryList(QDir::Files);
        const QStringList temporary = QDir(m_tempDir).entryList(QDir::Files);
        QVERIFY(openOverlayWithSelection(QRect(10, 20, 200, 100)));
        SurfaceWidget *overlay = Core::instance()->surfaceWidget();
        if (stitchedHeight > 0)
            overlay->ponoramComplete(QPixmap::fromImage(tallPicture(QSize(16, stitchedHeight), 3)));
        const QImage capture = overlay->renderRubberRect().toImage();
        m_dialogAnswer = error.isEmpty() ? QString() : folder + "/too-tall";
        const int calls = m_dialogCalls;
        const auto deliver = [upload] {
            upload ? Core::instance()->screenUpload() : Core::instance()->screenSaveToDisk(QPixmap());
        };
        diskFull ? withoutRoomForFiles(deliver) : deliver();
        QCOMPARE(m_dialogCalls, calls + (upload ? 0 : 1));
        QCOMPARE(QDir(folder).entryList(QDir::Files), before);
        QCOMPARE(QDir(m_tempDir).entryList(QDir::Files), temporary);
        QCOMPARE(ShellWindows::shownErrorTexts(), error.isEmpty() ? QStringList() : QStringList{error});
        QVERIFY(overlay->isCapturing());
        QVERIFY(overlay->isVisible());

        Setting::instance()->setValue(SettingKeys::qualityImage, 2);
        m_dialogAnswer = folder + "/after-" + QString::number(stitchedHeight) + (upload ? "-upload" : "-save");
        Core::instance()->screenSaveToDisk(QPixmap());
        QCOMPARE(QImage(m_dialogAnswer + ".png"), rgb(capture));
        QVERIFY(!overlay->isVisible());
        ShellWindows::closeAll();
    }

    // Handed to the upload, the capture waits in the unsent folder; the user stopping the
    // upload gives it up.
    void stoppedUpload_givesTheCaptureUp()
    {
        FtpServer stalled;
        QVERIFY(stalled.start(m_scratch.filePath("stopped")));
        const auto cleanUp = qScopeGuard([&] {
            stalled.resume();
            m_server.useForUploads(QString(), "https://files.example");
        });
        stalled.useForUploads(QString(), "https://stopped.example");
        stalled.pause();
        Core::instance()->screenUpload(0, false, patternPicture());
        const QString capture = Core::instance()->lastCaptureFile();
        QCOMPARE(readFile(m_pathSettings + "unsent/" + QFileInfo(capture).fileName()), readFile(capture));
        Core::instance()->cancelUpload();
        QCOMPARE(QDir(m_pathSettings + "unsent").entryList(QDir::Files), QStringList());
    }
};

QTEST_MAIN(DeliveryTest)
#include "tst_delivery.moc"
