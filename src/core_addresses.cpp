// Service addresses and the program's identity on the network.

#include "core.h"

#include <QCoreApplication>

QString Core::hostUrlAuth() const { return m_hostUrlAuth; }
QString Core::hostUrl() const { return m_hostUrl; }
void Core::setHostUrlAuth(const QString &host) { m_hostUrlAuth = host; }
void Core::setHostUrl(const QString &host) { m_hostUrl = host; }
void Core::setSupportHost(const QString &host) { m_supportHost = host; }

QString Core::serverHistory() const
{
    return QStringLiteral("https://") + hostUrlAuth() + QStringLiteral("/login/");
}

QString Core::serverUploadUrl() const
{
    return QStringLiteral("https://") + hostUrl() + QStringLiteral("/upload/drive/v1/files");
}

QString Core::serverInit() const
{
    return QStringLiteral("https://") + hostUrl()
        + QStringLiteral("/drive/v1/files?fields=id,alternateLink,selfLink");
}

QString Core::pingUrl() const
{
    return QStringLiteral("https://") + m_supportHost + QStringLiteral("/ping?q=");
}

QString Core::feedbackUrl() const
{
    return QStringLiteral("https://") + m_supportHost + QStringLiteral("/support/tickets/");
}

QString Core::userAgent() const
{
    return QCoreApplication::applicationName() + QLatin1Char(' ') + QCoreApplication::applicationVersion();
}

QString Core::appVersion() const
{
    return QCoreApplication::applicationVersion();
}
