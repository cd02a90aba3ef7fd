#pragma once

// Loads the overlay page into a 1920 x 1080 view with the recording stand-ins in place of
// the overlay window, settings, core, canvas, selector and magnifier, drawn by the software
// scene graph as the program draws it.

#include "capture/ponorampreview.h"
#include "capture/screenpicture.h"
#include "standins.h"
#include "windows/windowtypes.h"

#include <QQmlContext>
#include <QQmlEngine>
#include <QQuickView>
#include <QtQml>
#include <QTest>
#include <memory>

struct SurfacePage
{
    FakeSurface surface;
    FakeSettings settings;
    FakeCore core;
    std::unique_ptr<QQuickView> view;

    static void registerStandIns()
    {
        QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
        registerWindowQmlTypes();
        qmlRegisterType<ScreenPicture>("MavuComponent", 1, 0, "ScreenPicture");
        registerPonoramPreviewType();
        qmlRegisterType<FakeCanvas>("MavuComponent", 1, 0, "MPainterArea");
        qmlRegisterType<FakeSelector>("MavuComponent", 1, 0, "SurfaceSelector");
        qmlRegisterType<FakeMagnifier>("MavuComponent", 1, 0, "MagnifierItem");
    }

    SurfacePage()
    {
        QPixmap screen(64, 48);
        screen.fill(QColor(40, 120, 200));
        surface.setBackground(screen);
    }

    bool load()
    {
        view = std::make_unique<QQuickView>();
        QQmlContext *context = view->rootContext();
        context->setContextProperty("window", &surface);
        context->setContextProperty("surface", &surface);
        context->setContextProperty("settings", &settings);
        context->setContextProperty("fullScreen", false);
        context->setContextProperty("quickscreen", false);
        context->setContextProperty("core", &core);
        view->setResizeMode(QQuickView::SizeRootObjectToView);
        view->resize(1920, 1080);
        view->setSource(QUrl("qrc:/qml/qml/Window/SurfaceWindow.qml"));
        if (view->status() != QQuickView::Ready)
            return false;
        view->show();
        return QTest::qWaitForWindowExposed(view.get());
    }

    QQuickItem *root() const { return view->rootObject(); }
    // By object name, through the object tree and the visual tree (repeater delegates are
    // only in the latter).
    template <typename T = QQuickItem> T *item(const QString &name) const
    {
        if (T *found = root()->findChild<T *>(name))
            return found;
        return qobject_cast<T *>(findInItems(root(), name));
    }
    static QQuickItem *findInItems(QQuickItem *parent, const QString &name)
    {
        for (QQuickItem *child : parent->childItems()) {
            if (child->objectName() == name)
                return child;
            if (QQuickItem *found = findInItems(child, name))
                return found;
        }
        return nullptr;
    }
    FakeCanvas *canvas() const { return item<FakeCanvas>("MPainterArea"); }
    FakeCanvas *ponoramCanvas() const { return item<FakeCanvas>("ponoramPaintArea"); }
    FakeSelector *selector() const { return item<FakeSelector>("SurfaceSelector"); }
    QQuickItem *toolBar() const { return item("toolBar"); }

    // Centre of an item in window coordinates.
    QPoint centreOf(QQuickItem *target) const
    {
        Q_ASSERT(target);
        return target->mapToScene(QPointF(target->width() / 2, target->height() / 2)).toPoint();
    }
    QPoint pointIn(QQuickItem *target, qreal x, qreal y) const
    {
        return target->mapToScene(QPointF(x, y)).toPoint();
    }
    void click(QQuickItem *target) const { QTest::mouseClick(view.get(), Qt::LeftButton, {}, centreOf(target)); }
    void clickAt(const QPoint &point) const { QTest::mouseClick(view.get(), Qt::LeftButton, {}, point); }
};
