#include "magnifieritem.h"

#include "capture/serverpicture.h"
#include "settings/debuglog.h"

#include <QBitmap>
#include <QDebug>
#include <QGuiApplication>
#include <QPainter>
#include <QPainterPath>
#include <QScreen>

namespace {

const int cornerRadius = 5;
const int squareCorner = 10;
const int stripHeight = 14;

QPainterPath magnifierShape(double w, double h)
{
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    path.addRoundedRect(QRectF(0, 0, w, h), cornerRadius, cornerRadius, Qt::AbsoluteSize);
    path.addRect(QRectF(0, 0, squareCorner, squareCorner));
    return path;
}

QPixmap shapeMask(const QPainterPath &shape, int w, int h)
{
    QPixmap mask(w, h);
    mask.fill(Qt::transparent);
    QPainter painter(&mask);
    painter.setRenderHint(QPainter::Antialiasing, true);
    painter.setBrush(QBrush(Qt::black, Qt::SolidPattern));
    painter.setPen(QPen(Qt::black));
    painter.drawPath(shape);
    painter.end();
    return mask;
}

} // namespace

MagnifierItem::MagnifierItem(QQuickItem *parent)
    : QQuickPaintedItem(parent)
    , m_hotspot(QStringLiteral(":/component/image/component/magnifier_hotspot.png"))
{
    setFlag(QQuickItem::ItemHasContents);
}

void MagnifierItem::setBackground(const QPixmap &pixmap)
{
    const QScreen *primary = QGuiApplication::primaryScreen();
    const double ratio = primary ? primary->devicePixelRatio() : 1.0;
    qCDebug(lcMavu) << Q_FUNC_INFO << (pixmap.isNull() ? "true" : "false") << pixmap.size() << ratio;
    m_server.reset();
    if (pixmap.isNull()) {
        m_background = QPixmap();
    } else {
        const QSize logical(int(pixmap.width() / ratio), int(pixmap.height() / ratio));
        m_background = pixmap.scaled(logical, Qt::IgnoreAspectRatio, Qt::FastTransformation);
    }
    // A colour read from another picture is no colour of this one.
    m_currentColor.clear();
    emit backgroundChanged(m_background);
}

void MagnifierItem::setServerPicture(std::shared_ptr<ServerPicture> picture)
{
    m_background = QPixmap();
    m_server = std::move(picture);
    m_currentColor.clear();
    update();
}

QRect MagnifierItem::pictureRect() const
{
    return m_server ? m_server->rect() : m_background.rect();
}

void MagnifierItem::setGx(int gx)
{
    if (m_gx == gx)
        return;
    m_gx = gx;
    emit gxChanged(gx);
}

void MagnifierItem::setGy(int gy)
{
    if (m_gy == gy)
        return;
    m_gy = gy;
    emit gyChanged(gy);
}

void MagnifierItem::update()
{
    QQuickPaintedItem::update();
}

void MagnifierItem::paint(QPainter *painter)
{
    const int w = int(width());
    const int h = int(height());
    if (w <= 0 || h <= 0)
        return;
    const QImage patch = patchAroundCursor();
    painter->drawPixmap(QRect(0, 0, w, h), shapedEnlargement(patch, w, h));
    if (!m_hotspot.isNull())
        painter->drawPixmap(0, 0, m_hotspot);
    paintCrosshair(painter);
    paintStrip(painter);
    painter->setOpacity(1.0);
    painter->setPen(Qt::white);
    painter->setBrush(QBrush(Qt::white, Qt::SolidPattern));
    takeColourUnderCursor(patch);
    painter->drawText(QPoint(2, int(height() - 2)), m_currentColor);
}

// Always the full square centred on the cursor, the pixel under the cursor at (10, 10); where
// the square reaches past the screen image it stays transparent, so the enlargement keeps its
// scale and the crosshair stays on the cursor's pixel near the image's edges too.
QImage MagnifierItem::patchAroundCursor() const
{
    QImage patch(patchSide, patchSide, QImage::Format_ARGB32_Premultiplied);
    patch.fill(Qt::transparent);
    const QRect square(m_gx - patchSide / 2, m_gy - patchSide / 2, patchSide, patchSide);
    const QRect inside = square.intersected(pictureRect());
    if (inside.isEmpty())
        return patch;
    QPainter painter(&patch);
    painter.setCompositionMode(QPainter::CompositionMode_Source);
    if (m_server)
        painter.drawImage(inside.topLeft() - square.topLeft(), m_server->read(inside));
    else
        painter.drawPixmap(inside.topLeft() - square.topLeft(), m_background, inside);
    return patch;
}

QPixmap MagnifierItem::shapedEnlargement(const QImage &patch, int w, int h) const
{
    const QImage enlarged = patch.scaled(w, h, Qt::KeepAspectRatio, Qt::FastTransformation);
    QPixmap shaped(w, h);
    shaped.fill(Qt::transparent);
    {
        QPainter painter(&shaped);
        painter.setCompositionMode(QPainter::CompositionMode_Source);
        painter.drawImage(QRect(0, 0, w, h), enlarged);
    }
    shaped.setMask(shapeMask(magnifierShape(width(), height()), w, h).mask());
    return shaped;
}

// Four arms around the cursor's pixel with a gap of 4 pixels, drawn with the painter's own pen.
void MagnifierItem::paintCrosshair(QPainter *painter) const
{
    const double W = width();
    const double H = height();
    const int cx = int(W * 0.5);
    const int cy = int(H * 0.5);
    const int a = int(H * 0.5 - 2);
    const int b = int(H * 0.5 + 2);
    const int c = int(W * 0.5 - 2);
    const int d = int(W * 0.5 + 2);
    painter->setOpacity(0.3);
    painter->setBrush(Qt::NoBrush);
    painter->drawRect(QRect(cx, 0, 1, a));
    painter->drawRect(QRect(cx, b, 1, a));
    painter->drawRect(QRect(0, cy, c, 1));
    painter->drawRect(QRect(d, cy, c, 1));
}

void MagnifierItem::paintStrip(QPainter *painter) const
{
    painter->setOpacity(0.5);
    painter->setPen(QPen(Qt::transparent));
    painter->setBrush(QBrush(Qt::black, Qt::SolidPattern));
    painter->drawRect(QRect(0, int(height() - stripHeight), int(width()), stripHeight));
}

// The colour is read from the screen image itself; off the image there is no pixel to report,
// so the last colour stands.
void MagnifierItem::takeColourUnderCursor(const QImage &patch)
{
    if (!pictureRect().contains(m_gx, m_gy))
        return;
    const QString name = patch.pixelColor(patchSide / 2, patchSide / 2).name(QColor::HexRgb);
    if (name == m_currentColor)
        return;
    m_currentColor = name;
    emit currentColorChange(name);
}
