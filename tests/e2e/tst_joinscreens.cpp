// Several screens, on the offscreen platform with a screen layout of its own: one screen
// left of the origin, one lower and to the right. The editor window opens on the first.

#include "../harness/editor.h"
#include "../harness/files.h"
#include "../harness/shellwindows.h"
#include "capture/editponoramwidget.h"
#include "capture/screenjoin.h"
#include "capture/surfacewidget.h"
#include "core.h"
#include "painter/mpainterarea.h"
#include "settings/constants.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>
#include <QTemporaryFile>
#include <QTest>

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

QPixmap filled(const QSize &size, QColor colour)
{
    QPixmap pixmap(size);
    pixmap.fill(colour);
    return pixmap;
}

// The editor as the controller opens it, once it shows the image.
EditPonoramWidget *openEditor(const QPixmap &image)
{
    if (!QTest::qWaitFor([] { return ShellWindows::all<EditPonoramWidget>().isEmpty(); }))
        return nullptr;
    Core::instance()->ponoramEdit(image);
    EditPonoramWidget *editor = ShellWindows::shown<EditPonoramWidget>().value(0);
    const bool shown = editor && QTest::qWaitForWindowExposed(editor)
        && QTest::qWaitFor([editor] { return editor->paintArea()->width() > 0; });
    return shown ? editor : nullptr;
}

// A rectangle drawn with the mouse from one point of the image to another, at the zoom the
// minus button was clicked down to, then saved.
QImage annotateAndSave(int minusClicks, const QString &file)
{
    EditPonoramWidget *editor = openEditor(filled(QSize(2000, 300), Qt::white));
    if (!editor)
        return QImage();
    auto *minus = editor->rootObject()->findChild<QQuickItem *>(QStringLiteral("zoomMinus"));
    for (int i = 0; i < minusClicks; ++i)
        QTest::mouseClick(editor, Qt::LeftButton, {}, minus->mapToScene(QPointF(10, 10)).toPoint());
    if (!drawRectangle(editor))
        return QImage();
    Core::setSaveFileDialog([file](const QString &, const QString &, const QString &) { return file; });
    QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
    return QImage(file);
}

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
        QCOMPARE(joined.size(), QSize(1600 + 1024, 900));
        QCOMPARE(QColor(joined.pixel(10, 10)), QColor(Qt::red));
        QCOMPARE(QColor(joined.pixel(1599, 899)), QColor(Qt::red));
        QCOMPARE(QColor(joined.pixel(1600, 100)), QColor(Qt::blue));
        QCOMPARE(QColor(joined.pixel(2623, 867)), QColor(Qt::blue));
        // Parts of the union that no screen covers stay black.
        QCOMPARE(QColor(joined.pixel(1700, 50)), QColor(Qt::black));
        QCOMPARE(QColor(joined.pixel(1700, 880)), QColor(Qt::black));
    }

    void overlayOnTheSecondScreen_writesScreenInfoAndCoversThatScreen()
    {
        QPixmap shot(1024, 768);
        shot.fill(Qt::green);
        SurfaceWidget *overlay = Core::instance()->surfaceWidget();
        overlay->showOnWindow(1, QRect(10, 20, 300, 200), shot);
        QCOMPARE(readFile(m_pathSettings + "screen_info.log"), QByteArray("index = 1\nrect = 10:20 300x200"));
        QTRY_COMPARE(overlay->screen(), QGuiApplication::screens().at(1));
        QCOMPARE(overlay->selectRect(), QRect(10, 20, 300, 200));
        QCOMPARE(overlay->renderRubberRect().toImage().pixelColor(5, 5), QColor(Qt::green));
        Core::instance()->deleteSurfaceScreen();
    }

    // The part of the desktop left of and above the origin is not lost to the join.
    void joinedArea_placesScreensAtNegativePositions()
    {
        const QList<QScreen *> screens = QGuiApplication::screens();
        const QImage joined = joinScreenImages({{screens.at(0)->geometry(), filled(QSize(1600, 900), Qt::red)},
                                                {screens.at(1)->geometry(), filled(QSize(1024, 768), Qt::blue)}},
                                               QRect(-100, 50, 200, 100))
                                  .toImage();
        QCOMPARE(joined.size(), QSize(200, 100));
        QCOMPARE(QColor(joined.pixel(0, 0)), QColor(Qt::red));
        QCOMPARE(QColor(joined.pixel(99, 99)), QColor(Qt::red));
        QCOMPARE(QColor(joined.pixel(100, 50)), QColor(Qt::blue));
        QCOMPARE(QColor(joined.pixel(150, 10)), QColor(Qt::black));
    }

    void editor_isCentredInItsScreensAvailableArea()
    {
        EditPonoramWidget *editor = openEditor(filled(QSize(2000, 300), Qt::white));
        QVERIFY(editor);
        const QPoint centre = QGuiApplication::primaryScreen()->availableGeometry().center();
        QVERIFY2((editor->geometry().center() - centre).manhattanLength() <= 2,
                 qPrintable(QStringLiteral("window at %1,%2").arg(editor->x()).arg(editor->y())));
        editor->close();
    }

    // The zoom only scales what is shown: the saved image is the image's size, the
    // rectangle where it was drawn on the image.
    void editor_savesTheSameImageAtAnyZoom()
    {
        Setting::instance()->setValue(SettingKeys::qualityImage, 2);
        QTemporaryDir folder;
        const QImage atFull = annotateAndSave(0, folder.filePath("full.png"));
        const QImage atHalf = annotateAndSave(5, folder.filePath("half.png"));
        QCOMPARE(atFull.size(), QSize(2000, 300));
        QVERIFY(atFull != filled(QSize(2000, 300), Qt::white).toImage().convertToFormat(atFull.format()));
        QCOMPARE(atHalf, atFull);
    }

    // The editor closes once its image is in a file; a cancelled dialog keeps it open with
    // the image, nothing written.
    void editorSave_closesOnlyWhenTheFileIsWritten_data()
    {
        QTest::addColumn<bool>("cancelled");
        QTest::newRow("saved") << false;
        QTest::newRow("cancelled") << true;
    }

    void editorSave_closesOnlyWhenTheFileIsWritten()
    {
        QFETCH(bool, cancelled);
        QTemporaryDir folder;
        const QString file = folder.filePath("edited.png");
        EditPonoramWidget *editor = openEditor(filled(QSize(400, 300), Qt::white));
        QVERIFY(editor);
        Core::setSaveFileDialog([&](const QString &, const QString &, const QString &) {
            return cancelled ? QString() : file;
        });
        QTest::keyClick(editor, Qt::Key_S, Qt::ControlModifier);
        QCOMPARE(QFileInfo::exists(file), !cancelled);
        QCOMPARE(editor->isVisible(), cancelled);
        if (cancelled)
            editor->close();
    }
};

int main(int argc, char *argv[])
{
    QTemporaryFile layout;
    layout.open();
    layout.write(R"({"screens": [
        {"name": "left", "x": -1600, "y": 0, "width": 1600, "height": 900, "logicalDpi": 96, "dpr": 1},
        {"name": "right", "x": 0, "y": 100, "width": 1024, "height": 768, "logicalDpi": 96, "dpr": 1}
    ]})");
    layout.flush();
    qputenv("QT_QPA_PLATFORM", ("offscreen:configfile=" + layout.fileName()).toLocal8Bit());
    QGuiApplication app(argc, argv);
    JoinScreensTest test;
    return QTest::qExec(&test, argc, argv);
}

#include "tst_joinscreens.moc"
