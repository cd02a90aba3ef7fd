// The screen image chain on two monitors of one X screen, with stand-ins of the desktop's
// screenshot tools on PATH, and the Xlib reader of the root window.

#include "platform/usefull_linux.h"
#include "platform/x11_helper_linux.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QtTest>

#include <csignal>
#include <cerrno>

// Xlib last: its macros clash with Qt's names.
#include "../harness/rootpicture.h"

namespace {

// Each stand-in notes its name, its arguments and the mode of the folder it is to write in,
// then does what STANDIN_<NAME> says: "hang", or copy the named picture to its output path.
const char standInScript[] = R"sh(#!/bin/sh
name=$(basename "$0")
for output in "$@"; do :; done
[ "$name" = spectacle ] && output=$4
echo "$name $* $(stat -c %a "$(dirname "$output")")" >> "$STANDIN_LOG"
behaviour=$(printenv "STANDIN_$(echo "$name" | tr a-z- A-Z_)")
case "$behaviour" in
  hang) echo "pid $$" >> "$STANDIN_LOG"; exec sleep 60 ;;
  "") exit 1 ;;
  *) cp "$behaviour" "$output" ;;
esac
)sh";

bool processGone(qint64 pid)
{
    return ::kill(pid_t(pid), 0) != 0 && errno == ESRCH;
}

} // namespace

class ScreenChainTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    QImage m_root;

    QString path(const QString &name) const { return m_scratch.filePath(name); }

    QStringList log() const
    {
        QFile file(path("log"));
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    // The log with the temporary output paths written as <out>.
    QStringList calls() const
    {
        QStringList lines = log();
        for (QString &line : lines)
            line.replace(QRegularExpression(R"(\S*/screenshot\.png)"), QStringLiteral("<out>"));
        return lines;
    }

    void session(const char *type)
    {
        qputenv("XDG_SESSION_TYPE", type);
        qunsetenv("WAYLAND_DISPLAY");
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_scratch.isValid());
        QVERIFY(QDir().mkpath(path("bin")) && QDir().mkpath(path("tmp")));
        for (const char *tool : {"gnome-screenshot", "spectacle", "scrot"}) {
            QFile script(path(QStringLiteral("bin/") + tool));
            QVERIFY(script.open(QIODevice::WriteOnly));
            script.write(standInScript);
            script.close();
            QVERIFY(script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        qputenv("PATH", (path("bin") + ':' + qgetenv("PATH")).toLocal8Bit());
        qputenv("TMPDIR", path("tmp").toLocal8Bit());
        qputenv("STANDIN_LOG", path("log").toLocal8Bit());
        m_root = paintRootPattern();
        QVERIFY(m_root.save(path("desktop.png")));
        QVERIFY(m_root.copy(0, 0, 1920, 1080).mirrored().save(path("monitor.png")));
        QCOMPARE(QGuiApplication::screens().size(), 2);
    }

    void init()
    {
        QFile::remove(path("log"));
        for (const char *tool : {"STANDIN_GNOME_SCREENSHOT", "STANDIN_SPECTACLE", "STANDIN_SCROT"})
            qunsetenv(tool);
    }

    // Nothing of a tool's run stays in the temporary folder, whatever became of the tool.
    void cleanup()
    {
        QCOMPARE(QDir(path("tmp")).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    }

    // Wayland: gnome-screenshot, then spectacle told the screen; a tool that hangs is killed
    // at the time bound and the next one serves. Each writes in a folder only the user enters.
    void wayland_hangingToolIsKilledAndTheNextServes()
    {
        session("wayland");
        qputenv("STANDIN_GNOME_SCREENSHOT", "hang");
        qputenv("STANDIN_SPECTACLE", path("monitor.png").toLocal8Bit());
        QElapsedTimer clock;
        clock.start();
        const QImage image = linuxCreateScreenShot(1).toImage().convertToFormat(QImage::Format_RGB32);
        // Not a measure of speed: a tool that hangs holds the chain up only to its bound.
        QVERIFY(clock.elapsed() < 3 * toolTimeoutMsecs);
        QCOMPARE(image, QImage(path("monitor.png")).convertToFormat(QImage::Format_RGB32));
        const QStringList lines = calls();
        QCOMPARE(lines.size(), 3);
        QCOMPARE(lines.at(0), QStringLiteral("gnome-screenshot -f <out> 700"));
        QVERIFY(lines.at(1).startsWith("pid "));
        QCOMPARE(lines.at(2), QStringLiteral("spectacle -b -n -o <out> -m 1 700"));
        QVERIFY(processGone(lines.at(1).mid(4).toLongLong()));
    }

    // X11: Qt's grab works here, so no tool is started.
    void x11_qtGrabServesAndNoToolRuns()
    {
        session("x11");
        qputenv("STANDIN_GNOME_SCREENSHOT", path("monitor.png").toLocal8Bit());
        const QImage image = linuxCreateScreenShot(1).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image, m_root.copy(1920, 0, 1920, 1080));
        QCOMPARE(log(), QStringList());
    }

    // A tool that pictures the whole desktop gives each screen its own part.
    void desktopWidePicture_givesTheScreensPart()
    {
        session("wayland");
        qputenv("STANDIN_GNOME_SCREENSHOT", path("desktop.png").toLocal8Bit());
        const QImage image = linuxCreateScreenShot(1).toImage().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(image, m_root.copy(1920, 0, 1920, 1080));
    }

    // A screen number the server does not have reads the default screen's root.
    void xlibReader_readsTheRootWindow()
    {
        QVERIFY(x11_is_available());
        X11ScreenshotData shot = x11_screenshot(5);
        QVERIFY(shot.success && shot.data);
        const QImage image(shot.data, shot.width, shot.height, shot.stride, QImage::Format_RGB32);
        QCOMPARE(image, m_root);
        x11_screenshot_free(&shot);
        QVERIFY(!shot.data && !shot.success);
        x11_screenshot_free(&shot);
    }

    // 16-bit colour has other masks: its pixels are not read as 8 bits a channel.
    void xlibReader_refusesOtherColourLayouts()
    {
        QProcess server;
        server.start(QStringLiteral("Xvfb"), {"-displayfd", "1", "-screen", "0", "64x64x16", "-nolisten", "tcp"});
        QVERIFY(server.waitForReadyRead(10000));
        const QByteArray display = ':' + server.readAllStandardOutput().trimmed();
        const QByteArray ownDisplay = qgetenv("DISPLAY");
        qputenv("DISPLAY", display);
        X11ScreenshotData shot = x11_screenshot(0);
        qputenv("DISPLAY", ownDisplay);
        server.terminate();
        server.waitForFinished();
        QVERIFY(!shot.success);
        QVERIFY(!shot.data);
    }
};

QTEST_MAIN(ScreenChainTest)
#include "tst_screenchain.moc"
