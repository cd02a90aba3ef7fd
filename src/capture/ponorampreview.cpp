#include "ponorampreview.h"

#include <QPainter>
#include <QtQml>

namespace {

constexpr int frameWidth = 96;
constexpr int frameHeight = 234;
constexpr int frameMargin = 9;

// The last `rows` rows of the image, without a copy; valid while the image is.
QImage bottomRows(const QImage &image, int rows)
{
    return QImage(image.constScanLine(image.height() - rows), image.width(), rows, image.bytesPerLine(),
                  image.format());
}

} // namespace

PonoramPreview::PonoramPreview(QQuickItem *parent)
    : QQuickPaintedItem(parent)
    , m_background(QStringLiteral(":/image/image/image/ponoram_preview_background.png"))
{
}

void PonoramPreview::setImage(QImage image)
{
    if (image.isNull() || image.width() < 1) {
        m_picture = QImage();
        m_previewWidth = m_previewHeight = 0;
        update();
        return;
    }
    m_previewWidth = frameWidth;
    const double scale = double(frameWidth) / image.width();
    m_previewHeight = int(image.height() * scale);
    const int fittingRows = int(frameHeight / scale);
    if (fittingRows >= image.height())
        m_picture = image.scaled(frameWidth, m_previewHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    else
        m_picture = bottomRows(image, fittingRows)
                        .scaled(frameWidth, frameHeight, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    update();
}

void PonoramPreview::paint(QPainter *painter)
{
    painter->drawImage(0, 0, m_background);
    painter->fillRect(QRect(frameMargin, frameMargin, frameWidth, frameHeight), Qt::white);
    painter->drawImage(frameMargin, frameMargin, m_picture);
}

void registerPonoramPreviewType()
{
    static const bool registered = [] {
        qmlRegisterType<PonoramPreview>("MavuComponent", 1, 0, "PonoramPreview");
        return true;
    }();
    Q_UNUSED(registered);
}
