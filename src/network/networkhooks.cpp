#include "networkhooks.h"

#include "app/messagedialog.h"
#include "core.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDesktopServices>
#include <QTimer>

namespace NetworkHooks {

std::function<void(const QString &)> &showInformation()
{
    // The account object reports from inside the controller's constructor, and the
    // dialog's page needs the controller: the dialog opens once the event loop runs.
    static std::function<void(const QString &)> hook = [](const QString &text) {
        qWarning() << "NetworkHooks::showInformation(const QString&)" << text;
        QTimer::singleShot(0, QCoreApplication::instance(), [text] { showInformationDialog(QString(), text); });
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

RequestDeadline &requestDeadline()
{
    static RequestDeadline deadline{60000, 8 * 1024};
    return deadline;
}

} // namespace NetworkHooks
