#pragma once

// A real Qt Quick window on the software renderer that hosts one capture item, so that tests
// drive it with window-level mouse and key events and read its pixels back exactly.
#include <QColor>
#include <QImage>
#include <QQuickItem>
#include <QQuickWindow>
#include <QSGRendererInterface>
#include <QTest>

#include <memory>

inline void useSoftwareRenderer()
{
    QQuickWindow::setGraphicsApi(QSGRendererInterface::Software);
}

template <typename Item>
class CaptureTestHost
{
public:
    CaptureTestHost(const QSize &size, const QColor &clearColour = QColor(200, 120, 40))
        : window(std::make_unique<QQuickWindow>())
    {
        window->setColor(clearColour);
        window->resize(size);
        item = new Item(window->contentItem());
        item->setSize(QSizeF(size));
        window->show();
        window->requestActivate();
        exposed = QTest::qWaitForWindowExposed(window.get());
        active = QTest::qWaitForWindowActive(window.get());
    }

    QImage grab() { return window->grabWindow().convertToFormat(QImage::Format_RGB32); }

    void press(const QPoint &at) { QTest::mousePress(window.get(), Qt::LeftButton, {}, at); }
    void move(const QPoint &to) { QTest::mouseMove(window.get(), to); }
    void release(const QPoint &at) { QTest::mouseRelease(window.get(), Qt::LeftButton, {}, at); }

    // Press, one move per listed point, release at the last one.
    void drag(const QPoint &from, std::initializer_list<QPoint> through)
    {
        press(from);
        QPoint last = from;
        for (const QPoint &point : through) {
            move(point);
            last = point;
        }
        release(last);
    }

    std::unique_ptr<QQuickWindow> window;
    Item *item = nullptr;
    bool exposed = false;
    bool active = false;
};
