#include "pagetestsupport.h"
#include "windows/compositor.h"
#include "windows/window_win.h"
#include "windows/windowtypes.h"

#include <QGuiApplication>
#include <QQuickItem>
#include <QTest>

#include <X11/Xlib.h>

namespace {

class FrameWindow : public BasicWindow
{
public:
    FrameWindow() { setupUi(); }

protected:
    void init() override { setSource(QUrl::fromLocalFile(MAVU_TEST_DIR "/fixtures/FramePage.qml")); }
};

// Plays a compositing manager: owns _NET_WM_CM_S0 while it lives.
class SelectionOwner
{
public:
    SelectionOwner()
    {
        m_display = XOpenDisplay(nullptr);
        if (!m_display)
            return;
        m_window = XCreateSimpleWindow(m_display, DefaultRootWindow(m_display), 0, 0, 1, 1, 0, 0, 0);
        XSetSelectionOwner(m_display, XInternAtom(m_display, "_NET_WM_CM_S0", False), m_window, CurrentTime);
        XSync(m_display, False);
    }
    ~SelectionOwner()
    {
        if (!m_display)
            return;
        XDestroyWindow(m_display, m_window);
        XCloseDisplay(m_display);
    }
    bool isValid() const { return m_display != nullptr; }

private:
    Display *m_display = nullptr;
    Window m_window = 0;
};

} // namespace

// On a bare X server (no compositing manager) a transparent margin would be painted black.
class CompositorTest : public QObject
{
    Q_OBJECT

private slots:
    void initTestCase()
    {
        registerWindowQmlTypes();
        PageTestSupport::install();
        QCOMPARE(QGuiApplication::platformName(), QStringLiteral("xcb"));
    }

    void cleanup()
    {
        const QString warnings = PageTestSupport::takeWarnings();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
    }

    void bareServer_givesAnOpaqueFrameWithoutMargin()
    {
        QVERIFY(!compositingManagerRunning());
        FrameWindow window;
        QVERIFY(!window.isTransparentSupport());
        QCOMPARE(window.size(), QSize(241, 200));
        QCOMPARE(window.color().alpha(), 255);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        const QImage shot = window.grabWindow();
        // No black margin: the corner just inside the rounded mask shows the panel.
        QVERIFY(QColor(shot.pixel(20, 20)).lightness() > 200);
    }

    void compositorPresent_keepsTheTransparentMargin()
    {
        SelectionOwner owner;
        QVERIFY(owner.isValid());
        QVERIFY(compositingManagerRunning());
        FrameWindow window;
        QVERIFY(window.isTransparentSupport());
        QCOMPARE(window.size(), QSize(301, 260));
        QCOMPARE(window.color().alpha(), 0);
    }
};

QTEST_MAIN(CompositorTest)
#include "tst_compositor.moc"
