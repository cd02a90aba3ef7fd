// A finished capture leaving the controller: encodings, the extra copy, the save dialog.

#include "../upload/uploadtestsupport.h"

using namespace UploadTest;
#include "../harness/shellwindows.h"
#include "core.h"
#include "settings/constants.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"

#include <QtTest>

namespace {

QByteArray head(const QString &path, int size)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.read(size) : QByteArray();
}

bool isJpeg(const QString &path) { return head(path, 3) == QByteArray("\xff\xd8\xff"); }
bool isPng(const QString &path) { return head(path, 8) == QByteArray("\x89PNG\r\n\x1a\n"); }

} // namespace

class DeliveryTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    FtpServer m_server;
    QString m_dialogAnswer;
    int m_dialogCalls = 0;

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
        setValues({{SettingKeys::token, QStringLiteral("delivery-token")},
                   {SettingKeys::typeUpload, QStringLiteral("ftp")},
                   {SettingKeys::ftpHost, QStringLiteral("127.0.0.1")},
                   {SettingKeys::ftpPort, m_server.port()},
                   {SettingKeys::ftpBaseUrl, QStringLiteral("https://files.example")}});
        Setting::instance()->setValue(SettingKeys::ftpUser, QStringLiteral("user"));
        Setting::instance()->setValue(SettingKeys::ftpPassword, QStringLiteral("pass"));
        Core::setSaveFileDialog([this](const QString &, const QString &, const QString &) {
            ++m_dialogCalls;
            return m_dialogAnswer;
        });
    }

    void quality_choosesTheEncoding()
    {
        const QString low = uploadWithQuality(0);
        const QString high = uploadWithQuality("1.9");
        const QString lossless = uploadWithQuality(2);
        const QString negative = uploadWithQuality(-1);
        QVERIFY(low.endsWith(".jpg") && isJpeg(low));
        QVERIFY(high.endsWith(".jpg") && isJpeg(high));
        QVERIFY(lossless.endsWith(".png") && isPng(lossless));
        QVERIFY(negative.endsWith(".png") && isPng(negative));
        QVERIFY(QFileInfo(low).size() < QFileInfo(high).size());
        QCOMPARE(QImage(lossless), patternPicture().toImage());
        QCOMPARE(QFileInfo(low).path() + "/", m_tempDir);
    }

    void upload_countsAndReachesTheServer()
    {
        const int before = Setting::instance()->getValue(SettingKeys::countScreen).toInt();
        // The uploads of the case before may still report their links, in any order.
        QSignalSpy links(Core::instance(), &Core::lastLinkChanged);
        const QString file = uploadWithQuality(2);
        QCOMPARE(Setting::instance()->getValue(SettingKeys::countScreen).toInt(), before + 1);
        const QString remote = m_server.root() + "/" + QFileInfo(file).fileName();
        QTRY_VERIFY_WITH_TIMEOUT(QFile::exists(remote), 15000);
        QTRY_VERIFY_WITH_TIMEOUT(sameBytes(file, remote), 5000);
        const QVariantList link{"https://files.example/" + QFileInfo(file).fileName()};
        QTRY_VERIFY_WITH_TIMEOUT(links.contains(link), 5000);
    }

    void extraCopy_landsInTheChosenFolder()
    {
        const QString folder = m_scratch.filePath("copies");
        QDir().mkpath(folder);
        Setting::instance()->setValue(SettingKeys::useSaveScreen, 1);
        Setting::instance()->setValue(SettingKeys::saveScreenFolder, QString(folder).replace('/', '\\'));
        const QString file = uploadWithQuality(2);
        Setting::instance()->setValue(SettingKeys::useSaveScreen, 0);
        const QStringList copies = QDir(folder).entryList({"*.png"});
        QCOMPARE(copies.size(), 1);
        QVERIFY(QRegularExpression("^\\d\\d-\\d\\d-\\d{4} \\d\\d-\\d\\d-\\d\\d\\.png$").match(copies.first()).hasMatch());
        QVERIFY(sameBytes(file, folder + "/" + copies.first()));
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
        QVERIFY(isJpeg(m_dialogAnswer));
        QCOMPARE(Setting::instance()->getValue(SettingKeys::lastSavePath).toString(), m_scratch.filePath("saved"));
    }

    void saveToDisk_replacesAConfirmedExistingFile()
    {
        Setting::instance()->setValue(SettingKeys::qualityImage, 2);
        m_dialogAnswer = m_scratch.filePath("saved/existing");
        QFile old(m_dialogAnswer + ".png");
        QVERIFY(old.open(QIODevice::WriteOnly));
        old.write("old contents");
        old.close();
        Core::instance()->screenSaveToDisk(patternPicture());
        QCOMPARE(QImage(m_dialogAnswer + ".png"), patternPicture().toImage());
    }

    void saveToDisk_failure_isReportedAndForgetsNothing()
    {
        const QString lastFolder = Setting::instance()->getValue(SettingKeys::lastSavePath).toString();
        m_dialogAnswer = m_scratch.filePath("no/such/folder/shot");
        Core::instance()->screenSaveToDisk(patternPicture());
        QVERIFY(!QFile::exists(m_dialogAnswer + ".png"));
        const QStringList errors = ShellWindows::shownErrorTexts();
        QCOMPARE(errors.size(), 1);
        QVERIFY2(errors.first().startsWith("Can't save file " + m_dialogAnswer + ".png: "), qPrintable(errors.first()));
        QCOMPARE(Setting::instance()->getValue(SettingKeys::lastSavePath).toString(), lastFolder);
    }

    void saveToDisk_cancelWritesNothing()
    {
        m_dialogAnswer.clear();
        const int calls = m_dialogCalls;
        Core::instance()->screenSaveToDisk(patternPicture());
        QCOMPARE(m_dialogCalls, calls + 1);
    }
};

QTEST_MAIN(DeliveryTest)
#include "tst_delivery.moc"
