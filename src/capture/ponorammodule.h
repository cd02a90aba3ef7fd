#pragma once

#include "painter/graphmodule.h"

// Tool "Ponoram" of the canvas: the scrolling capture. It draws nothing; choosing it only
// switches the overlay into the scrolling capture.
class PonoramModule : public GraphModule
{
    Q_OBJECT
public:
    explicit PonoramModule(QObject *parent);

public slots:
    void beginPaintItem(MPainterArea *area, QPoint point) override;
    void paintItem(MPainterArea *area, QPoint point) override;
    void endPaintItem(MPainterArea *area, QPoint point) override;
};
