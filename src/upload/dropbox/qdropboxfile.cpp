#include "qdropboxfile.h"

#include "network/networkaccessmanager.h"
#include "upload/dropbox/qdropbox.h"

#include <QFile>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>

QDropboxFile::QDropboxFile(const QString &token, const QString &localFile, const QString &remotePath,
                           QObject *parent)
    : QObject(parent)
    , m_token(token)
    , m_localFile(localFile)
    , m_remotePath(remotePath)
{
}

namespace {

qint64 &singleLimit()
{
    static qint64 limit = 150 * 1024 * 1024; // the largest body files/upload takes
    return limit;
}

qint64 &chunkBytes()
{
    static qint64 bytes = 32 * 1024 * 1024;
    return bytes;
}

} // namespace

void QDropboxFile::setUploadLimits(qint64 singleUpload, qint64 chunk)
{
    singleLimit() = singleUpload;
    chunkBytes() = chunk;
}

QJsonObject QDropboxFile::commitInfo() const
{
    return {{QStringLiteral("path"), m_remotePath},
            {QStringLiteral("mode"), QStringLiteral("add")},
            {QStringLiteral("autorename"), true},
            {QStringLiteral("mute"), false}};
}

void QDropboxFile::start()
{
    m_network = new QNetworkAccessManager(this);
    m_network->setProxy(m_proxy);
    m_body = new QFile(m_localFile, this);
    if (!m_body->open(QIODevice::ReadOnly)) {
        emit failed(tr("Cannot read the file %1").arg(m_localFile));
        return;
    }
    if (m_body->size() > singleLimit()) {
        sendChunk();
        return;
    }
    m_reply = m_network->post(QDropbox::contentRequest(QStringLiteral("/files/upload"), m_token, commitInfo()),
                              m_body);
    NetworkAccessManager::limitReply(m_reply, NetworkAccessManager::maxReplyBytes);
    NetworkAccessManager::limitDuration(m_reply, m_body->size());
    connect(m_reply, &QNetworkReply::uploadProgress, this, &QDropboxFile::progress);
    connect(m_reply, &QNetworkReply::finished, this, &QDropboxFile::uploadFinished);
}

// Large files go in an upload session: start with the first chunk, append the middle
// ones, finish with the last chunk and the commit.
void QDropboxFile::sendChunk()
{
    if (!m_body->seek(m_offset)) {
        emit failed(tr("Cannot read the file %1").arg(m_localFile));
        return;
    }
    const QByteArray chunk = m_body->read(chunkBytes());
    if (chunk.isEmpty()) {
        emit failed(tr("Cannot read the file %1").arg(m_localFile));
        return;
    }
    const bool last = m_offset + chunk.size() >= m_body->size();
    const QJsonObject cursor{{QStringLiteral("session_id"), m_sessionId}, {QStringLiteral("offset"), m_offset}};
    QString endpoint;
    QJsonObject argument;
    if (m_sessionId.isEmpty()) {
        endpoint = QStringLiteral("/files/upload_session/start");
        argument = {{QStringLiteral("close"), false}};
    } else if (last) {
        endpoint = QStringLiteral("/files/upload_session/finish");
        argument = {{QStringLiteral("cursor"), cursor}, {QStringLiteral("commit"), commitInfo()}};
    } else {
        endpoint = QStringLiteral("/files/upload_session/append_v2");
        argument = {{QStringLiteral("cursor"), cursor}, {QStringLiteral("close"), false}};
    }
    m_chunkSize = chunk.size();
    m_reply = m_network->post(QDropbox::contentRequest(endpoint, m_token, argument), chunk);
    NetworkAccessManager::limitReply(m_reply, NetworkAccessManager::maxReplyBytes);
    NetworkAccessManager::limitDuration(m_reply, chunk.size());
    connect(m_reply, &QNetworkReply::uploadProgress, this, [this](qint64 sent, qint64) {
        emit progress(m_offset + sent, m_body->size());
    });
    const bool finishing = !m_sessionId.isEmpty() && last;
    connect(m_reply, &QNetworkReply::finished, this,
            finishing ? &QDropboxFile::uploadFinished : &QDropboxFile::chunkFinished);
}

void QDropboxFile::chunkFinished()
{
    QNetworkReply *reply = m_reply;
    reply->deleteLater();
    if (m_aborted)
        return;
    const QByteArray body = reply->readAll();
    if (reply->error() != QNetworkReply::NoError) {
        fail(reply, body);
        return;
    }
    if (m_sessionId.isEmpty())
        m_sessionId = QJsonDocument::fromJson(body).object().value(QStringLiteral("session_id")).toString();
    if (m_sessionId.isEmpty()) {
        emit failed(tr("Dropbox refused the file: %1").arg(QStringLiteral("no upload session")));
        return;
    }
    m_offset += m_chunkSize;
    sendChunk();
}

void QDropboxFile::abort()
{
    m_aborted = true;
    if (m_reply)
        m_reply->abort();
}

void QDropboxFile::fail(QNetworkReply *reply, const QByteArray &body)
{
    if (reply->property(NetworkAccessManager::overdueProperty).toBool()) {
        emit failed(tr("Dropbox did not finish answering in time"));
        return;
    }
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    if (status == 0 && reply->error() != QNetworkReply::OperationCanceledError) {
        emit unreachable();
        return;
    }
    if (status == 401)
        emit failed(tr("The Dropbox sign-in has expired: sign in to Dropbox again"));
    else
        emit failed(tr("Dropbox refused the file: %1").arg(QDropbox::errorSummary(reply, body)));
}

void QDropboxFile::uploadFinished()
{
    QNetworkReply *reply = m_reply;
    reply->deleteLater();
    m_body->close();
    if (m_aborted)
        return;
    const QByteArray body = reply->readAll();
    if (reply->error() != QNetworkReply::NoError) {
        fail(reply, body);
        return;
    }
    const QJsonObject metadata = QJsonDocument::fromJson(body).object();
    const qint64 stored = metadata.value(QStringLiteral("size")).toInteger(-1);
    if (stored != m_body->size()) {
        emit failed(tr("Dropbox stored %1 of %2 bytes").arg(stored).arg(m_body->size()));
        return;
    }
    requestSharedLink(metadata.value(QStringLiteral("path_display")).toString());
}

void QDropboxFile::requestSharedLink(const QString &path)
{
    const QJsonObject argument{{QStringLiteral("path"), path}};
    const QString endpoint = QStringLiteral("/sharing/create_shared_link_with_settings");
    m_reply = m_network->post(QDropbox::apiRequest(endpoint, m_token),
                              QJsonDocument(argument).toJson(QJsonDocument::Compact));
    NetworkAccessManager::limitReply(m_reply, NetworkAccessManager::maxReplyBytes);
    NetworkAccessManager::limitDuration(m_reply, 0);
    connect(m_reply, &QNetworkReply::finished, this, &QDropboxFile::sharedLinkFinished);
}

void QDropboxFile::sharedLinkFinished()
{
    QNetworkReply *reply = m_reply;
    reply->deleteLater();
    if (m_aborted)
        return;
    const QByteArray body = reply->readAll();
    const QJsonObject json = QJsonDocument::fromJson(body).object();
    QString link = json.value(QStringLiteral("url")).toString();
    if (reply->error() != QNetworkReply::NoError) {
        // A link made earlier for the same path is as good as a new one.
        link = json.value(QStringLiteral("error")).toObject()
                   .value(QStringLiteral("shared_link_already_exists")).toObject()
                   .value(QStringLiteral("metadata")).toObject()
                   .value(QStringLiteral("url")).toString();
        if (link.isEmpty()) {
            fail(reply, body);
            return;
        }
    }
    emit uploaded(link);
}
