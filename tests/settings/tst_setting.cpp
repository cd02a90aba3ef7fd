#include "../harness/files.h"
#include "settings/constants.h"
#include "settings/setting.h"
#include "testsupport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QRegularExpression>
#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <unistd.h>

namespace {

QStringList capturedMessages;

void captureMessage(QtMsgType, const QMessageLogContext &, const QString &message)
{
    capturedMessages.append(message);
}

QString databaseFile()
{
    return m_pathSettings + QStringLiteral("setting");
}

QString storedValue(const QString &name)
{
    Setting::instance()->sync();
    const QStringList rows = sqlite(databaseFile(), QStringLiteral("SELECT value FROM Settings WHERE name = '%1'").arg(name));
    return rows.isEmpty() ? QStringLiteral("<no row>") : rows.join(QLatin1Char('\n'));
}

QString python(const QString &mode, const QString &passphrase, const QString &text)
{
    QProcess process;
    process.start(QStringLiteral("python3"), {QStringLiteral(MAVU_TEST_DIR "/aesgcm.py"), mode, passphrase, text});
    process.waitForFinished(20000);
    return QString::fromUtf8(process.readAllStandardOutput());
}

QString autostartEntryPath()
{
    return QDir::homePath() + QStringLiteral("/.config/autostart/Mavu.desktop");
}

QFileDevice::Permissions ownerPermissions(const QString &path)
{
    return QFile::permissions(path) & QFileDevice::Permissions(0x7077);
}

// A HOME whose settings file holds a table and the given rows.
QString prepareHome(const QTemporaryDir &home, const QString &rows)
{
    QDir().mkpath(home.path() + "/.mavu");
    const QString file = home.path() + "/.mavu/setting";
    sqlite(file, "CREATE TABLE Settings (name VARCHAR PRIMARY KEY NOT NULL, value TEXT);" + rows);
    return file;
}

// Runs the settings probe (settings_probe.cpp) in home; returns its output lines without
// the store's own progress lines. As root the probe runs as "nobody", for whom file
// permissions hold.
QStringList probe(const QTemporaryDir &home, const QStringList &arguments)
{
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert("HOME", home.path());
    process.setProcessEnvironment(environment);
    if (::getuid() == 0) {
        QProcess::execute("chown", {"-R", "nobody:nogroup", home.path()});
        process.start("setpriv", QStringList{"--reuid=nobody", "--regid=nogroup", "--clear-groups", PROBE_PATH} + arguments);
    } else {
        process.start(PROBE_PATH, arguments);
    }
    if (!process.waitForFinished(60000))
        return {"probe did not finish"};
    static const QRegularExpression probeLine("^(problem: |\\w+=)");
    return QString::fromUtf8(process.readAllStandardOutput()).split('\n').filter(probeLine);
}

const QString token = QStringLiteral("tok-SECRET-4711");
const QString password = QStringLiteral("hunter2-SECRET");
const QString proxyPassword = QStringLiteral("proxy-SECRET-99");

} // namespace

class SettingTest : public QObject
{
    Q_OBJECT

    Setting *settings = nullptr;

private slots:
    void initTestCase()
    {
        qInstallMessageHandler(captureMessage);
        settings = Setting::instance();
    }

    void constants_followTheHomeFolder()
    {
        const QString home = QString::fromLocal8Bit(qgetenv("HOME"));
        QCOMPARE(m_pathSettings, home + "/.mavu/");
        QCOMPARE(m_tempDir, home + "/.mavu/tmp/");
        QCOMPARE(m_audioTempDir, home + "/.mavu/tmp/audio/");
        QCOMPARE(m_updatePath, home + "/.mavu/update/");
        QCOMPARE(m_logFileName, home + "/.mavu/error.log");
        QCOMPARE(m_mainFontColor, QColor(0x25, 0x28, 0x2c));
        QCOMPARE(settings->getValue("mainFontFamily").toString(), QStringLiteral("Arial"));
    }

    void firstStart_createsPrivateFoldersAndDatabase()
    {
        const QFileDevice::Permissions folder = QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner;
        QCOMPARE(ownerPermissions(m_pathSettings), folder);
        QCOMPARE(ownerPermissions(m_tempDir), folder);
        QCOMPARE(ownerPermissions(databaseFile()), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
        settings->sync();
        QCOMPARE(sqlite(databaseFile(), "SELECT count(*) FROM Settings"), QStringList{"24"});
        QCOMPARE(storedValue("type_upload"), QStringLiteral("mavu"));
        QCOMPARE(sqlite(databaseFile(), "SELECT name FROM Settings ORDER BY rowid DESC LIMIT 1"), QStringList{"type_upload"});
    }

    void newDatabase_readsDefaultsAndMissingKeys()
    {
        QCOMPARE(settings->getValue("fragmentScreen"), QVariant(QStringLiteral("1")));
        QCOMPARE(settings->getValue("showMagnifier"), QVariant(false));
        QCOMPARE(settings->getValue("shortLink"), QVariant(false));
        QCOMPARE(settings->getValue("type_upload").toString(), QStringLiteral("mavu"));
        QCOMPARE(settings->getValue("ftp_user"), QVariant(QString()));
        QCOMPARE(settings->getValue("ftp_password"), QVariant(QString()));
        QVERIFY(!settings->getValue("lastSavePath").isValid());
        QVERIFY(!settings->getValue("token").isValid());
        QCOMPARE(settings->getValue("keySendScreen").toString(), QStringLiteral("Ctrl + Enter"));
        QCOMPARE(settings->property("showMagnifier"), QVariant(false));
        QCOMPARE(settings->property("colorColorLine"), QVariant(7));
        QCOMPARE(settings->property("typeUpload"), QVariant(QStringLiteral("mavu")));
        QCOMPARE(settings->property("currentHostUrl").toString(), QStringLiteral("mavu.example"));
        QCOMPARE(settings->property("userAvatar").toString(), QStringLiteral("qrc:/images/images/avatar_default.png"));
    }

    void writeThenRead_isServedAtOnceAndStored()
    {
        settings->setValue("lastSavePath", "/tmp/shots");
        QCOMPARE(settings->getValue("lastSavePath").toString(), QStringLiteral("/tmp/shots"));
        QCOMPARE(storedValue("lastSavePath"), QStringLiteral("/tmp/shots"));
        settings->setValue("count_screen", 3);
        QCOMPARE(storedValue("count_screen"), QStringLiteral("3"));
    }

    void unchangedValue_writesNoRowButStillEmits()
    {
        QSignalSpy changed(settings, &Setting::valueChanged);
        settings->setValue("probe", QStringLiteral("x"));
        QCOMPARE(storedValue("probe"), QStringLiteral("x"));
        sqlite(databaseFile(), "DELETE FROM Settings WHERE name = 'probe'");
        settings->setValue("probe", QStringLiteral("x"));
        QCOMPARE(storedValue("probe"), QStringLiteral("<no row>"));
        QCOMPARE(changed.count(), 2);
        QCOMPARE(changed.at(1), (QVariantList{"probe", QStringLiteral("x")}));
    }

    void credentialWithoutToken_isStoredEmpty()
    {
        settings->setValue("sftp_user", "bob");
        settings->sync();
        QCOMPARE(sqlite(databaseFile(), "SELECT typeof(value) || ':' || value FROM Settings WHERE name = 'sftp_user'"),
                 QStringList{"text:"});
        QCOMPARE(settings->getValue("sftp_user").toString(), QString());
    }

    void emptyCredentialOverEmptyCache_writesNothing()
    {
        QSignalSpy changed(settings, &Setting::valueChanged);
        settings->getValue("ftp_user");
        settings->setValue("ftp_user", QString());
        QCOMPARE(storedValue("ftp_user"), QStringLiteral("<no row>"));
        QCOMPARE(changed.count(), 1);
    }

    void credential_decryptsWithIndependentImplementation()
    {
        settings->setValue("token", token);
        settings->setValue("ftp_password", password);
        QCOMPARE(python("decrypt", token, storedValue("ftp_password")), password);
        QCOMPARE(settings->getValue("ftp_password").toString(), password);
    }

    void independentCiphertext_readsBackAsPlaintext()
    {
        const QString stored = python("encrypt", token, "dropbox-access");
        settings->setValue("drop_box_token_apiv2", stored); // as it is, as a file holds it
        QCOMPARE(settings->getValue("drop_box_token_apiv2", true).toString(), QStringLiteral("dropbox-access"));
    }

    void samePasswordTwice_givesTwoCiphertextsThatBothRead()
    {
        settings->setValue("sftp_password", password);
        const QString first = storedValue("sftp_password");
        settings->setValue("sftp_password", password);
        const QString second = storedValue("sftp_password");
        QVERIFY(first != second);
        QCOMPARE(python("decrypt", token, first), password);
        QCOMPARE(python("decrypt", token, second), password);
        QCOMPARE(settings->getValue("sftp_password").toString(), password);
    }

    void secrets_neverReachTheDebugStream()
    {
        settings->setValue("proxy_password", proxyPassword);
        settings->getValue("token");
        const QString all = capturedMessages.join(QLatin1Char('\n'));
        QVERIFY(!capturedMessages.isEmpty());
        QVERIFY(!all.contains(token));
        QVERIFY(!all.contains(password));
        QVERIFY(!all.contains(proxyPassword));
        QVERIFY(!all.contains(QStringLiteral("dropbox-access")));
    }

    void newToken_makesStoredCredentialsReadEmpty()
    {
        settings->setValue("token", QStringLiteral("another-token"));
        QCOMPARE(settings->getValue("ftp_password").toString(), QString());
        QCOMPARE(settings->getValue("sftp_password").toString(), QString());
    }

    void widthColorLine_writesOnlyWhenChanged()
    {
        QSignalSpy changed(settings, &Setting::valueChanged);
        settings->setWidthColorLine(settings->widthColorLine());
        QCOMPARE(changed.count(), 0);
        settings->setWidthColorLine(5);
        QCOMPARE(changed.count(), 1);
        QCOMPARE(changed.at(0), (QVariantList{"widthColorLine", 5}));
    }

    void lastGraphTools_emitsItsOwnSignal()
    {
        QSignalSpy tools(settings, &Setting::lastGraphToolsChanged);
        settings->setProperty("lastGraphTools", QStringLiteral("Pen"));
        QCOMPARE(tools.count(), 1);
        QCOMPARE(settings->property("lastGraphTools").toString(), QStringLiteral("Pen"));
    }

    void autostartOn_writesEntryCreatingMissingFolders()
    {
        QDir(QDir::homePath() + "/.config").removeRecursively();
        settings->setValue("autostart", 1);
        QFile entry(autostartEntryPath());
        QVERIFY(entry.open(QIODevice::ReadOnly));
        const QStringList lines = QString::fromUtf8(entry.readAll()).split('\n');
        QCOMPARE(lines, (QStringList{
            "[Desktop Entry]", "Type=Application",
            "Exec='" + QCoreApplication::applicationFilePath() + "'",
            "Hidden=false", "NoDisplay=false", "Name=Voza-rudaz", ""}));
    }

    // Replaced whole or not at all, and the user hears of it.
    void autostartOn_pastAFileSizeLimit_keepsTheEntryAndTellsWhy()
    {
        settings->setValue("autostart", 1);
        settings->sync(); // no write of the database runs into the limit
        const QByteArray entry = readFile(autostartEntryPath());
        settings->takeProblems();
        {
            const FileSizeLimit limit(20);
            settings->changeValue("autostart", true);
        }
        QCOMPARE(readFile(autostartEntryPath()), entry);
        QCOMPARE(settings->takeProblems(),
                 QStringList{"The autostart entry " + autostartEntryPath()
                             + " cannot be written (File too large): Mavu may not start when you log in."});
    }

    void autostartOff_removesEntryAndReportsWhenNoneIsLeft()
    {
        settings->setValue("autostart", 0);
        QVERIFY(!QFile::exists(autostartEntryPath()));
        capturedMessages.clear();
        settings->setValue("autostart", 0);
        QVERIFY(capturedMessages.join('\n').contains(QStringLiteral("can`t remove autorun")));
    }

    // Every binding hears the writes in this order, and the database holds them.
    void resetDefault_writesTheDefaultsInOrderAndNotifiesEveryBinding()
    {
        settings->setValue("showCloseSurfaceWindow", 0);
        settings->setValue("saveScreenFolder", "/keep/me");
        QStringList written;
        connect(settings, &Setting::valueChanged, this, [&](const QString &name, const QVariant &value) {
            written << name + '=' + value.toString();
        });
        settings->resetDefault();
        disconnect(settings, &Setting::valueChanged, this, nullptr);
        const QStringList defaults{
            "fragmentScreen=1", "quickFragmentScreen=1", "snapshotFull=1", "sendScreen=1", "show_upload=1",
            "show_last_upload=1", "useProxy=0", "qualityImage=1", "autostart=1", "useSaveScreen=0",
            "visibleColorPanel=1", "showMagnifier=1", "showActiveWindow=1", "showCloseSurfaceWindow=1",
            "colorColorLine=7", "keyFragmentScreen=Print Screen", "keyQuickFragmentScreen=Shift + Print Screen",
            "keySnapshotScreen=Ctrl + Shift + Print Screen"};
        QCOMPARE(written, defaults + QStringList{"="});
        QVERIFY(QFile::exists(autostartEntryPath()));
        for (const QString &row : defaults)
            QCOMPARE(row.section('=', 0, 0) + '=' + storedValue(row.section('=', 0, 0)), row);
        QCOMPARE(storedValue("saveScreenFolder"), QStringLiteral("/keep/me"));
    }

    void language_switchesCatalogueAndEmitsInOrder()
    {
        QStringList order;
        connect(settings, &Setting::valueChanged, this, [&](const QString &name) { order << name; });
        connect(settings, &Setting::languageChanged, this, [&] { order << "languageChanged"; });
        settings->setLanguage("en");
        QCOMPARE(order, (QStringList{"language", "languageChanged"}));
        QCOMPARE(QCoreApplication::translate("Autorization", "E-mail is not valid"),
                 QStringLiteral("Please enter a valid E-mail address"));
        settings->setLanguage("ru");
        QCOMPARE(QCoreApplication::translate("Autorization", "No password"),
                 QStringLiteral("Не указан пароль"));
        disconnect(settings, nullptr, this, nullptr);
    }

    void unknownLanguage_loadsNothingButStillNotifies()
    {
        QSignalSpy languageChanged(settings, &Setting::languageChanged);
        settings->setValue("language", "de");
        settings->checkTranslate();
        QCOMPARE(languageChanged.count(), 1);
    }

    void clientId_isAStableUuid()
    {
        const QString id = settings->getUserId();
        QVERIFY(QRegularExpression("^[0-9a-f]{8}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{4}-[0-9a-f]{12}$").match(id).hasMatch());
        QCOMPARE(settings->getUserId(), id);
        QCOMPARE(QSettings("wn", "mavu").value("cid").toString(), id);
    }

    // Another program holds the database for a brief transaction at start, shorter than the
    // store's wait: the store waits for it and never writes its default over the value it
    // could not read yet. The wait is long here, so that a slow machine cannot stretch the
    // transaction past it.
    void briefLockAtStart_isWaitedFor_andNothingOverwritten()
    {
        QTemporaryDir home;
        const QString file = prepareHome(home, "INSERT INTO Settings VALUES ('type_upload', 'ftp');");
        QProcess holder;
        QVERIFY(holdDatabase(holder, file, "time.sleep(0.4)"));
        const QStringList lines = probe(home, {"--busy-timeout=20000", "type_upload"});
        holder.waitForFinished(10000);
        QCOMPARE(lines, QStringList{"type_upload=ftp"}); // and no problem: a lock is no damage
        QCOMPARE(sqlite(file, "SELECT value FROM Settings WHERE name = 'type_upload'"), QStringList{"ftp"});
    }

    // Held past the busy timeout: the run goes on with the defaults (its hotkeys among them),
    // tells the user once, and writes nothing over the stored values.
    void databaseLockedPastTheWait_runsOnDefaults_toldOnce_storedValuesKept()
    {
        QTemporaryDir home;
        const QString file = prepareHome(home, "INSERT INTO Settings VALUES ('keyFragmentScreen', 'Alt + F9');");
        QProcess holder;
        QVERIFY(holdDatabase(holder, file, "sys.stdin.read()"));
        const QStringList lines = probe(home, {"--busy-timeout=300", "keyFragmentScreen", "keyFragmentScreen", "F2"});
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(10000));
        QCOMPARE(lines.value(0), QStringLiteral("keyFragmentScreen=Ctrl + Print"));
        QCOMPARE(lines.filter(QRegularExpression("^problem: .*in use by another program")).size(), 1);
        QCOMPARE(lines.size(), 2);
        QCOMPARE(sqlite(file, "SELECT name || '=' || value FROM Settings"), QStringList{"keyFragmentScreen=Alt + F9"});
    }

    // Taken by another program while the store runs: no request waits for it (a wait
    // would freeze the windows), the user is told once, the values stay in memory and the
    // writes reach the file once it is free.
    void databaseLockedWhileRunning_waitsForNothing_toldOnce_writesKept_data()
    {
        QTest::addColumn<bool>("exclusive");
        QTest::newRow("held exclusively") << true;
        QTest::newRow("held by a reader: commits wait") << false;
    }

    void databaseLockedWhileRunning_waitsForNothing_toldOnce_writesKept()
    {
        QFETCH(bool, exclusive);
        sqlite(databaseFile(), "DELETE FROM Settings WHERE name LIKE 'runLocked_%'");
        settings->setValue("runLocked_before", QString::number(exclusive));
        settings->sync();
        settings->takeProblems();
        // Taken as they come, before a controller made by an earlier test would show them.
        QStringList told;
        QObject taker;
        connect(settings, &Setting::problemFound, &taker, [this, &told] { told += settings->takeProblems(); });
        QProcess holder;
        QVERIFY(holdDatabase(holder, databaseFile(), "sys.stdin.read()", exclusive));
        QElapsedTimer requests;
        requests.start();
        const QString kept = "kept" + QString::number(exclusive);
        for (const char *key : {"runLocked_first", "runLocked_second"}) {
            settings->setValue(key, kept);
            settings->sync();
            QCOMPARE(settings->getValue(QString(key) + "_unread"), QVariant());
            QCOMPARE(settings->getValue(key).toString(), kept);
        }
        // A wait for the lock would take a busy timeout for each request.
        QVERIFY2(requests.elapsed() < 5000, qPrintable(QString::number(requests.elapsed())));
        QTRY_VERIFY(!told.isEmpty());
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(10000));
        QTRY_COMPARE_WITH_TIMEOUT(sqlite(databaseFile(), "SELECT value FROM Settings WHERE name LIKE 'runLocked_%' ORDER BY name"),
                                  (QStringList{QString::number(exclusive), kept, kept}), 10000);
        QCOMPARE(told.size(), 1);
        QVERIFY2(told.first().contains(databaseFile()), qPrintable(told.first())); // in either language
    }

    void readOnlyFile_isReportedOnce()
    {
        QTemporaryDir home;
        const QString file = prepareHome(home, "INSERT INTO Settings VALUES ('type_upload', 'ftp');");
        QFile::setPermissions(file, QFileDevice::ReadOwner);
        const QStringList lines = probe(home, {"type_upload", "lastSavePath", "/a", "count_screen", "4"});
        QCOMPARE(lines.first(), QStringLiteral("type_upload=ftp"));
        QCOMPARE(lines.filter(QRegularExpression("^problem: ")).size(), 1);
        QVERIFY2(lines.last().contains("read-only"), qPrintable(lines.last()));
    }

    void quitRightAfterWrites_losesNothing()
    {
        QTemporaryDir home;
        QProcess writer;
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home.path());
        writer.setProcessEnvironment(environment);
        writer.start(QUIT_WRITER_PATH, {"lastWritten", "kept"});
        QVERIFY(writer.waitForFinished(30000));
        QCOMPARE(writer.exitCode(), 0);
        const QString file = home.path() + "/.mavu/setting";
        QCOMPARE(sqlite(file, "SELECT value FROM Settings WHERE name = 'lastWritten'"), QStringList{"kept"});
        QCOMPARE(sqlite(file, "SELECT count(*) FROM Settings WHERE name LIKE 'lastWritten_%'"), QStringList{"200"});
    }
};

QTEST_GUILESS_MAIN(SettingTest)
#include "tst_setting.moc"
