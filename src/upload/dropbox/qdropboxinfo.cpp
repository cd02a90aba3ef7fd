#include "qdropboxinfo.h"

QDropboxInfo::QDropboxInfo(const QJsonObject &account, const QJsonObject &space)
    : m_name(account.value(QStringLiteral("name")).toObject().value(QStringLiteral("display_name")).toString())
    , m_email(account.value(QStringLiteral("email")).toString())
    , m_total(space.value(QStringLiteral("allocation")).toObject().value(QStringLiteral("allocated")).toInteger())
    , m_usage(space.value(QStringLiteral("used")).toInteger())
{
}
