#include "errorlog.h"

#include "session.h"
#include "settings/logging.h"

namespace ServiceErrorLog {

QString entryText(const QString &context, const Session *session)
{
    QString text = context + QLatin1Char('\n') + QStringLiteral("Request: ") + session->requestText()
        + QLatin1Char('\n') + QStringLiteral("Status: ") + QString::number(session->httpStatus());
    if (!session->errorString().isEmpty())
        text += QLatin1Char('\n') + QStringLiteral("Error: ") + session->errorString();
    if (!session->errorCode().isEmpty())
        text += QLatin1Char('\n') + QStringLiteral("Service error: ") + session->errorCode();
    return text;
}

void write(const QString &context, const Session *session)
{
    if (!Logging::m_instance)
        Logging::m_instance = new Logging();
    Logging::m_instance->writeMessage(entryText(context, session));
}

} // namespace ServiceErrorLog
