#pragma once

#include <QGuiApplication>
#include <QPainter>
#include <QRasterWindow>
#include <QScreen>

// A window covering the screen with a pattern in which neighbouring pixels differ, so that
// any shift or scaling of a capture shows.
class PatternWindow : public QRasterWindow
{
public:
    PatternWindow()
    {
        const QSize size = QGuiApplication::primaryScreen()->geometry().size();
        image = QImage(size, QImage::Format_RGB32);
        for (int y = 0; y < size.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(image.scanLine(y));
            for (int x = 0; x < size.width(); ++x)
                line[x] = qRgb((x * 7) & 255, (y * 13) & 255, (x + y) & 255);
        }
        setFlags(Qt::FramelessWindowHint);
        setGeometry(QRect(QPoint(0, 0), size));
    }

    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.drawImage(0, 0, image);
    }

    QImage image;
};
