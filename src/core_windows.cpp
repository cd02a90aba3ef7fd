// The program's page windows: made on first use, shown, hidden and deleted here.

#include "core.h"

#include "app/messagedialog.h"
#include "capture/editponoramwidget.h"
#include "capture/selectorwidget_linux.h"
#include "capture/surfacewidget.h"
#include "network/autorization.h"
#include "platform/x11_helper_linux.h"
#include "settings/debuglog.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "upload/networkexchange.h"
#include "upload/uploadmodel.h"
#include "windows/autorizationwidget_rest.h"
#include "windows/errorwidget.h"
#include "windows/lastuploadwidget_win.h"
#include "windows/maintoolwidget.h"
#include "windows/proxywidget.h"
#include "windows/settingwidget_rest.h"
#include "windows/uploadwidget_win.h"

#include <QDebug>
#include <QGuiApplication>
#include <QScreen>

#include <utility>

namespace {

// Qt's window property for a window that the window manager is not to activate when it maps
// it: the window's user time is then 0.
const char *const showWithoutActivating = "_q_showWithoutActivating";

bool settingIsOn(const QString &key)
{
    return Setting::instance()->getValue(key).toBool();
}

} // namespace

MainToolWidget *Core::mainToolWidget()
{
    if (!m_mainToolWidget) {
        printProgress(QStringLiteral("mainToolWidget: creating new MainToolWidget"));
        m_mainToolWidget = new MainToolWidget();
        printProgress(QStringLiteral("mainToolWidget: created"));
    }
    return m_mainToolWidget;
}

SettingWidget *Core::settingWidget()
{
    printProgress(QStringLiteral("settingWidget: getting widget"));
    if (!m_settingWidget) {
        printProgress(QStringLiteral("settingWidget: creating new SettingWidget"));
        m_settingWidget = new SettingWidget();
        connect(m_settingWidget, &BasicWindow::closed, this, &Core::deleteSettingWindow);
        connect(m_settingWidget, &QWindow::visibleChanged, this, &Core::settingWindowVisibleChanged);
        printProgress(QStringLiteral("settingWidget: widget created"));
    }
    return m_settingWidget;
}

AutorizationWidget *Core::autorizationWidget()
{
    if (!m_autorizationWidget)
        m_autorizationWidget = new AutorizationWidget();
    return m_autorizationWidget;
}

UploadWidget *Core::uploadWidget()
{
    if (!m_uploadWidget)
        m_uploadWidget = new UploadWidget();
    return m_uploadWidget;
}

LastUploadWidget *Core::lastUploadWidget()
{
    if (!m_lastUploadWidget)
        m_lastUploadWidget = new LastUploadWidget();
    return m_lastUploadWidget;
}

ProxyWidget *Core::proxyWidget()
{
    if (!m_proxyWidget) {
        m_proxyWidget = new ProxyWidget();
        connect(m_proxyWidget, &BasicWindow::closed, this, &Core::closeProxyWindow);
    }
    return m_proxyWidget;
}

// The overlay, a screen's selector window or the editor of the capture in progress, when it
// is on the screen.
QWindow *Core::shownCaptureWindow() const
{
    const QList<QWindow *> windows = {m_surface.data(), m_selectorWidgetMac.data(), m_editPonoram.data()};
    for (QWindow *window : windows) {
        if (window && window->isVisible())
            return window;
    }
    return nullptr;
}

// The capture's windows stay on top, the overlay full screen: a window opened meanwhile
// would lie under them, unseen until the capture ends. Window managers keep a dialog above
// the window it is transient for, also above a full-screen one. The window shows without
// taking the keyboard, which stays with the capture until the user clicks the window; only a
// dialog that blocks the capture takes it. Once no capture is on the screen, a window is on
// its own again.
bool Core::keepAboveCapture(QWindow *window, Keyboard keyboard)
{
    QWindow *capture = shownCaptureWindow();
    if (!window || window == capture)
        return false;
    if (capture)
        tieToCapture(window, capture, keyboard);
    else
        untieFromCapture(window);
    return capture;
}

// A window the window manager has already mapped learns its new parent through X: Qt writes
// WM_TRANSIENT_FOR only when it maps a window.
void Core::tieToCapture(QWindow *window, QWindow *capture, Keyboard keyboard)
{
    if (!m_tiedToCapture.contains(window))
        m_tiedToCapture.insert(window, window->type());
    connect(window, &QObject::destroyed, this, &Core::forgetTiedWindow, Qt::UniqueConnection);
    connect(capture, &QWindow::visibleChanged, this, &Core::untieFromHiddenCaptures, Qt::UniqueConnection);
    window->setTransientParent(capture);
    if (window->isVisible()) {
        x11_set_transient_for(xcb_window_t(window->winId()), xcb_window_t(capture->winId()));
        return;
    }
    window->setFlags((window->flags() & ~Qt::WindowType_Mask) | Qt::Dialog);
    window->setProperty(showWithoutActivating, keyboard == Keyboard::StaysWithCapture);
}

void Core::untieFromCapture(QWindow *window)
{
    const auto tied = m_tiedToCapture.constFind(window);
    if (tied == m_tiedToCapture.cend())
        return;
    window->setFlags((window->flags() & ~Qt::WindowType_Mask) | tied.value());
    window->setTransientParent(nullptr);
    window->setProperty(showWithoutActivating, QVariant());
    if (window->isVisible())
        x11_set_transient_for(xcb_window_t(window->winId()), XCB_WINDOW_NONE);
    m_tiedToCapture.remove(window);
}

// The tie lasts as long as the capture's window is on the screen: a window left open names
// no hidden window, nor one that is gone once the overlay is renewed.
void Core::untieFromHiddenCaptures()
{
    for (QWindow *window : QGuiApplication::allWindows()) {
        const QWindow *capture = window->transientParent();
        if (m_tiedToCapture.contains(window) && (!capture || !capture->isVisible()))
            untieFromCapture(window);
    }
}

void Core::forgetTiedWindow(QObject *window)
{
    m_tiedToCapture.remove(window);
}

// A message that opened while the capture was hidden (an upload that failed while the save
// dialog was open, a voice comment that could not be joined) would lie under the capture
// once it is back: it goes above it where it is.
void Core::keepMessagesAboveCapture()
{
    for (QWindow *window : QGuiApplication::topLevelWindows()) {
        const bool isMessage = qobject_cast<ErrorWidget *>(window) || qobject_cast<MessageDialog *>(window);
        if (isMessage && window->isVisible())
            keepAboveCapture(window);
    }
}

// A sign-out calls this too (authChanged), so the login window opens at once. While another
// program has held the settings file since the start the sign-in is unknown: no login window
// on the defaults (a sign-in made then would not be kept); the start checks again once the
// stored values are read, and what a capture delivers waits for them.
bool Core::checkAutorization()
{
    if (Autorization::isAuth() || !Setting::instance()->knowsStoredValues())
        return true;
    m_account->resetAutorization();
    autorizationWidget()->show();
    return false;
}

void Core::showSetting()
{
    printProgress(QStringLiteral("showSetting: start"));
    SettingWidget *window = settingWidget();
    window->show();
    printProgress(QStringLiteral("showSetting: show called"));
    window->raise();
    printProgress(QStringLiteral("showSetting: done"));
}

void Core::showProxyWidget()
{
    proxyWidget()->show();
}

// Called by the login page itself: the window goes once its own signal has returned.
void Core::registrationWidgetDestroy()
{
    qCDebug(lcMavu) << "void Core::registrationWidgetDestroy()";
    if (!m_autorizationWidget)
        return;
    m_autorizationWidget->close();
    m_autorizationWidget->deleteLater();
    m_autorizationWidget = nullptr;
}

void Core::deleteSettingWindow()
{
    if (!m_settingWidget)
        return;
    m_settingWidget->deleteLater();
    m_settingWidget = nullptr;
}

void Core::showUploadPage()
{
    mainToolWidget()->hide();
    if (settingIsOn(SettingKeys::showUpload))
        uploadWidget()->show();
}

// "Upload complete" tells of the newest link that went up in the batch; a batch in which
// nothing went up (failed or cancelled) has its own windows. It never covers a capture in
// progress, nor an error or a question in its corner.
void Core::showLastUploadPage()
{
    qCDebug(lcMavu) << "void Core::showLastUploadPage()";
    uploadWidget()->hide();
    mainToolWidget()->hide();
    const bool uploaded = std::exchange(m_batchUploaded, false);
    m_uploadedJob = 0;
    m_uploadedLink.clear();
    const bool captureOpen = captureUnderWay() || (m_editPonoram && m_editPonoram->isVisible());
    if (!uploaded || captureOpen || !settingIsOn(SettingKeys::showLastUpload))
        return;
    lastUploadWidget()->show();
    keepLastUploadClear();
}

void Core::cancelUpload()
{
    uploadWidget()->hide();
    m_networkExchange->cancelUpload();
}

// Error windows and questions open in the same corner: the "Upload complete" window,
// which stays on top, goes above them, or away when there is no room.
void Core::keepLastUploadClear()
{
    if (!m_lastUploadWidget || !m_lastUploadWidget->isVisible())
        return;
    QRect placed = m_lastUploadWidget->geometry();
    for (bool moved = true; moved;) {
        moved = false;
        for (QWindow *window : QGuiApplication::allWindows()) {
            const bool message = qobject_cast<ErrorWidget *>(window) || qobject_cast<MessageDialog *>(window);
            if (message && window->isVisible() && window->geometry().intersects(placed)) {
                placed.moveBottom(window->geometry().top() - 1);
                moved = true;
            }
        }
    }
    const QScreen *screen = m_lastUploadWidget->screen();
    if (screen && !screen->availableGeometry().contains(placed))
        m_lastUploadWidget->hide();
    else
        m_lastUploadWidget->move(placed.x(), placed.y());
}

// An error or the offline question takes the upload window's place; the next upload makes
// a new one. The window may be inside one of its own signals (its page cancelled the
// upload), so it is deleted once that has returned.
void Core::forgetUploadWidget()
{
    if (!m_uploadWidget)
        return;
    m_uploadWidget->close();
    m_uploadWidget->deleteLater();
    m_uploadWidget = nullptr;
}
