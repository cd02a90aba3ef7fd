#include "uploadhooks.h"

#include "core.h"

#include <QDesktopServices>

namespace UploadHooks {

std::function<bool(const QUrl &url)> &openUrl()
{
    static std::function<bool(const QUrl &)> hook = [](const QUrl &url) {
        return QDesktopServices::openUrl(url);
    };
    return hook;
}

std::function<void(const QString &title, const QString &text)> &showMessage()
{
    static std::function<void(const QString &, const QString &)> hook =
        [](const QString &title, const QString &text) { Core::instance()->showTrayMessage(title, text); };
    return hook;
}

} // namespace UploadHooks
