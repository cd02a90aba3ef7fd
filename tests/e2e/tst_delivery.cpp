// A finished capture leaving the controller: encodings, the extra copy, the save dialog.

#include "../harness/overlay.h"
#include "../harness/shellwindows.h"
#include "../harness/tallpicture.h"
#include "../upload/uploadtestsupport.h"
#include "settings/constants.h"
#include "windows/lastuploadwidget_win.h"

#include <QClipboard>
#include <QLoggingCategory>

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

    void extraCopy_notWritten_isReported_data() { extraCopy_landsInTheChosenFolderBesideEarlierOnes_data(); }

    // The capture itself still goes where it was sent.
    void extraCopy_notWritten_isReported()
    {
        QFETCH(bool, clipboard);
        ShellWindows::closeAll();
        const QString folder = m_scratch.filePath("no/such/folder");
        setValues({{SettingKeys::useSaveScreen, 1}, {SettingKeys::saveScreenFolder, folder}, {SettingKeys::qualityImage, 2}});
        const QString last = Core::instance()->lastCaptureFile();
        if (clipboard) {
            QGuiApplication::clipboard()->clear();
            QVERIFY(openOverlayWithSelection(QRect(30, 40, 120, 80)));
            Core::instance()->screenSaveToClipboard();
            QCOMPARE(QGuiApplication::clipboard()->image().size(), QSize(120, 80));
        } else {
            Core::instance()->screenUpload(0, false, patternPicture());
            QVERIFY(Core::instance()->lastCaptureFile() != last);
        }
        Setting::instance()->setValue(SettingKeys::useSaveScreen, 0);
        const QStringList errors = ShellWindows::shownErrorTexts();
        QCOMPARE(errors.size(), 1);
        const QRegularExpression text("^Can't save file " + QRegularExpression::escape(folder)
                                      + "/[-0-9 ]+\\.png: No such file or directory$");
        QVERIFY2(text.match(errors.first()).hasMatch(), qPrintable(errors.first()));
        ShellWindows::closeAll();
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

    void saveToDisk_failure_isReportedAndForgetsNothing_data()
    {
        QTest::addColumn<QString>("answer");
        QTest::addColumn<bool>("limited"); // a file-size limit below the picture's size
        QTest::addColumn<QString>("reason");
        QTest::newRow("missing folder") << "no/such/folder/shot" << false << "No such file or directory";
        // A write that only fills a buffer succeeds; the limit shows when that is flushed.
        QTest::newRow("past the file-size limit") << "limited/shot" << true << "File too large";
    }

    // The file under the chosen name stays as it was.
    void saveToDisk_failure_isReportedAndForgetsNothing()
    {
        QFETCH(QString, answer);
        QFETCH(bool, limited);
        QFETCH(QString, reason);
        ShellWindows::closeAll();
        Setting::instance()->setValue(SettingKeys::qualityImage, 2);
        const QString lastFolder = Setting::instance()->getValue(SettingKeys::lastSavePath).toString();
        m_dialogAnswer = m_scratch.filePath(answer);
        const QString file = m_dialogAnswer + ".png";
        if (limited)
            QVERIFY(writeFile(file, "old contents"));
        Setting::instance()->sync(); // no write of the settings runs into the limit
        {
            const FileSizeLimit limit(limited ? pngBytes(patternPicture()).size() / 2 : RLIM_INFINITY);
            Core::instance()->screenSaveToDisk(patternPicture());
        }
        QCOMPARE(readFile(file), limited ? QByteArray("old contents") : QByteArray());
        QCOMPARE(QDir(QFileInfo(file).path()).entryList(QDir::Files), limited ? QStringList{"shot.png"} : QStringList());
        QCOMPARE(ShellWindows::shownErrorTexts(), QStringList{"Can't save file " + file + ": " + reason});
        QCOMPARE(Setting::instance()->getValue(SettingKeys::lastSavePath).toString(), lastFolder);
        ShellWindows::closeAll();
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
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("stitchedHeight"); // 0: the selection itself
        QTest::addColumn<qulonglong>("sizeLimit");
        QTest::addColumn<QString>("error");
        const qulonglong none = RLIM_INFINITY;
        QTest::newRow("save dialog cancelled") << "save" << 0 << none << QString();
        QTest::newRow("too tall for a JPEG: save") << "save" << 65501 << none
                                                   << "Can't encode the 16x65501 px capture: nothing was saved";
        QTest::newRow("too tall for a JPEG: upload") << "upload" << 65501 << none
                                                     << "Can't encode the 16x65501 px capture: nothing was uploaded";
        QTest::newRow("too tall for a JPEG: copy, keeping a copy")
            << "copy" << 65501 << none << "Can't encode the 16x65501 px capture: nothing was copied";
        QTest::newRow("disk full: upload") << "upload" << 0 << 0ull << "Can't write the capture: File too large";
        // The first bytes go through; the write of the rest gives the reason.
        QTest::newRow("disk full halfway: upload") << "upload" << 0 << 100ull
                                                   << "Can't write the capture: File too large";
    }

    // The capture stays: a later save (as PNG) still has it. The extra copy, when kept,
    // goes to the folder of the saves.
    void captureNotWritten_staysInTheOverlay()
    {
        QFETCH(QString, action);
        QFETCH(int, stitchedHeight);
        QFETCH(qulonglong, sizeLimit);
        QFETCH(QString, error);
        ShellWindows::closeAll();
        const QString folder = m_scratch.filePath("saved");
        QDir().mkpath(folder);
        setValues({{SettingKeys::qualityImage, error.isEmpty() ? 2 : 0},
                   {SettingKeys::useSaveScreen, action == "copy"},
                   {SettingKeys::saveScreenFolder, folder}});
        const QStringList before = QDir(folder).entryList(QDir::Files);
        const QStringList temporary = QDir(m_tempDir).entryList(QDir::Files);
        QVERIFY(openOverlayWithSelection(QRect(10, 20, 200, 100)));
        SurfaceWidget *overlay = Core::instance()->surfaceWidget();
        if (stitchedHeight > 0)
            overlay->ponoramComplete(QPixmap::fromImage(tallPicture(QSize(16, stitchedHeight), 3)));
        const QImage capture = overlay->renderRubberRect().toImage();
        m_dialogAnswer = error.isEmpty() ? QString() : folder + "/too-tall";
        const int calls = m_dialogCalls;
        Setting::instance()->sync(); // no write of the settings runs into the limit
        {
            const FileSizeLimit limit(sizeLimit);
            if (action == "upload")
                Core::instance()->screenUpload();
            else if (action == "copy")
                Core::instance()->screenSaveToClipboard();
            else
                Core::instance()->screenSaveToDisk(QPixmap());
        }
        QCOMPARE(m_dialogCalls, calls + (action == "save" ? 1 : 0));
        QCOMPARE(QDir(folder).entryList(QDir::Files), before);
        QCOMPARE(QDir(m_tempDir).entryList(QDir::Files), temporary);
        QCOMPARE(ShellWindows::shownErrorTexts(), error.isEmpty() ? QStringList() : QStringList{error});
        QVERIFY(overlay->isCapturing());
        QVERIFY(overlay->isVisible());

        setValues({{SettingKeys::qualityImage, 2}, {SettingKeys::useSaveScreen, 0}});
        m_dialogAnswer = folder + "/after-" + QString::number(stitchedHeight) + '-' + action;
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
