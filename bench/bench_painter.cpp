// Speed of flattening the annotation canvas into the capture image: a full-HD selection
// with no items and with 50 items of every kind.
// Run with a throw-away HOME, e.g.  HOME=$(mktemp -d) QT_QPA_PLATFORM=offscreen ./bench_painter

#include "painter/graphmodule.h"
#include "painter/mpainterarea.h"
#include "painter/textitem.h"

#include <QTest>

class PainterBenchmark : public QObject
{
    Q_OBJECT
private slots:
    void initTestCase()
    {
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
    }

    void renderRect_fullHdWithoutItems()
    {
        MPainterArea canvas;
        prepare(canvas);
        const QRect selection(0, 0, 1920, 1080);
        QImage result;
        QBENCHMARK {
            result = canvas.renderRect(selection, 50000.0, true, false);
        }
        QCOMPARE(result.size(), selection.size());
    }

    void renderRect_fullHdWith50Items()
    {
        MPainterArea canvas;
        prepare(canvas);
        addItems(canvas, 50);
        QCOMPARE(canvas.graphItems().size(), 50);
        const QRect selection(0, 0, 1920, 1080);
        QImage result;
        QBENCHMARK {
            result = canvas.renderRect(selection, 50000.0, true, false);
        }
        QCOMPARE(result.size(), selection.size());
    }

private:
    static void prepare(MPainterArea &canvas)
    {
        canvas.setSize(QSizeF(1920, 1080));
        QImage picture(1920, 1080, QImage::Format_RGB32);
        for (int y = 0; y < picture.height(); ++y) {
            auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
            for (int x = 0; x < picture.width(); ++x)
                line[x] = qRgb(x % 256, y % 256, (x ^ y) % 256);
        }
        canvas.setBackground(picture);
    }

    static void addItems(MPainterArea &canvas, int count)
    {
        const QStringList tools = {"Rect", "Ellipse", "Line", "Arrow", "Pen",
                                   "Marker", "Counter", "Text", "Blur", "Blackout"};
        for (int i = 0; i < count; ++i) {
            const QString tool = tools.at(i % tools.size());
            const QPoint from(40 + (i % 10) * 180, 40 + (i / 10) * 200);
            const QPoint to = from + QPoint(150, 120);
            canvas.setCurrentModule(tool);
            GraphModule *module = canvas.module(tool);
            module->beginPaintItem(&canvas, from);
            for (int step = 1; step <= 10; ++step)
                module->paintItem(&canvas, from + (to - from) * step / 10 + QPoint(0, (step % 3) * 8));
            module->endPaintItem(&canvas, to);
            if (auto *text = qobject_cast<TextItem *>(canvas.currentItem()))
                text->setText(QStringLiteral("Annotation %1\nsecond line").arg(i));
        }
        canvas.uncheckAllItem();
    }
};

QTEST_MAIN(PainterBenchmark)
#include "bench_painter.moc"
