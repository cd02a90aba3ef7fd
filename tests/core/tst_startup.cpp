// The program itself, started as a process with a HOME of its own.

#include "../harness/files.h"
#include "../harness/processes.h"
#include "../harness/xtools.h"
#include "../settings/testsupport.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"

#include <QCryptographicHash>
#include <QJsonObject>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <sys/resource.h>
#include <sys/stat.h>

namespace {

const QString doneLine = QStringLiteral("Core: constructor done");

class Program
{
public:
    explicit Program(const QString &home, bool withDisplay = true)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("HOME", home);
        QDir().mkpath(home + "/tmp");
        environment.insert("TMPDIR", home + "/tmp");
        if (withDisplay) {
            environment.insert("QT_QPA_PLATFORM", "offscreen");
        } else {
            environment.remove("DISPLAY");
            environment.remove("WAYLAND_DISPLAY");
            environment.remove("QT_QPA_PLATFORM");
        }
        process.setProcessEnvironment(environment);
        process.setProcessChannelMode(QProcess::SeparateChannels);
    }

    ~Program()
    {
        if (process.state() != QProcess::NotRunning) {
            process.kill();
            process.waitForFinished(5000);
        }
    }

    void start(const QStringList &arguments) { process.start(MAVU_PROGRAM, arguments); }

    bool finish(int msecs = 30000) { return process.waitForFinished(msecs); }

    bool waitForLine(const QString &line, int msecs = 30000)
    {
        QElapsedTimer timer;
        timer.start();
        while (!output.contains(line) && timer.elapsed() < msecs) {
            process.waitForReadyRead(200);
            output += QString::fromUtf8(process.readAllStandardOutput());
            if (process.state() == QProcess::NotRunning)
                break;
        }
        output += QString::fromUtf8(process.readAllStandardOutput());
        return output.contains(line);
    }

    QString allOutput()
    {
        output += QString::fromUtf8(process.readAllStandardOutput());
        return output;
    }

    QString allErrors()
    {
        errors += QString::fromUtf8(process.readAllStandardError());
        return errors;
    }

    QProcess process;
    QString output;
    QString errors;
};

int modeOf(const QString &path)
{
    struct stat status;
    return ::lstat(QFile::encodeName(path).constData(), &status) == 0 ? int(status.st_mode & 07777) : -1;
}

// The update notes where it was started from.
QByteArray updateScript(const QString &marker)
{
    return "#!/bin/sh\necho \"$0\" > '" + marker.toUtf8() + "'\n";
}

// What a full disk leaves of Qt's disk cache of compiled pages: every file cut, to 4,096
// bytes or half its size, or emptied.
void cutEveryFile(const QString &folder)
{
    const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Name);
    for (qsizetype i = 0; i < files.size(); ++i) {
        const qint64 size = files.at(i).size();
        QFile::resize(files.at(i).filePath(), i % 2 ? 0 : qMin<qint64>(4096, size / 2));
    }
}

// How many windows the program has on the X server: all, or those the filter lets through.
int windowsOf(const QProcess &program, const QStringList &filter = {})
{
    const QStringList search = QStringList{"search", "--pid", QString::number(program.processId())} + filter;
    return commandOutput("xdotool", search).split('\n', Qt::SkipEmptyParts).size();
}

// Starts the program on the X server and ends it once its start in a fresh HOME is complete:
// the sign-in window shown, the overlay's window made ready. What went wrong instead, or nothing.
QString startUntilItsWindowsAreReady(const QString &home)
{
    Program program(home);
    QProcessEnvironment environment = program.process.processEnvironment();
    environment.insert("QT_QPA_PLATFORM", "xcb");
    program.process.setProcessEnvironment(environment);
    program.start({});
    const bool ready = QTest::qWaitFor([&] {
        return program.process.state() == QProcess::NotRunning
            || (windowsOf(program.process, {"--onlyvisible"}) == 1 && windowsOf(program.process) == 2);
    }, 30000);
    if (program.process.state() == QProcess::Running)
        return ready ? QString() : QStringLiteral("%1 windows, none or several shown").arg(windowsOf(program.process));
    const bool crashed = program.process.exitStatus() == QProcess::CrashExit;
    return QStringLiteral("%1 %2").arg(crashed ? "crashed, signal" : "ended, exit code").arg(program.process.exitCode());
}

} // namespace

class StartupTest : public QObject
{
    Q_OBJECT
private slots:
    void usage_isPrintedWithoutDisplayOrDataFolder_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("usage");
        const QString help = QStringLiteral("Mavu help -----------------------------\n"
                                            "-full-screen - capture full screen\n"
                                            "-quick-screen - capture screen and send to mavu\n"
                                            "-screen - capture fragment screen\n"
                                            "<filename> - send file to mavu\n"
                                            "<filename> -z - send file to mavu in zip\n");
        QTest::newRow("-help after a file") << QStringList{"a.png", "-help"} << help;
        QTest::newRow("-help beside -beta") << QStringList{"-beta", "web.test", "api.test", "-help"} << help;
        QTest::newRow("-beta with one value") << QStringList{"-beta", "web.test"}
                                              << QStringLiteral("Mavu beta help -----------------------------\n"
                                                                "-beta <auth url> <api url> - for use beta server\n");
    }

    void usage_isPrintedWithoutDisplayOrDataFolder()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, usage);
        QTemporaryDir home;
        Program program(home.path(), false);
        program.start(arguments);
        QVERIFY(program.finish());
        QCOMPARE(program.process.exitCode(), 0);
        QCOMPARE(program.allOutput(), usage);
        QVERIFY(!QFileInfo::exists(home.filePath(".mavu")));
    }

    void startupLines_comeInOrder()
    {
        QTemporaryDir home;
        Program program(home.path());
        QProcessEnvironment environment = program.process.processEnvironment();
        environment.insert("MAVU_SUPPORT_HOST", "support.test"); // as scripts/run.sh starts it
        program.process.setProcessEnvironment(environment);
        program.start({"-beta", "web.test", "api.test"});
        QVERIFY2(program.waitForLine(doneLine), qPrintable(program.allOutput()));
        const QStringList expected{"!!!!!!! ------------------- START BETA MODE --------------------- !!!!!!",
                                   "!!!!!!! ------------------- web.test api.test  --------------------- !!!!!!",
                                   "Core: init vars",
                                   "Core: creating Autorization",
                                   "Core: creating NetworkExchange",
                                   "Core: scheduling showMainWindow",
                                   doneLine};
        const QStringList lines = program.allOutput().split('\n');
        int at = -1;
        for (const QString &line : expected) {
            const int next = lines.indexOf(line, at + 1);
            QVERIFY2(next > at, qPrintable("missing or out of order: " + line));
            at = next;
        }
        QVERIFY(lines.indexOf("settings") > lines.indexOf("Core: init vars"));
    }

    void debugLines_onlyWithMavuDebug_data()
    {
        QTest::addColumn<bool>("debug");
        QTest::newRow("MAVU_DEBUG unset") << false;
        QTest::newRow("MAVU_DEBUG set, empty") << true;
    }

    // The debug lines of main and the settings store (hundreds in a session) reach the
    // terminal only when asked for; warnings always do.
    void debugLines_onlyWithMavuDebug()
    {
        QFETCH(bool, debug);
        QTemporaryDir home;
        Program program(home.path());
        QProcessEnvironment environment = program.process.processEnvironment();
        environment.remove("MAVU_DEBUG");
        environment.remove("QT_LOGGING_RULES");
        if (debug)
            environment.insert("MAVU_DEBUG", "");
        program.process.setProcessEnvironment(environment);
        program.start({});
        QVERIFY(program.waitForLine(doneLine));
        // No X here: the hotkeys fail after main's and the store's first debug lines.
        QTRY_VERIFY_WITH_TIMEOUT(program.allErrors().contains("QxtGlobalShortcut failed to register"), 20000);
        QCOMPARE(program.allErrors().contains("SingleApplication disabled for debugging..."), debug);
        QCOMPARE(program.allErrors().contains("bool Setting::connectDatabase()"), debug);
    }

    // The update runs from a folder only its user can enter, never from the shared
    // temporary folder. Nothing of it stays behind: the next start removes the folder it
    // was started from and what a download cut off left in the update folder.
    void pendingUpdate_isStartedFromThePrivateFolder_andNothingOfItStaysBehind()
    {
        QTemporaryDir home;
        const QString marker = home.filePath("update-ran");
        const QByteArray script = updateScript(marker);
        QVERIFY(writeFile(home.filePath(".mavu/update/Mavu.exe"), script));
        QVERIFY(writeFile(home.filePath(".mavu/update/Mavu.exe.sha256"),
                          QCryptographicHash::hash(script, QCryptographicHash::Sha256).toHex() + "\n"));
        Program program(home.path());
        program.start({});
        QVERIFY(program.finish());
        QCOMPARE(program.process.exitCode(), 0);
        QVERIFY(!program.allOutput().contains(doneLine));
        QTRY_VERIFY_WITH_TIMEOUT(QFile(marker).size() > 0, 10000);
        QVERIFY(!QFileInfo::exists(home.filePath(".mavu/update")));
        const QFileInfo started(QString::fromUtf8(readFile(marker)).trimmed());
        QCOMPARE(started.dir().dirName().left(11), QStringLiteral("update-run-"));
        QCOMPARE(started.dir().absolutePath(), home.filePath(".mavu/") + started.dir().dirName());
        QCOMPARE(modeOf(started.path()), 0700);
        QCOMPARE(QDir(home.filePath("tmp")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot), QStringList());

        QVERIFY(writeFile(home.filePath(".mavu/update/package-a1B2c3"), "half a package"));
        Program next(home.path());
        next.start({});
        QVERIFY(next.waitForLine(doneLine));
        QVERIFY(!started.dir().exists());
        QVERIFY(!QFileInfo::exists(home.filePath(".mavu/update")));
    }

    // An escape sequence from the service neither retitles nor clears the terminal. The
    // file goes up under a name that is no valid text: main hands it over by its bytes.
    void refusedLinkFromTheService_reachesTheTerminalEscaped()
    {
        QTemporaryDir home;
        QTemporaryDir serviceFolder;
        HttpsStandIn service;
        QVERIFY(service.start(QStringLiteral(MAVU_TEST_DIR "/../service/mavu_service.py"), serviceFolder.path()));
        service.post("/_test/token", {{"token", "startup-token"}});
        service.configure({{"record_reply", QJsonObject{{"alternateLink", "\x1b]0;PWNED\x07\x1b[2J"}}}});
        QVERIFY(QDir().mkpath(home.filePath(".mavu")));
        QCOMPARE(QProcess::execute("sqlite3", {home.filePath(".mavu/setting"),
                                               "CREATE TABLE Settings (name VARCHAR PRIMARY KEY NOT NULL, value TEXT);"
                                               "INSERT INTO Settings VALUES ('token', 'startup-token');"}), 0);
        Program program(home.path());
        QProcessEnvironment environment = program.process.processEnvironment();
        environment.insert("MAVU_CA_FILE", serviceFolder.filePath("cert.pem"));
        environment.insert("MAVU_SUPPORT_HOST", service.host());
        program.process.setProcessEnvironment(environment);
        // \351 is the byte 0xe9: no valid UTF-8.
        program.process.start("/bin/sh", {"-c", "name=$(printf \"$2\") && echo picture > \"$name\" && "
                                                "exec \"$0\" -beta \"$1\" \"$1\" \"$name\"",
                                          MAVU_PROGRAM, service.host(), home.filePath("shot\\351.png")});
        QTRY_VERIFY_WITH_TIMEOUT(program.allErrors().contains("refused link:"), 30000);
        QVERIFY2(program.allErrors().contains("refused link: \\x1b]0;PWNED\\x07\\x1b[2J"), qPrintable(program.allErrors()));
        QVERIFY(!(program.allErrors() + program.allOutput()).contains(QChar(0x1b)));
    }

    void tamperedUpdate_isDroppedAndTheProgramStarts()
    {
        QTemporaryDir home;
        const QString marker = home.filePath("update-ran");
        QVERIFY(writeFile(home.filePath(".mavu/update/Mavu.exe"), updateScript(marker)));
        QVERIFY(writeFile(home.filePath(".mavu/update/Mavu.exe.sha256"), QByteArray(64, 'a')));
        Program program(home.path());
        program.start({});
        QVERIFY(program.waitForLine(doneLine));
        QVERIFY(!QFileInfo::exists(home.filePath(".mavu/update")));
        QTest::qWait(300);
        QVERIFY(!QFile::exists(marker));
    }

    // Folders and files left readable by others are made private at start; new ones are
    // private from the start.
    void looseDataFolder_isMadePrivateAtStart()
    {
        QTemporaryDir home;
        const QString data = home.filePath(".mavu/");
        QVERIFY(writeFile(data + "tmp/old.png", "png"));
        QVERIFY(writeFile(data + "error.log", ""));
        QProcess::execute("sqlite3", {data + "setting", "CREATE TABLE Settings (name VARCHAR PRIMARY KEY NOT NULL, value TEXT);"});
        for (const QString &path : {data, data + "tmp", data + "setting", data + "error.log"})
            QFile::setPermissions(path, QFileDevice::Permissions(0x7755)); // 0755, readable by all
        Program program(home.path());
        program.start({});
        QVERIFY(program.waitForLine(doneLine));
        QTRY_VERIFY(QFile::exists(data + "proxy_connect.log"));
        QCOMPARE(modeOf(data), 0700);
        QCOMPARE(modeOf(data + "tmp"), 0700);
        for (const char *file : {"setting", "error.log", "instance.lock", "proxy_connect.log"})
            QVERIFY2(modeOf(data + file) == 0600, file);
    }

    void linkedDataFolder_isNotUsed_andTheUserIsTold()
    {
        QTemporaryDir home;
        QTemporaryDir elsewhere;
        QVERIFY(QFile::link(elsewhere.path(), home.filePath(".mavu")));
        Program program(home.path());
        program.start({});
        QVERIFY(program.waitForLine(doneLine));
        QTRY_VERIFY_WITH_TIMEOUT(program.allErrors().contains("void Logging::writeMessage(QString)"), 20000); // the failed update check
        QCOMPARE(QDir(elsewhere.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden),
                 QStringList());
        QVERIFY2(program.allErrors().contains("showErrorWidget(QString) \"Mavu does not keep its settings"),
                 qPrintable(program.allErrors()));
    }

    // The window that tells of it is no reason to make a second controller (with a tray
    // icon of its own) while the first is being made.
    void damagedSettingsFile_isKeptAside_andTheUserIsTold()
    {
        QTemporaryDir home;
        QVERIFY(writeFile(home.filePath(".mavu/setting"), QByteArray(4096, 'x')));
        Program program(home.path());
        program.start({});
        QVERIFY(program.waitForLine(doneLine));
        QCOMPARE(QDir(home.filePath(".mavu")).entryList({"setting.damaged-*"}).size(), 1);
        QTRY_VERIFY2(program.allErrors().contains("showErrorWidget(QString) \"The settings file was damaged"),
                     qPrintable(program.allErrors()));
        QCOMPARE(program.allOutput().count("Core: init vars"), 1);
    }

    void secondInstance_keepsTheTemporaryFilesOfTheFirst()
    {
        QTemporaryDir home;
        Program first(home.path());
        first.start({});
        QVERIFY(first.waitForLine(doneLine));
        const QString capture = home.filePath(".mavu/tmp/1700000000000.png");
        QVERIFY(writeFile(capture, "png"));
        {
            Program second(home.path());
            second.start({});
            QVERIFY(second.waitForLine(doneLine));
            QVERIFY(QFile::exists(capture));
        }
        first.process.kill();
        first.finish();
        Program alone(home.path());
        alone.start({});
        QVERIFY(alone.waitForLine(doneLine));
        QVERIFY(!QFile::exists(capture));
    }

    // Started from a shell under `ulimit -f`: a write past the limit is an error the user
    // is told of, never the end of the program. Here the archive of a file larger than it.
    void fileSizeLimit_failsTheWrite_notTheProgram()
    {
        const QString home = QDir::homePath(); // the sign-in is stored there
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("limit-token"));
        Setting::instance()->sync();
        const QString big = home + "/big.bin";
        QVERIFY(writeFile(big, randomBytes(3 << 20)));
        Program program(home);
        program.process.setChildProcessModifier([] {
            std::signal(SIGXFSZ, SIG_DFL); // what a shell leaves to the programs it starts
            rlimit limit{};
            ::getrlimit(RLIMIT_FSIZE, &limit);
            limit.rlim_cur = 2 << 20;
            ::setrlimit(RLIMIT_FSIZE, &limit);
        });
        program.start({big, "-z"});
        QVERIFY(program.process.waitForStarted());
        const QString error = "showErrorWidget(QString) \"Cannot write the archive: File too large\"";
        QTRY_VERIFY2_WITH_TIMEOUT(program.allErrors().contains(error) || program.process.state() != QProcess::Running,
                                  qPrintable(program.allErrors()), 30000);
        QVERIFY2(program.allErrors().contains(error), qPrintable(program.allErrors()));
        QCOMPARE(program.process.state(), QProcess::Running);
        QCOMPARE(QDir(home + "/.mavu/tmp").entryList(QDir::Files), QStringList());
    }

    // The pages are compiled into the program: a start neither leaves Qt's disk cache of
    // them behind nor trips over one that a full disk cut.
    void cutPageCache_doesNotKeepTheWindowFromShowing()
    {
        QTemporaryDir home;
        QCOMPARE(startUntilItsWindowsAreReady(home.path()), QString());
        const QString cache = home.filePath(".cache/Mavu/qmlcache/");
        cutEveryFile(cache);
        QCOMPARE(startUntilItsWindowsAreReady(home.path()), QString());
    }

    // The sign-in is a stored value. While another program has held the settings file since
    // the start, a user who is not signed in is not asked on the defaults (a signed-in one
    // would be asked too), but once the file is free and the stored values are read.
    void settingsFileHeldAtStart_signInIsAskedOnceTheFileIsRead()
    {
        QTemporaryDir home;
        const QString file = home.filePath(".mavu/setting");
        QVERIFY(QDir().mkpath(home.filePath(".mavu")));
        QCOMPARE(sqlite(file, "CREATE TABLE Settings (name VARCHAR PRIMARY KEY NOT NULL, value TEXT);"), QStringList());
        QProcess holder;
        QVERIFY(holdDatabase(holder, file, "sys.stdin.read()"));
        Program program(home.path());
        QProcessEnvironment environment = program.process.processEnvironment();
        environment.insert("QT_QPA_PLATFORM", "xcb");
        program.process.setProcessEnvironment(environment);
        program.start({});
        const QSize signInPage(430, 360);
        // Told from the event loop, after the start has checked the sign-in.
        QTRY_COMPARE_WITH_TIMEOUT(windowsOf(program.process, {"--all", "--onlyvisible", "--name", "^Mavu - Error$"}), 1,
                                  30000);
        QCOMPARE(shownWindowsOfSize(program.process.processId(), signInPage), 0);
        holder.closeWriteChannel();
        QVERIFY(holder.waitForFinished(10000));
        QTRY_COMPARE_WITH_TIMEOUT(shownWindowsOfSize(program.process.processId(), signInPage), 1, 20000);
    }

    void unreadableLocks_holdNothingBack_data()
    {
        QTest::addColumn<QByteArray>("lock");
        QTest::newRow("empty") << QByteArray();
        QTest::newRow("garbled") << QByteArray("\x01\xfe not a lock\n");
    }

    // A lock that names no holder (a crash while it was written) keeps neither the
    // temporary files nor an unsent capture from the start; one left without its capture goes.
    void unreadableLocks_holdNothingBack()
    {
        QFETCH(QByteArray, lock);
        QTemporaryDir home;
        const QString unsent = home.filePath(".mavu/unsent/");
        for (const QString &path : {home.filePath(".mavu/instance.lock"), unsent + "1700000000000.png.lock",
                                    unsent + "1600000000000.png.lock"})
            QVERIFY(writeFile(path, lock));
        QVERIFY(writeFile(unsent + "1700000000000.png", "png"));
        const QString capture = home.filePath(".mavu/tmp/1700000000000.png");
        QVERIFY(writeFile(capture, "png"));
        Program program(home.path());
        program.start({});
        QVERIFY(program.waitForLine(doneLine));
        QVERIFY(!QFile::exists(capture));
        QTRY_VERIFY_WITH_TIMEOUT(program.allErrors().contains("The capture 1700000000000.png was not uploaded"), 20000);
        QVERIFY(!QFile::exists(unsent + "1600000000000.png.lock"));
    }
};

QTEST_GUILESS_MAIN(StartupTest)
#include "tst_startup.moc"
