#pragma once

// A canvas hosted in a real (offscreen, software-rendered) Qt Quick window, driven through
// its tool modules the way the overlay page drives it.

#include "../harness/patternwindow.h"
#include "painter/graphmodule.h"
#include "painter/mpainterarea.h"

#include <QPainter>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTest>
#include <memory>

inline QImage whiteImage(const QSize &size)
{
    QImage image(size, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    return image;
}

inline QImage asArgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_ARGB32);
}

struct CanvasFixture
{
    explicit CanvasFixture(const QSize &size = QSize(400, 300), const QImage &background = QImage())
    {
        static const bool softwareScene = [] {
            QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
            return true;
        }();
        Q_UNUSED(softwareScene);
        window = std::make_unique<QQuickWindow>();
        window->resize(size);
        canvas = new MPainterArea(window->contentItem());
        canvas->setSize(size);
        canvas->setBackground(background.isNull() ? whiteImage(size) : background);
    }

    bool show()
    {
        window->show();
        window->requestActivate();
        return QTest::qWaitForWindowExposed(window.get());
    }

    // Press, move through the midpoint, release: one drag of the named tool.
    AbstractGraphItem *drag(const QString &tool, QPoint from, QPoint to)
    {
        canvas->setCurrentModule(tool);
        GraphModule *module = canvas->module(tool);
        module->beginPaintItem(canvas, from);
        module->paintItem(canvas, (from + to) / 2);
        module->paintItem(canvas, to);
        module->endPaintItem(canvas, to);
        return canvas->currentItem();
    }

    AbstractGraphItem *click(const QString &tool, QPoint at)
    {
        return drag(tool, at, at);
    }

    QImage render(bool antialias = false, double zLimit = 50000.0)
    {
        return asArgb(canvas->renderRect(QRect(QPoint(0, 0), window->size()), zLimit, antialias, false));
    }

    std::unique_ptr<QQuickWindow> window;
    MPainterArea *canvas = nullptr;
};

// Number of pixels that differ between two images of one size.
inline int differingPixels(const QImage &a, const QImage &b, const QRect &area)
{
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            count += a.pixel(x, y) != b.pixel(x, y);
    return count;
}
