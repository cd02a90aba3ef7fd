#include "surfacewidget.h"

#include "capture/captureitemtypes.h"
#include "capture/crosscursor.h"
#include "capture/magnifieritem.h"
#include "capture/pngdataurl.h"
#include "capture/ponorampreview.h"
#include "capture/sceneposition.h"
#include "capture/screenbackdrop.h"
#include "capture/screengrab.h"
#include "capture/screenpicture.h"
#include "capture/serverpicture.h"
#include "capture/surfaceselector.h"
#include "core.h"
#include "network/analytics.h"
#include "painter/mpainterarea.h"
#include "painter/paintertypes.h"
#include "platform/usefull_linux.h"
#include "settings/constants.h"
#include "settings/datafolder.h"
#include "settings/debuglog.h"
#include "settings/setting.h"

#include <QCoreApplication>
#include <QDebug>
#include <QEventLoop>
#include <QFile>
#include <QGuiApplication>
#include <QQmlContext>
#include <QQmlEngine>
#include <QScreen>
#include <QTimer>

#include <optional>

namespace {

constexpr int repaintPauseMsecs = 200;
constexpr double renderZLimit = 50000.0;

template <typename T>
T *findNamedChild(QObject *root, const QString &name)
{
    if (!root)
        return nullptr;
    if (auto *self = qobject_cast<T *>(root); self && root->objectName() == name)
        return self;
    return root->findChild<T *>(name);
}

// The first item of that name below the parent, depth first over the visual children: a
// child's own name is tested before its children's.
QQuickItem *findItemChild(QQuickItem *parent, const QString &name)
{
    if (!parent)
        return nullptr;
    const QList<QQuickItem *> children = parent->childItems();
    for (QQuickItem *child : children) {
        if (child->objectName() == name)
            return child;
        if (QQuickItem *found = findItemChild(child, name))
            return found;
    }
    return nullptr;
}

} // namespace

SurfaceWidget::SurfaceWidget(QWindow *parent)
    : QQuickView(parent)
{
    engine()->addImportPath(QCoreApplication::applicationDirPath());
    registerPainterTypes();
    registerCaptureItemTypes();
    AnalyticsEvent::registerQmlType();
    registerPonoramPreviewType();

    QQmlContext *context = rootContext();
    context->setContextProperty(QStringLiteral("window"), this);
    context->setContextProperty(QStringLiteral("surface"), this);
    context->setContextProperty(QStringLiteral("settings"), Setting::instance());
    context->setContextProperty(QStringLiteral("fullScreen"), m_fullScreen);
    context->setContextProperty(QStringLiteral("quickscreen"), m_quick);
    context->setContextProperty(QStringLiteral("core"), Core::instance());

    // Opaque: the picture covers every pixel, so an alpha channel would only cost memory
    // and blending.
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setResizeMode(QQuickView::SizeRootObjectToView);
    setColor(Qt::black);
    setSource(QUrl(QStringLiteral("qrc:/qml/qml/Window/SurfaceWindow.qml")));
    findPageItems();
    // The window outlives a language switch: its texts follow it like every page's.
    connect(Core::instance(), &Core::languageChanged, engine(), &QQmlEngine::retranslate);
}

SurfaceWidget::~SurfaceWidget()
{
    qCDebug(lcMavu) << "SurfaceWidget::~SurfaceWidget()";
}

void SurfaceWidget::findPageItems()
{
    QObject *root = rootObject();
    m_selector = findNamedChild<SurfaceSelector>(root, QStringLiteral("SurfaceSelector"));
    m_mainCanvas = findNamedChild<MPainterArea>(root, QStringLiteral("MPainterArea"));
    m_canvas = m_mainCanvas;
    showPicture();
}

MPainterArea *SurfaceWidget::ponoramCanvas() const
{
    return qobject_cast<MPainterArea *>(findItemChild(rootObject(), QStringLiteral("ponoramPaintArea")));
}

PonoramPreview *SurfaceWidget::ponoramPreview() const
{
    return findNamedChild<PonoramPreview>(rootObject(), QStringLiteral("ponoramPreview"));
}

MagnifierItem *SurfaceWidget::magnifier() const
{
    return findNamedChild<MagnifierItem>(m_selector, QStringLiteral("MagnifierItem"));
}

// The X server copies the screen and shows it under the window, dimmed, before the window
// maps. The page reads from the server's copy only what it draws; where the screen cannot be
// read that way, the picture is grabbed here while the window maps.
void SurfaceWidget::show()
{
    qCDebug(lcMavu) << "SurfaceWidget::show() - before QQuickView::show()";
    std::optional<PendingScreenGrab> grab;
    if (!m_capturing) {
        const QRect area = desktopArea();
        std::shared_ptr<ServerPicture> still = ServerPicture::take(area);
        if (!still)
            grab.emplace(area);
        beginCapture(area, QPixmap());
        if (still)
            showStill(std::move(still));
        if (m_selector)
            showScreenBackdrop(this, area, m_selector->dimmedAreas(), SurfaceSelector::dimColor());
    }
    showFullScreen();
    raise();
    requestActivate();
    if (grab)
        setBackground(QPixmap::fromImage(grab->picture()));
}

// Everything a capture starts from, set while the window is still hidden, so that its first
// frame already shows this capture's picture.
void SurfaceWidget::beginCapture(const QRect &area, const QPixmap &picture)
{
    if (m_resetPending)
        resetCapture();
    m_capturing = true;
    m_quickDelivered = false;
    setGeometry(area);
    setBackground(picture);
    if (m_selector)
        m_selector->reset();
    layOutPage(area.size());
}

// The page takes the window's size at once rather than when the window system confirms it;
// a capture of an unchanged size lays out as the first one did.
void SurfaceWidget::layOutPage(const QSize &size)
{
    contentItem()->setSize(QSizeF(size));
    if (QQuickItem *page = rootObject())
        page->setSize(QSizeF(size));
    if (m_selector)
        m_selector->checkProperties();
    checkProperties();
}

void SurfaceWidget::endCapture()
{
    if (!m_capturing)
        return;
    m_capturing = false;
    hide();
    setBackground(QPixmap());
    dropPonoram();
    clearPonoramResult();
    // The rest waits until the handler that ended the capture has returned: its items may
    // still be in the middle of an event.
    m_resetPending = true;
    QMetaObject::invokeMethod(
        this, [this] {
            if (m_resetPending)
                resetCapture();
        },
        Qt::QueuedConnection);
}

void SurfaceWidget::resetCapture()
{
    m_resetPending = false;
    m_pressed = false;
    m_moving = false;
    setVisibleCloseWindow(false);
    resetPonoram();
    for (MPainterArea *canvas : {m_mainCanvas, ponoramCanvas()}) {
        if (canvas)
            canvas->clear();
    }
    if (m_selector)
        m_selector->reset();
    setCursor(captureCrossCursor());
    if (QQuickItem *page = rootObject())
        QMetaObject::invokeMethod(page, "resetForCapture");
    setEnableMask(false);
}

void SurfaceWidget::setFullscreen(bool fullScreen)
{
    m_fullScreen = fullScreen;
    if (m_selector) {
        m_selector->setFullScreen(fullScreen);
        m_selector->update();
    }
}

void SurfaceWidget::setQuickScreen(bool quick)
{
    m_quick = quick;
}

// The upload waits until the window is up: the page is laid out before it shows.
void SurfaceWidget::checkProperties()
{
    if (!m_quick || !m_capturing || m_quickDelivered)
        return;
    m_quickDelivered = true;
    QMetaObject::invokeMethod(
        this, [this] {
            if (m_capturing)
                Core::instance()->screenUpload(0, false, QPixmap());
        },
        Qt::QueuedConnection);
}

void SurfaceWidget::showOnWindow(int screenIndex, QRect rect, QPixmap shot)
{
    const QList<QScreen *> screens = QGuiApplication::screens();
    if (screenIndex < 0 || screenIndex >= screens.size())
        return;
    const QRect screenGeometry = screens.at(screenIndex)->geometry();
    QFile log(m_pathSettings + QStringLiteral("screen_info.log"));
    if (DataFolder::refusal(log.fileName()).isEmpty() && log.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        log.write(QStringLiteral("index = %1\nrect = %2:%3 %4x%5")
                      .arg(screenIndex).arg(rect.x()).arg(rect.y()).arg(rect.width()).arg(rect.height())
                      .toUtf8());
    }
    if (!m_capturing)
        beginCapture(screenGeometry, shot);
    else
        setBackground(shot);
    update();
    showFullScreenOn(this, screenGeometry);
    raise();
    requestActivate();
    if (m_selector)
        m_selector->setRubberRect(QRectF(rect));
}

void SurfaceWidget::setBackground(const QPixmap &background)
{
    m_still.reset();
    m_background = background;
    m_backgroundDataUrl.clear();
    if (m_mainCanvas)
        m_mainCanvas->setBackground(background.toImage());
    emit backgroundChanged(background);
}

// The picture stays in the X server; this process reads it whole only when something needs
// all of it (a result, a blur, the data URL).
void SurfaceWidget::showStill(std::shared_ptr<ServerPicture> still)
{
    m_still = std::move(still);
    m_background = QPixmap();
    m_backgroundDataUrl.clear();
    if (m_mainCanvas)
        m_mainCanvas->setBackgroundSource([this] { return background().toImage(); });
    showPicture();
}

QPixmap SurfaceWidget::background() const
{
    if (m_background.isNull() && m_still)
        m_background = QPixmap::fromImage(m_still->read(m_still->rect()));
    return m_background;
}

// A picture the X server holds reaches the page's picture and magnifier from here, not
// through their bindings, so that it is never read whole for them.
void SurfaceWidget::showPicture()
{
    if (!m_still)
        return;
    if (auto *picture = rootObject() ? rootObject()->findChild<ScreenPicture *>(QStringLiteral("screenImage")) : nullptr)
        picture->setServerPicture(m_still);
    if (MagnifierItem *lens = magnifier())
        lens->setServerPicture(m_still);
}

bool SurfaceWidget::hasPicture() const
{
    return m_hasPonoramResult || !background().isNull();
}

QString SurfaceWidget::requestBackground() const
{
    if (m_backgroundDataUrl.isEmpty())
        m_backgroundDataUrl = pngDataUrl(background().toImage());
    return m_backgroundDataUrl;
}

QRect SurfaceWidget::selectRect() const
{
    return m_selector ? m_selector->rubberRect().normalized().toRect() : QRect();
}

QPixmap SurfaceWidget::renderRubberRect()
{
    finishRunningPonoram();
    MPainterArea *source = m_hasPonoramResult ? ponoramCanvas() : m_mainCanvas;
    if (!source || !hasPicture())
        return QPixmap();
    source->uncheckAllItem();
    source->update();
    const QRect area = m_hasPonoramResult ? QRect(QPoint(0, 0), m_ponoramResult.size()) : selectRect();
    if (area.width() < 1 || area.height() < 1)
        return QPixmap();
    return QPixmap::fromImage(source->renderRect(area, renderZLimit, true, false));
}

void SurfaceWidget::uploadScreen()
{
    if (canDeliver())
        emit uploadedScreen();
}

void SurfaceWidget::saveScreen()
{
    if (canDeliver())
        Core::instance()->screenSaveToDisk(QPixmap());
}

void SurfaceWidget::shareWith(void (Core::*share)(QPixmap))
{
    if (canDeliver())
        (Core::instance()->*share)(QPixmap());
}

void SurfaceWidget::screenPostVK() { shareWith(&Core::screenPostVK); }
void SurfaceWidget::screenPostOdnoklassniki() { shareWith(&Core::screenPostOdnoklassniki); }
void SurfaceWidget::screenPostFacebook() { shareWith(&Core::screenPostFacebook); }
void SurfaceWidget::screenPostTwitter() { shareWith(&Core::screenPostTwitter); }
void SurfaceWidget::screenPostMail() { shareWith(&Core::screenPostMail); }

bool SurfaceWidget::pauseForRepaint()
{
    QPointer<SurfaceWidget> self(this);
    m_repaintPause = true;
    if (m_canvas)
        m_canvas->uncheckAllItem();
    emit hideToolBar();
    QCoreApplication::processEvents();
    update();
    QEventLoop loop;
    QTimer::singleShot(repaintPauseMsecs, &loop, &QEventLoop::quit);
    loop.exec();
    if (!self)
        return false;
    m_repaintPause = false;
    // The capture may have been ended from outside meanwhile (the window system's close).
    return m_capturing;
}

void SurfaceWidget::screenSaveToClipboard()
{
    if (!canDeliver())
        return;
    if (pauseForRepaint())
        Core::instance()->screenSaveToClipboard();
}

// A result leaves only from a real selection, and never while a copy waits for its repaint.
bool SurfaceWidget::canDeliver() const
{
    return !hasEmptySelection() && !m_repaintPause;
}

bool SurfaceWidget::hasEmptySelection() const
{
    return !m_selector || m_selector->isEmptySelection();
}

bool SurfaceWidget::hasCompleteSelection() const
{
    return m_selector && m_selector->isCompleteSelectRect() && !m_selector->isEmptySelection();
}

void SurfaceWidget::close()
{
    // A copy waiting for its repaint still needs the overlay; it closes it itself.
    if (m_repaintPause)
        return;
    endCapture();
    emit closed();
}

bool SurfaceWidget::event(QEvent *event)
{
    if (event->type() == QEvent::Close) {
        emit closed();
        return false;
    }
    return QQuickView::event(event);
}

void SurfaceWidget::setVisibleCloseWindow(bool visible)
{
    if (m_visibleCloseWindow == visible)
        return;
    m_visibleCloseWindow = visible;
    emit visibleCloseWindowChanged(visible);
}

static QRect primaryGeometry()
{
    QScreen *primary = QGuiApplication::primaryScreen();
    return primary ? primary->geometry() : QRect();
}

int SurfaceWidget::primaryX() const { return primaryGeometry().x(); }
int SurfaceWidget::primaryY() const { return primaryGeometry().y(); }
int SurfaceWidget::primaryWidth() const { return primaryGeometry().width(); }
int SurfaceWidget::primaryHeight() const { return primaryGeometry().height(); }

bool SurfaceWidget::isCommandModified() const
{
    return QGuiApplication::queryKeyboardModifiers().testFlag(Qt::ControlModifier);
}

QRect SurfaceWidget::toolbarScreen(int x, int y, int width, int height) const
{
    const QRect area(x, y, width, height);
    QScreen *smallest = nullptr;
    for (QScreen *screen : QGuiApplication::screens()) {
        if (screen->geometry().intersects(area)
            && (!smallest || screen->geometry().height() < smallest->geometry().height()))
            smallest = screen;
    }
    return smallest ? QRect(QPoint(0, 0), smallest->geometry().size()) : QRect();
}

QPointF SurfaceWidget::mapToScene(QQuickItem *item) const
{
    return scenePosition(item);
}

QPointF SurfaceWidget::mapToScenePoint(QQuickItem *, int, int) const
{
    return QPointF(0, 0);
}

void SurfaceWidget::setPaintArea(MPainterArea *canvas)
{
    m_canvas = canvas;
}
