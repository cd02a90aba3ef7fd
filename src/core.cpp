#include "core.h"

#include "settings/setting.h"

#include <QCoreApplication>

Core *Core::m_instance = nullptr;

Core *Core::instance()
{
    if (!m_instance)
        m_instance = new Core();
    return m_instance;
}

Core::Core()
    : QObject(nullptr)
    , m_hostUrlAuth(QStringLiteral(MAVU_DEFAULT_AUTH_HOST))
    , m_hostUrl(QStringLiteral(MAVU_DEFAULT_API_HOST))
    , m_supportHost(QStringLiteral(MAVU_DEFAULT_SUPPORT_HOST))
{
}

// Ends the process with code 0 once every queued settings write is on disk.
void Core::exitApp()
{
    Setting::instance()->sync();
    QCoreApplication::exit(0);
}
