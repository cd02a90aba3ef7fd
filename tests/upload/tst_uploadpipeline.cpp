// The dispatcher, the job's checks, the zip archives and the list of running uploads,
// without a server: the FTP destination points at a closed loopback port.

#include "settings/constants.h"
#include "upload/ziparchive.h"
#include "uploadtestsupport.h"

#include <QLoggingCategory>
#include <QQmlComponent>
#include <QQmlEngine>
#include <QSignalSpy>
#include <QTranslator>

#include <sys/stat.h>

using namespace UploadTest;

class UploadPipelineTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    NetworkExchange *m_exchange = nullptr;

    QString local(const QString &name) const { return m_scratch.filePath(name); }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("test-token"));
        m_exchange = new NetworkExchange(Core::instance());
        UploadHooks::openUrl() = [](const QUrl &) { return true; };
    }

    void init()
    {
        setValues({{SettingKeys::typeUpload, QStringLiteral("ftp")},
                   {SettingKeys::isSftp, 0},
                   {SettingKeys::ftpHost, QStringLiteral("127.0.0.1")},
                   {SettingKeys::ftpPort, freePort()},
                   {SettingKeys::maxPostSize, QString()},
                   {SettingKeys::isFtpErrorUploadMavu, 0}});
    }

    void target_followsTypeUploadAndIsSftp_data()
    {
        QTest::addColumn<QVariant>("type");
        QTest::addColumn<int>("sftp");
        QTest::addColumn<int>("target");
        QTest::newRow("mavu") << QVariant(QStringLiteral("mavu")) << 0 << int(HandlerUpload::TargetMavu);
        QTest::newRow("ftp") << QVariant(QStringLiteral("ftp")) << 0 << int(HandlerUpload::TargetFtp);
        QTest::newRow("sftp") << QVariant(QStringLiteral("ftp")) << 1 << int(HandlerUpload::TargetSftp);
        QTest::newRow("dropbox") << QVariant(QStringLiteral("dropbox")) << 1 << int(HandlerUpload::TargetDropbox);
        QTest::newRow("google") << QVariant(QStringLiteral("google")) << 0 << int(HandlerUpload::TargetGoogle);
        QTest::newRow("unknown") << QVariant(QStringLiteral("box")) << 0 << int(HandlerUpload::TargetMavu);
        QTest::newRow("unset") << QVariant() << 0 << int(HandlerUpload::TargetMavu);
    }

    void target_followsTypeUploadAndIsSftp()
    {
        QFETCH(QVariant, type);
        QFETCH(int, sftp);
        QFETCH(int, target);
        setValues({{SettingKeys::typeUpload, type}, {SettingKeys::isSftp, sftp}});
        QCOMPARE(int(HandlerUpload::targetFromSettings()), target);
    }

    void sizeLimit_refusesTooLargeTotal_countingFoldersRecursively()
    {
        const QString folder = local(QStringLiteral("limit"));
        makeFolder(folder); // 371234 bytes
        const QString file = makeFile(local(QStringLiteral("limit.bin")), 1000);
        Setting::instance()->setValue(SettingKeys::maxPostSize, 372000);
        QCOMPARE(NetworkExchange::totalSize({folder, file}), qint64(371234 + 1000));
        Recorder recorder(m_exchange);

        m_exchange->uploadData({folder, file});
        QCOMPARE(recorder.error.count(), 1);
        QVERIFY2(recorder.firstError().startsWith(QLatin1String("Max upload total size ")), qPrintable(recorder.firstError()));
        QCOMPARE(recorder.startUpload.count(), 0);
        QCOMPARE(Core::instance()->uploadModel()->rowCount(), 0);

        m_exchange->uploadDataZip({folder, file});
        QCOMPARE(recorder.error.count(), 2);
        QCOMPARE(recorder.startUpload.count(), 0);

        // Within the limit the job starts.
        m_exchange->uploadData({folder});
        QCOMPARE(recorder.startUpload.count(), 1);
        QVERIFY(waitForEnd(recorder));
    }

    void sizeLimit_unknown_refusesNothing_data()
    {
        QTest::addColumn<QVariant>("limit");
        QTest::newRow("unset") << QVariant();
        QTest::newRow("empty") << QVariant(QString());
        QTest::newRow("zero") << QVariant(QStringLiteral("0"));
    }

    void sizeLimit_unknown_refusesNothing()
    {
        QFETCH(QVariant, limit);
        Setting::instance()->setValue(SettingKeys::maxPostSize, limit);
        Recorder recorder(m_exchange);
        m_exchange->uploadData({makeFile(local("fresh.bin"), 5000)});
        QCOMPARE(recorder.startUpload.count(), 1);
        QVERIFY(waitForEnd(recorder));
        QVERIFY(!recorder.firstError().startsWith(QLatin1String("Max upload")));
    }

    void badInput_isAnError_neverAnUpload_data()
    {
        QTest::addColumn<QString>("path");
        QTest::addColumn<QString>("expected");
        QTest::newRow("missing file") << "missing.png" << "File not found";
        QTest::newRow("empty file") << "empty.png" << "is empty";
        QTest::newRow("empty folder") << "emptyfolder" << "is empty";
        QTest::newRow("device") << "/dev/zero" << "File not found";
        QTest::newRow("pipe") << "pipe" << "File not found";
    }

    void badInput_isAnError_neverAnUpload()
    {
        QFETCH(QString, path);
        QFETCH(QString, expected);
        QFile(local(QStringLiteral("empty.png"))).open(QIODevice::WriteOnly);
        QDir().mkpath(local(QStringLiteral("emptyfolder/inner")));
        ::mkfifo(QFile::encodeName(local(QStringLiteral("pipe"))).constData(), 0600);
        Recorder recorder(m_exchange);
        QSignalSpy complete(Core::instance()->uploadModel(), &UploadModel::uploadComplete);
        QVERIFY(recorder.upload(path.startsWith('/') ? path : local(path)));
        QVERIFY2(recorder.failedWith(expected), qPrintable(recorder.outcome()));
        QTRY_COMPARE(complete.count(), 1);
    }

    void archive_keepsFolderStructureAsRelativeNames()
    {
        const QString folder = local(QStringLiteral("trip"));
        const QStringList files = makeFolder(folder);
        const QString loose = makeFile(local(QStringLiteral("notes.txt")), 10);
        const QString archive = ZipArchive::archivePath({folder, loose}, m_tempDir);
        QVERIFY(QFileInfo(archive).fileName().contains(
            QRegularExpression(QStringLiteral("^trip_\\d{4}-\\d\\d-\\d\\d_\\d\\d-\\d\\d-\\d\\d\\.zip$"))));
        QCOMPARE(QFileInfo(archive).absolutePath() + QLatin1Char('/'), m_tempDir);

        QCOMPARE(ZipArchive::build({folder, loose}, archive, nullptr), QString());
        QCOMPARE(zipEntries(archive), (QStringList{QStringLiteral("notes.txt"), QStringLiteral("trip/a.bin"),
                                                   QStringLiteral("trip/sub/b.txt"), QStringLiteral("trip/sub/deeper/c.bin")}));
        const QString out = local(QStringLiteral("out"));
        QCOMPARE(archivedFolderDiffers(archive, folder, files, out), QString());
        QVERIFY(sameBytes(loose, out + QStringLiteral("/notes.txt")));
        QFile::remove(archive);
    }

    // A link in a folder to a file elsewhere would send a file the user did not pick.
    void archive_leavesOutLinksOutOfTheFolder_andTellsTheUser()
    {
        const QString folder = local(QStringLiteral("linked"));
        makeFile(folder + QStringLiteral("/a.bin"), 100);
        const QString secret = makeFile(local(QStringLiteral("elsewhere/secret.txt")), 50);
        QVERIFY(QFile::link(secret, folder + QStringLiteral("/secret.txt")));
        QVERIFY(QFile::link(folder + QStringLiteral("/a.bin"), folder + QStringLiteral("/same.bin")));

        const QString archive = ZipArchive::archivePath({folder}, m_tempDir);
        QStringList leftOut;
        QCOMPARE(ZipArchive::build({folder}, archive, nullptr, &leftOut), QString());
        QCOMPARE(zipEntries(archive), (QStringList{QStringLiteral("linked/a.bin"), QStringLiteral("linked/same.bin")}));
        QCOMPARE(leftOut, QStringList{QStringLiteral("linked/secret.txt")});
        QFile::remove(archive);

        QSignalSpy notice(m_exchange, &NetworkExchange::notice);
        Recorder recorder(m_exchange);
        m_exchange->uploadData({folder}); // packed, then refused by the closed port
        QVERIFY(waitForEnd(recorder));
        QCOMPARE(notice.count(), 1);
        QVERIFY2(notice.first().first().toString().contains(QLatin1String("linked/secret.txt")),
                 qPrintable(notice.first().first().toString()));
    }

    void archive_cancelled_leavesNoFile()
    {
        const QString file = makeFile(local(QStringLiteral("cancel.bin")), 8 * 1024 * 1024);
        const QString archive = ZipArchive::archivePath({file}, m_tempDir);
        std::atomic_bool cancel{true};
        QVERIFY(!ZipArchive::build({file}, archive, &cancel).isEmpty());
        QVERIFY(!QFile::exists(archive));
    }

    void zipJob_showsArchiveRowWhilePacking()
    {
        const QString file = makeFile(local(QStringLiteral("single.png")), 2 * 1024 * 1024);
        UploadModel *model = Core::instance()->uploadModel();
        Recorder recorder(m_exchange);
        QList<bool> archiveStates;
        connect(model, &QAbstractItemModel::dataChanged, this, [&](const QModelIndex &index) {
            archiveStates.append(index.data(UploadModel::ArchiveRole).toBool());
        });

        m_exchange->uploadDataZip({file});
        QCOMPARE(model->rowCount(), 1);
        QCOMPARE(model->index(0).data(UploadModel::ArchiveRole).toBool(), true);
        QVERIFY(model->index(0).data(UploadModel::UploaderRole).value<HandlerUpload *>() != nullptr);
        QVERIFY(waitForEnd(recorder));
        disconnect(model, nullptr, this, nullptr);
        QVERIFY(archiveStates.contains(false));
        QVERIFY(recorder.firstError().contains(QLatin1String("Could not connect")));
        QTRY_COMPARE(model->rowCount(), 0);
        QTRY_VERIFY(QDir(m_tempDir).entryList({QStringLiteral("single.png_*.zip")}).isEmpty());
    }

    void cancel_whilePacking_endsJobWithoutReports()
    {
        const QString folder = local(QStringLiteral("bigfolder"));
        for (int i = 0; i < 6; ++i)
            makeFile(folder + QStringLiteral("/part%1.bin").arg(i), 16 * 1024 * 1024);
        UploadModel *model = Core::instance()->uploadModel();
        Recorder recorder(m_exchange);
        QSignalSpy complete(model, &UploadModel::uploadComplete);

        m_exchange->uploadData({folder});
        QPointer<HandlerUpload> job = model->uploader(0);
        QVERIFY(job && job->isArchive());
        m_exchange->cancelUpload();
        QCOMPARE(model->rowCount(), 0);
        QCOMPARE(complete.count(), 1);
        QTRY_VERIFY(job.isNull());
        QTRY_VERIFY_WITH_TIMEOUT(QDir(m_tempDir).entryList({QStringLiteral("bigfolder_*")}).isEmpty(), 10000);
        QTest::qWait(200);
        QCOMPARE(recorder.error.count(), 0);
        QCOMPARE(recorder.readyLink.count(), 0);
    }

    void model_signalsCompleteOnlyWhenLastJobIsGone()
    {
        UploadModel *model = Core::instance()->uploadModel();
        QList<QByteArray> roles = model->roleNames().values();
        std::sort(roles.begin(), roles.end());
        QCOMPARE(roles, (QList<QByteArray>{"archive", "download", "total", "uploader"}));
        const QString a = makeFile(local(QStringLiteral("a.png")), 100);
        const QString b = makeFile(local(QStringLiteral("b.png")), 200);
        QSignalSpy complete(model, &UploadModel::uploadComplete);
        QSignalSpy removed(model, &QAbstractItemModel::rowsRemoved);
        // A server that takes connections and never greets: the jobs wait until stopped.
        QTcpServer silent;
        QVERIFY(silent.listen(QHostAddress::LocalHost));
        Setting::instance()->setValue(SettingKeys::ftpPort, silent.serverPort());
        m_exchange->uploadScreen(a, QString(), HandlerUpload::ActionNone);
        m_exchange->uploadScreen(b, QString(), HandlerUpload::ActionNone);
        QCOMPARE(model->rowCount(), 2);
        QCOMPARE(model->index(1).data(UploadModel::TotalRole).toLongLong(), 200);
        QCOMPARE(model->index(1).data(UploadModel::DownloadRole).toLongLong(), 0);
        m_exchange->cancelUpload();
        QCOMPARE(removed.count(), 2);
        QCOMPARE(complete.count(), 1);
    }

    void qmlTypes_areRegisteredInTheirModules_data()
    {
        QTest::addColumn<QString>("source");
        QTest::addColumn<QString>("className");
        QTest::newRow("UploadModel") << "import UploadModel 1.0\nUploadModel {}" << "UploadModel";
        QTest::newRow("HandleFTPUpload") << "import MavuComponent 1.0\nHandleFTPUpload {}" << "HandleFTPUpload";
        QTest::newRow("DropboxAuth") << "import Core 1.0\nDropboxAuth {}" << "DropboxAuth";
    }

    void qmlTypes_areRegisteredInTheirModules()
    {
        QFETCH(QString, source);
        QFETCH(QString, className);
        static bool registered = false;
        if (!registered)
            NetworkExchange::registerQmlTypes();
        registered = true;
        QQmlEngine engine;
        QQmlComponent component(&engine);
        component.setData(source.toUtf8(), QUrl());
        std::unique_ptr<QObject> object(component.create());
        QVERIFY2(object, qPrintable(component.errorString()));
        QCOMPARE(QString::fromLatin1(object->metaObject()->className()), className);
    }

    void texts_areTranslatedToRussian()
    {
        QTranslator translator;
        QVERIFY(translator.load(QStringLiteral(":/translate/mavu.qm")));
        QCOMPARE(translator.translate("NetworkExchange", "Max upload total size %1"),
                 QStringLiteral("Максимальный общий размер загрузки %1"));
        QVERIFY(!translator.translate("CurlTransfer", "Upload canceled").isEmpty());
    }

    void afterActionUrl_sharesTheLink_data()
    {
        QTest::addColumn<int>("action");
        QTest::addColumn<QString>("prefix");
        QTest::newRow("facebook") << int(HandlerUpload::ActionFacebook) << "https://www.facebook.com/sharer/sharer.php?u=";
        QTest::newRow("odnoklassniki") << int(HandlerUpload::ActionOdnoklassniki) << "https://connect.ok.ru/offer?url=";
        QTest::newRow("vk") << int(HandlerUpload::ActionVK) << "https://vk.com/share.php?url=";
        QTest::newRow("twitter") << int(HandlerUpload::ActionTwitter) << "https://twitter.com/intent/tweet?url=";
        QTest::newRow("mail") << int(HandlerUpload::ActionMail) << "mailto:?subject=";
    }

    void afterActionUrl_sharesTheLink()
    {
        QFETCH(int, action);
        QFETCH(QString, prefix);
        const QString link = QStringLiteral("https://x.example/f/a b&c=1");
        const QUrl url = HandlerUpload::afterActionUrl(HandlerUpload::TypeAfterAction(action), link);
        QVERIFY2(url.toString(QUrl::FullyEncoded).startsWith(prefix), qPrintable(url.toString()));
        QVERIFY(url.toString(QUrl::FullyEncoded).contains(QLatin1String("https%3A%2F%2Fx.example%2Ff%2Fa%20b%26c%3D1")));
        QVERIFY(!HandlerUpload::afterActionUrl(HandlerUpload::ActionNone, link).isValid());
    }
};

QTEST_MAIN(UploadPipelineTest)
#include "tst_uploadpipeline.moc"
