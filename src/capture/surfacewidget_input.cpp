// Window-level keys and mouse of the capture overlay. They run after (keys) or around
// (mouse) the delivery to the page's items.

#include "surfacewidget.h"

#include "capture/crosscursor.h"
#include "capture/magnifieritem.h"
#include "capture/sharekeys.h"
#include "capture/surfaceselector.h"
#include "core.h"
#include "network/analytics.h"
#include "painter/mpainterarea.h"
#include "painter/textitem.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace {

// The modifiers of the key event itself count as well as those the server reports now:
// by the time a fast key press is handled, Ctrl may already be up again.
Qt::KeyboardModifiers modifiersOf(const QKeyEvent *event)
{
    return (event->modifiers() | QGuiApplication::queryKeyboardModifiers()) & ~Qt::KeypadModifier;
}

bool confirmBeforeClosing()
{
    return Setting::instance()->getValue(SettingKeys::showCloseSurfaceWindow).toBool();
}

void sendToolHotkeyEvent(const QString &label)
{
    new AnalyticsEvent(AnalyticsEvent::CategoryTool, AnalyticsEvent::ActionHotkey, true, label);
}

} // namespace

void SurfaceWidget::keyPressEvent(QKeyEvent *event)
{
    QQuickView::keyPressEvent(event);
    emit isCommandModifiedChanged();
    if (m_repaintPause)
        return;
    if (m_visibleCloseWindow) {
        handleConfirmBoxKey(event);
        return;
    }
    handleResultKey(event);
    if (event->key() == Qt::Key_Space && !event->isAutoRepeat() && m_selector
        && !m_selector->isCompleteSelectRect())
        m_selector->setMoveSelector(true);
}

bool SurfaceWidget::handleConfirmBoxKey(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        close();
        return true;
    }
    if (event->key() == Qt::Key_Escape && confirmBeforeClosing()) {
        setVisibleCloseWindow(false);
        return true;
    }
    return false;
}

// The result keys act only on a real selection: an empty one is never saved or sent.
bool SurfaceWidget::handleResultKey(QKeyEvent *event)
{
    const int key = event->key();
    const Qt::KeyboardModifiers modifiers = modifiersOf(event);
    const bool ctrl = modifiers.testFlag(Qt::ControlModifier);
    const bool shift = modifiers.testFlag(Qt::ShiftModifier);
    Core *core = Core::instance();
    if (ctrl && key == Qt::Key_C)
        return handleCopyKey();
    if (ctrl && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        if (canDeliver())
            core->screenUpload(0, false, QPixmap());
        return true;
    }
    if (ctrl && key == Qt::Key_S) {
        saveScreen();
        return true;
    }
    if (ctrl && shift) {
        if (ShareAction share = shareActionForKey(key)) {
            shareWith(share);
            return true;
        }
    }
    if (key == Qt::Key_Z && modifiers == (Qt::ControlModifier | Qt::ShiftModifier)) {
        sendToolHotkeyEvent(QStringLiteral("redo"));
        if (m_canvas)
            m_canvas->checkRedo();
        return true;
    }
    if (ctrl && key == Qt::Key_Z) {
        sendToolHotkeyEvent(QStringLiteral("undo"));
        if (m_canvas)
            m_canvas->checkUndo();
        return true;
    }
    if (modifiers.testFlag(Qt::AltModifier) && key == Qt::Key_F4) {
        close();
        return true;
    }
    return key == Qt::Key_Escape && handleEscape();
}

bool SurfaceWidget::handleCopyKey()
{
    if (hasEmptySelection()) {
        copyColourUnderCursor();
        return true;
    }
    AbstractGraphItem *item = m_mainCanvas ? m_mainCanvas->currentItem() : nullptr;
    if (!item) {
        if (pauseForRepaint())
            Core::instance()->screenSaveToClipboard();
        return true;
    }
    if (auto *text = qobject_cast<TextItem *>(item)) {
        const QString selected = text->getSelectedText();
        if (!selected.isEmpty()) {
            QGuiApplication::clipboard()->setText(selected);
            return true;
        }
    }
    screenSaveToClipboard();
    return true;
}

void SurfaceWidget::copyColourUnderCursor()
{
    if (MagnifierItem *lens = magnifier())
        QGuiApplication::clipboard()->setText(lens->currentColor().remove(QLatin1Char('#')));
    close();
}

bool SurfaceWidget::handleEscape()
{
    if (!confirmBeforeClosing()) {
        close();
        return true;
    }
    if (m_mainCanvas && m_mainCanvas->checkItem()) {
        m_mainCanvas->uncheckAllItem();
        return true;
    }
    if (hasEmptySelection()) {
        close();
        return true;
    }
    setVisibleCloseWindow(confirmBeforeClosing());
    return true;
}

void SurfaceWidget::keyReleaseEvent(QKeyEvent *event)
{
    QQuickView::keyReleaseEvent(event);
    if (event->key() == Qt::Key_Space) {
        if (!event->isAutoRepeat() && m_selector && !m_selector->isCompleteSelectRect())
            m_selector->setMoveSelector(false);
        AbstractGraphItem *item = m_canvas ? m_canvas->currentItem() : nullptr;
        if (item && item->name() != QLatin1String("Text"))
            m_canvas->selectLastModule();
    }
    emit isCommandModifiedChanged();
}

void SurfaceWidget::mousePressEvent(QMouseEvent *event)
{
    const QPoint point = event->position().toPoint();
    m_pressX = point.x();
    m_pressY = point.y();
    m_pressed = true;
    m_moving = false;
    if (m_canvas && m_canvas->currentModule().isEmpty() && hasCompleteSelection()
        && m_selector->rubberRect().normalized().contains(QPointF(point))) {
        m_moving = true;
        setCursor(Qt::ClosedHandCursor);
    }
    QQuickView::mousePressEvent(event);
}

void SurfaceWidget::mouseMoveEvent(QMouseEvent *event)
{
    if (m_canvas && m_selector && m_moving && m_pressed && m_canvas->currentModule().isEmpty()) {
        const QPoint point = event->position().toPoint();
        const QRectF selection = m_selector->rubberRect().normalized();
        const int dx = m_pressX - point.x();
        const int dy = m_pressY - point.y();
        m_selector->moveRubber(int(selection.x()) - dx, int(selection.y()) - dy);
        m_pressX = point.x();
        m_pressY = point.y();
        event->accept();
        return;
    }
    QQuickView::mouseMoveEvent(event);
}

void SurfaceWidget::mouseReleaseEvent(QMouseEvent *event)
{
    if (m_moving)
        setCursor(captureCrossCursor());
    m_pressed = false;
    m_moving = false;
    if (event->button() == Qt::RightButton && canDeliver())
        Core::instance()->screenUpload(0, false, QPixmap());
    QQuickView::mouseReleaseEvent(event);
}

void SurfaceWidget::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (m_selector) {
        const QRectF whole(0, 0, width(), height());
        if (m_selector->rubberRect().normalized() == whole)
            m_selector->collapseFromFullScreen();
        else if (hasEmptySelection())
            m_selector->expandToFullScreen();
    }
    QQuickView::mouseDoubleClickEvent(event);
}
