#include "handleftpupload.h"

#include "settings/constants.h"
#include "settings/debuglog.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "upload/uploadhooks.h"

#include <QDebug>
#include <QFutureWatcher>
#include <QPointer>
#include <QQmlEngine>
#include <QUrl>
#include <QtConcurrent>

HandleFTPUpload::HandleFTPUpload(QObject *parent)
    : HandlerUpload(parent)
{
}

void HandleFTPUpload::registerQmlType()
{
    qmlRegisterType<HandleFTPUpload>("MavuComponent", 1, 0, "HandleFTPUpload");
}

CurlTarget HandleFTPUpload::targetFromSettings(bool sftp)
{
    Setting *settings = Setting::instance();
    CurlTarget target;
    target.sftp = sftp;
    target.host = settings->getValue(sftp ? SettingKeys::sftpHost : SettingKeys::ftpHost).toString().trimmed();
    target.port = settings->getValue(sftp ? SettingKeys::sftpPort : SettingKeys::ftpPort).toInt();
    if (target.port <= 0)
        target.port = sftp ? 22 : 21;
    target.path = settings->getValue(sftp ? SettingKeys::sftpPath : SettingKeys::ftpPath).toString();
    target.user = settings->getValue(sftp ? SettingKeys::sftpUser : SettingKeys::ftpUser, true).toString();
    target.password =
        settings->getValue(sftp ? SettingKeys::sftpPassword : SettingKeys::ftpPassword, true).toString();
    target.knownHostsFile = m_pathSettings + QStringLiteral("sftp_known_hosts");
    return target;
}

QString HandleFTPUpload::publicLink(const CurlTarget &target, const QString &baseUrl, const QString &name)
{
    const QString encoded = QString::fromUtf8(QUrl::toPercentEncoding(name));
    QString base = baseUrl.trimmed();
    if (base.isEmpty())
        base = target.folderUrl();
    if (!base.endsWith(QLatin1Char('/')))
        base.append(QLatin1Char('/'));
    return base + encoded;
}

void HandleFTPUpload::transferFile(const QString &file)
{
    m_target = targetFromSettings(isSftp());
    m_baseUrl = Setting::instance()
                    ->getValue(isSftp() ? SettingKeys::sftpBaseUrl : SettingKeys::ftpBaseUrl)
                    .toString();
    if (m_target.host.isEmpty()) {
        transferFailed(tr("The server is not set in the settings"));
        return;
    }
    m_thread = new CurlUploadThread(m_target, file, remoteName(), this);
    connect(m_thread, &CurlUploadThread::progress, this, &HandleFTPUpload::setProgress);
    connect(m_thread, &CurlUploadThread::transferFinished, this, &HandleFTPUpload::threadFinished);
    m_thread->start();
}

void HandleFTPUpload::threadFinished(bool ok, bool aborted, const QString &errorText, const QString &storedName)
{
    if (m_thread) {
        m_thread->wait();
        m_thread->deleteLater();
        m_thread = nullptr;
    }
    if (aborted)
        return;
    if (ok)
        transferSucceeded(publicLink(m_target, m_baseUrl, storedName));
    else
        transferFailed(errorText);
}

// The transfer ends within one poll round (a step that places the file under its name runs
// to its end); the thread then removes the lock and the partial or placed file from the
// server on its own and deletes itself, so that a cancel does not wait for the server.
void HandleFTPUpload::abortTransfer()
{
    if (!m_thread)
        return;
    disconnect(m_thread, nullptr, this, nullptr);
    m_thread->abort();
    m_thread->setParent(nullptr);
    connect(m_thread, &QThread::finished, m_thread, &QObject::deleteLater);
    if (m_thread->isFinished())
        delete m_thread;
    m_thread = nullptr;
}

// Without a base URL the link is the file's own ftp:// or sftp:// address.
QStringList HandleFTPUpload::linkSchemes() const
{
    return HandlerUpload::linkSchemes() << (isSftp() ? QStringLiteral("sftp") : QStringLiteral("ftp"));
}

QString HandleFTPUpload::fallbackSettingKey() const
{
    return SettingKeys::isFtpErrorUploadMavu;
}

void HandleFTPUpload::checkConnect(QString user, QString password, QString host, QString path, int port)
{
    const bool sftp = Setting::instance()->getValue(SettingKeys::isSftp).toBool();
    checkConnectOver(sftp, user, password, host, path, port);
}

void HandleFTPUpload::checkConnectOver(bool sftp, QString user, QString password, QString host, QString path, int port)
{
    qCDebug(lcMavu) << Q_FUNC_INFO << sftp << host << port;
    CurlTarget target = targetFromSettings(sftp);
    target.user = user;
    target.password = password;
    target.host = host.trimmed();
    target.path = path;
    target.port = port;
    QPointer<HandleFTPUpload> self(this);
    ConnectionProbe::run(target, this, [self] {
        if (self)
            emit self->checkConnectFinished();
    });
}

namespace ConnectionProbe {

void run(const CurlTarget &target, QObject *receiver, const std::function<void()> &done)
{
    auto *watcher = new QFutureWatcher<CurlOutcome>(receiver);
    QObject::connect(watcher, &QFutureWatcher<CurlOutcome>::finished, receiver, [watcher, target, done] {
        const CurlOutcome outcome = watcher->result();
        const QString title = target.sftp ? HandleFTPUpload::tr("SFTP connection")
                                          : HandleFTPUpload::tr("FTP connection");
        QString message = outcome.ok ? HandleFTPUpload::tr("Connection successful") : outcome.errorText;
        if (outcome.ok && !outcome.notice.isEmpty())
            message += QStringLiteral(". ") + outcome.notice;
        UploadHooks::showMessage()(title, message);
        watcher->deleteLater();
        done();
    });
    watcher->setFuture(QtConcurrent::run([target] {
        if (target.host.isEmpty())
            return CurlTransfer::failure(HandleFTPUpload::tr("The server is not set in the settings"), 0);
        CurlTransfer transfer(target);
        return transfer.probe();
    }));
}

} // namespace ConnectionProbe
