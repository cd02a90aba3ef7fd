#include "pagetestsupport.h"
#include "surfacepagefixture.h"

#include <QLinearGradient>
#include <QPainter>

// The overlay page on a real X server with a selection, the toolbar and its drop panel,
// compared pixel by pixel with the reference picture (no text is on screen in this state).
// The reference is the software scene graph's drawing, the renderer the program uses;
// other renderers draw gradients and tiled borders a little differently.
class SurfaceScreenshotTest : public QObject
{
    Q_OBJECT

    static QPixmap screenPicture()
    {
        QPixmap picture(1920, 1080);
        QPainter painter(&picture);
        QLinearGradient gradient(0, 0, 1920, 1080);
        gradient.setColorAt(0, QColor("#d7e3ee"));
        gradient.setColorAt(1, QColor("#5a6f86"));
        painter.fillRect(picture.rect(), gradient);
        painter.fillRect(QRect(500, 350, 500, 250), QColor("#f4f4f4"));
        painter.fillRect(QRect(520, 370, 200, 20), QColor("#2f9bd0"));
        return picture;
    }

private slots:
    void initTestCase()
    {
        SurfacePage::registerStandIns();
        PageTestSupport::install();
    }

    void pageWithSelectionAndToolbar_matchesTheReference()
    {
        SurfacePage page;
        page.surface.setBackground(screenPicture());
        QVERIFY(page.load());
        page.selector()->select(QRectF(400, 300, 800, 400));
        QQuickItem *panel = page.item("colorStrip")->parentItem();
        QTRY_VERIFY(panel->isVisible());
        QTest::qWait(300);
        const QImage window = page.view->grabWindow().convertToFormat(QImage::Format_RGB32);
        QCOMPARE(window.size(), QSize(1920, 1080));
        // The selection with the toolbar under it.
        const QImage shot = window.copy(QRect(380, 280, 850, 560));
        QVERIFY(shot.save(MAVU_TEST_BINARY_DIR "/surfacepage.png"));
        const QImage reference = QImage(MAVU_TEST_DIR "/reference/surfacepage.png").convertToFormat(QImage::Format_RGB32);
        QVERIFY2(!reference.isNull(), "reference picture missing");
        QVERIFY2(shot == reference, "page differs from reference/surfacepage.png; see " MAVU_TEST_BINARY_DIR "/surfacepage.png");
        const QString warnings = PageTestSupport::takeWarnings();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
    }
};

QTEST_MAIN(SurfaceScreenshotTest)
#include "tst_surfacescreenshot.moc"
