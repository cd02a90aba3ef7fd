#pragma once

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>
#include <QTest>

// A picture in which neighbouring pixels differ, so that any shift or scaling of a capture
// shows.
inline QImage patternImage(const QSize &size)
{
    QImage image(size, QImage::Format_RGB32);
    for (int y = 0; y < size.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
        for (int x = 0; x < size.width(); ++x)
            line[x] = qRgb((x * 7) & 255, (y * 13) & 255, (x + 3 * y) & 255);
    }
    return image;
}

// A window covering the primary screen with the pattern, or with the picture it is given.
class PatternWindow : public QRasterWindow
{
public:
    PatternWindow()
        : image(patternImage(QGuiApplication::primaryScreen()->geometry().size()))
    {
        setFlags(Qt::FramelessWindowHint);
        setGeometry(QRect(QPoint(0, 0), image.size()));
    }

    bool showExposed()
    {
        show();
        return QTest::qWaitForWindowExposed(this);
    }

    // Shows another picture, once it is on the screen.
    void showPicture(const QImage &picture)
    {
        image = picture;
        update();
        QTest::qWait(300);
    }

    void paintEvent(QPaintEvent *) override { QPainter(this).drawImage(0, 0, image); }

    QImage image;
};
