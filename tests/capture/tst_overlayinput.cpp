// The capture overlay's keys and mouse on a real X server, as one table: each row opens a
// capture over a known picture, prepares it (a selection, an item, the confirm box, ...),
// gives one input and checks its one effect where the user meets it: a file on the local
// service with its share page, a saved file, the clipboard, the window, the selection, the
// tool, an analytics request. Also: a tool change leaves drawn items as they are.

#include "../harness/overlay.h"
#include "../harness/pagedriver.h"
#include "../service/standin.h"
#include "../upload/uploadtestsupport.h"
#include "network/analytics.h"
#include "painter/abstractgraphitem.h"
#include "painter/mpainterarea.h"
#include "upload/uploadmodel.h"

#include <QClipboard>
#include <QLoggingCategory>
#include <QQuickItem>
#include <QUrlQuery>

using namespace UploadTest;

namespace {

const QRect selection(100, 100, 400, 300);
const QPoint inside(200, 200);

} // namespace

class OverlayInputTest : public QObject
{
    Q_OBJECT

    ServiceStandIn m_service;
    PatternWindow m_pattern;
    QTemporaryDir m_scratch;
    QPointer<SurfaceWidget> m_overlay;
    QList<QUrl> m_shared;
    QString m_saveAnswer;
    QPointer<AbstractGraphItem> m_drawn;

    MPainterArea *canvas() const { return m_overlay->paintArea(); }
    SurfaceSelector *selector() const { return m_overlay->selector(); }

    bool open()
    {
        m_overlay = openOverlay();
        return m_overlay && m_overlay->isActive();
    }

    void click(const QPoint &at, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(m_overlay, button, {}, at);
    }

    void drag(const QPoint &from, const QPoint &to)
    {
        QTest::mousePress(m_overlay, Qt::LeftButton, {}, from);
        QTest::mouseMove(m_overlay, (from + to) / 2);
        QTest::mouseMove(m_overlay, to);
        QTest::mouseRelease(m_overlay, Qt::LeftButton, {}, to);
    }

    // A click on the toolbar's button, as the user picks a tool (a second click puts it down).
    void clickTool(const QString &tool)
    {
        QVERIFY(PageDriver::click(m_overlay, "tool" + tool));
    }

    void chooseTool(const QString &tool)
    {
        if (canvas()->currentModule() != tool)
            clickTool(tool);
        QCOMPARE(canvas()->currentModule(), tool);
    }

    void typeText(const QString &text)
    {
        chooseTool("Text");
        click(QPoint(180, 180));
        for (const QChar c : text)
            QTest::sendKeyEvent(QTest::Click, m_overlay, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }

    void press(const QString &keys)
    {
        const QKeyCombination combination = QKeySequence(keys)[0];
        QTest::keyClick(m_overlay, combination.key(), combination.keyboardModifiers());
    }

    QStringList recordIds() { return m_service.files().keys(); }

    void prepare(const QString &setup)
    {
        const QStringList steps = setup.split(',', Qt::SkipEmptyParts);
        m_drawn = nullptr;
        Setting::instance()->setValue(SettingKeys::showCloseSurfaceWindow, steps.contains("no confirm") ? 0 : 1);
        if (steps.contains("selection"))
            selector()->setRubberRect(QRectF(selection));
        if (steps.contains("rect")) {
            chooseTool("Rect");
            drag(QPoint(150, 150), QPoint(250, 220));
            m_drawn = canvas()->currentItem();
            QVERIFY(m_drawn && m_drawn->isChecked());
        }
        if (steps.contains("undone"))
            canvas()->checkUndo();
        if (steps.contains("text"))
            typeText(QStringLiteral("hello"));
        if (steps.contains("text selected"))
            press("Ctrl+A");
        if (steps.contains("no tool"))
            clickTool(canvas()->currentModule());
        if (steps.contains("confirm"))
            m_overlay->setVisibleCloseWindow(true);
        if (steps.contains("whole"))
            selector()->expandToFullScreen();
        if (steps.contains("pointer"))
            QTest::mouseMove(m_overlay, QPoint(333, 222));
    }

    void act(const QString &input)
    {
        if (input == "right click") {
            click(inside, Qt::RightButton);
        } else if (input == "double click") {
            QTest::mouseDClick(m_overlay, Qt::LeftButton, {}, inside);
        } else if (input == "drag inside") {
            drag(inside, inside + QPoint(50, 30));
        } else if (input == "Space released") {
            QTest::keyRelease(m_overlay, Qt::Key_Space);
        } else if (input == "Space held while drawing") {
            QTest::mousePress(m_overlay, Qt::LeftButton, {}, QPoint(100, 100));
            QTest::mouseMove(m_overlay, QPoint(300, 200));
            QTest::keyPress(m_overlay, Qt::Key_Space);
            QTest::mouseMove(m_overlay, QPoint(400, 300));
            QTest::keyRelease(m_overlay, Qt::Key_Space);
            QTest::mouseMove(m_overlay, QPoint(450, 320));
            QTest::mouseRelease(m_overlay, Qt::LeftButton, {}, QPoint(450, 320));
        } else {
            press(input);
        }
    }

    // The capture went up, as a file on the service, with the share page of its action.
    void verifyUpload(const QStringList &recordsBefore, const QString &sharePage)
    {
        QVERIFY(!m_overlay->isVisible());
        const QJsonObject record = m_service.newFile(recordsBefore);
        QTRY_COMPARE_WITH_TIMEOUT(Core::instance()->uploadModel()->rowCount(), 0, 15000);
        QCOMPARE(record.value("sha256").toString(), sha256Of(Core::instance()->lastCaptureFile()));
        QCOMPARE(m_shared.size(), sharePage.isEmpty() ? 0 : 1);
        if (!sharePage.isEmpty())
            QCOMPARE(m_shared.first().toString(QUrl::RemoveQuery), sharePage);
    }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        QVERIFY2(m_service.start(), "the service stand-in did not start");
        m_service.post("/_test/token", {{"token", "overlay-token"}});
        AnalyticsEvent::setDestination(m_service.url("/mp/collect"), QStringLiteral("G-OVERLAY"));
        setValues({{SettingKeys::token, QStringLiteral("overlay-token")},
                   {SettingKeys::typeUpload, QStringLiteral("mavu")},
                   {SettingKeys::showUpload, 0},
                   {SettingKeys::showLastUpload, 0},
                   {SettingKeys::qualityImage, 2},
                   {SettingKeys::lastGraphTools, QStringLiteral("Line")}});
        UploadHooks::openUrl() = [this](const QUrl &url) {
            m_shared.append(url);
            return true;
        };
        Core::setSaveFileDialog([this](const QString &, const QString &, const QString &) { return m_saveAnswer; });
        QVERIFY(m_pattern.showExposed());
    }

    void cleanup()
    {
        if (m_overlay && m_overlay->isVisible())
            QVERIFY(closeOverlay(m_overlay, &m_pattern, 100));
    }

    void input_hasItsEffect_data()
    {
        QTest::addColumn<QString>("setup");
        QTest::addColumn<QString>("input");
        QTest::addColumn<QString>("effect");
        QTest::newRow("Ctrl+C, no selection: the colour under the pointer") << "pointer" << "Ctrl+C" << "colour";
        QTest::newRow("Ctrl+Return: upload") << "selection" << "Ctrl+Return" << "upload";
        QTest::newRow("Ctrl+Enter: upload") << "selection" << "Ctrl+Enter" << "upload";
        QTest::newRow("Ctrl+C, no item: the picture") << "selection,no tool" << "Ctrl+C" << "picture copied";
        QTest::newRow("Ctrl+C, text selected: the text") << "selection,text,text selected" << "Ctrl+C" << "text copied";
        QTest::newRow("Ctrl+C, text not selected: the picture") << "selection,text" << "Ctrl+C" << "picture copied";
        QTest::newRow("Ctrl+C, a rectangle: the picture") << "selection,rect" << "Ctrl+C" << "picture copied";
        QTest::newRow("Ctrl+Shift+C: as Ctrl+C") << "selection,text,text selected" << "Ctrl+Shift+C" << "text copied";
        QTest::newRow("Ctrl+S: save") << "selection" << "Ctrl+S" << "saved";
        QTest::newRow("Ctrl+Shift+V: VK") << "selection" << "Ctrl+Shift+V" << "https://vk.com/share.php";
        QTest::newRow("Ctrl+Shift+O: Odnoklassniki") << "selection" << "Ctrl+Shift+O" << "https://connect.ok.ru/offer";
        QTest::newRow("Ctrl+Shift+F: Facebook")
            << "selection" << "Ctrl+Shift+F" << "https://www.facebook.com/sharer/sharer.php";
        QTest::newRow("Ctrl+Shift+T: Twitter") << "selection" << "Ctrl+Shift+T" << "https://twitter.com/intent/tweet";
        QTest::newRow("Ctrl+Shift+E: e-mail") << "selection" << "Ctrl+Shift+E" << "mailto:";
        QTest::newRow("Ctrl+Shift+Z: redo") << "selection,rect,undone" << "Ctrl+Shift+Z" << "redo";
        QTest::newRow("Ctrl+Z: undo") << "selection,rect" << "Ctrl+Z" << "undo";
        QTest::newRow("Ctrl+Alt+Shift+Z: undo, not redo") << "selection,rect" << "Ctrl+Alt+Shift+Z" << "undo";
        QTest::newRow("Alt+F4: close") << "selection,rect" << "Alt+F4" << "closed";
        QTest::newRow("Escape, no confirming: close") << "selection,rect,no confirm" << "Escape" << "closed";
        QTest::newRow("Escape, a checked item: uncheck") << "selection,rect" << "Escape" << "unchecked";
        QTest::newRow("Escape, no selection: close") << "" << "Escape" << "closed";
        QTest::newRow("Escape: ask") << "selection" << "Escape" << "asks";
        QTest::newRow("Escape, asking: back") << "selection,confirm" << "Escape" << "back";
        QTest::newRow("Return, asking: close") << "selection,confirm" << "Return" << "closed";
        QTest::newRow("Space released, a rectangle: Move") << "selection,rect" << "Space released" << "tool Move";
        QTest::newRow("Space released, a text: no change") << "selection,text" << "Space released" << "tool Text";
        QTest::newRow("Space held while drawing: slides") << "" << "Space held while drawing" << "slid";
        QTest::newRow("right click: upload") << "selection" << "right click" << "upload";
        QTest::newRow("right click, no selection: nothing") << "" << "right click" << "nothing";
        QTest::newRow("drag inside, no tool: moves") << "selection,no tool" << "drag inside" << "moved";
        QTest::newRow("drag inside, a tool: draws") << "selection" << "drag inside" << "drawn";
        QTest::newRow("double click, no selection: all") << "" << "double click" << "whole";
        QTest::newRow("double click, all: none") << "whole" << "double click" << "empty";
    }

    void input_hasItsEffect()
    {
        QFETCH(QString, setup);
        QFETCH(QString, input);
        QFETCH(QString, effect);
        QVERIFY(open());
        prepare(setup);
        m_shared.clear();
        m_saveAnswer = m_scratch.filePath(QStringLiteral("saved-%1").arg(QTest::currentDataTag()).remove(':'));
        QGuiApplication::clipboard()->setText(QStringLiteral("before"));
        const QString lastCapture = Core::instance()->lastCaptureFile();
        const QStringList records = recordIds();
        const int events = m_service.analyticsCount();
        AbstractGraphItem *item = canvas()->currentItem();

        act(input);

        if (effect == "upload" || effect.contains(':')) {
            verifyUpload(records, effect == "upload" ? QString() : effect);
            QCOMPARE(rgb(QImage(Core::instance()->lastCaptureFile())), m_pattern.image.copy(selection));
            return;
        }
        QCOMPARE(Core::instance()->lastCaptureFile(), lastCapture);
        if (effect == "closed" || effect == "colour" || effect == "picture copied" || effect == "saved")
            QVERIFY(!m_overlay->isVisible());
        else
            QVERIFY(m_overlay->isVisible() && m_overlay->isCapturing());

        if (effect == "colour") {
            QCOMPARE(QGuiApplication::clipboard()->text(), QColor(m_pattern.image.pixel(333, 222)).name().mid(1));
        } else if (effect == "picture copied") {
            QCOMPARE(QGuiApplication::clipboard()->image().size(), selection.size());
            if (!item)
                QCOMPARE(rgb(QGuiApplication::clipboard()->image()), m_pattern.image.copy(selection));
        } else if (effect == "text copied") {
            QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("hello"));
        } else if (effect == "saved") {
            QCOMPARE(rgb(QImage(m_saveAnswer + ".png")), m_pattern.image.copy(selection));
        } else if (effect == "undo" || effect == "redo") {
            QVERIFY(m_drawn);
            QCOMPARE(m_drawn->isVisible(), effect == "redo");
            QCOMPARE(m_service.analyticsEvent(events).value("label").toString(), effect);
        } else if (effect == "unchecked") {
            QVERIFY(!canvas()->checkItem());
            QVERIFY(!m_overlay->visibleCloseWindow());
        } else if (effect == "asks" || effect == "back") {
            QCOMPARE(m_overlay->visibleCloseWindow(), effect == "asks");
        } else if (effect.startsWith("tool ")) {
            QCOMPARE(canvas()->currentModule(), effect.mid(5));
        } else if (effect == "slid") {
            QCOMPARE(selector()->rubberRect(), QRectF(200, 200, 250, 120));
        } else if (effect == "nothing") {
            QVERIFY(selector()->isEmptySelection());
        } else if (effect == "moved" || effect == "drawn") {
            QCOMPARE(m_overlay->selectRect(), effect == "moved" ? selection.translated(50, 30) : selection);
            QCOMPARE(canvas()->graphItems().size(), effect == "drawn" ? 1 : 0);
        } else if (effect == "whole" || effect == "empty") {
            QCOMPARE(m_overlay->selectRect(), effect == "whole" ? QRect(QPoint(0, 0), m_overlay->size()) : QRect());
        }
        if (effect != "colour" && effect != "picture copied" && effect != "text copied")
            QCOMPARE(QGuiApplication::clipboard()->text(), QStringLiteral("before"));
    }

    void toolChange_leavesTheDrawnItemAsItIs_data()
    {
        QTest::addColumn<QString>("drawn");
        QTest::addColumn<QString>("picked");
        QTest::newRow("arrow, then blur") << "Arrow" << "Blur";
        QTest::newRow("text, then arrow") << "Text" << "Arrow";
        QTest::newRow("line, then blackout") << "Line" << "Blackout";
    }

    // On screen and in the upload; the tools bring widths of their own (2, 6 and 9).
    void toolChange_leavesTheDrawnItemAsItIs()
    {
        QFETCH(QString, drawn);
        QFETCH(QString, picked);
        QVERIFY(open());
        prepare("selection");
        if (drawn == "Text") {
            typeText(QStringLiteral("Hello"));
        } else {
            chooseTool(drawn);
            drag(QPoint(150, 150), QPoint(350, 250));
        }
        AbstractGraphItem *item = canvas()->currentItem();
        QVERIFY(item && item->isChecked());
        const int width = item->lineWidth();
        const QImage rendered = canvas()->renderRect(selection, 50000.0, true, false);
        const QImage onScreen = rgb(m_overlay->grabWindow().copy(selection));

        chooseTool(picked);
        QCOMPARE(item->lineWidth(), width);
        QCOMPARE(rgb(m_overlay->grabWindow().copy(selection)), onScreen);
        const QStringList records = recordIds();
        press("Ctrl+Return");
        verifyUpload(records, QString());
        QCOMPARE(QImage(Core::instance()->lastCaptureFile()), rgb(rendered));
    }

    // A width picked on the slider while an item is selected is one step of the history.
    void widthPickedWithAnItemSelected_changesItAsOneStep()
    {
        QVERIFY(open());
        prepare("selection");
        chooseTool("Arrow");
        drag(QPoint(150, 150), QPoint(350, 250));
        AbstractGraphItem *arrow = canvas()->currentItem();
        const int width = arrow->lineWidth();
        QQuickItem *track = PageDriver::named(m_overlay, "sliderTrack");
        QVERIFY(track && track->isVisible());
        click(track->mapToScene(QPointF(80, 10)).toPoint());
        const int picked = arrow->lineWidth();
        QVERIFY(picked > width);
        QCOMPARE(canvas()->currentLineWidth(), picked);
        press("Ctrl+Z");
        QCOMPARE(arrow->lineWidth(), width);
        QVERIFY(arrow->isVisible());
        press("Ctrl+Shift+Z");
        QCOMPARE(arrow->lineWidth(), picked);
    }
};

QTEST_MAIN(OverlayInputTest)
#include "tst_overlayinput.moc"
