#include "analytics.h"

#include "networkaccessmanager.h"
#include "settings/debuglog.h"
#include "settings/setting.h"

#include <QDebug>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QMetaEnum>
#include <QNetworkReply>
#include <QQmlEngine>
#include <QUrlQuery>

namespace {

struct Destination
{
    QString endpoint = QStringLiteral(MAVU_ANALYTICS_ENDPOINT);
    QString measurementId = QStringLiteral(MAVU_ANALYTICS_MEASUREMENT_ID);
    QString apiSecret = QStringLiteral(MAVU_ANALYTICS_API_SECRET);
    int timeoutMs = 10000;
};

Destination &destination()
{
    static Destination value;
    return value;
}

// One manager for all events, made on first use.
NetworkAccessManager *analyticsManager()
{
    static NetworkAccessManager *manager = new NetworkAccessManager();
    return manager;
}

QString enumKey(const QMetaEnum &meta, int value)
{
    const char *key = meta.valueToKey(value);
    return key ? QString::fromLatin1(key) : QString::number(value);
}

} // namespace

AnalyticsEvent::AnalyticsEvent(QObject *parent)
    : QObject(parent)
{
}

AnalyticsEvent::AnalyticsEvent(AnalyticsEventCategory category, AnalyticsEventAction action,
                               bool is_sendEvent, QString label, QObject *parent)
    : QObject(parent)
    , m_category(category)
    , m_action(action)
    , m_label(label)
{
    if (is_sendEvent)
        sendEvent();
}

void AnalyticsEvent::registerQmlType()
{
    qmlRegisterType<AnalyticsEvent>("MavuComponent", 1, 0, "AnalyticsEvent");
}

void AnalyticsEvent::setDestination(const QString &endpoint, const QString &measurementId,
                                    const QString &apiSecret)
{
    destination().endpoint = endpoint;
    destination().measurementId = measurementId;
    destination().apiSecret = apiSecret;
}

void AnalyticsEvent::setTimeoutMs(int timeoutMs)
{
    destination().timeoutMs = timeoutMs;
}

QString AnalyticsEvent::categoryName(AnalyticsEventCategory category)
{
    return enumKey(QMetaEnum::fromType<AnalyticsEventCategory>(), category);
}

QString AnalyticsEvent::actionName(AnalyticsEventAction action)
{
    return enumKey(QMetaEnum::fromType<AnalyticsEventAction>(), action);
}

QByteArray AnalyticsEvent::payload() const
{
    QJsonObject params;
    params.insert(QStringLiteral("event_category"), categoryName(m_category));
    params.insert(QStringLiteral("event_label"), m_label);
    QJsonObject event;
    event.insert(QStringLiteral("name"), actionName(m_action));
    event.insert(QStringLiteral("params"), params);
    QJsonObject body;
    body.insert(QStringLiteral("client_id"), Setting::instance()->getUserId());
    body.insert(QStringLiteral("events"), QJsonArray{event});
    return QJsonDocument(body).toJson(QJsonDocument::Compact);
}

void AnalyticsEvent::sendEvent()
{
    if (m_sent)
        return;
    m_sent = true;
    const Destination &target = destination();
    if (target.endpoint.isEmpty() || target.measurementId.isEmpty()) {
        deleteLater();
        return;
    }
    QUrl url(target.endpoint);
    QUrlQuery query(url);
    query.addQueryItem(QStringLiteral("measurement_id"), target.measurementId);
    if (!target.apiSecret.isEmpty())
        query.addQueryItem(QStringLiteral("api_secret"), target.apiSecret);
    url.setQuery(query);
    QNetworkRequest request = NetworkAccessManager::getRequest(url);
    request.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/json"));
    request.setTransferTimeout(target.timeoutMs);
    QNetworkReply *reply = analyticsManager()->post(request, payload());
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        if (reply->error() != QNetworkReply::NoError)
            qCDebug(lcMavu) << "void AnalyticsEvent::sendEvent()" << reply->error();
        reply->deleteLater();
        deleteLater();
    });
}
