#pragma once

#include <QImage>
#include <QRandomGenerator>

// A tall picture for the scrolling capture: blocks of 8 x 4 pixels in random colours, so that
// any 100 rows of it lie in exactly one place. Tests paint plain or repeated bands over it.
inline QImage tallPicture(const QSize &size, quint32 seed)
{
    QImage picture(size, QImage::Format_RGB32);
    QRandomGenerator random(seed);
    for (int y = 0; y < size.height(); y += 4) {
        auto *line = reinterpret_cast<QRgb *>(picture.scanLine(y));
        for (int x = 0; x < size.width(); x += 8) {
            const QRgb colour = 0xff000000u | (random.generate() & 0xffffffu);
            for (int i = x; i < qMin(x + 8, size.width()); ++i)
                line[i] = colour;
        }
        for (int row = y + 1; row < qMin(y + 4, size.height()); ++row)
            memcpy(picture.scanLine(row), line, size_t(picture.bytesPerLine()));
    }
    return picture;
}
