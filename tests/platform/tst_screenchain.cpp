// The screen image chain on two monitors of one X screen, with stand-ins of the desktop's
// screenshot tools on PATH, and the Xlib reader of the root window.

#include "../harness/files.h"
#include "platform/usefull_linux.h"
#include "platform/x11_helper_linux.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>

#include <csignal>
#include <cerrno>

// Xlib last: its macros clash with Qt's names.
#include "../harness/rootpicture.h"

namespace {

// Each stand-in notes its name, its arguments and the mode of the folder it is to write in,
// then does what STANDIN_<NAME> says: "hang" (in a child of its own), or copy the named
// picture to its output path.
const char standInScript[] = R"sh(#!/bin/sh
name=$(basename "$0")
for output in "$@"; do :; done
[ "$name" = spectacle ] && output=$4
echo "$name $* $(stat -c %a "$(dirname "$output")")" >> "$STANDIN_LOG"
behaviour=$(printenv "STANDIN_$(echo "$name" | tr a-z- A-Z_)")
case "$behaviour" in
  hang) sleep 60 & echo "pid $!" >> "$STANDIN_LOG"; wait ;;
  "") exit 1 ;;
  *) cp "$behaviour" "$output" ;;
esac
)sh";

// A process that ended counts as gone also while nobody has reaped it yet.
bool processGone(qint64 pid)
{
    const QByteArray stat = readFile(QStringLiteral("/proc/%1/stat").arg(pid));
    return (::kill(pid_t(pid), 0) != 0 && errno == ESRCH) || stat.contains(") Z ");
}

} // namespace

class ScreenChainTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    QImage m_root;

    QString path(const QString &name) const { return m_scratch.filePath(name); }

    // What a stand-in is told to do: a picture of the scratch folder to copy, or "hang".
    QByteArray standIn(const QString &behaviour) const
    {
        return (behaviour.endsWith(".png") ? path(behaviour) : behaviour).toLocal8Bit();
    }

    // The stand-ins' log with the temporary output paths written as <out>, and the ids of
    // the processes that hung as <pid>; those ids are kept in hung.
    QStringList calls(QList<qint64> *hung) const
    {
        QStringList lines = QString::fromUtf8(readFile(path("log"))).split('\n', Qt::SkipEmptyParts);
        for (QString &line : lines) {
            line.replace(QRegularExpression(R"(\S*/screenshot\.png)"), QStringLiteral("<out>"));
            if (line.startsWith("pid ")) {
                hung->append(line.mid(4).toLongLong());
                line = QStringLiteral("pid <pid>");
            }
        }
        return lines;
    }

private slots:
    void initTestCase()
    {
        QVERIFY(m_scratch.isValid());
        QVERIFY(QDir().mkpath(path("bin")) && QDir().mkpath(path("tmp")));
        for (const char *tool : {"gnome-screenshot", "spectacle", "scrot"}) {
            QVERIFY(writeFile(path(QStringLiteral("bin/") + tool), standInScript));
            QVERIFY(QFile::setPermissions(path(QStringLiteral("bin/") + tool), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
        }
        qputenv("PATH", (path("bin") + ':' + qgetenv("PATH")).toLocal8Bit());
        qputenv("TMPDIR", path("tmp").toLocal8Bit());
        qputenv("STANDIN_LOG", path("log").toLocal8Bit());
        m_root = paintRootPattern();
        QVERIFY(m_root.save(path("desktop.png")));
        QVERIFY(m_root.copy(0, 0, 1920, 1080).mirrored().save(path("monitor.png")));
        QVERIFY(m_root.copy(0, 0, 1920, 1200).save(path("other size.png")));
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

    void chain_triesItsToolsInTurn_data()
    {
        QTest::addColumn<QByteArray>("session");
        QTest::addColumn<QString>("gnomeScreenshot");
        QTest::addColumn<QString>("spectacle");
        QTest::addColumn<QString>("picture");
        QTest::addColumn<QStringList>("calls");
        const QStringList spectacleOnEach{"spectacle -b -n -o <out> -m 0 700", "spectacle -b -n -o <out> -m 1 700"};
        QTest::newRow("wayland: a hanging tool is killed with its child, once, and the next serves")
            << QByteArray("wayland") << "hang" << "monitor.png" << "monitor.png"
            << QStringList{"gnome-screenshot -f <out> 700", "pid <pid>"} + spectacleOnEach;
        QTest::newRow("x11: Qt's grab serves and no tool runs")
            << QByteArray("x11") << "monitor.png" << "" << "" << QStringList();
        QTest::newRow("one desktop-wide picture gives each screen its part")
            << QByteArray("wayland") << "desktop.png" << "" << "" << QStringList{"gnome-screenshot -f <out> 700"};
        QTest::newRow("a picture of neither the desktop's nor the screen's size is passed over")
            << QByteArray("wayland") << "other size.png" << "monitor.png" << "monitor.png"
            << QStringList{"gnome-screenshot -f <out> 700"} + spectacleOnEach;
    }

    // Wayland: gnome-screenshot, then spectacle told the screen; X11: Qt's grab. A tool that
    // hangs is killed at the time bound, with what it started; each writes in a folder only
    // the user enters. The pictures are the tool's or, without one, each screen's part of
    // the desktop. One pass serves both screens.
    void chain_triesItsToolsInTurn()
    {
        QFETCH(QByteArray, session);
        QFETCH(QString, gnomeScreenshot);
        QFETCH(QString, spectacle);
        QFETCH(QString, picture);
        QFETCH(QStringList, calls);
        qputenv("XDG_SESSION_TYPE", session);
        qunsetenv("WAYLAND_DISPLAY");
        qputenv("STANDIN_GNOME_SCREENSHOT", standIn(gnomeScreenshot));
        qputenv("STANDIN_SPECTACLE", standIn(spectacle));
        QElapsedTimer clock;
        clock.start();
        const QList<QPixmap> images = linuxCreateScreenShots();
        // Not a measure of speed: a tool that hangs holds the chain up only to its bound.
        QVERIFY(clock.elapsed() < 3 * toolTimeoutMsecs);
        QCOMPARE(images.size(), 2);
        for (int screen = 0; screen < 2; ++screen) {
            const QImage part = m_root.copy(1920 * screen, 0, 1920, 1080);
            QCOMPARE(rgb(images.at(screen)), picture.isEmpty() ? part : rgb(QImage(path(picture))));
        }
        QList<qint64> hung;
        QCOMPARE(this->calls(&hung), calls);
        for (qint64 pid : hung)
            QVERIFY(processGone(pid));
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
        QVERIFY(!shot.success && !shot.data);
    }
};

QTEST_MAIN(ScreenChainTest)
#include "tst_screenchain.moc"
