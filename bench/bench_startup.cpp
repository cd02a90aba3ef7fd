// Start-up of the program to armed hotkeys, and its resident memory when idle.
// Needs an X server: xvfb-run -a -s "-screen 0 1920x1080x24" build/bench/bench_startup
// (with HOME pointing at a throw-away folder).

#include "processstatus.h"

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QtTest>

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
};

QTEST_GUILESS_MAIN(StartupBenchmark)
#include "bench_startup.moc"
