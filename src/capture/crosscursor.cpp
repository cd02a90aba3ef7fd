#include "crosscursor.h"

#include <QPixmap>

QCursor captureCrossCursor()
{
    const QPixmap picture(QStringLiteral(":/cursor/image/cursor/cross_cursor.png"));
    if (picture.isNull())
        return QCursor(Qt::CrossCursor);
    return QCursor(picture, picture.width() / 2, picture.height() / 2);
}
