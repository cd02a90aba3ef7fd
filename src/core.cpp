#include "core.h"

#include "settings/constants.h"
#include "settings/setting.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDebug>
#include <QDir>
#include <QGuiApplication>
#include <QLockFile>
#include <QTextStream>
#include <QTimer>

#include <cstdio>
#include <cstdlib>

Core *Core::m_instance = nullptr;

Core *Core::instance()
{
    if (!m_instance)
        m_instance = new Core();
    return m_instance;
}

Core::Core()
    : QObject(nullptr)
{
    printProgress(QStringLiteral("Core: init vars"));
    m_hostUrlAuth = QStringLiteral(MAVU_DEFAULT_AUTH_HOST);
    m_hostUrl = QStringLiteral(MAVU_DEFAULT_API_HOST);
    m_supportHost = QStringLiteral(MAVU_DEFAULT_SUPPORT_HOST);

    connect(Setting::instance(), &Setting::languageChanged, this, &Core::languageChanged);
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        m_clipboard = QGuiApplication::clipboard();
    m_paletteStrip = QImage(QStringLiteral(":/component/image/component/color_line_big.png"));

    if (QFile::exists(m_updatePath + QStringLiteral("Mavu.exe")) && startPendingUpdate()) {
        Setting::instance()->sync();
        std::fflush(stdout);
        std::exit(0);
    }
    clearTempPath();
    printProgress(QStringLiteral("Core: scheduling showMainWindow"));
    QTimer::singleShot(500, this, &Core::showMainWindow);
    printProgress(QStringLiteral("Core: constructor done"));
    qDebug() << "Core::Core(QObject*)" << m_logFileName;
}

void Core::printProgress(const QString &line) const
{
    QTextStream(stdout) << line << Qt::endl;
}

QString Core::emptyString() const
{
    return QString();
}

// Ends the process with code 0 once every queued settings write is on disk.
void Core::exitApp()
{
    Setting::instance()->sync();
    QCoreApplication::exit(0);
}

// A second process started beside a running one must not empty the temporary folder
// under it: only the holder of the instance lock clears it.
bool Core::isFirstInstance()
{
    if (!m_instanceLock) {
        QDir().mkpath(m_pathSettings);
        m_instanceLock = new QLockFile(m_pathSettings + QStringLiteral("instance.lock"));
        m_instanceLock->setStaleLockTime(0);
        m_instanceLock->tryLock(0);
    }
    return m_instanceLock->isLocked();
}

void Core::clearTempPath()
{
    if (!isFirstInstance()) {
        qDebug() << "void Core::clearTempPath()" << "another Mavu is running, temporary files kept";
        return;
    }
    for (const QString &folder : {m_tempDir, m_audioTempDir}) {
        const QFileInfoList files = QDir(folder).entryInfoList(QDir::Files, QDir::Time | QDir::Reversed);
        for (const QFileInfo &file : files)
            QFile::remove(file.absoluteFilePath());
    }
}
