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

#include <memory>

namespace {
constexpr int balloonMsecs = 10000;
constexpr int reminderAfterDays = 10;
}

// Every error opens a window of its own, deleted when the user closes it.
void Core::showErrorWidget(QString text)
{
    openErrorWindow(text);
}

ErrorWidget *Core::openErrorWindow(const QString &text)
{
    qCDebug(lcMavu) << "void Core::showErrorWidget(QString)" << text;
    forgetUploadWidget();
    auto *window = new ErrorWidget();
    window->setError(text);
    window->show();
    window->raise();
    connect(window, &BasicWindow::closed, window, &QObject::deleteLater);
    keepLastUploadClear();
    return window;
}

void Core::uploadFailed(QString text, QString capture)
{
    const QString kept = capture.isEmpty() ? QString() : keepUnsent(capture);
    if (kept.isEmpty())
        showErrorWidget(text);
    else
        offerUnsentCapture(kept, text);
}

// The error window of a capture that did not go up offers to save it, as often as the
// user tries; closing the window gives the capture up. Only a capture held in the unsent
// folder outlives this run: the window tells which it is.
ErrorWidget *Core::offerUnsentCapture(const QString &kept, const QString &text)
{
    const QString how = m_unsentLocks.contains(kept)
        ? tr("The capture was not lost: press \"Save\" to save it to disk.")
        : tr("The capture is not kept after Mavu closes: press \"Save\" to save it to disk now.");
    ErrorWidget *window = openErrorWindow(text + QStringLiteral("\n\n") + how);
    window->offerSave();
    connect(window, &ErrorWidget::saveRequested, this, [this, window, kept, how] {
        QString error;
        const SaveOutcome outcome = saveUnsentCapture(kept, &error);
        if (outcome == SaveOutcome::Saved)
            window->close();
        else if (outcome == SaveOutcome::Failed)
            window->setError(error + QStringLiteral("\n\n") + how);
    });
    connect(window, &BasicWindow::closed, this, [this, kept] { releaseUnsent(kept); });
    return window;
}

// Each question saves its own capture. Files the user named are already on disk: the user
// is only told.
void Core::internetNotAvailable(QString capture)
{
    qCDebug(lcMavu) << "void Core::internetNotAvailable()" << "show message dialog";
    const QString kept = capture.isEmpty() ? QString() : keepUnsent(capture);
    if (kept.isEmpty()) {
        showErrorWidget(tr("Internet is not available"));
        return;
    }
    forgetUploadWidget();
    auto *dialog = new MessageDialog();
    dialog->questions(tr("Warning"), tr("Internet is not available. Save file to disk ?"));
    auto answered = std::make_shared<bool>(false);
    connect(dialog, &BasicWindow::closed, dialog, &QObject::deleteLater);
    connect(dialog, &MessageDialog::result, this, [this, kept, answered](int result) {
        *answered = true;
        internetNotAvailableResult(result, kept);
    });
    connect(dialog, &BasicWindow::closed, this, [this, kept, answered] {
        if (!*answered)
            releaseUnsent(kept);
    });
    dialog->show();
    keepLastUploadClear();
}

// "Ok" opens the save dialog; a save that fails tells why and keeps offering the capture.
void Core::internetNotAvailableResult(int result, QString capture)
{
    QString error;
    const SaveOutcome outcome = result == 0 ? saveUnsentCapture(capture, &error) : SaveOutcome::Cancelled;
    if (outcome == SaveOutcome::Failed)
        offerUnsentCapture(capture, error);
    else
        releaseUnsent(capture);
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
    // One box at a time. It blocks no other window, so that a capture started while it is
    // open takes input; it stays on top so that the sign-in window or the main tool panel,
    // which stay on top too, do not hide it.
    static QPointer<QMessageBox> shown;
    if (!shown) {
        shown = new QMessageBox();
        shown->setAttribute(Qt::WA_DeleteOnClose);
        shown->setWindowModality(Qt::NonModal);
        shown->setWindowFlag(Qt::WindowStaysOnTopHint);
        shown->setTextFormat(Qt::RichText);
        shown->setStandardButtons(QMessageBox::Ok);
        shown->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::LinksAccessibleByMouse);
    }
    shown->setWindowTitle(tr("Support"));
    shown->setText(tr("Support and Help"));
    shown->setInformativeText(contacts);
    shown->winId(); // a widget has its QWindow only once it has its native window
    const bool aboveCapture = keepAboveCapture(shown->windowHandle());
    shown->show();
    shown->raise();
    if (!aboveCapture)
        shown->activateWindow();
}
