#include "windows/lastuploadwidget_win.h"

#include "windows/uploadwidget_win.h"

#include <QUrl>

LastUploadWidget::LastUploadWidget(QObject *parent)
    : BasicWindow(parent)
{
    setupUi();
}

void LastUploadWidget::init()
{
    setTitle(titleWithUserName(UploadWidget::tr("Upload")));
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setObjectName(QStringLiteral("LastUploadWidget"));
    setSource(QUrl(QStringLiteral("qrc:/qml/qml/Window/LastUploadPage.qml")));
    m_hideTimer.setSingleShot(true);
    connect(&m_hideTimer, &QTimer::timeout, this, &BasicWindow::hide);
}

void LastUploadWidget::show()
{
    m_hideTimer.stop();
    m_hideTimer.start(hideAfterMsecs);
    BasicWindow::show();
}

// No corner mask on this window.
void LastUploadWidget::resizeEvent(QResizeEvent *event)
{
    QQuickView::resizeEvent(event);
}
