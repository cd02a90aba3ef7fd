#include "handledropboxupload.h"

#include "network/networkaccessmanager.h"
#include "settings/settingkeys.h"
#include "upload/dropbox/qdropboxauth.h"
#include "upload/dropbox/qdropboxfile.h"

#include <QThread>

HandleDropboxUpload::HandleDropboxUpload(QObject *parent)
    : HandlerUpload(parent)
{
}

HandleDropboxUpload::~HandleDropboxUpload()
{
    abortTransfer();
}

void HandleDropboxUpload::transferFile(const QString &file)
{
    const QString token = DropboxAuth::storedToken();
    if (token.isEmpty()) {
        transferFailed(tr("Sign in to Dropbox in the settings first"));
        return;
    }
    m_thread = new QThread(this);
    m_worker = new QDropboxFile(token, file, QLatin1Char('/') + remoteName());
    {
        const NetworkAccessManager settingsProxy;
        m_worker->setProxy(settingsProxy.proxy());
    }
    m_worker->moveToThread(m_thread);
    connect(m_thread, &QThread::started, m_worker, &QDropboxFile::start);
    connect(m_thread, &QThread::finished, m_worker, &QObject::deleteLater);
    connect(m_worker, &QDropboxFile::progress, this, &HandleDropboxUpload::setProgress);
    connect(m_worker, &QDropboxFile::uploaded, this, [this](const QString &link) {
        endThread();
        transferSucceeded(link);
    });
    connect(m_worker, &QDropboxFile::failed, this, [this](const QString &text) {
        endThread();
        transferFailed(text);
    });
    connect(m_worker, &QDropboxFile::unreachable, this, [this] {
        endThread();
        transferFailed(tr("Could not connect to Dropbox"));
    });
    m_thread->start();
}

// Stops the worker's event loop and waits for it; the worker deletes itself there.
void HandleDropboxUpload::endThread()
{
    if (!m_thread)
        return;
    disconnect(m_worker, nullptr, this, nullptr);
    m_thread->quit();
    m_thread->wait();
    delete m_thread;
    m_thread = nullptr;
    m_worker = nullptr;
}

void HandleDropboxUpload::abortTransfer()
{
    if (!m_thread)
        return;
    QMetaObject::invokeMethod(m_worker, &QDropboxFile::abort, Qt::QueuedConnection);
    endThread();
}

QString HandleDropboxUpload::fallbackSettingKey() const
{
    return SettingKeys::isDropboxErrorUploadMavu;
}
