#pragma once

#include <QImage>
#include <QQuickPaintedItem>

// Shows the stitched image of a running scrolling capture, scaled to fit.
class PonoramPreview : public QQuickPaintedItem
{
    Q_OBJECT
public:
    explicit PonoramPreview(QQuickItem *parent = nullptr);

    void paint(QPainter *painter) override;

public slots:
    void setImage(QImage image);

private:
    QImage m_image;
};

// Registers PonoramPreview in "MavuComponent" 1.0. Safe to call more than once.
void registerPonoramPreviewType();
