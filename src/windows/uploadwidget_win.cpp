#include "windows/uploadwidget_win.h"

#include <QResizeEvent>
#include <QUrl>

UploadWidget::UploadWidget(QObject *parent)
    : BasicWindow(parent)
{
    setupUi();
}

void UploadWidget::init()
{
    setObjectName(QStringLiteral("UploadWidget"));
    setTitle(titleWithUserName(tr("Upload")));
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setSource(QUrl(QStringLiteral("qrc:/qml/qml/Window/UploadPage.qml")));
}

// No corner mask on this window. A window that only grew downwards would leave the screen
// once a few uploads run, so a shown window is placed in the corner again.
void UploadWidget::resizeEvent(QResizeEvent *event)
{
    QQuickView::resizeEvent(event);
    if (isVisible() && event->size().height() != event->oldSize().height())
        updatePos();
}
