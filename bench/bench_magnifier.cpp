// One magnifier repaint, as the overlay's page asks for on every cursor move.
#include "capture/magnifieritem.h"

#include <QImage>
#include <QPainter>
#include <QTest>

class BenchMagnifier : public QObject
{
    Q_OBJECT

private slots:
    void paintAtCursor()
    {
        QImage screen(1920, 1080, QImage::Format_RGB32);
        screen.fill(Qt::darkCyan);
        MagnifierItem item;
        item.setSize(QSizeF(70, 70));
        item.setBackground(QPixmap::fromImage(screen));
        QImage target(70, 70, QImage::Format_ARGB32_Premultiplied);
        int x = 0;
        QBENCHMARK {
            item.setGx(x++ % 1920);
            item.setGy(540);
            target.fill(Qt::transparent);
            QPainter painter(&target);
            item.paint(&painter);
        }
    }
};

QTEST_MAIN(BenchMagnifier)
#include "bench_magnifier.moc"
