#include "selectorwidget_linux.h"

#include "capture/captureitemtypes.h"
#include "capture/pngdataurl.h"
#include "capture/screenjoin.h"
#include "capture/surfaceselector.h"
#include "core.h"
#include "platform/usefull_linux.h"
#include "settings/debuglog.h"
#include "settings/setting.h"

#include <QClipboard>
#include <QCoreApplication>
#include <QCursor>
#include <QDebug>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QQmlContext>
#include <QQmlEngine>
#include <QScreen>

namespace {

// Where a mirrored guide line goes when the pointer is not over this window's screen.
constexpr int lineOutside = -5;

QRect screenGeometryAt(int index)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    return index >= 0 && index < screens.size() ? screens.at(index)->geometry() : QRect();
}

int mirroredCoordinate(int global, int screenStart, int screenLength)
{
    const int local = global - screenStart;
    return local < 0 || local > screenLength ? lineOutside : local;
}

} // namespace

SelectorWidgetMac::SelectorWidgetMac(QWindow *parent)
    : QQuickView(parent)
{
    engine()->addImportPath(QCoreApplication::applicationDirPath());
    registerCaptureItemTypes();
    QQmlContext *context = rootContext();
    context->setContextProperty(QStringLiteral("window"), this);
    context->setContextProperty(QStringLiteral("surface"), this);
    context->setContextProperty(QStringLiteral("settings"), Setting::instance());
    context->setContextProperty(QStringLiteral("core"), Core::instance());
    setFlags(Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setResizeMode(QQuickView::SizeRootObjectToView);
    setColor(Qt::black);
    setSource(QUrl(QStringLiteral("qrc:/qml/qml/Window/SurfaceSelectorMacWindow.qml")));
}

SelectorWidgetMac::~SelectorWidgetMac()
{
    qCDebug(lcMavu) << "SelectorWidgetMac::~SelectorWidgetMac()" << m_indexScreen;
}

SurfaceSelector *SelectorWidgetMac::selector() const
{
    QObject *root = rootObject();
    return root ? root->findChild<SurfaceSelector *>(QStringLiteral("SurfaceSelector")) : nullptr;
}

QRect SelectorWidgetMac::screenGeometry() const
{
    return screenGeometryAt(m_indexScreen);
}

void SelectorWidgetMac::showOnScreen(int index)
{
    const bool known = index >= 0 && index < QGuiApplication::screens().size();
    showOnScreen(index, known ? linuxCreateScreenShot(index) : QPixmap());
}

void SelectorWidgetMac::showOnScreen(int index, const QPixmap &picture)
{
    qCDebug(lcMavu) << Q_FUNC_INFO << index;
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (index < 0 || index >= screens.size())
        return;
    setIndexScreen(index);
    QScreen *screen = screens.at(index);
    if (!screen)
        return;
    m_background = picture;
    if (m_background.isNull()) {
        qCDebug(lcMavu) << "linuxCreateScreenShot failed, using Qt fallback";
        m_background = screen->grabWindow(0, 0, 0, -1, -1);
    }
    m_background.setDevicePixelRatio(screen->devicePixelRatio());
    qCDebug(lcMavu) << Q_FUNC_INFO << screen->geometry() << "screenshot size:" << m_background.size();
    emit backgroundChanged(m_background);
    emit backgroundImgChanged(m_background.toImage());
    setScreen(screen);
    showFullScreenOn(this, screen->geometry());
    raiseApp();
}

void SelectorWidgetMac::setListSelector(const QList<SelectorWidgetMac *> &list)
{
    m_windows.clear();
    for (SelectorWidgetMac *window : list)
        m_windows.append(window);
}

QList<SelectorWidgetMac *> SelectorWidgetMac::windows() const
{
    QList<SelectorWidgetMac *> list;
    for (const QPointer<SelectorWidgetMac> &window : m_windows) {
        if (window)
            list.append(window);
    }
    return list.isEmpty() ? QList<SelectorWidgetMac *>{const_cast<SelectorWidgetMac *>(this)} : list;
}

void SelectorWidgetMac::setIndexScreen(int index)
{
    m_indexScreen = index;
    emit indexScreenChanged(index);
}

QImage SelectorWidgetMac::backgroundImg() const
{
    const QImage image = m_background.toImage();
    qCDebug(lcMavu) << Q_FUNC_INFO << (image.isNull() ? "true" : "false");
    return image;
}

QString SelectorWidgetMac::requestBackground() const
{
    return pngDataUrl(m_background.toImage());
}

// The magnifier shows only on the window whose selector reported the move.
void SelectorWidgetMac::changeSelectorPos(int x, int y)
{
    const QPoint global = QPoint(x, y) + screenGeometry().topLeft();
    for (SelectorWidgetMac *window : windows()) {
        if (window != this) {
            window->setGlobalX(global.x());
            window->setGlobalY(global.y());
        }
        if (SurfaceSelector *item = window->selector())
            item->setIsShowMagnified(window == this);
    }
}

void SelectorWidgetMac::setGlobalX(int x)
{
    const QRect screen = screenGeometry();
    if (SurfaceSelector *item = selector())
        item->setX(mirroredCoordinate(x, screen.x(), screen.width()));
}

void SelectorWidgetMac::setGlobalY(int y)
{
    const QRect screen = screenGeometry();
    if (SurfaceSelector *item = selector())
        item->setY(mirroredCoordinate(y, screen.y(), screen.height()));
}

void SelectorWidgetMac::changeSelectorRect(QRectF gRect)
{
    m_selection = gRect;
    const QRectF global = gRect.translated(screenGeometry().topLeft());
    for (SelectorWidgetMac *window : windows())
        window->setGlobalRect(global);
}

// Each window draws the part of the selection on its screen; the size label shows the whole.
void SelectorWidgetMac::setGlobalRect(QRectF rect)
{
    const QRectF screen(screenGeometry());
    const QRectF local = rect.intersects(screen) ? rect.intersected(screen).translated(-screen.topLeft())
                                                 : QRectF(0, 0, -1, -1);
    if (SurfaceSelector *item = selector())
        item->setGRect(rect, local);
}

void SelectorWidgetMac::selectComplete()
{
    qCDebug(lcMavu) << Q_FUNC_INFO;
    const QRect screen = screenGeometry();
    const QRectF selection = QRectF(screen.x() + m_selection.x(), screen.y() + m_selection.y(), m_selection.width(),
                                    m_selection.height())
                                 .normalized();
    const QList<QScreen *> screens = QGuiApplication::screens();
    const QRect rounded = selection.toRect();
    int met = 0;
    int index = -1;
    for (int i = 0; i < screens.size(); ++i) {
        if (screens.at(i)->geometry().intersects(rounded)) {
            ++met;
            index = i;
        }
    }
    // A flat selection has no picture to join: it goes on where it was drawn, as one inside
    // a screen does, and the overlay there waits for a real one.
    if (SurfaceSelector::isEmptyArea(selection)) {
        met = 1;
        index = m_indexScreen;
    }
    const QList<SelectorWidgetMac *> all = windows();
    if (met == 1 && index >= 0 && index < all.size()) {
        for (int i = 0; i < screens.size(); ++i)
            qCDebug(lcMavu) << "screen geometry " << i << screens.at(i)->geometry();
        const QPoint origin = screens.at(index)->geometry().topLeft();
        const QRect rect(int(selection.x() - origin.x()), int(selection.y() - origin.y()), int(selection.width()),
                         int(selection.height()));
        emit selectCompleted(index, rect, all.at(index)->background());
    } else {
        emit selectCompleted(joinedSelection(selection));
    }
    close();
}

// The selection cut from the images the windows show, not from the screens now: those are
// covered by the windows.
QPixmap SelectorWidgetMac::joinedSelection(const QRectF &selection) const
{
    QList<ScreenImage> screens;
    for (SelectorWidgetMac *window : windows())
        screens.append({window->screenGeometry(), window->background()});
    const QRect area(int(selection.x()), int(selection.y()), int(selection.width()), int(selection.height()));
    qCDebug(lcMavu) << Q_FUNC_INFO << selection << area;
    return joinScreenImages(screens, area);
}

void SelectorWidgetMac::close()
{
    if (m_closing)
        return;
    m_closing = true;
    for (SelectorWidgetMac *window : windows()) {
        if (window != this)
            window->close();
    }
    QQuickView::close();
    emit closed();
}

// A window the window system closed (Alt+F4 of a window manager) takes the others along.
bool SelectorWidgetMac::event(QEvent *event)
{
    if (event->type() == QEvent::Close && !m_closing)
        QMetaObject::invokeMethod(this, &SelectorWidgetMac::close, Qt::QueuedConnection);
    return QQuickView::event(event);
}

void SelectorWidgetMac::keyPressEvent(QKeyEvent *event)
{
    QQuickView::keyPressEvent(event);
    qCDebug(lcMavu) << Q_FUNC_INFO << event->key() << event->modifiers();
    if (event->key() == Qt::Key_Escape) {
        close();
    } else if (event->key() == Qt::Key_C && event->modifiers().testFlag(Qt::ControlModifier)) {
        copyColourUnderPointer();
        close();
    }
}

// The pixel is read from the image of the screen under the pointer, whichever window has
// the keyboard.
void SelectorWidgetMac::copyColourUnderPointer() const
{
    const QPoint pointer = QCursor::pos();
    for (SelectorWidgetMac *window : windows()) {
        const QString colour = window->colourAt(pointer);
        if (!colour.isEmpty()) {
            QGuiApplication::clipboard()->setText(colour);
            return;
        }
    }
}

// Six hexadecimal digits without "#"; empty when the point is not on this window's screen.
QString SelectorWidgetMac::colourAt(const QPoint &global) const
{
    const QRect screen = screenGeometry();
    if (!screen.contains(global) || m_background.isNull())
        return QString();
    const QPoint pixel = ((global - screen.topLeft()) * m_background.devicePixelRatio());
    const QImage image = m_background.toImage();
    if (!image.rect().contains(pixel))
        return QString();
    return image.pixelColor(pixel).name(QColor::HexRgb).mid(1);
}
