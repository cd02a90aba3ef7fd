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
    // Each step sizes the window anew (the welcome view is wider): it stays centred unless
    // the user moved it.
    const auto recentre = [this] {
        if (isVisible() && !isMoved())
            updatePos();
    };
    connect(this, &QWindow::widthChanged, this, recentre);
    connect(this, &QWindow::heightChanged, this, recentre);
}

void AutorizationWidget::init()
{
    setObjectName(QStringLiteral("AutorizationWidget"));
    setSource(QUrl(QStringLiteral("qrc:/qml/qml/Window/RegistrationPage.qml")));
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
}
