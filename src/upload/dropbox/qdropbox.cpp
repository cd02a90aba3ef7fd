#include "qdropbox.h"

#include "network/autorization.h"
#include "network/networkaccessmanager.h"
#include "upload/dropbox/qdropboxinfo.h"

#include <QJsonDocument>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QUrlQuery>

namespace {

QDropbox::Urls defaultUrls()
{
    return {QStringLiteral("https://api.dropboxapi.com/2"), QStringLiteral("https://content.dropboxapi.com/2"),
            QStringLiteral("https://www.dropbox.com/oauth2/authorize"),
            QStringLiteral("https://api.dropboxapi.com/oauth2/token")};
}

QDropbox::Urls &currentUrls()
{
    static QDropbox::Urls urls = defaultUrls();
    return urls;
}

QString &currentAppKey()
{
    static QString key = QStringLiteral(MAVU_DROPBOX_APP_KEY);
    return key;
}

QJsonObject jsonOf(const QByteArray &body)
{
    return QJsonDocument::fromJson(body).object();
}

} // namespace

QDropbox::QDropbox(QObject *parent)
    : QObject(parent)
{
    qRegisterMetaType<QDropboxInfo>();
}

QDropbox::Urls QDropbox::urls() { return currentUrls(); }
void QDropbox::setUrls(const Urls &urls) { currentUrls() = urls; }
void QDropbox::resetUrls() { currentUrls() = defaultUrls(); }
QString QDropbox::appKey() { return currentAppKey(); }
void QDropbox::setAppKey(const QString &key) { currentAppKey() = key; }

QNetworkRequest QDropbox::apiRequest(const QString &endpoint, const QString &token)
{
    QNetworkRequest request(QUrl(urls().api + endpoint));
    request.setRawHeader("Authorization", "Bearer " + token.toUtf8());
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/json"));
    request.setTransferTimeout(60000);
    NetworkAccessManager::keepToOrigin(request);
    return request;
}

QNetworkRequest QDropbox::contentRequest(const QString &endpoint, const QString &token,
                                         const QJsonObject &argument)
{
    QNetworkRequest request(QUrl(urls().content + endpoint));
    request.setRawHeader("Authorization", "Bearer " + token.toUtf8());
    // Header values must be ASCII: anything beyond is sent as \uXXXX escapes.
    QString arg = QString::fromUtf8(QJsonDocument(argument).toJson(QJsonDocument::Compact));
    QByteArray ascii;
    for (const QChar c : std::as_const(arg)) {
        if (c.unicode() < 0x80)
            ascii.append(char(c.unicode()));
        else
            ascii.append(QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toLatin1());
    }
    request.setRawHeader("Dropbox-API-Arg", ascii);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/octet-stream"));
    request.setTransferTimeout(60000);
    NetworkAccessManager::keepToOrigin(request);
    return request;
}

QString QDropbox::errorSummary(QNetworkReply *reply, const QByteArray &body)
{
    const QString summary = jsonOf(body).value(QStringLiteral("error_summary")).toString();
    if (!summary.isEmpty())
        return summary;
    const int status = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    return status ? QStringLiteral("HTTP %1").arg(status) : reply->errorString();
}

QNetworkAccessManager *QDropbox::network()
{
    if (!m_network)
        m_network = new NetworkAccessManager(this); // the proxy of the settings
    return m_network;
}

void QDropbox::requestToken(const QString &code, const QString &verifier, const QString &redirectUri)
{
    QNetworkRequest request{QUrl(urls().token)};
    request.setHeader(QNetworkRequest::ContentTypeHeader, QByteArrayLiteral("application/x-www-form-urlencoded"));
    request.setTransferTimeout(60000);
    NetworkAccessManager::keepToOrigin(request);
    QUrlQuery form;
    form.addQueryItem(QStringLiteral("grant_type"), QStringLiteral("authorization_code"));
    form.addQueryItem(QStringLiteral("code"), code);
    form.addQueryItem(QStringLiteral("client_id"), appKey());
    form.addQueryItem(QStringLiteral("code_verifier"), verifier);
    form.addQueryItem(QStringLiteral("redirect_uri"), redirectUri);
    QNetworkReply *reply = network()->post(request, form.toString(QUrl::FullyEncoded).toUtf8());
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        reply->deleteLater();
        const QByteArray body = reply->readAll();
        const QString token = jsonOf(body).value(QStringLiteral("access_token")).toString();
        if (reply->error() != QNetworkReply::NoError || token.isEmpty())
            emit failed(tr("Dropbox sign-in failed: %1").arg(errorSummary(reply, body)));
        else if (!Autorization::isTokenUsable(token)) // it would travel in a header of every request
            emit failed(tr("Dropbox sent a sign-in token that cannot be used"));
        else
            emit tokenReceived(token);
    });
}

void QDropbox::requestAccount(const QString &token)
{
    QNetworkReply *reply = network()->post(apiRequest(QStringLiteral("/users/get_current_account"), token),
                                           QByteArrayLiteral("null"));
    connect(reply, &QNetworkReply::finished, this, [this, reply, token] {
        reply->deleteLater();
        const QByteArray body = reply->readAll();
        if (reply->error() != QNetworkReply::NoError)
            emit failed(tr("Dropbox account information failed: %1").arg(errorSummary(reply, body)));
        else
            requestSpace(token, jsonOf(body));
    });
}

void QDropbox::requestSpace(const QString &token, const QJsonObject &account)
{
    QNetworkReply *reply = network()->post(apiRequest(QStringLiteral("/users/get_space_usage"), token),
                                           QByteArrayLiteral("null"));
    connect(reply, &QNetworkReply::finished, this, [this, reply, account] {
        reply->deleteLater();
        const QByteArray body = reply->readAll();
        if (reply->error() != QNetworkReply::NoError)
            emit failed(tr("Dropbox account information failed: %1").arg(errorSummary(reply, body)));
        else
            emit accountReceived(QDropboxInfo(account, jsonOf(body)));
    });
}
