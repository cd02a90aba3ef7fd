#include "windows/proxywidget.h"

#include <QUrl>

ProxyWidget::ProxyWidget(QObject *parent)
    : BasicWindow(parent)
{
    setupUi();
}

void ProxyWidget::init()
{
    setFlags(Qt::Window | Qt::FramelessWindowHint);
    setPosCenter(true);
    setSource(QUrl(QStringLiteral("qrc:/qml/qml/Window/ProxyPage.qml")));
}
