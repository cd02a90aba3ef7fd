#pragma once

#include <QImage>
#include <QQuickPaintedItem>

// A narrow picture of the scrolling capture's stitched image while it grows: the whole
// width in 96 pixels and, once the image is taller than the 234 rows of the frame, its
// newest (bottom) part.
class PonoramPreview : public QQuickPaintedItem
{
    Q_OBJECT
public:
    explicit PonoramPreview(QQuickItem *parent = nullptr);

    void paint(QPainter *painter) override;

public slots:
    // A null image (or one without width) empties the preview.
    void setImage(QImage image);

private:
    QImage m_picture;
    QImage m_background;
    int m_previewWidth = 0;
    int m_previewHeight = 0;
};

// Registers PonoramPreview in "MavuComponent" 1.0. Safe to call more than once.
void registerPonoramPreviewType();
