#include "pagetestsupport.h"
#include "standins.h"
#include "windows/cursorshapearea.h"
#include "windows/wheelarea.h"
#include "windows/windowtypes.h"

#include <QDirIterator>
#include <QQmlContext>
#include <QQuickView>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>

// The stand-in for `window` that the components ask for their place in the page.
class FakeHostWindow : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool isTransparentSupport READ isTransparentSupport CONSTANT)
    Q_PROPERTY(int width READ width CONSTANT)
    Q_PROPERTY(int height READ height CONSTANT)

public:
    bool isTransparentSupport() const { return true; }
    int width() const { return 400; }
    int height() const { return 300; }
    Q_INVOKABLE QPointF mapToScene(QQuickItem *item) const { return FakeSurface().mapToScene(item); }
    Q_INVOKABLE void close() { ++closes; }
    int closes = 0;
};

class ComponentsTest : public QObject
{
    Q_OBJECT

    FakeSettings settings;
    FakeCore core;
    FakeHostWindow host;
    std::unique_ptr<QQuickView> view;

    // Shows `body` (QML inside an Item of 400 x 300 that imports the components).
    QQuickItem *show(const QString &body)
    {
        view = std::make_unique<QQuickView>();
        view->rootContext()->setContextProperty("settings", &settings);
        view->rootContext()->setContextProperty("core", &core);
        view->rootContext()->setContextProperty("window", &host);
        const QString qml = "import QtQuick\nimport MavuComponent 1.0\nimport \"../Components\"\nimport \"../Settings\"\n"
                            "Item { width: 400; height: 300\n" + body + "\n}\n";
        QQmlComponent component(view->engine());
        component.setData(qml.toUtf8(), QUrl("qrc:/qml/qml/Window/ComponentProbe.qml"));
        auto *root = qobject_cast<QQuickItem *>(component.create(view->rootContext()));
        if (!root) {
            qWarning() << component.errors();
            return nullptr;
        }
        view->setContent(QUrl(), nullptr, root);
        view->show();
        return QTest::qWaitForWindowExposed(view.get()) ? root : nullptr;
    }

    QQuickItem *named(const QString &name) const { return view->rootObject()->findChild<QQuickItem *>(name); }
    void clickAt(QQuickItem *item, qreal x, qreal y, Qt::MouseButton button = Qt::LeftButton)
    {
        QTest::mouseClick(view.get(), button, {}, item->mapToScene(QPointF(x, y)).toPoint());
    }
    void click(QQuickItem *item) { clickAt(item, item->width() / 2, item->height() / 2); }

private slots:
    void initTestCase()
    {
        registerWindowQmlTypes();
        PageTestSupport::install();
    }

    void cleanup()
    {
        view.reset();
        const QString warnings = PageTestSupport::takeWarnings();
        QVERIFY2(warnings.isEmpty(), qPrintable(warnings));
    }

    void imagesNamedInPages_areAllInTheResources()
    {
        QStringList names;
        const QRegularExpression literal(QStringLiteral("\"(qrc:/[^\"]+\\.(?:png|ico))\""));
        QDirIterator files(":/qml/qml", QDir::Files, QDirIterator::Subdirectories);
        while (files.hasNext()) {
            QFile file(files.next());
            QVERIFY(file.open(QIODevice::ReadOnly));
            const QString text = QString::fromUtf8(file.readAll());
            for (auto match = literal.globalMatch(text); match.hasNext();)
                names << match.next().captured(1);
        }
        QVERIFY(names.size() >= 10);
        const QString component = "qrc:/component/image/component/";
        for (const char *stem : {"move", "pen", "marker", "line", "arrow", "text", "circle", "rect", "counter", "blur",
                                 "blackout", "circle_command", "rect_command"})
            for (const char *form : {"", "_hover", "_checked"})
                names << component + "tool_" + stem + form + ".png";
        for (int value = 2; value <= 26; ++value)
            names << component + QString("slider_background_%1.png").arg(value);
        for (const char *kind : {"checkbox", "radio"})
            for (const char *state : {"_select", "_unselect"})
                for (const char *hover : {"_over", "_enter"})
                    names << component + kind + state + hover + ".png";
        for (const char *side : {"left", "right"})
            for (const char *edge : {"_top", "_bottom"})
                names << component + "toolTip_background_" + side + edge + ".png";
        for (const char *stem : {"login_button_background", "dark_button_background"})
            for (const char *form : {"", "_hover", "_press"})
                names << component + stem + form + ".png";
        for (const char *stem : {"undo", "redo"})
            for (const char *form : {"", "_hover", "_disable"})
                names << QString("qrc:/icon/image/icon/%1_arrow%2.png").arg(stem, form);
        for (const char *name : {"close", "close_enter", "turn", "turn_enter", "close_window_checkbox_check",
                                 "close_window_checkbox_uncheck", "drop_checkbox", "drop_checkbox_check"})
            names << component + name + ".png";
        for (const char *name : {"tool_accept_icon.png", "tool_accept_icon_enter.png", "tool_accept_menu_arrow_bottom.png",
                                 "tool_accept_menu_arrow_bottom_enter.png", "tool_accept_menu_arrow_top_enter.png",
                                 "menu_icon_vk.png", "menu_icon_od.png", "menu_icon_fb.png", "menu_icon_tw.png",
                                 "menu_icon_mail.png", "icon.ico", "main_ico.png"})
            names << QString("qrc:/icon/image/icon/") + name;
        for (const char *name : {"accept_menu.png", "accept_menu_top.png", "button_drop_panel.png",
                                 "button_drop_panel_top.png", "rounded_edge.png"})
            names << QString("qrc:/image/image/image/") + name;
        for (const QString &name : names) {
            QImage image(name.mid(3));
            QVERIFY2(!image.isNull(), qPrintable(name));
        }
    }

    void sizedImages_matchTheLayout()
    {
        QCOMPARE(QImage(":/image/image/image/tool_move.png").size(), QSize(14, 42));
        QCOMPARE(QImage(":/image/image/image/split.png").size(), QSize(2, 30));
        QCOMPARE(QImage(":/image/image/image/tool_accept_background.png").size(), QSize(83, 63));
        QCOMPARE(QImage(":/component/image/component/slider_background.png").size(), QSize(105, 20));
        QCOMPARE(QImage(":/component/image/component/slider_control.png").size(), QSize(18, 18));
        QCOMPARE(QImage(":/component/image/component/close.png").size(), QSize(17, 17));
        QCOMPARE(QImage(":/icon/image/icon/tool_accept_icon.png").size(), QSize(34, 28));
        QCOMPARE(QImage(":/icon/image/icon/menu_icon_vk.png").size(), QSize(19, 19));
        QCOMPARE(QImage(":/component/image/component/checkbox_select_over.png").size(), QSize(13, 13));
        QVERIFY(QImage(":/image/image/image/rounded_edge.png").hasAlphaChannel());
    }

    void progressBar_fillFollowsValueAndIsEmptyForAnEmptyRange()
    {
        QVERIFY(show("ProgressBar { objectName: 'bar'; width: 200; value: 25 }"));
        QQuickItem *bar = named("bar");
        QQuickItem *fill = bar->findChild<QQuickItem *>("progressFill");
        QCOMPARE(fill->width(), 50.0);
        bar->setProperty("maximum", 0);
        bar->setProperty("minimum", 0);
        QCOMPARE(fill->width(), 0.0);
        QVERIFY(!fill->isVisible());
        bar->setProperty("maximum", 100);
        bar->setProperty("value", 300);
        QCOMPARE(fill->width(), 200.0);
    }

    void checkBox_togglesAndRadioButtonStaysOn()
    {
        QVERIFY(show("CheckBox { objectName: 'box'; text: 'Box' }\n"
                     "RadioButton { objectName: 'radio'; y: 50; text: 'Radio' }"));
        QQuickItem *box = named("box");
        QQuickItem *radio = named("radio");
        QSignalSpy boxClicks(box, SIGNAL(click(bool)));
        QSignalSpy radioClicks(radio, SIGNAL(click(bool)));
        click(box);
        click(box);
        QCOMPARE(boxClicks.count(), 2);
        QCOMPARE(boxClicks.at(0).at(0).toBool(), true);
        QCOMPARE(boxClicks.at(1).at(0).toBool(), false);
        click(radio);
        click(radio);
        QVERIFY(radio->property("check").toBool());
        QCOMPARE(radioClicks.count(), 2);
        QCOMPARE(radioClicks.at(1).at(0).toBool(), true);
    }

    void radioGroup_leavesOnlyTheLastChosenButtonOn()
    {
        QVERIFY(show("RadioGroup { objectName: 'group'; choices: ['A', 'B', 'C'] }"));
        QList<QQuickItem *> buttons = named("group")->childItems();
        buttons.removeIf([](QQuickItem *item) { return !item->property("check").isValid(); });
        QCOMPARE(buttons.size(), 3);
        for (int chosen : {0, 2, 1}) {
            click(buttons.at(chosen));
            for (int i = 0; i < 3; ++i)
                QCOMPARE(buttons.at(i)->property("check").toBool(), i == chosen);
        }
        QCOMPARE(named("group")->property("current").toInt(), 1);
    }

    void pushButton_firesOnPressOfEitherButton()
    {
        QVERIFY(show("PushButton { objectName: 'button' }"));
        QQuickItem *button = named("button");
        QCOMPARE(button->size(), QSizeF(100, 25));
        QSignalSpy clicks(button, SIGNAL(click()));
        QTest::mousePress(view.get(), Qt::RightButton, {}, button->mapToScene(QPointF(10, 10)).toPoint());
        QCOMPARE(clicks.count(), 1);
        QTest::mouseRelease(view.get(), Qt::RightButton, {}, button->mapToScene(QPointF(10, 10)).toPoint());
        click(button);
        QCOMPARE(clicks.count(), 2);
    }

    void textInput_setFocusGivesTheInputTheKeys()
    {
        QVERIFY(show("MTextInput { objectName: 'input'; label: 'Name' }"));
        QQuickItem *input = named("input");
        QMetaObject::invokeMethod(input, "setFocus");
        for (Qt::Key key : {Qt::Key_A, Qt::Key_B, Qt::Key_C})
            QTest::keyClick(view.get(), key);
        QCOMPARE(input->property("text").toString(), QStringLiteral("abc"));
    }

    void hotkeyInput_recordsTheHeldCombination()
    {
        QVERIFY(show("HootKeyInput { objectName: 'hotkey'; width: 200 }"));
        QQuickItem *field = named("hotkey");
        QMetaObject::invokeMethod(field, "setFocus");
        QSignalSpy presses(field, SIGNAL(keyPress(QVariant)));
        QTest::keyPress(view.get(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(field->property("lastHoot").toString(), QStringLiteral("Shift + Ctrl + A"));
        QTest::keyRelease(view.get(), Qt::Key_A, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(field->property("lastHoot").toString(), QStringLiteral("Shift + Ctrl"));
        QCOMPARE(presses.count(), 3); // Shift, Ctrl, then A
        QSignalSpy tabs(field, SIGNAL(tabPress()));
        QTest::keyRelease(view.get(), Qt::Key_Tab, Qt::NoModifier);
        QCOMPARE(tabs.count(), 1);
    }

    void toolTip_placesItselfLeftAndFlipsAtTheWindowEdge()
    {
        QVERIFY(show("Rectangle { objectName: 'near'; x: 100; y: 150; width: 50; height: 40 }\n"
                     "Rectangle { objectName: 'edge'; x: 360; y: 150; width: 40; height: 40 }\n"
                     "ToolTip { objectName: 'tip'; text: 'Hint' }"));
        QQuickItem *tip = named("tip");
        tip->setProperty("mouseItem", QVariant::fromValue<QObject *>(named("near")));
        tip->setProperty("mouseX", 10);
        tip->setProperty("mouseY", 5);
        tip->setVisible(true);
        QCOMPARE(tip->x(), 100 + 10 - 32.0);
        QCOMPARE(tip->y(), 150 + 5 - tip->height() - 1);
        QVERIFY(tip->property("toolLeft").toBool());
        tip->setVisible(false);
        tip->setProperty("mouseItem", QVariant::fromValue<QObject *>(named("edge")));
        tip->setVisible(true);
        QVERIFY(!tip->property("toolLeft").toBool());
        QCOMPARE(tip->x(), 360 + 10 - (tip->width() - 35));
        QCOMPARE(tip->y(), 150 + 5 - tip->height() - 5);
    }

    void frame_addsTheMarginAndClosesTheWindow()
    {
        QVERIFY(show("Window { objectName: 'frame'; windowWidth: 241; windowHeight: 200; titleText: 'Mavu' }"));
        QQuickItem *frame = named("frame");
        QCOMPARE(frame->size(), QSizeF(301, 260));
        QSignalSpy closed(frame, SIGNAL(closed()));
        // The close button sits 10 pixels inside the panel's top-right corner.
        clickAt(frame, 30 + 241 - 10 - 8, 30 + 10 + 8);
        QCOMPARE(closed.count(), 1);
        QCOMPARE(host.closes, 1);
    }

    void cursorShapeArea_startsAsArrowAndSignalsRealChangesOnly()
    {
        CursorShapeArea area;
        QCOMPARE(area.cursorShape(), Qt::ArrowCursor);
        QSignalSpy changes(&area, &CursorShapeArea::cursorShapeChanged);
        area.setCursorShape(Qt::ArrowCursor);
        QCOMPARE(changes.count(), 0);
        area.setCursorShape(Qt::PointingHandCursor);
        QCOMPARE(changes.count(), 1);
        QCOMPARE(area.cursorShape(), Qt::PointingHandCursor);
        QCOMPARE(area.cursor().shape(), Qt::PointingHandCursor);
    }

    void wheelArea_reportsBothDirections()
    {
        QVERIFY(show("WheelArea { objectName: 'wheel'; anchors.fill: parent }"));
        auto *wheel = qobject_cast<WheelArea *>(named("wheel"));
        QVERIFY(wheel);
        QSignalSpy vertical(wheel, &WheelArea::verticalWheel);
        QSignalSpy horizontal(wheel, &WheelArea::horizontalWheel);
        QWheelEvent event(QPointF(50, 50), QPointF(50, 50), QPoint(), QPoint(-30, 120), Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QCoreApplication::sendEvent(view.get(), &event);
        QCOMPARE(vertical.count(), 1);
        QCOMPARE(vertical.at(0).at(0).toInt(), 120);
        QCOMPARE(horizontal.at(0).at(0).toInt(), -30);
    }
};

QTEST_MAIN(ComponentsTest)
#include "tst_components.moc"
