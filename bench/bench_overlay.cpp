// What the user sees, measured from outside: the program running, a hotkey sent through XTest,
// and the time until the overlay shows this run's screen picture (a new random picture on the
// root window before every run, so that an old picture never counts); resident memory idle,
// with the overlay open and after closing it; a quick capture to the link on the clipboard
// with a loopback FTP server (the upload windows stay off, so that each run starts alike).
// Needs an X server of the size to measure, no window manager, and a throw-away HOME:
//   HOME=$(mktemp -d) xvfb-run -a -s "-screen 0 3840x2160x24" build/bench/bench_overlay
// MAVU_BENCH_PROGRAM names another build of the program to measure (for before/after runs).

#include "../tests/upload/uploadtestsupport.h"
#include "processstatus.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"

#include <QClipboard>
#include <QElapsedTimer>
#include <QPainter>
#include <QTest>

#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/XTest.h>
#include <X11/extensions/Xdamage.h>
#include <X11/extensions/Xfixes.h>
#include <X11/keysym.h>
#include <poll.h>

#include "../tests/harness/rootpicture.h"

#include <algorithm>
#include <random>

using namespace UploadTest;

namespace {

constexpr int timeoutMsecs = 10000;
constexpr int warmRuns = 10;
constexpr int programStarts = 5;
constexpr int reactionPollMsecs = 5;
constexpr int closedAfterMsecs = 700;
constexpr int settledAfterMsecs = 30000;
const QByteArray hotkeysArmed = "Setting up signal/slot connections...";

// Something like a desktop: a gradient, windows, lines of text.
QImage desktopLike(const QSize &size, int seed)
{
    QImage image(size, QImage::Format_RGB32);
    QPainter painter(&image);
    QLinearGradient gradient(0, 0, size.width(), size.height());
    gradient.setColorAt(0, QColor(QStringLiteral("#35506b")));
    gradient.setColorAt(1, QColor(QStringLiteral("#9fb3c8")));
    painter.fillRect(image.rect(), gradient);
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPixelSize(qMax(12, size.height() / 80));
    painter.setFont(font);
    for (int window = 0; window < 3; ++window) {
        const QRect frame(size.width() * (1 + 3 * window) / 12, size.height() * (1 + window) / 8, size.width() / 3,
                          size.height() / 2);
        painter.fillRect(frame, QColor(QStringLiteral("#f4f4f4")));
        painter.fillRect(QRect(frame.topLeft(), QSize(frame.width(), font.pixelSize() * 2)), QColor(QStringLiteral("#2f6fa8")));
        painter.setPen(Qt::black);
        for (int line = 0; line * font.pixelSize() * 1.5 < frame.height() - font.pixelSize() * 4; ++line)
            painter.drawText(frame.x() + 10, frame.y() + font.pixelSize() * (4 + line * 1.5),
                             QStringLiteral("%1 The quick brown fox jumps over the lazy dog, line %2 of window %3")
                                 .arg(seed).arg(line).arg(window));
    }
    return image;
}

double median(QList<double> values)
{
    if (values.isEmpty())
        return 0;
    std::sort(values.begin(), values.end());
    const qsizetype middle = values.size() / 2;
    return values.size() % 2 ? values.at(middle) : (values.at(middle - 1) + values.at(middle)) / 2;
}

QString figures(const QList<double> &values)
{
    const auto [low, high] = std::minmax_element(values.begin(), values.end());
    return QStringLiteral("median %1 (min %2, max %3, n=%4)")
        .arg(median(values), 0, 'f', 1).arg(*low, 0, 'f', 1).arg(*high, 0, 'f', 1).arg(values.size());
}

qint64 residentMegabytes(qint64 pid)
{
    return statusKilobytes(QString::number(pid), "VmRSS:") / 1024;
}

// The overlay's dim colour over a pixel, drawn the way the overlay draws it.
QRgb dimmed(QRgb pixel)
{
    QImage image(1, 1, QImage::Format_RGB32);
    image.fill(pixel);
    QPainter(&image).fillRect(QRect(0, 0, 1, 1), QColor(QStringLiteral("#6c141517")));
    return image.pixel(0, 0) & 0xffffff;
}

// The pointer's vertical guide line over a dimmed pixel.
QRgb guided(QRgb pixel)
{
    QImage image(1, 1, QImage::Format_RGB32);
    image.fill(dimmed(pixel));
    QPainter(&image).fillRect(QRect(0, 0, 1, 1), QColor(QStringLiteral("#33FFFFFF")));
    return image.pixel(0, 0) & 0xffffff;
}

bool near(QRgb a, QRgb b)
{
    return qAbs(qRed(a) - qRed(b)) <= 2 && qAbs(qGreen(a) - qGreen(b)) <= 2 && qAbs(qBlue(a) - qBlue(b)) <= 2;
}

// Everything done on the X server directly: keys, the root picture, and watching windows
// appear, draw and go away, on a connection of its own.
class XWatch
{
public:
    bool open()
    {
        m_display = XOpenDisplay(nullptr);
        int event = 0;
        int error = 0;
        int major = 0;
        int minor = 0;
        if (!m_display || !XTestQueryExtension(m_display, &event, &error, &major, &minor)
            || !XDamageQueryExtension(m_display, &m_damageEvent, &error)
            || !XFixesQueryExtension(m_display, &m_fixesEvent, &error))
            return false;
        m_root = DefaultRootWindow(m_display);
        m_width = DisplayWidth(m_display, DefaultScreen(m_display));
        m_height = DisplayHeight(m_display, DefaultScreen(m_display));
        XSelectInput(m_display, m_root, SubstructureNotifyMask);
        m_clipboard = XInternAtom(m_display, "CLIPBOARD", False);
        XFixesSelectSelectionInput(m_display, m_root, m_clipboard, XFixesSetSelectionOwnerNotifyMask);
        return true;
    }

    QSize size() const { return QSize(m_width, m_height); }

    // A new random picture on the root window, and the samples the overlay must show dimmed.
    void paintNewRoot(quint32 seed)
    {
        std::mt19937 random(seed);
        QImage noise(size(), QImage::Format_RGB32);
        auto *pixels = reinterpret_cast<quint32 *>(noise.bits());
        for (qsizetype i = 0; i < qsizetype(m_width) * m_height; ++i)
            pixels[i] = random() & 0xffffff;
        paintRoot(noise);
    }

    // The pointer goes where the overlay's own first frame draws a guide line through pixels
    // of the picture that the samples below do not use.
    void paintRoot(const QImage &picture)
    {
        putRootPicture(m_display, picture);
        m_expected.clear();
        for (int i = 0; i < 16; ++i) {
            const QPoint point(m_width * (2 * (i % 4) + 1) / 8 + 3, m_height * (2 * (i / 4) + 1) / 8 + 5);
            m_expected.append({point, dimmed(pixelOf(m_root, point))});
        }
        const QPoint pointer(m_width / 2 + 1, m_height * 7 / 8 + 20);
        XWarpPointer(m_display, None, m_root, 0, 0, 0, 0, pointer.x(), pointer.y());
        m_guides.clear();
        for (int i = 0; i < 3; ++i) {
            const QPoint point(pointer.x(), m_height * (2 * i + 1) / 8 + 5);
            m_guides.append({point, guided(pixelOf(m_root, point))});
        }
    }

    void pressKeys(const QList<KeySym> &keys)
    {
        for (KeySym key : keys)
            XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, key), True, CurrentTime);
        for (auto key = keys.rbegin(); key != keys.rend(); ++key)
            XTestFakeKeyEvent(m_display, XKeysymToKeycode(m_display, *key), False, CurrentTime);
        XFlush(m_display);
    }

    // Damage tracking on every top-level window, so that a window mapped later is followed too.
    void watchWindows()
    {
        forgetWindows();
        Window rootReturn = 0;
        Window parent = 0;
        Window *children = nullptr;
        unsigned int count = 0;
        XQueryTree(m_display, m_root, &rootReturn, &parent, &children, &count);
        for (unsigned int i = 0; i < count; ++i)
            follow(children[i]);
        if (children)
            XFree(children);
        XSync(m_display, False);
        drain([](XEvent &) { return false; }, 0);
    }

    // Milliseconds from `start` until a full-size window shows the picture, or -1 when
    // none does within `msecs`.
    double waitForPicture(const QElapsedTimer &start, int msecs = timeoutMsecs)
    {
        double shown = -1;
        drain([&](XEvent &event) {
            if (event.type == MapNotify && isFullSize(event.xmap.window))
                m_overlay = event.xmap.window;
            if (event.type == CreateNotify)
                follow(event.xcreatewindow.window);
            if (event.type != m_damageEvent + XDamageNotify)
                return false;
            const auto *damage = reinterpret_cast<XDamageNotifyEvent *>(&event);
            const double at = start.nsecsElapsed() / 1e6;
            XDamageSubtract(m_display, damage->damage, None, None);
            if (damage->drawable != m_overlay || !showsPicture())
                return false;
            shown = at;
            m_frameAt = shows(m_guides) ? at : -1;
            return true;
        }, msecs);
        return shown;
    }

    // Milliseconds from `start` until the overlay has drawn a frame of its own (the guide line
    // through the pointer over the picture), or -1; call after waitForPicture.
    double waitForOwnFrame(const QElapsedTimer &start)
    {
        if (m_frameAt >= 0 || !m_overlay)
            return m_frameAt;
        drain([&](XEvent &event) {
            if (event.type != m_damageEvent + XDamageNotify)
                return false;
            const auto *damage = reinterpret_cast<XDamageNotifyEvent *>(&event);
            const double at = start.nsecsElapsed() / 1e6;
            XDamageSubtract(m_display, damage->damage, None, None);
            if (damage->drawable != m_overlay || !shows(m_guides))
                return false;
            m_frameAt = at;
            return true;
        }, timeoutMsecs);
        return m_frameAt;
    }

    // Escape until the overlay is unmapped.
    bool closeOverlay()
    {
        for (int attempt = 0; attempt < 10 && m_overlay; ++attempt) {
            pressKeys({XK_Escape});
            drain([&](XEvent &event) {
                if ((event.type == UnmapNotify && event.xunmap.window == m_overlay)
                    || (event.type == DestroyNotify && event.xdestroywindow.window == m_overlay))
                    m_overlay = 0;
                return m_overlay == 0;
            }, 1000);
        }
        return m_overlay == 0;
    }

    // Milliseconds from `start` until a client takes the clipboard, or -1.
    double waitForClipboardOwner(const QElapsedTimer &start)
    {
        double taken = -1;
        drain([&](XEvent &event) {
            if (event.type != m_fixesEvent + XFixesSelectionNotify)
                return false;
            taken = start.nsecsElapsed() / 1e6;
            return true;
        }, timeoutMsecs);
        return taken;
    }

private:
    QRgb pixelOf(Window window, const QPoint &point) const
    {
        XImage *image = XGetImage(m_display, window, point.x(), point.y(), 1, 1, AllPlanes, ZPixmap);
        if (!image)
            return 0xdeadbeef;
        const QRgb pixel = QRgb(XGetPixel(image, 0, 0) & 0xffffff);
        XDestroyImage(image);
        return pixel;
    }

    // At least 12 of the 16 samples are this run's root pixel, dimmed; the guide lines or the
    // magnifier may cover a few.
    bool showsPicture() const
    {
        int matching = 0;
        for (const auto &[point, colour] : m_expected)
            matching += near(pixelOf(m_overlay, point), colour);
        return matching >= 12;
    }

    bool shows(const QList<QPair<QPoint, QRgb>> &samples) const
    {
        return std::all_of(samples.begin(), samples.end(),
                           [this](const auto &sample) { return near(pixelOf(m_overlay, sample.first), sample.second); });
    }

    bool isFullSize(Window window) const
    {
        XWindowAttributes attributes;
        return XGetWindowAttributes(m_display, window, &attributes) && attributes.width * 10 >= m_width * 9
            && attributes.height * 10 >= m_height * 9;
    }

    void follow(Window window)
    {
        XSelectInput(m_display, window, StructureNotifyMask);
        m_damages.append(XDamageCreate(m_display, window, XDamageReportNonEmpty));
    }

    void forgetWindows()
    {
        for (Damage damage : std::as_const(m_damages))
            XDamageDestroy(m_display, damage);
        m_damages.clear();
        m_overlay = 0;
    }

    // Hands events to `done` until it returns true or the time is up.
    template <typename Handler> void drain(Handler done, int msecs)
    {
        QElapsedTimer timer;
        timer.start();
        for (;;) {
            while (XPending(m_display)) {
                XEvent event;
                XNextEvent(m_display, &event);
                if (done(event))
                    return;
            }
            const qint64 left = msecs - timer.elapsed();
            if (left <= 0)
                return;
            pollfd descriptor{ConnectionNumber(m_display), POLLIN, 0};
            poll(&descriptor, 1, int(left));
        }
    }

    Display *m_display = nullptr;
    Window m_root = 0;
    Window m_overlay = 0;
    int m_width = 0;
    int m_height = 0;
    int m_damageEvent = 0;
    int m_fixesEvent = 0;
    Atom m_clipboard = 0;
    QList<Damage> m_damages;
    QList<QPair<QPoint, QRgb>> m_expected;
    QList<QPair<QPoint, QRgb>> m_guides;
    double m_frameAt = -1;
};

} // namespace

class OverlayBenchmark : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    FtpServer m_ftp;
    XWatch m_x;
    QProcess m_program;
    quint32 m_seed = 1;

    static QString program()
    {
        const QString other = qEnvironmentVariable("MAVU_BENCH_PROGRAM");
        return other.isEmpty() ? QStringLiteral(MAVU_PROGRAM) : other;
    }

    bool startProgram()
    {
        const QString log = m_scratch.filePath(QStringLiteral("mavu.log"));
        QFile::remove(log);
        m_program.setProcessChannelMode(QProcess::MergedChannels);
        m_program.setProcessEnvironment(withDebugLines());
        m_program.setStandardOutputFile(log);
        m_program.start(program(), {});
        QElapsedTimer timer;
        timer.start();
        while (timer.elapsed() < 60000) {
            QFile output(log);
            if (output.open(QIODevice::ReadOnly) && output.readAll().contains(hotkeysArmed)) {
                // The overlay is built right after start-up; let that finish.
                QTest::qWait(2000);
                return true;
            }
            QTest::qWait(50);
        }
        return false;
    }

    void stopProgram()
    {
        m_program.kill();
        m_program.waitForFinished(5000);
    }

    // One fragment capture: the time to the picture (and to the overlay's own first frame),
    // then resident memory open and closed.
    double capture(qint64 *openMegabytes = nullptr, qint64 *closedMegabytes = nullptr, double *ownFrame = nullptr)
    {
        m_x.paintNewRoot(m_seed++);
        QTest::qWait(200);
        m_x.watchWindows();
        QElapsedTimer start;
        start.start();
        m_x.pressKeys({XK_Control_L, XK_Print});
        const double shown = m_x.waitForPicture(start);
        const double drawn = m_x.waitForOwnFrame(start);
        if (ownFrame)
            *ownFrame = drawn;
        QTest::qWait(300);
        if (openMegabytes)
            *openMegabytes = residentMegabytes(m_program.processId());
        if (!m_x.closeOverlay())
            return -1;
        QTest::qWait(closedAfterMsecs);
        if (closedMegabytes)
            *closedMegabytes = residentMegabytes(m_program.processId());
        return shown;
    }

private slots:
    void initTestCase()
    {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
        QVERIFY2(m_x.open(), "needs an X server with XTEST, DAMAGE and XFIXES");
        QVERIFY(m_ftp.start(m_scratch.filePath(QStringLiteral("ftp"))));
        QDir().mkpath(m_scratch.filePath(QStringLiteral("ftp/shots")));
        setValues({{SettingKeys::token, QStringLiteral("bench")},
                   {SettingKeys::showCloseSurfaceWindow, 0},
                   {SettingKeys::showUpload, 0},
                   {SettingKeys::showLastUpload, 0},
                   {SettingKeys::typeUpload, QStringLiteral("ftp")},
                   {SettingKeys::isSftp, 0},
                   {SettingKeys::ftpHost, QStringLiteral("127.0.0.1")},
                   {SettingKeys::ftpPort, m_ftp.port()},
                   {SettingKeys::ftpPath, QStringLiteral("shots")},
                   {SettingKeys::ftpBaseUrl, QStringLiteral("https://files.example/shots")}});
        Setting::instance()->setValue(SettingKeys::ftpUser, QStringLiteral("user"));
        Setting::instance()->setValue(SettingKeys::ftpPassword, QStringLiteral("pass"));
        Setting::instance()->sync();
        const QSize size = m_x.size();
        QTextStream(stdout) << "screen " << size.width() << "x" << size.height() << "\n";
    }

    void firstCaptureAfterStart()
    {
        QList<double> shown;
        QList<double> idle;
        QList<double> open;
        QList<double> closed;
        for (int run = 0; run < programStarts; ++run) {
            QVERIFY(startProgram());
            idle << residentMegabytes(m_program.processId());
            qint64 openMegabytes = 0;
            qint64 closedMegabytes = 0;
            shown << capture(&openMegabytes, &closedMegabytes);
            open << openMegabytes;
            closed << closedMegabytes;
            stopProgram();
            QVERIFY(shown.last() >= 0);
        }
        QTextStream(stdout) << "first capture after start, ms: " << figures(shown) << "\n"
                            << "resident MB idle: " << figures(idle) << "\n"
                            << "resident MB, first overlay open: " << figures(open) << "\n"
                            << "resident MB, first overlay closed: " << figures(closed) << "\n";
    }

    // The program started and the hotkey pressed every few milliseconds from then on: the
    // time from the start until the first overlay shows the screen, which is what a user who
    // presses the hotkey right after start-up waits.
    void startToFirstReaction()
    {
        QList<double> reacted;
        for (int run = 0; run < programStarts; ++run) {
            m_x.paintNewRoot(m_seed++);
            m_x.watchWindows();
            QElapsedTimer start;
            start.start();
            m_program.start(program(), {});
            double shown = -1;
            while (shown < 0 && start.elapsed() < timeoutMsecs) {
                m_x.pressKeys({XK_Control_L, XK_Print});
                shown = m_x.waitForPicture(start, reactionPollMsecs);
            }
            reacted << shown;
            QVERIFY(m_x.closeOverlay());
            stopProgram();
            QVERIFY(shown >= 0);
        }
        QTextStream(stdout) << "start to the first overlay on a hotkey, ms: " << figures(reacted) << "\n";
    }

    void warmCaptures()
    {
        QVERIFY(startProgram());
        const qint64 idle = residentMegabytes(m_program.processId());
        capture();
        QList<double> shown;
        QList<double> drawn;
        QList<double> open;
        QList<double> closed;
        for (int run = 0; run < warmRuns; ++run) {
            qint64 openMegabytes = 0;
            qint64 closedMegabytes = 0;
            double ownFrame = -1;
            shown << capture(&openMegabytes, &closedMegabytes, &ownFrame);
            drawn << ownFrame;
            open << openMegabytes;
            closed << closedMegabytes;
            QVERIFY(shown.last() >= 0);
        }
        // The memory kept for the next capture goes back once none has come for a while.
        QTest::qWait(settledAfterMsecs - closedAfterMsecs);
        const qint64 settled = residentMegabytes(m_program.processId());
        stopProgram();
        QTextStream(stdout) << "warm capture, ms: " << figures(shown) << "\n"
                            << "warm capture, the overlay's own first frame, ms: " << figures(drawn) << "\n"
                            << "resident MB idle: " << idle << ", overlay open: " << figures(open)
                            << ", after closing: " << figures(closed) << ", " << settledAfterMsecs / 1000
                            << " s after the last closing: " << settled << "\n";
    }

    void quickCaptureToLink_data()
    {
        QTest::addColumn<bool>("noise");
        QTest::newRow("desktop-like screen") << false;
        QTest::newRow("random noise, the worst case for the encoder") << true;
    }

    // Shift+Print to a link on the clipboard; the link is checked once at the end.
    void quickCaptureToLink()
    {
        QFETCH(bool, noise);
        QVERIFY(startProgram());
        QList<double> linked;
        for (int run = 0; run <= warmRuns; ++run) {
            if (noise)
                m_x.paintNewRoot(m_seed++);
            else
                m_x.paintRoot(desktopLike(m_x.size(), run));
            QTest::qWait(300);
            QElapsedTimer start;
            start.start();
            m_x.pressKeys({XK_Shift_L, XK_Print});
            const double taken = m_x.waitForClipboardOwner(start);
            QVERIFY2(taken >= 0, "no link reached the clipboard");
            if (run > 0)
                linked << taken;
        }
        QTRY_VERIFY(QGuiApplication::clipboard()->text().startsWith(QStringLiteral("https://files.example/shots/")));
        stopProgram();
        QTextStream(stdout) << "quick capture to link, " << QTest::currentDataTag() << ", ms: " << figures(linked)
                            << "\n";
    }
};

QTEST_MAIN(OverlayBenchmark)
#include "bench_overlay.moc"
