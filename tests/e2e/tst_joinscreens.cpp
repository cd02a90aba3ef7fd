// Several screens, on the offscreen platform with a screen layout of its own: one screen
// left of the origin, one lower and to the right.

#include "capture/surfacewidget.h"
#include "core.h"
#include "settings/constants.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>
#include <QTemporaryFile>
#include <QtTest>

namespace {

class FilledWindow : public QRasterWindow
{
public:
    FilledWindow(QScreen *screen, QColor colour)
        : m_colour(colour)
    {
        setScreen(screen);
        setFlags(Qt::FramelessWindowHint);
        setGeometry(screen->geometry());
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter(this).fillRect(QRect(QPoint(0, 0), size()), m_colour);
    }

private:
    QColor m_colour;
};

} // namespace

class JoinScreensTest : public QObject
{
    Q_OBJECT
private slots:
    void joinedImage_hasTheUnionsSizeWithEachScreenInPlace()
    {
        const QList<QScreen *> screens = QGuiApplication::screens();
        QCOMPARE(screens.size(), 2);
        FilledWindow left(screens.at(0), Qt::red);
        FilledWindow right(screens.at(1), Qt::blue);
        left.show();
        right.show();
        QVERIFY(QTest::qWaitForWindowExposed(&left));
        QVERIFY(QTest::qWaitForWindowExposed(&right));

        const QImage joined = joinScreens().toImage();
        QCOMPARE(joined.size(), QSize(800 + 1024, 100 + 768));
        QCOMPARE(QColor(joined.pixel(10, 10)), QColor(Qt::red));
        QCOMPARE(QColor(joined.pixel(799, 599)), QColor(Qt::red));
        QCOMPARE(QColor(joined.pixel(800, 100)), QColor(Qt::blue));
        QCOMPARE(QColor(joined.pixel(1823, 867)), QColor(Qt::blue));
        // Parts of the union that no screen covers stay black.
        QCOMPARE(QColor(joined.pixel(900, 50)), QColor(Qt::black));
        QCOMPARE(QColor(joined.pixel(100, 700)), QColor(Qt::black));
    }

    void overlayOnTheSecondScreen_writesScreenInfoAndCoversThatScreen()
    {
        QPixmap shot(1024, 768);
        shot.fill(Qt::green);
        SurfaceWidget *overlay = Core::instance()->surfaceWidget();
        overlay->showOnWindow(1, QRect(10, 20, 300, 200), shot);
        QFile log(m_pathSettings + "screen_info.log");
        QVERIFY(log.open(QIODevice::ReadOnly));
        QCOMPARE(log.readAll(), QByteArray("index = 1\nrect = 10:20 300x200"));
        QTRY_COMPARE(overlay->screen(), QGuiApplication::screens().at(1));
        QCOMPARE(overlay->selectRect(), QRect(10, 20, 300, 200));
        QCOMPARE(overlay->renderRubberRect().toImage().pixelColor(5, 5), QColor(Qt::green));
        Core::instance()->deleteSurfaceScreen();
    }
};

int main(int argc, char *argv[])
{
    QTemporaryFile layout;
    layout.open();
    layout.write(R"({"screens": [
        {"name": "left", "x": -800, "y": 0, "width": 800, "height": 600, "logicalDpi": 96, "dpr": 1},
        {"name": "right", "x": 0, "y": 100, "width": 1024, "height": 768, "logicalDpi": 96, "dpr": 1}
    ]})");
    layout.flush();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + layout.fileName()).toLocal8Bit());
    QGuiApplication app(argc, argv);
    JoinScreensTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_joinscreens.moc"
