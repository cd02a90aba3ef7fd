#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Seams between the service client and the desktop: the information dialog, the
// browser and the end of the process. The defaults open the dialog, open the URL with
// the desktop's handler and end the program; the tests put their own in.
namespace NetworkHooks {

std::function<void(const QString &text)> &showInformation();
std::function<bool(const QUrl &url)> &openUrl();
std::function<void()> &exitApp();

// The overall deadline of a request: the base, plus the time the request's bytes take at
// the minimum rate. Tests shorten it.
struct RequestDeadline
{
    int baseMs;
    qint64 minBytesPerSecond;
};
RequestDeadline &requestDeadline();

} // namespace NetworkHooks
