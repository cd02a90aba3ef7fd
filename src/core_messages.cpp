// Messages for the user: error windows, the offline question, tray balloons, the
// reminder and the support box.

#include "core.h"

#include "app/messagedialog.h"
#include "settings/debuglog.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "windows/errorwidget.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QMessageBox>
#include <QUrl>

namespace {
constexpr int balloonMsecs = 10000;
constexpr int reminderAfterDays = 10;
}

// Every error opens a window of its own, deleted when the user closes it.
void Core::showErrorWidget(QString text)
{
    qCDebug(lcMavu) << "void Core::showErrorWidget(QString)" << text;
    forgetUploadWidget();
    auto *window = new ErrorWidget();
    window->setError(text);
    window->show();
    window->raise();
    connect(window, &BasicWindow::closed, window, &QObject::deleteLater);
}

// The question offers to save the capture that could not go up; an upload of files
// (already on disk) is only told.
void Core::internetNotAvailable()
{
    qCDebug(lcMavu) << "void Core::internetNotAvailable()" << "show message dialog";
    if (m_lastCaptureFile.isEmpty() || !QFile::exists(m_lastCaptureFile)) {
        showErrorWidget(tr("Internet is not available"));
        return;
    }
    forgetUploadWidget();
    auto *dialog = new MessageDialog();
    dialog->questions(tr("Warning"), tr("Internet is not available. Save file to disk ?"));
    connect(dialog, &BasicWindow::closed, dialog, &QObject::deleteLater);
    connect(dialog, &MessageDialog::result, this, &Core::internetNotAvailableResult);
    dialog->show();
}

void Core::showReminderMessage()
{
    const QString title = QStringLiteral("Mavu - best screenshoter");
    const QString text = tr("Hey! I Mavu. The faster program to create screenshots and transfer files over a "
                            "network. Are you forgot for me ? Let`s do screenshot!");
    Setting *settings = Setting::instance();
    const QDateTime last = settings->getValue(SettingKeys::dateLastScreen).toDateTime();
    if (last.isNull()) {
        settings->setValue(SettingKeys::dateLastScreen, QDateTime::currentDateTime());
        return;
    }
    if (last < QDateTime::currentDateTime().addDays(-reminderAfterDays) && m_trayIcon)
        m_trayIcon->showMessage(title, text, QSystemTrayIcon::Information, balloonMsecs);
}

// Without a tray on the desktop a balloon would not be seen: the message opens in a
// window instead.
void Core::showTrayMessage(QString title, QString messae)
{
    if (!m_trayIcon)
        return;
    if (QSystemTrayIcon::isSystemTrayAvailable())
        m_trayIcon->showMessage(title, messae, QSystemTrayIcon::Information, balloonMsecs);
    else
        showInformationDialog(title, messae);
}

namespace {

QString anchor(const QString &url, const QString &shown)
{
    return QStringLiteral("<a href=\"%1\">%2</a>").arg(url, shown.toHtmlEscaped());
}

} // namespace

void Core::openHelp()
{
    const QString web = QStringLiteral("https://") + hostUrlAuth();
    // A mail address names the host alone, never its port.
    const QString support = QStringLiteral("support@") + QUrl(web).host();
    const QString contacts =
        tr("Официальный телеграм - тут подробнее об обновлениях<br>%1<br><br>"
           "Если у вас что-то не работает, пожалуйста, сообщите в телеграм или по почте:<br>%2<br><br>"
           "Справка и вопросы<br>%3")
            .arg(anchor(web + QStringLiteral("/channel"), web + QStringLiteral("/channel")),
                 anchor(QStringLiteral("mailto:") + support, support),
                 anchor(web + QStringLiteral("/help"), web + QStringLiteral("/help")));
    QMessageBox box;
    // The box blocks every window of the program: under the sign-in window or the main
    // tool panel, which stay on top, it would leave them dead with nothing to close.
    box.setWindowFlag(Qt::WindowStaysOnTopHint);
    box.setWindowTitle(tr("Support"));
    box.setText(tr("Support and Help"));
    box.setTextFormat(Qt::RichText);
    box.setInformativeText(contacts);
    box.setStandardButtons(QMessageBox::Ok);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse);
    box.exec();
}
