#pragma once

#include <QList>
#include <QPixmap>
#include <QRect>

// One screen's picture and where the screen stands on the desktop (logical coordinates).
struct ScreenImage
{
    QRect geometry;
    QPixmap picture;
};

// The rectangle `area` of the desktop (logical coordinates, also left of or above the
// origin) put together from the screens' pictures, each drawn into its screen's rectangle
// (a scaled screen's picture is scaled into it); black where no screen is. Device pixel
// ratio 1.
QPixmap joinScreenImages(const QList<ScreenImage> &screens, const QRect &area);
