#pragma once

#include <QImage>
#include <QRect>

#include <memory>

class QPainter;

// The still picture of a rectangle of the screen, held by the X server: copied there at once,
// and its pixels read into this process only where they are needed (the part of a frame that
// is drawn again, the magnifier's square, a result). So an open capture keeps no copy of the
// screen here. Call take() before any window shows over the area: the server copies the
// screen before anything asked for later.
class ServerPicture
{
public:
    // Null where the screen cannot be read directly (then grab it with grabScreenArea).
    static std::shared_ptr<ServerPicture> take(const QRect &area);
    // Makes the server's memory for a picture of `area`, and the way to read it, ready before
    // the first capture; the memory goes back like any kept memory when no capture comes.
    static void prepare(const QRect &area);
    ~ServerPicture();
    ServerPicture(const ServerPicture &) = delete;
    ServerPicture &operator=(const ServerPicture &) = delete;

    QSize size() const { return m_size; }
    QRect rect() const { return QRect(QPoint(0, 0), m_size); }
    // The exact pixels of `area` (picture coordinates) as opaque Format_RGB32; null when the
    // server cannot give them.
    QImage read(const QRect &area) const;
    // Draws `area` of the picture with the painter at the same place, without a copy of the
    // whole area; false when it could not.
    bool draw(QPainter *painter, const QRect &area) const;

private:
    ServerPicture(quint32 pixmap, const QSize &size);

    quint32 m_pixmap;
    QSize m_size;
};
