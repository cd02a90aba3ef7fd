#include "windows/settingwidget_rest.h"

#include "core.h"
#include "settings/debuglog.h"

#include <QDebug>
#include <QGuiApplication>
#include <QScreen>
#include <QUrl>

namespace {
// Distance of the window's top from the middle of the available area.
constexpr int topAboveMiddle = 315;
}

SettingWidget::SettingWidget(QObject *parent)
    : BasicWindow(parent)
{
    setupUi();
    setCenteredFlag(false);
}

void SettingWidget::init()
{
    setTitle(titleWithUserName(tr("Settings")));
    setFlags(Qt::Window | Qt::FramelessWindowHint);
    setObjectName(QStringLiteral("SettingWidget"));
    setSource(QUrl(QStringLiteral("qrc:/qml/qml/Window/SettingPage.qml")));
    setMoviable(true);
}

void SettingWidget::show()
{
    if (isMoved())
        return;
    QScreen *screen = QGuiApplication::primaryScreen();
    const QRect area = screen ? screen->availableGeometry() : QRect();
    move(area.x() + area.width() / 2 - width() / 2, area.y() + area.height() / 2 - topAboveMiddle);
    emit showed();
    Core::instance()->keepAboveCapture(this);
    QQuickView::show();
}

void SettingWidget::setHeight(int arg)
{
    qCDebug(lcMavu) << "void SettingWidget::setHeight(int)" << arg;
    if (arg == height())
        return;
    setMinimumHeight(arg);
    setMaximumHeight(arg);
    QQuickView::setHeight(arg);
    emit heightChanged(height());
    if (!isMoved() && isCentered())
        checkCenterPosition();
    update();
}
