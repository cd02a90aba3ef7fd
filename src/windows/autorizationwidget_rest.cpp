#include "windows/autorizationwidget_rest.h"

#include <QUrl>

AutorizationWidget::AutorizationWidget(QObject *parent)
    : BasicWindow(parent)
{
    setupUi();
    setCenteredFlag(true);
    setMoviable(true);
}

void AutorizationWidget::init()
{
    setObjectName(QStringLiteral("AutorizationWidget"));
    setSource(QUrl(QStringLiteral("qrc:/qml/qml/Window/RegistrationPage.qml")));
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
}
