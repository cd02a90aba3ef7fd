#include "window_win.h"

#include "network/analytics.h"

#include "core.h"
#include "settings/debuglog.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "windows/compositor.h"
#include "windows/windowtypes.h"

#include <QBitmap>
#include <QDebug>
#include <QGuiApplication>
#include <QIcon>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QQmlContext>
#include <QQuickItem>
#include <QScreen>

namespace {
const QColor opaqueFrameColour(QStringLiteral("#eeeeee"));
// Margin the page frame leaves around its panel while a compositor draws it transparent.
constexpr int frameMargin = 30;
}

BasicWindow::BasicWindow(QObject *parent)
    : QQuickView()
{
    QObject::setParent(parent);
    setIcon(QIcon(QStringLiteral(":/icon/image/icon/icon.ico")));
    m_cornerImage = QPixmap(QStringLiteral(":/image/image/image/rounded_edge.png"));
    m_centered = false;
    m_moved = false;
    // Without a compositor a transparent margin would come out black: the page then
    // draws an opaque frame without it.
    m_transparent = applyWindowBackground(this, opaqueFrameColour);
    setResizeMode(QQuickView::SizeViewToRootObject);
    // The frame and the pages use CursorShapeArea; the registration is idempotent.
    registerWindowQmlTypes();
    AnalyticsEvent::registerQmlType();
    setFlags(Qt::FramelessWindowHint);
}

void BasicWindow::setupUi()
{
    rootContext()->setContextProperty(QStringLiteral("window"), this);
    rootContext()->setContextProperty(QStringLiteral("core"), Core::instance());
    rootContext()->setContextProperty(QStringLiteral("settings"), Setting::instance());
    init();
}

QString BasicWindow::titleWithUserName(const QString &word)
{
    return word + QStringLiteral(" - ") + Setting::instance()->getValue(SettingKeys::userName).toString();
}

void BasicWindow::setData(const QString &key, const QVariant &value)
{
    m_data.insert(key, value);
    emit dataChanged(key, value);
}

QVariant BasicWindow::data(const QString &key) const
{
    return m_data.value(key);
}

void BasicWindow::setMoviable(bool movable) { m_movable = movable; }

void BasicWindow::setPosCenter(bool arg)
{
    m_centered = arg;
    checkCenterPosition();
}

void BasicWindow::move(int x, int y)
{
    setGeometry(x, y, width(), height());
    emit geometryChanged();
}

bool BasicWindow::isTransparentSupport() const { return m_transparent; }

void BasicWindow::show()
{
    qCDebug(lcMavu) << "void BasicWindow::show()" << (m_centered ? "true" : "false");
    emit isTransparentSupportChanged();
    updatePos();
    emit geometryChanged();
    emit showed();
    Core::instance()->keepAboveCapture(this);
    QQuickView::show();
    raise();
}

void BasicWindow::hide()
{
    emit geometryChanged();
    emit hided();
    QQuickView::hide();
}

void BasicWindow::close()
{
    m_closing = true;
    emit closed();
    QWindow::close();
    m_closing = false;
}

// The window manager's close (Alt+F4, a close button of its own) ends the window as its
// own close does: the owner hears closed() and deletes or keeps the window.
bool BasicWindow::event(QEvent *event)
{
    if (event->type() == QEvent::Close && !m_closing)
        emit closed();
    return QQuickView::event(event);
}

QRect BasicWindow::availableArea() const
{
    QScreen *screen = QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect();
}

// Positions are taken inside the available area of the primary screen, whose origin
// need not be (0, 0) (a primary screen right of or below another one).
void BasicWindow::placeAt(int x, int y)
{
    setPosition(x, y);
}

// The corner rules count on the transparent margin of the frame; an opaque frame has
// none and moves in by as much, so that its panel stays as far from the screen's edges.
int BasicWindow::cornerInset() const
{
    return m_transparent ? 0 : frameMargin;
}

void BasicWindow::updatePos()
{
    const QRect area = availableArea();
    if (m_centered)
        placeAt(area.x() + area.width() / 2 - width() / 2, area.y() + area.height() / 2 - height() / 2);
    else
        placeAt(area.x() + area.width() - width() + 10 - cornerInset(),
                area.y() + area.height() - height() + 10 - cornerInset());
    qCDebug(lcMavu) << "void BasicWindow::updatePos()" << height();
}

void BasicWindow::checkCenterPosition()
{
    qCDebug(lcMavu) << "void BasicWindow::checkCenterPosition()";
    QScreen *screen = QGuiApplication::primaryScreen();
    if (!screen)
        return;
    const QRect full = screen->geometry();
    placeAt(full.x() + full.width() / 2 - width() / 2, full.y() + full.height() / 2 - height() / 2);
}

void BasicWindow::setWidth(int w)
{
    if (w == width()) {
        emit geometryChanged();
        return;
    }
    setMinimumWidth(w);
    setMaximumWidth(w);
    QQuickView::setWidth(w);
    emit widthChanged(width());
    if (m_centered)
        checkCenterPosition();
    emit geometryChanged();
}

void BasicWindow::setHeight(int h)
{
    qCDebug(lcMavu) << "void BasicWindow::setHeight(int)" << height() << h << m_centered;
    if (h == height()) {
        emit geometryChanged();
        return;
    }
    setMinimumHeight(h);
    setMaximumHeight(h);
    QQuickView::setHeight(h);
    emit heightChanged(height());
    if (!m_moved) {
        if (m_centered) {
            checkCenterPosition();
        } else {
            const QRect area = availableArea();
            placeAt(area.x() + area.width() - width() - 10 - cornerInset(),
                    area.y() + area.height() - height() - 20 - cornerInset());
        }
    }
    update();
    emit geometryChanged();
}

QPointF BasicWindow::mapToScene(QQuickItem *item) const
{
    int x = 0;
    int y = 0;
    for (QQuickItem *current = item; current && current->parentItem(); current = current->parentItem()) {
        x = int(x + current->x());
        y = int(y + current->y());
    }
    return QPointF(x, y);
}

QPointF BasicWindow::mapToScenePoint(QQuickItem *item, int x, int y) const
{
    return item ? item->mapFromScene(QPointF(x, y)) : QPointF();
}

void BasicWindow::resizeEvent(QResizeEvent *event)
{
    updateMask();
    QQuickView::resizeEvent(event);
}

void BasicWindow::updateMask()
{
    if (m_cornerImage.isNull() || width() <= 0 || height() <= 0)
        return;
    setMask(QRegion(roundedWindowMask(m_cornerImage, width(), height())));
}

QBitmap roundedWindowMask(const QPixmap &corner, int w, int h)
{
    const int cw = qMin(w, corner.width()) / 2;
    const int ch = qMin(h, corner.height()) / 2;
    QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::transparent);
    QPainter painter(&image);
    const QColor opaque(Qt::black);
    painter.fillRect(QRect(QPoint(cw, 0), QPoint(w - cw - 1, ch - 1)), opaque);
    painter.fillRect(QRect(QPoint(0, ch), QPoint(w - 1, h - ch - 1)), opaque);
    painter.fillRect(QRect(QPoint(cw, h - ch), QPoint(w - cw - 1, h - 1)), opaque);
    const int qw = corner.width() - cw;
    const int qh = corner.height() - ch;
    painter.drawPixmap(0, 0, corner, 0, 0, cw, ch);
    painter.drawPixmap(0, h - ch, corner, 0, qh, cw, ch);
    painter.drawPixmap(w - cw, 0, corner, qw, 0, cw, ch);
    painter.drawPixmap(w - cw, h - ch, corner, qw, qh, cw, ch);
    painter.end();
    return QBitmap::fromImage(image.createAlphaMask());
}

void BasicWindow::keyPressEvent(QKeyEvent *event)
{
    QQuickView::keyPressEvent(event);
    if (!event->isAccepted() && event->key() == Qt::Key_Escape)
        close();
}

void BasicWindow::mousePressEvent(QMouseEvent *event)
{
    const int margin = m_transparent ? frameMargin : 0;
    const QPoint point = event->position().toPoint();
    if (m_movable && point.y() >= dragBandTop - frameMargin + margin
        && point.y() <= dragBandBottom - frameMargin + margin) {
        m_pressed = true;
        m_pressX = point.x();
        m_pressY = point.y();
    }
    qCDebug(lcMavu) << "virtual void BasicWindow::mousePressEvent(QMouseEvent*)";
    QQuickView::mousePressEvent(event);
}

void BasicWindow::mouseMoveEvent(QMouseEvent *event)
{
    if (m_movable && m_pressed) {
        const QPoint point = event->position().toPoint();
        move(x() + point.x() - m_pressX, y() + point.y() - m_pressY);
        m_moved = true;
    }
    QQuickView::mouseMoveEvent(event);
}

void BasicWindow::mouseReleaseEvent(QMouseEvent *event)
{
    qCDebug(lcMavu) << "virtual void BasicWindow::mouseReleaseEvent(QMouseEvent*)" << (m_movable ? "true" : "false")
             << (m_pressed ? "true" : "false");
    m_pressed = false;
    QQuickView::mouseReleaseEvent(event);
}
