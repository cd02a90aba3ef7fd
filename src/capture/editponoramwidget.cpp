#include "editponoramwidget.h"

#include "capture/pngdataurl.h"
#include "capture/sharekeys.h"
#include "capture/sceneposition.h"
#include "capture/surfaceselector.h"
#include "core.h"
#include "network/analytics.h"
#include "painter/mpainterarea.h"
#include "painter/paintertypes.h"
#include "painter/textitem.h"
#include "settings/debuglog.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "windows/compositor.h"
#include "windows/windowtypes.h"

#include <QClipboard>
#include <QDebug>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QQmlContext>
#include <QQuickItem>
#include <QScreen>

#include <algorithm>

namespace {

// The canvas's items lie below this z; the page's own controls above it never show.
constexpr double renderZLimit = 10000.0;
// The page's panel colour, which fills the window where no compositor draws it transparent.
const QColor opaquePanelColour(QStringLiteral("#2e353b"));

QRect primaryGeometry()
{
    QScreen *primary = QGuiApplication::primaryScreen();
    return primary ? primary->geometry() : QRect();
}

void sendToolHotkeyEvent(const QString &label)
{
    new AnalyticsEvent(AnalyticsEvent::CategoryTool, AnalyticsEvent::ActionHotkey, true, label);
}

bool confirmBeforeClosing()
{
    return Setting::instance()->getValue(SettingKeys::showCloseSurfaceWindow).toBool();
}

} // namespace

EditPonoramWidget::EditPonoramWidget(QPixmap image, QWindow *parent)
    : QQuickView(parent)
    , m_maxWidth(primaryGeometry().width())
    , m_maxHeight(primaryGeometry().height())
    , m_currentPixmapAcpectRatio(qMax(1, int(image.devicePixelRatio())))
{
    QQmlContext *context = rootContext();
    context->setContextProperty(QStringLiteral("window"), this);
    context->setContextProperty(QStringLiteral("surface"), this);
    context->setContextProperty(QStringLiteral("core"), Core::instance());
    context->setContextProperty(QStringLiteral("settings"), Setting::instance());
    registerPainterTypes();
    registerWindowQmlTypes();
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setResizeMode(QQuickView::SizeViewToRootObject);
    m_transparent = applyWindowBackground(this, opaquePanelColour);
    setSource(QUrl(QStringLiteral("qrc:/qml/qml/Window/EditPonoramPage.qml")));
    setObjectName(QStringLiteral("EditPonoramWindow"));
    if (QQuickItem *root = rootObject()) {
        m_canvas = root->findChild<MPainterArea *>(QStringLiteral("paintArea"));
        m_selector = root->findChild<SurfaceSelector *>(QStringLiteral("SurfaceSelector"));
    }
    setBackground(image);
    // The page takes the image's size once the image is loaded, and the window the page's.
    connect(this, &QWindow::widthChanged, this, &EditPonoramWidget::centreInScreen);
    connect(this, &QWindow::heightChanged, this, &EditPonoramWidget::centreInScreen);
}

EditPonoramWidget::~EditPonoramWidget()
{
    qCDebug(lcMavu) << "EditPonoramWidget::~EditPonoramWidget()";
}

int EditPonoramWidget::maxWidth() const
{
    qCDebug(lcMavu) << Q_FUNC_INFO << m_maxWidth;
    return m_maxWidth;
}

void EditPonoramWidget::show()
{
    centreInScreen();
    QQuickView::show();
    requestActivate();
}

// Centred in the available area of the window's screen, wherever that screen stands.
void EditPonoramWidget::centreInScreen()
{
    QScreen *target = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!target)
        return;
    const QRect area = target->availableGeometry();
    setPosition(area.x() + area.width() / 2 - width() / 2, area.y() + area.height() / 2 - height() / 2);
}

void EditPonoramWidget::setBackground(QPixmap pm)
{
    qCDebug(lcMavu) << Q_FUNC_INFO << rootContext() << rootObject() << (pm.isNull() ? "true" : "false");
    m_background = pm;
    if (m_canvas)
        m_canvas->setBackground(pm.toImage());
    emit backgroundChange();
    centreInScreen();
}

QString EditPonoramWidget::requestBackground() const
{
    return pngDataUrl(m_background.toImage());
}

QPointF EditPonoramWidget::mapToScene(QQuickItem *item) const
{
    return scenePosition(item);
}

void EditPonoramWidget::move(int x, int y)
{
    qCDebug(lcMavu) << Q_FUNC_INFO << x << y;
    setPosition(x, y);
}

void EditPonoramWidget::close()
{
    emit closed();
}

void EditPonoramWidget::requestClose()
{
    if (confirmBeforeClosing() && hasAnnotations())
        setVisibleCloseWindow(true);
    else
        close();
}

// Undone items stay on the canvas, hidden.
bool EditPonoramWidget::hasAnnotations() const
{
    if (!m_canvas)
        return false;
    const QList<AbstractGraphItem *> items = m_canvas->graphItems();
    return std::any_of(items.cbegin(), items.cend(), [](AbstractGraphItem *item) { return item->isVisible(); });
}

void EditPonoramWidget::setVisibleCloseWindow(bool visible)
{
    if (m_visibleCloseWindow == visible)
        return;
    m_visibleCloseWindow = visible;
    emit visibleCloseWindowChanged(visible);
}

// The window manager's close (Alt+F4, a close button of its own) ends the editor as its own
// close does; the window itself stays until the controller deletes it.
bool EditPonoramWidget::event(QEvent *event)
{
    if (event->type() == QEvent::Close) {
        event->ignore();
        requestClose();
        return true;
    }
    return QQuickView::event(event);
}

// The image with every annotation at the image's own size, whatever the view's zoom (and
// also before the page has shown the image).
QPixmap EditPonoramWidget::renderImage() const
{
    if (!m_canvas)
        return QPixmap();
    const QRect whole(QPoint(0, 0), m_background.size() / m_currentPixmapAcpectRatio);
    return QPixmap::fromImage(m_canvas->renderRect(whole, renderZLimit, false, false));
}

void EditPonoramWidget::handOver(void (Core::*action)(QPixmap))
{
    const QPixmap image = renderImage();
    (Core::instance()->*action)(image);
    if (action != &Core::screenPostMail)
        close();
}

void EditPonoramWidget::uploadScreen()
{
    const QPixmap image = renderImage();
    Core::instance()->screenUpload(0, false, image);
    close();
}

// A cancelled or failed save keeps the editor open, so that the annotated image is not lost.
void EditPonoramWidget::saveScreen()
{
    if (Core::instance()->saveToDisk(renderImage()))
        close();
}
void EditPonoramWidget::screenPostVK() { handOver(&Core::screenPostVK); }
void EditPonoramWidget::screenPostOdnoklassniki() { handOver(&Core::screenPostOdnoklassniki); }
void EditPonoramWidget::screenPostFacebook() { handOver(&Core::screenPostFacebook); }
void EditPonoramWidget::screenPostTwitter() { handOver(&Core::screenPostTwitter); }
void EditPonoramWidget::screenPostMail() { handOver(&Core::screenPostMail); }

void EditPonoramWidget::screenSaveToClipboard()
{
    QGuiApplication::clipboard()->setImage(renderImage().toImage());
    close();
}

void EditPonoramWidget::keyPressEvent(QKeyEvent *event)
{
    QQuickView::keyPressEvent(event);
    qCDebug(lcMavu) << Q_FUNC_INFO << event->key() << event->modifiers();
    const int key = event->key();
    if (m_visibleCloseWindow) {
        handleConfirmBoxKey(key);
        return;
    }
    const Qt::KeyboardModifiers modifiers = event->modifiers() & ~Qt::KeypadModifier;
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    if (ctrl && (key == Qt::Key_Return || key == Qt::Key_Enter))
        uploadScreen();
    else if (ctrl && key == Qt::Key_C)
        copyKey();
    else if (ctrl && key == Qt::Key_S)
        saveScreen();
    else if (ctrl && modifiers.testFlag(Qt::ShiftModifier) && handleShareKey(key))
        return;
    else if (key == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
        sendToolHotkeyEvent(QStringLiteral("redo"));
        if (m_canvas)
            m_canvas->checkRedo();
    } else if (ctrl && key == Qt::Key_Z) {
        sendToolHotkeyEvent(QStringLiteral("undo"));
        if (m_canvas)
            m_canvas->checkUndo();
    } else if (key == Qt::Key_Escape)
        escapeKey();
    else if (key == Qt::Key_F4 && modifiers.testFlag(Qt::AltModifier))
        requestClose();
}

bool EditPonoramWidget::handleShareKey(int key)
{
    ShareAction share = shareActionForKey(key);
    if (share)
        handOver(share);
    return share != nullptr;
}

void EditPonoramWidget::copyKey()
{
    auto *text = m_canvas ? qobject_cast<TextItem *>(m_canvas->currentItem()) : nullptr;
    const QString selected = text ? text->getSelectedText() : QString();
    if (!selected.isEmpty())
        QGuiApplication::clipboard()->setText(selected);
    else
        screenSaveToClipboard();
}

void EditPonoramWidget::handleConfirmBoxKey(int key)
{
    if (key == Qt::Key_Return || key == Qt::Key_Enter)
        close();
    else if (key == Qt::Key_Escape)
        setVisibleCloseWindow(false);
}

// The first Escape unchecks the current item, the next closes or asks.
void EditPonoramWidget::escapeKey()
{
    if (confirmBeforeClosing() && m_canvas && m_canvas->currentItem())
        m_canvas->uncheckAllItem();
    else
        requestClose();
}

void EditPonoramWidget::keyReleaseEvent(QKeyEvent *event)
{
    QQuickView::keyReleaseEvent(event);
    if (event->key() == Qt::Key_Space) {
        AbstractGraphItem *item = m_canvas ? m_canvas->currentItem() : nullptr;
        if (item && item->name() != QLatin1String("Text"))
            m_canvas->selectLastModule();
    }
}
