#pragma once

#include <QImage>
#include <QPixmap>
#include <QQuickPaintedItem>
#include <QString>

#include <memory>

class ServerPicture;

// The square beside the cursor while the first selection is drawn: the 20 x 20 pixels around
// the cursor enlarged, a crosshair on the pixel under the cursor, and that pixel's colour.
class MagnifierItem : public QQuickPaintedItem
{
    Q_OBJECT
    Q_PROPERTY(QPixmap background READ background WRITE setBackground NOTIFY backgroundChanged)
    Q_PROPERTY(int gx READ gx WRITE setGx NOTIFY gxChanged)
    Q_PROPERTY(int gy READ gy WRITE setGy NOTIFY gyChanged)
    Q_PROPERTY(QString currentColor READ currentColor)

public:
    // Side of the square of screen pixels around the cursor that is enlarged.
    static constexpr int patchSide = 20;

    explicit MagnifierItem(QQuickItem *parent = nullptr);

    QPixmap background() const { return m_background; }
    int gx() const { return m_gx; }
    int gy() const { return m_gy; }
    QString currentColor() const { return m_currentColor; }

    void setBackground(const QPixmap &pixmap);
    // A picture the X server holds instead: each repaint reads only the square it enlarges.
    void setServerPicture(std::shared_ptr<ServerPicture> picture);
    void setGx(int gx);
    void setGy(int gy);

    // Asks for a repaint; the page calls it after each cursor move.
    Q_INVOKABLE void update();

    void paint(QPainter *painter) override;

signals:
    void backgroundChanged(QPixmap background);
    void gxChanged(int gx);
    void gyChanged(int gy);
    void currentColorChange(QString color);

private:
    QImage patchAroundCursor() const;
    QPixmap shapedEnlargement(const QImage &patch, int w, int h) const;
    void paintCrosshair(QPainter *painter) const;
    void paintStrip(QPainter *painter) const;
    void takeColourUnderCursor(const QImage &patch);

    QRect pictureRect() const;

    QPixmap m_background;
    std::shared_ptr<ServerPicture> m_server;
    QPixmap m_hotspot;
    int m_gx = 0;
    int m_gy = 0;
    QString m_currentColor;
};
