#pragma once

#include <QImage>
#include <QString>

// The image as "data:image/png;base64,..." for a page. The PNG is written for speed, not
// size (unfiltered rows, stored deflate blocks): it only travels through memory.
QString pngDataUrl(const QImage &image);
