// The program's page windows: made on first use, shown, hidden and deleted here.

#include "core.h"

#include "network/autorization.h"
#include "settings/debuglog.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "upload/networkexchange.h"
#include "upload/uploadmodel.h"
#include "windows/autorizationwidget_rest.h"
#include "windows/lastuploadwidget_win.h"
#include "windows/maintoolwidget.h"
#include "windows/proxywidget.h"
#include "windows/settingwidget_rest.h"
#include "windows/uploadwidget_win.h"

#include <QDebug>

#include <utility>

namespace {

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

// A sign-out calls this too (authChanged), so the login window opens at once.
bool Core::checkAutorization()
{
    if (Autorization::isAuth())
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

// A failed or cancelled upload ends without "Upload complete": a failure has its own window.
void Core::showLastUploadPage()
{
    qCDebug(lcMavu) << "void Core::showLastUploadPage()";
    uploadWidget()->hide();
    mainToolWidget()->hide();
    const bool failed = std::exchange(m_uploadFailed, false);
    if (!failed && settingIsOn(SettingKeys::showLastUpload))
        lastUploadWidget()->show();
}

// Only a running job counts: a refusal before the start (size limit) ends no uploads.
// A cancel counts too, so that the stopped jobs are not reported as complete.
void Core::noteUploadFailure()
{
    if (m_uploadModel && m_uploadModel->rowCount() > 0)
        m_uploadFailed = true;
}

void Core::cancelUpload()
{
    uploadWidget()->hide();
    noteUploadFailure();
    m_networkExchange->cancelUpload();
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
