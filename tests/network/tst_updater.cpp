// The updater against the stand-in: only a package that matches the update information
// becomes "Mavu.exe", and an archive never writes outside the update folder.

#include "../service/standin.h"
#include "networktestutil.h"

#include "network/updatepackage.h"
#include "network/updater.h"
#include "settings/constants.h"

#include <QBuffer>
#include <QJsonArray>
#include <QDir>
#include <QDirIterator>
#include <QSignalSpy>
#include <QtEndian>
#include <QCryptographicHash>
#include <QTest>

#include <quazip.h>
#include <quazipfile.h>

// Waits for expr; a runUpdate that never ends reports "timeout".
#define QTRY_VERIFY_WITH_TIMEOUT_RETURN(expr, timeout) \
    do { \
        (void)QTest::qWaitFor([&] { return (expr); }, timeout); \
        if (!(expr)) \
            return QStringLiteral("timeout"); \
    } while (false)

class TestUpdater : public QObject
{
    Q_OBJECT

private:
    ServiceStandIn m_service;

    static QByteArray zipOf(const QList<QPair<QString, QByteArray>> &entries)
    {
        QByteArray bytes;
        QBuffer buffer(&bytes);
        {
            QuaZip zip(&buffer);
            zip.open(QuaZip::mdCreate);
            for (const auto &entry : entries) {
                QuaZipFile file(&zip);
                file.open(QIODevice::WriteOnly, QuaZipNewInfo(entry.first));
                file.write(entry.second);
                file.close();
            }
            zip.close();
        }
        return bytes;
    }

    // The zip with the CRC or the size ("crc", "size") of the named entry set to value in its
    // local header and in the central directory alike, as the library checks them.
    static QByteArray withEntryField(QByteArray zip, const QByteArray &name, const QString &field, quint32 value)
    {
        struct Header { QByteArray signature; int nameLength, name, crc, size; };
        for (const Header &header : {Header{"PK\x03\x04", 26, 30, 14, 22}, Header{"PK\x01\x02", 28, 46, 16, 24}}) {
            for (qsizetype at = zip.indexOf(header.signature); at >= 0; at = zip.indexOf(header.signature, at + 4)) {
                const quint16 nameLength = qFromLittleEndian<quint16>(zip.constData() + at + header.nameLength);
                if (zip.mid(at + header.name, nameLength) == name)
                    qToLittleEndian(value, zip.data() + at + (field == "crc" ? header.crc : header.size));
            }
        }
        return zip;
    }

    void offer(const QByteArray &package, const QString &format, const QJsonObject &extra = {})
    {
        QJsonObject update{{"version", "99.0.0"}, {"format", format},
                           {"package_b64", QString::fromLatin1(package.toBase64())}};
        for (auto it = extra.begin(); it != extra.end(); ++it)
            update.insert(it.key(), it.value());
        m_service.configure({{"update", update}});
    }

    // A line of /proc/self/status in kB ("VmRSS": now, "VmHWM": the peak).
    static qint64 memoryKb(const QByteArray &field)
    {
        QFile status(QStringLiteral("/proc/self/status"));
        status.open(QIODevice::ReadOnly);
        for (const QByteArray &line : status.readAll().split('\n')) {
            if (line.startsWith(field + ':'))
                return line.mid(field.size() + 1).trimmed().split(' ').value(0).toLongLong();
        }
        return -1;
    }

    // Runs one update check to its end; returns the name of the signal that ended it.
    static QString runUpdate()
    {
        Updater updater;
        QSignalSpy none(&updater, &Updater::noUpdate);
        QSignalSpy done(&updater, &Updater::updateDownloaded);
        QSignalSpy failed(&updater, &Updater::updateFailed);
        updater.startUpdate();
        QTRY_VERIFY_WITH_TIMEOUT_RETURN(none.size() + done.size() + failed.size() > 0, 20000);
        QTest::qWait(100);
        return none.size() ? QStringLiteral("none") : done.size() ? QStringLiteral("done") : QStringLiteral("failed");
    }

    // Every entry under the update folder: a file with its bytes, a folder with "/".
    static QMap<QString, QByteArray> updateFolderContents()
    {
        QMap<QString, QByteArray> contents;
        QDirIterator it(m_updatePath, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden | QDir::System,
                        QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            contents.insert(path.mid(m_updatePath.size()),
                            it.fileInfo().isDir() ? QByteArray("/") : NetworkTestUtil::readFile(path));
        }
        return contents;
    }

    // The update folder as an update of a program and a helper leaves it for the next start.
    static QMap<QString, QByteArray> updateOf(const QByteArray &program, const QString &helper)
    {
        return {{"Mavu.exe", program}, {"lib", "/"}, {"lib/" + helper, helper.toUtf8()},
                {"Mavu.exe.sha256", QCryptographicHash::hash(program, QCryptographicHash::Sha256).toHex() + "\n"}};
    }

    // Leaves a pending update of "earlier program" and lib/earlier.so in the update folder.
    bool installEarlierUpdate()
    {
        offer(zipOf({{"lib/earlier.so", "earlier.so"}, {"Mavu.exe", "earlier program"}}), "zip");
        return runUpdate() == QLatin1String("done");
    }

private slots:
    void initTestCase()
    {
        QCoreApplication::setApplicationVersion(QStringLiteral("3.1.51"));
        QVERIFY2(m_service.start(), "the service stand-in did not start");
    }

    void init()
    {
        QDir(m_updatePath).removeRecursively();
        m_service.configure({{"update", QJsonValue()}, {"down", false}});
    }

    void largePackage_isStreamedToDisk_notHeldInMemory_data()
    {
        QTest::addColumn<QString>("format");
        QTest::newRow("program") << "exe";
        QTest::newRow("archive of zeros") << "zip";
    }

    // A package of 96 MB (bare, or zipped to a few hundred kB) may not raise the memory
    // of the process by more than a fraction of its size.
    void largePackage_isStreamedToDisk_notHeldInMemory()
    {
        QFETCH(QString, format);
        const qint64 size = 96 * 1024 * 1024;
        m_service.configure({{"update", QJsonObject{{"version", "99.0.0"}, {"format", format}, {"zeros", size}}}});
        const qint64 before = memoryKb("VmRSS");
        QFile reset(QStringLiteral("/proc/self/clear_refs")); // the peak starts again from now
        QVERIFY(reset.open(QIODevice::WriteOnly) && reset.write("5") == 1);
        reset.close();
        QCOMPARE(runUpdate(), QStringLiteral("done"));
        QCOMPARE(QFileInfo(Updater::updateExecutable()).size(), size);
#ifndef __SANITIZE_ADDRESS__ // the sanitizer keeps freed memory aside: the peak says nothing there
        const qint64 grownMb = (memoryKb("VmHWM") - before) / 1024;
        QVERIFY2(grownMb < 40, qPrintable(QStringLiteral("peak memory grew by %1 MB").arg(grownMb)));
#else
        Q_UNUSED(before)
#endif
    }

    void noNewerVersion_installsNothing()
    {
        QCOMPARE(runUpdate(), QStringLiteral("none"));
        offer("binary", "exe", {{"version", "3.1.51"}});
        QCOMPARE(runUpdate(), QStringLiteral("none"));
        QVERIFY(!QFile::exists(Updater::updateExecutable()));
    }

    void matchingPackage_becomesMavuExe_inCreatedUpdateFolder()
    {
        QVERIFY(!QDir(m_updatePath).exists());
        offer("#!/bin/sh\necho new\n", "exe");
        QCOMPARE(runUpdate(), QStringLiteral("done"));
        QCOMPARE(NetworkTestUtil::readFile(m_updatePath + "Mavu.exe"), QByteArray("#!/bin/sh\necho new\n"));
        QVERIFY(QFileInfo(m_updatePath + "Mavu.exe").isExecutable());
        // The record the next start checks the executable against.
        QCOMPARE(NetworkTestUtil::readFile(m_updatePath + "Mavu.exe.sha256"),
                 QCryptographicHash::hash("#!/bin/sh\necho new\n", QCryptographicHash::Sha256).toHex() + "\n");
    }

    void wrongHash_orWrongSize_leavesNoMavuExe_andLogsTheFailure()
    {
        const int before = NetworkTestUtil::errorLogEntries();
        offer("tampered", "exe", {{"bad_sha256", true}});
        QCOMPARE(runUpdate(), QStringLiteral("failed"));
        QVERIFY(!QFile::exists(Updater::updateExecutable()));
        offer("short", "exe", {{"bad_size", true}});
        QCOMPARE(runUpdate(), QStringLiteral("failed"));
        QVERIFY(!QFile::exists(Updater::updateExecutable()));
        offer(zipOf({{"Mavu.exe", "zipped"}}), "zip", {{"bad_sha256", true}});
        QCOMPARE(runUpdate(), QStringLiteral("failed"));
        QVERIFY(!QFile::exists(Updater::updateExecutable()));
        // A download that grows past the announced size is cut off.
        offer(QByteArray(200000, 'x'), "exe", {{"bad_size", -100000}});
        QCOMPARE(runUpdate(), QStringLiteral("failed"));
        QVERIFY(!QFile::exists(Updater::updateExecutable()));
        QCOMPARE(NetworkTestUtil::errorLogEntries(), before + 4);
    }

    void packageFromAnywhereButTheService_isNeverFetched_data()
    {
        QTest::addColumn<QString>("how");
        QTest::newRow("named on another host") << "package_url";
        QTest::newRow("redirected to another host") << "package_redirect";
    }

    // Its checksum comes with its address: a package from elsewhere proves nothing.
    void packageFromAnywhereButTheService_isNeverFetched()
    {
        QFETCH(QString, how);
        QTemporaryDir folder;
        HttpsStandIn elsewhere;
        QVERIFY(elsewhere.start(ServiceStandIn::script(), folder.path()));
        const QByteArray package = "#!/bin/sh\necho elsewhere\n";
        elsewhere.configure({{"update", QJsonObject{{"version", "99.0.0"}, {"package_b64", QString::fromLatin1(package.toBase64())}}}});
        offer(package, "exe", {{how, elsewhere.url("/update/v1/package/mavu")}});
        QCOMPARE(runUpdate(), QStringLiteral("failed"));
        QVERIFY(!QFile::exists(Updater::updateExecutable()));
        QCOMPARE(elsewhere.state().value("requests").toArray(), QJsonArray());
    }

    // A newer update takes the place of one still pending, whole: nothing of the earlier
    // one is left beside it.
    void zipPackage_unpacksIntoUpdateFolder()
    {
        QVERIFY(installEarlierUpdate());
        offer(zipOf({{"lib/helper.so", "helper.so"}, {"Mavu.exe", "zipped program"}}), "zip");
        QCOMPARE(runUpdate(), QStringLiteral("done"));
        QTRY_COMPARE(updateFolderContents(), updateOf("zipped program", "helper.so"));
    }

    void damagedZipEntry_refusesThePackage_leavingNothing_data()
    {
        QTest::addColumn<QByteArray>("package");
        const QByteArray zip = zipOf({{"lib/helper.so", "helper"}, {"Mavu.exe", QByteArray(200000, 'x')}});
        QTest::newRow("program with a wrong CRC") << withEntryField(zip, "Mavu.exe", "crc", 0xdeadbeefu);
        QTest::newRow("helper with a wrong CRC") << withEntryField(zip, "lib/helper.so", "crc", 0xdeadbeefu);
        QTest::newRow("program holding more than it declares") << withEntryField(zip, "Mavu.exe", "size", 100u);
        QTest::newRow("program holding less than it declares") << withEntryField(zip, "Mavu.exe", "size", 300000u);
        QTest::newRow("a file and a folder of the same name")
            << zipOf({{"lib/helper.so", "helper"}, {"Mavu.exe", "program"}, {"Mavu.exe/", ""}});
        QList<QPair<QString, QByteArray>> entries{{"Mavu.exe", "program"}};
        for (int i = 0; i < UpdatePackage::maxEntries; ++i)
            entries.append({QString::number(i), QByteArray()});
        QTest::newRow("more entries than an update holds") << zipOf(entries);
    }

    // The package's checksum matches it: the archive was made damaged. Nothing of it is left,
    // and the update still pending from an earlier check stays as it was.
    void damagedZipEntry_refusesThePackage_leavingNothing()
    {
        QFETCH(QByteArray, package);
        QVERIFY(installEarlierUpdate());
        offer(package, "zip");
        QCOMPARE(runUpdate(), QStringLiteral("failed"));
        QTRY_COMPARE(updateFolderContents(), updateOf("earlier program", "earlier.so"));
    }

    void zipWithEscapingEntry_isRejectedWhole()
    {
        const QString outside = QDir::homePath() + "/.mavu/escaped.txt";
        offer(zipOf({{"../escaped.txt", "evil"}, {"Mavu.exe", "program"}}), "zip");
        QCOMPARE(runUpdate(), QStringLiteral("failed"));
        QVERIFY(!QFile::exists(outside));
        QVERIFY(!QFile::exists(Updater::updateExecutable()));
        offer(zipOf({{"/tmp/absolute-mavu-test.txt", "evil"}, {"Mavu.exe", "program"}}), "zip");
        QCOMPARE(runUpdate(), QStringLiteral("failed"));
        QVERIFY(!QFile::exists(Updater::updateExecutable()));
        offer(zipOf({{"readme.txt", "no program"}}), "zip");
        QCOMPARE(runUpdate(), QStringLiteral("failed"));
        QVERIFY(!QFile::exists(Updater::updateExecutable()));
    }

    void entryNames_thatLeaveTheFolder_areUnsafe()
    {
        for (const char *bad : {"../a", "a/../../b", "/etc/passwd", "a\\..\\b", "C:/x", "", "./", "a/./b"})
            QVERIFY2(!UpdatePackage::isSafeEntryName(QString::fromLatin1(bad)), bad);
        for (const char *good : {"Mavu.exe", "lib/x.so", "dir/", "a..b/c"})
            QVERIFY2(UpdatePackage::isSafeEntryName(QString::fromLatin1(good)), good);
    }

    void unreachableService_reportsFailure_andLogsIt()
    {
        const int before = NetworkTestUtil::errorLogEntries();
        m_service.configure({{"down", true}});
        QCOMPARE(runUpdate(), QStringLiteral("failed"));
        QCOMPARE(NetworkTestUtil::errorLogEntries(), before + 1);
    }

    void updateAddresses_areTakenWhenTheQueueRuns()
    {
        Core::instance()->setHostUrl(QStringLiteral("127.0.0.1:1"));
        Updater updater;
        QSignalSpy none(&updater, &Updater::noUpdate);
        updater.startUpdate();
        m_service.pointCoreHere();
        QVERIFY(none.wait(20000));
    }
};

QTEST_MAIN(TestUpdater)
#include "tst_updater.moc"
