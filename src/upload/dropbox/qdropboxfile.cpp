#include "qdropboxfile.h"

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

void QDropboxFile::start()
{
    m_network = new QNetworkAccessManager(this);
    m_body = new QFile(m_localFile, this);
    if (!m_body->open(QIODevice::ReadOnly)) {
        emit failed(tr("Cannot read the file %1").arg(m_localFile));
        return;
    }
    const QJsonObject argument{{QStringLiteral("path"), m_remotePath},
                               {QStringLiteral("mode"), QStringLiteral("add")},
                               {QStringLiteral("autorename"), true},
                               {QStringLiteral("mute"), false}};
    m_reply = m_network->post(QDropbox::contentRequest(QStringLiteral("/files/upload"), m_token, argument), m_body);
    connect(m_reply, &QNetworkReply::uploadProgress, this, &QDropboxFile::progress);
    connect(m_reply, &QNetworkReply::finished, this, &QDropboxFile::uploadFinished);
}

void QDropboxFile::abort()
{
    m_aborted = true;
    if (m_reply)
        m_reply->abort();
}

void QDropboxFile::fail(QNetworkReply *reply, const QByteArray &body)
{
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
