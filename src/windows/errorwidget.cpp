#include "windows/errorwidget.h"

#include <QCoreApplication>
#include <QQmlContext>
#include <QUrl>

ErrorWidget::ErrorWidget(const QString &error, QObject *parent)
    : BasicWindow(parent)
    , m_error(error)
{
    setupUi();
}

// The page reads the text from the context name errorText, set before it loads.
void ErrorWidget::init()
{
    setObjectName(QStringLiteral("ErrorWidget"));
    setTitle(QStringLiteral("Mavu - ") + QCoreApplication::translate("ErrorDialog", "Error"));
    rootContext()->setContextProperty(QStringLiteral("errorText"), m_error);
    rootContext()->setContextProperty(QStringLiteral("saveOffered"), false);
    setSource(QUrl(QStringLiteral("qrc:/qml/qml/Window/ErrorDialog.qml")));
}

void ErrorWidget::setError(const QString &error)
{
    m_error = error;
    rootContext()->setContextProperty(QStringLiteral("errorText"), m_error);
}

void ErrorWidget::offerSave()
{
    rootContext()->setContextProperty(QStringLiteral("saveOffered"), true);
}
