// The service transfer of an upload job: the file record first (its reply already holds
// the public link), then the bytes.

#include "upload/handlerupload.h"

#include "core.h"
#include "network/errorlog.h"
#include "network/networkaccessmanager.h"
#include "network/networkreadreply.h"
#include "network/session.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMimeDatabase>
#include <QNetworkReply>

#include <memory>

namespace {

QString serviceErrorText(const Session &session)
{
    if (session.isCertificateRefused())
        return session.certificateRefusal();
    if (session.isTooLarge())
        return HandlerUpload::tr("The server's answer was too large");
    if (session.isOverdue())
        return HandlerUpload::tr("The server did not finish answering in time");
    if (session.isSuccess())
        return HandlerUpload::tr("The server's answer could not be read");
    if (session.isRedirect())
        return HandlerUpload::tr("The server sent the upload to another address: it was refused");
    switch (session.httpStatus()) {
    case 401:
        return HandlerUpload::tr("The server did not accept your sign-in: sign in again");
    case 413:
        return HandlerUpload::tr("The file is too large for your account");
    default:
        return HandlerUpload::tr("Upload to the server failed (%1)").arg(session.httpStatus());
    }
}

} // namespace

void HandlerUpload::startServiceUpload(const QString &file)
{
    if (!m_network)
        m_network = new NetworkAccessManager(this);
    const QFileInfo info(file);
    const QJsonObject record{{QStringLiteral("title"), info.fileName()},
                             {QStringLiteral("mimeType"), QMimeDatabase().mimeTypeForFile(info).name()},
                             {QStringLiteral("fileSize"), info.size()},
                             {QStringLiteral("description"), m_description}};
    QNetworkRequest request = NetworkAccessManager::getAuthRequest(QUrl(Core::instance()->serverInit()));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    m_reply = m_network->post(request, QJsonDocument(record).toJson(QJsonDocument::Compact));
    connect(m_reply, &QNetworkReply::finished, this, &HandlerUpload::serviceRecordFinished);
}

void HandlerUpload::serviceRecordFinished()
{
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    const std::unique_ptr<Session> session(NetworkReadReply::read(reply));
    if (!session->isSuccess())
        ServiceErrorLog::write(QStringLiteral("HandlerUpload: file record"), session.get());
    if (session->isNetworkFailure() && !session->isOverdue()) {
        transferUnreachable();
        return;
    }
    if (!session->isSuccess() || !session->isJson() || session->fileId().isEmpty() || session->link().isEmpty()) {
        transferFailed(serviceErrorText(*session));
        return;
    }
    if (!checkLink(session->link()))
        return;
    m_serviceFileId = session->fileId();
    announceLink(session->link());
    startServiceBytes();
}

void HandlerUpload::startServiceBytes()
{
    delete m_serviceBody;
    m_serviceBody = new QFile(m_sendFile, this);
    if (!m_serviceBody->open(QIODevice::ReadOnly)) {
        transferFailed(tr("Cannot read the file %1").arg(QFileInfo(m_sendFile).fileName()));
        return;
    }
    QNetworkRequest request = NetworkAccessManager::getAuthRequest(
        QUrl(Core::instance()->serverUploadUrl() + QLatin1Char('/') + m_serviceFileId));
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/octet-stream"));
    m_reply = m_network->put(request, m_serviceBody);
    connect(m_reply, &QNetworkReply::uploadProgress, this, [this](qint64 sent, qint64 total) {
        if (total > 0)
            setProgress(sent, total);
    });
    connect(m_reply, &QNetworkReply::finished, this, &HandlerUpload::serviceBytesFinished);
}

void HandlerUpload::serviceBytesFinished()
{
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    reply->deleteLater();
    const qint64 size = m_serviceBody->size();
    m_serviceBody->close();
    const std::unique_ptr<Session> session(NetworkReadReply::read(reply));
    if (!session->isSuccess())
        ServiceErrorLog::write(QStringLiteral("HandlerUpload: file bytes"), session.get());
    if (session->isNetworkFailure() && !session->isOverdue()) {
        transferUnreachable();
        return;
    }
    if (!session->isSuccess() || !session->isJson()) {
        transferFailed(serviceErrorText(*session));
        return;
    }
    const qint64 stored = session->number(QStringLiteral("fileSize"));
    if (stored != size) {
        transferFailed(tr("The server stored %1 of %2 bytes").arg(stored).arg(size));
        return;
    }
    transferSucceeded(link());
}

void HandlerUpload::abortServiceUpload()
{
    if (!m_reply)
        return;
    QNetworkReply *reply = m_reply;
    m_reply = nullptr;
    disconnect(reply, nullptr, this, nullptr);
    reply->abort();
    reply->deleteLater();
}
