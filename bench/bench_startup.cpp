// Start-up of the program to armed hotkeys, and its resident memory when idle; the same
// start with 2,000 captures an earlier run left in the unsent folder; and 30 quick captures
// that wait while another program has held the settings file since before the start.
// Needs an X server: xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/bench_startup
// (with HOME pointing at a throw-away folder); "-screen 0 3840x2160x24" for 4K captures.

#include "../tests/settings/testsupport.h"
#include "processstatus.h"

#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

namespace {

const QByteArray hotkeysArmed = "Setting up signal/slot connections...";

bool waitForOutput(QProcess &program, const QByteArray &line)
{
    QByteArray output;
    QElapsedTimer timer;
    timer.start();
    while (!output.contains(line) && timer.elapsed() < 30000 && program.state() != QProcess::NotRunning) {
        program.waitForReadyRead(5);
        output += program.readAll();
    }
    return output.contains(line);
}

void startProgram(QProcess &program)
{
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.setProcessEnvironment(withDebugLines());
    program.start(MAVU_PROGRAM, {});
}

// User and system time the process has used so far, in clock ticks; -1 when unreadable.
qint64 cpuTicks(qint64 process)
{
    QFile stat(QStringLiteral("/proc/%1/stat").arg(process));
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    // After the command in parentheses: the state is field 3, utime field 14, stime field 15.
    const QList<QByteArray> fields = stat.readAll().split(')').last().trimmed().split(' ');
    return fields.size() > 12 ? fields.at(11).toLongLong() + fields.at(12).toLongLong() : -1;
}

// Waits until the program has used no CPU time for a second; returns the milliseconds from
// `started` to its last busy moment, -1 when it is still busy after three minutes.
qint64 busyFor(const QProcess &program, const QElapsedTimer &started)
{
    qint64 ticks = -1;
    qint64 lastBusy = 0;
    while (started.elapsed() < 180000) {
        const qint64 now = cpuTicks(program.processId());
        if (now != ticks) {
            ticks = now;
            lastBusy = started.elapsed();
        } else if (started.elapsed() - lastBusy >= 1000) {
            return lastBusy;
        }
        QTest::qSleep(20);
    }
    return -1;
}

struct StartFigures
{
    qint64 busyMsecs = -1;
    qint64 peakKilobytes = -1;
    qint64 residentKilobytes = -1;
};

// Starts the program with this HOME (its output to a file, which never fills as a pipe
// would), waits until it is idle and kills it.
StartFigures measureStart(const QString &home)
{
    QProcess program;
    QProcessEnvironment environment = withDebugLines();
    environment.insert(QStringLiteral("HOME"), home);
    program.setProcessEnvironment(environment);
    program.setProcessChannelMode(QProcess::MergedChannels);
    program.setStandardOutputFile(home + QStringLiteral("/mavu.log"));
    QElapsedTimer started;
    started.start();
    program.start(MAVU_PROGRAM, {});
    StartFigures figures;
    if (!program.waitForStarted())
        return figures;
    figures.busyMsecs = busyFor(program, started);
    const QString process = QString::number(program.processId());
    figures.peakKilobytes = statusKilobytes(process, "VmHWM:");
    figures.residentKilobytes = statusKilobytes(process, "VmRSS:");
    program.kill();
    program.waitForFinished();
    return figures;
}

bool waitForLogLine(const QString &log, const QByteArray &line)
{
    return QTest::qWaitFor([&] {
        QFile file(log);
        return file.open(QIODevice::ReadOnly) && file.readAll().contains(line);
    }, 60000);
}

int filesIn(const QString &folder, const QString &pattern)
{
    return int(QDir(folder).entryList({pattern}, QDir::Files).size());
}

void printFigures(const char *label, const StartFigures &figures)
{
    QTextStream(stdout) << label << ": busy " << figures.busyMsecs << " ms after start, peak "
                        << figures.peakKilobytes / 1024.0 << " MB, resident " << figures.residentKilobytes / 1024.0
                        << " MB\n";
}

} // namespace

class StartupBenchmark : public QObject
{
    Q_OBJECT
private slots:
    void startToHotkeysArmed()
    {
        QBENCHMARK {
            QProcess program;
            startProgram(program);
            QVERIFY(waitForOutput(program, hotkeysArmed));
            program.kill();
            program.waitForFinished();
        }
    }

    void idleResidentMemory()
    {
        QProcess program;
        startProgram(program);
        QVERIFY(waitForOutput(program, hotkeysArmed));
        QTest::qWait(3000);
        const qint64 kilobytes = statusKilobytes(QString::number(program.processId()), "VmRSS:");
        QTextStream(stdout) << "idle resident memory: " << kilobytes / 1024.0 << " MB\n";
        QVERIFY(kilobytes > 0);
        program.kill();
        program.waitForFinished();
    }

    // Each capture is a screen-sized picture under a name of its own (links of one file).
    void leftCaptures_memoryAndBusyTime()
    {
        QTemporaryDir idleHome;
        QTemporaryDir leftHome;
        const QString unsent = leftHome.filePath(QStringLiteral(".mavu/unsent/"));
        QVERIFY(QDir().mkpath(unsent));
        QImage picture(1920, 1080, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        QVERIFY(picture.save(unsent + QStringLiteral("1700000000000.png")));
        for (int i = 1; i < 2000; ++i) {
            const QString name = unsent + QString::number(1700000000000 + i) + QStringLiteral(".png");
            QVERIFY(::link(QFile::encodeName(unsent + QStringLiteral("1700000000000.png")).constData(),
                           QFile::encodeName(name).constData()) == 0);
        }
        const StartFigures idle = measureStart(idleHome.path());
        const StartFigures left = measureStart(leftHome.path());
        printFigures("nothing left", idle);
        printFigures("2,000 captures left", left);
        QVERIFY(idle.busyMsecs >= 0 && left.busyMsecs >= 0);
    }

    // Another program has held the settings file since before the start: the time to armed
    // hotkeys, and the resident memory once 30 quick captures wait for the file.
    void settingsFileHeld_startAndWaitingCaptures()
    {
        constexpr int captures = 30;
        QTemporaryDir home;
        const QString data = home.filePath(QStringLiteral(".mavu/"));
        QVERIFY(QDir().mkpath(data));
        QCOMPARE(sqlite(data + QStringLiteral("setting"),
                        QStringLiteral("CREATE TABLE Settings (name VARCHAR PRIMARY KEY NOT NULL, value TEXT);")),
                 QStringList());
        QProcess holder;
        QVERIFY(holdDatabase(holder, data + QStringLiteral("setting"), QStringLiteral("sys.stdin.read()")));
        QProcess program;
        QProcessEnvironment environment = withDebugLines();
        environment.insert(QStringLiteral("HOME"), home.path());
        program.setProcessEnvironment(environment);
        program.setProcessChannelMode(QProcess::MergedChannels);
        program.setStandardOutputFile(home.filePath(QStringLiteral("mavu.log")));
        QElapsedTimer started;
        started.start();
        program.start(MAVU_PROGRAM, {});
        QVERIFY(waitForLogLine(home.filePath(QStringLiteral("mavu.log")), hotkeysArmed));
        const qint64 armedMsecs = started.elapsed();
        QVERIFY(busyFor(program, started) >= 0);
        const QString process = QString::number(program.processId());
        const qint64 idleKilobytes = statusKilobytes(process, "VmRSS:");
        const QString unsent = data + QStringLiteral("unsent");
        for (int i = 1; i <= captures; ++i) {
            QCOMPARE(QProcess::execute(QStringLiteral("xdotool"), {"key", "shift+Print"}), 0);
            QVERIFY(QTest::qWaitFor([&] { return filesIn(unsent, QStringLiteral("*.png")) == i; }, 60000));
        }
        QVERIFY(busyFor(program, started) >= 0);
        const QString first = QDir(unsent).entryInfoList({QStringLiteral("*.png")}).value(0).filePath();
        const QSize size = QImageReader(first).size();
        QTextStream(stdout) << "settings file held: hotkeys armed " << armedMsecs << " ms after start, resident "
                            << idleKilobytes / 1024.0 << " MB; with " << captures << " waiting captures of "
                            << size.width() << "x" << size.height() << ": resident "
                            << statusKilobytes(process, "VmRSS:") / 1024.0 << " MB, peak "
                            << statusKilobytes(process, "VmHWM:") / 1024.0 << " MB\n";
        holder.closeWriteChannel();
        holder.waitForFinished();
        program.kill();
        program.waitForFinished();
    }
};

QTEST_GUILESS_MAIN(StartupBenchmark)
#include "bench_startup.moc"
