#include "idlerelease.h"

#include <QCoreApplication>

IdleRelease::IdleRelease(std::function<int()> msecs, std::function<void()> release)
    : m_msecs(std::move(msecs))
    , m_release(std::move(release))
{
}

void IdleRelease::restart()
{
    QCoreApplication *app = QCoreApplication::instance();
    if (!app)
        return;
    QMetaObject::invokeMethod(app, [this, app] {
        if (!m_timer) {
            m_timer = new QTimer(app);
            m_timer->setSingleShot(true);
            QObject::connect(m_timer, &QTimer::timeout, app, [this] { m_release(); });
        }
        m_timer->start(m_msecs());
    });
}
