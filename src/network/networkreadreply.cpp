#include "networkreadreply.h"

#include "networkaccessmanager.h"
#include "session.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkReply>
#include <QXmlStreamReader>

namespace {

QByteArray operationName(const QNetworkReply *reply)
{
    switch (reply->operation()) {
    case QNetworkAccessManager::HeadOperation: return "HEAD";
    case QNetworkAccessManager::GetOperation: return "GET";
    case QNetworkAccessManager::PutOperation: return "PUT";
    case QNetworkAccessManager::PostOperation: return "POST";
    case QNetworkAccessManager::DeleteOperation: return "DELETE";
    default: return reply->request().attribute(QNetworkRequest::CustomVerbAttribute).toByteArray();
    }
}

bool looksLikeXml(const QByteArray &contentType, const QByteArray &body)
{
    return contentType.contains("xml") || body.trimmed().startsWith('<');
}

} // namespace

NetworkReadReply::NetworkReadReply(QObject *parent)
    : QObject(parent)
{
}

Session *NetworkReadReply::read(QNetworkReply *reply, QObject *parent)
{
    auto *session = new Session(parent);
    session->m_httpStatus = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
    session->m_networkOk = reply->error() == QNetworkReply::NoError;
    session->m_tooLarge = reply->property(NetworkAccessManager::tooLargeProperty).toBool();
    session->m_overdue = reply->property(NetworkAccessManager::overdueProperty).toBool();
    session->m_requestText = describeRequest(reply);
    if (reply->error() == QNetworkReply::SslHandshakeFailedError)
        session->m_certificateError = reply->property(NetworkAccessManager::certificateErrorProperty).toString();
    // Qt names the full URL in its error texts; keep the query out of anything logged.
    session->m_errorString = session->m_tooLarge ? QStringLiteral("reply too large")
        : session->m_overdue ? QStringLiteral("reply not finished in time")
        : reply->errorString().replace(reply->url().toString(),
                                       reply->url().adjusted(QUrl::RemoveQuery | QUrl::RemoveUserInfo).toString());
    if (session->m_tooLarge)
        return session;
    const QByteArray body = reply->readAll();
    if (body.trimmed().isEmpty())
        return session;
    const QByteArray contentType = reply->header(QNetworkRequest::ContentTypeHeader).toByteArray();
    bool ok = false;
    const bool xml = looksLikeXml(contentType, body);
    session->m_values = xml ? parseXml(body, &ok) : parseJson(body, &ok);
    session->m_bodyValid = ok;
    session->m_json = ok && !xml;
    return session;
}

QVariantMap NetworkReadReply::parseJson(const QByteArray &body, bool *ok)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(body, &error);
    *ok = error.error == QJsonParseError::NoError && document.isObject();
    return *ok ? document.object().toVariantMap() : QVariantMap();
}

QVariantMap NetworkReadReply::parseXml(const QByteArray &body, bool *ok)
{
    QVariantMap values;
    QXmlStreamReader xml(body);
    QString element;
    while (!xml.atEnd()) {
        xml.readNext();
        if (xml.isStartElement()) {
            element = xml.name().toString();
        } else if (xml.isCharacters() && !xml.isWhitespace() && !element.isEmpty()) {
            values.insert(element, xml.text().toString());
        } else if (xml.isEndElement()) {
            element.clear();
        }
    }
    *ok = !xml.hasError();
    return *ok ? values : QVariantMap();
}

QString NetworkReadReply::describeRequest(const QNetworkReply *reply)
{
    const QUrl url = reply->url().adjusted(QUrl::RemoveQuery | QUrl::RemoveFragment | QUrl::RemoveUserInfo);
    return QString::fromLatin1(operationName(reply)) + QLatin1Char(' ')
        + url.toString();
}
