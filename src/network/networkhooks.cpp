#include "networkhooks.h"

#include "core.h"

#include <QDebug>
#include <QDesktopServices>

namespace NetworkHooks {

std::function<void(const QString &)> &showInformation()
{
    static std::function<void(const QString &)> hook = [](const QString &text) {
        qWarning() << "NetworkHooks::showInformation(const QString&)" << text;
    };
    return hook;
}

std::function<bool(const QUrl &)> &openUrl()
{
    static std::function<bool(const QUrl &)> hook = [](const QUrl &url) {
        return QDesktopServices::openUrl(url);
    };
    return hook;
}

std::function<void()> &exitApp()
{
    static std::function<void()> hook = [] { Core::instance()->exitApp(); };
    return hook;
}

} // namespace NetworkHooks
