#include "app/messagedialog.h"

#include "settings/debuglog.h"

#include <QDebug>
#include <QUrl>

MessageDialog::MessageDialog(QObject *parent)
    : BasicWindow(parent)
{
    setData(QStringLiteral("Ok"), tr("Ok"));
    setData(QStringLiteral("Cancel"), tr("Cancel"));
    setupUi();
}

MessageDialog::~MessageDialog()
{
    qCDebug(lcMavu) << "virtual MessageDialog::~MessageDialog()";
}

void MessageDialog::init()
{
    setObjectName(QStringLiteral("MessagePage"));
}

// The page reads the data when it is created, so it is loaded after they are set.
void MessageDialog::load(const QString &type, const QString &title, const QString &message)
{
    setData(QStringLiteral("type"), type);
    setData(QStringLiteral("title"), title);
    setData(QStringLiteral("message"), message);
    setTitle(title.isEmpty() ? QStringLiteral("Mavu") : QStringLiteral("Mavu - ") + title);
    setSource(QUrl(QStringLiteral("qrc:/qml/qml/Window/MessagePage.qml")));
}

void MessageDialog::information(const QString &title, const QString &message)
{
    load(QStringLiteral("information"), title, message);
}

void MessageDialog::questions(const QString &title, const QString &message)
{
    load(QStringLiteral("questions"), title, message);
}

void MessageDialog::done(int r)
{
    emit result(r);
    close();
}

void MessageDialog::on_pbOk_clicked()
{
    done(0);
}

void MessageDialog::on_pbCancel_clcked()
{
    done(1);
}

void showInformationDialog(const QString &title, const QString &message)
{
    auto *dialog = new MessageDialog();
    dialog->information(title, message);
    QObject::connect(dialog, &BasicWindow::closed, dialog, &QObject::deleteLater);
    dialog->show();
}
