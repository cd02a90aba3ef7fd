#include "windows/maintoolwidget.h"

#include "settings/debuglog.h"

#include <QCoreApplication>
#include <QQmlEngine>
#include <QQmlError>
#include <QUrl>

MainToolWidget::MainToolWidget(QObject *parent)
    : BasicWindow(parent)
{
    printLine(QStringLiteral("MainToolWidget: constructor start"));
    setupUi();
    printLine(QStringLiteral("MainToolWidget: constructor done"));
}

void MainToolWidget::init()
{
    printLine(QStringLiteral("MainToolWidget::init: loading QML"));
    const QString appDir = QCoreApplication::applicationDirPath();
    engine()->addImportPath(appDir + QStringLiteral("/qml"));
    engine()->addImportPath(appDir + QStringLiteral("/../qml"));
    printLine(QStringLiteral("MainToolWidget::init: QML import paths:"));
    for (const QString &path : engine()->importPathList())
        printLine(QStringLiteral("  ") + path);
    setSource(QUrl(QStringLiteral("qrc:/qml/qml/Window/MainToolPage.qml")));
    printLine(QStringLiteral("MainToolWidget::init: QML loaded, status=") + QString::number(status()));
    if (status() == QQuickView::Error) {
        printLine(QStringLiteral("MainToolWidget::init: QML ERRORS:"));
        for (const QQmlError &error : errors())
            printLine(QStringLiteral("  ") + error.toString());
    }
    setFlags(Qt::Window | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint);
    setObjectName(QStringLiteral("MainWidget"));
    setMoviable(true);
    printLine(QStringLiteral("MainToolWidget::init: done"));
}
