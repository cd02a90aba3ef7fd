#include "windows/autorizationwidget_rest.h"

#include <QQuickItem>
#include <QUrl>

AutorizationWidget::AutorizationWidget(QObject *parent)
    : BasicWindow(parent)
{
    setupUi();
    setCenteredFlag(true);
    setMoviable(true);
    // The page takes the size of its first step as the window is shown (its own handler
    // of showed() runs first); the view would follow later: it takes that size now and is
    // centred again at it.
    connect(this, &BasicWindow::showed, this, [this] {
        if (const QQuickItem *page = rootObject())
            resize(page->size().toSize());
        updatePos();
    });
}

void AutorizationWidget::init()
{
    setObjectName(QStringLiteral("AutorizationWidget"));
    setSource(QUrl(QStringLiteral("qrc:/qml/qml/Window/RegistrationPage.qml")));
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
}
