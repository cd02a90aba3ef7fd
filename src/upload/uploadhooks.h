#pragma once

#include <QString>
#include <QUrl>

#include <functional>

// Seams between the upload pipeline and the desktop. The defaults open URLs with the
// desktop's handler and show messages as the controller's tray balloons; the tests record
// what would have been shown.
namespace UploadHooks {

// Opens a share page, a mail link or the Dropbox sign-in page; false when nothing opened it.
std::function<bool(const QUrl &url)> &openUrl();
// A message for the user (title, text), e.g. the outcome of a connection probe.
std::function<void(const QString &title, const QString &text)> &showMessage();

} // namespace UploadHooks
