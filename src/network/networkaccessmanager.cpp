#include "networkaccessmanager.h"

#include "autorization.h"
#include "core.h"
#include "networkhooks.h"
#include "settings/constants.h"
#include "settings/datafolder.h"
#include "settings/debuglog.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <QFile>
#include <QNetworkProxy>
#include <QNetworkReply>
#include <QSslError>
#include <QTimer>

#include <limits>

namespace {

// Milliseconds that moving bytes may take at most.
qint64 deadlineMs(qint64 bytes)
{
    const NetworkHooks::RequestDeadline deadline = NetworkHooks::requestDeadline();
    return deadline.baseMs + qMax<qint64>(0, bytes) * 1000 / qMax<qint64>(1, deadline.minBytesPerSecond);
}

} // namespace

NetworkAccessManager::NetworkAccessManager(QObject *parent)
    : QNetworkAccessManager(parent)
{
    setTransferTimeout(transferTimeoutMs);
    applyProxy();
    logProxy();
}

QNetworkRequest NetworkAccessManager::getRequest(const QUrl &url)
{
    QNetworkRequest request(url);
    request.setHeader(QNetworkRequest::UserAgentHeader, Core::instance()->userAgent());
    request.setTransferTimeout(transferTimeoutMs);
    return request;
}

QNetworkRequest NetworkAccessManager::getAuthRequest(const QUrl &url)
{
    QNetworkRequest request = getRequest(url);
    request.setRawHeader("Authorization", "Bearer " + Autorization::token().toUtf8());
    keepToOrigin(request);
    return request;
}

void NetworkAccessManager::keepToOrigin(QNetworkRequest &request)
{
    request.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::SameOriginRedirectPolicy);
}

void NetworkAccessManager::limitReply(QNetworkReply *reply, qint64 limit)
{
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply, limit](qint64 received, qint64 total) {
        if (received <= limit && total <= limit)
            return;
        reply->setProperty(tooLargeProperty, true);
        reply->abort();
    });
}

void NetworkAccessManager::limitDuration(QNetworkReply *reply, qint64 outgoingBytes)
{
    auto *timer = new QTimer(reply);
    timer->setSingleShot(true);
    QElapsedTimer clock;
    clock.start();
    const auto arm = [timer, clock](qint64 bytes) {
        const qint64 left = deadlineMs(bytes) - clock.elapsed();
        timer->start(int(qBound(qint64(0), left, qint64(std::numeric_limits<int>::max()))));
    };
    arm(outgoingBytes);
    connect(timer, &QTimer::timeout, reply, [reply] {
        reply->setProperty(overdueProperty, true);
        reply->abort();
    });
    connect(reply, &QNetworkReply::downloadProgress, timer,
            [arm, outgoingBytes, announced = qint64(0)](qint64, qint64 total) mutable {
                if (total <= announced)
                    return;
                announced = total;
                arm(outgoingBytes + total);
            });
    connect(reply, &QNetworkReply::finished, timer, &QTimer::stop);
}

QByteArray NetworkAccessManager::formBody(const QList<QPair<QString, QString>> &fields)
{
    QByteArray body;
    for (const auto &field : fields) {
        if (!body.isEmpty())
            body.append('&');
        body.append(QUrl::toPercentEncoding(field.first) + '=' + QUrl::toPercentEncoding(field.second));
    }
    return body;
}

QNetworkReply *NetworkAccessManager::createRequest(Operation op, const QNetworkRequest &request,
                                                   QIODevice *outgoingData)
{
    QNetworkRequest withAgent(request);
    if (!withAgent.header(QNetworkRequest::UserAgentHeader).isValid())
        withAgent.setHeader(QNetworkRequest::UserAgentHeader, Core::instance()->userAgent());
    QNetworkReply *reply = QNetworkAccessManager::createRequest(op, withAgent, outgoingData);
    limitReply(reply, request.attribute(replyLimitAttribute, maxReplyBytes).toLongLong());
    limitDuration(reply, outgoingData ? outgoingData->size() : 0);
    connect(reply, &QNetworkReply::sslErrors, reply, [reply](const QList<QSslError> &errors) {
        if (!errors.isEmpty())
            reply->setProperty(certificateErrorProperty, errors.first().errorString());
    });
    return reply;
}

void NetworkAccessManager::applyProxy()
{
    Setting *settings = Setting::instance();
    if (!settings->getValue(SettingKeys::useProxy).toBool()) {
        setProxy(QNetworkProxy(QNetworkProxy::NoProxy));
        return;
    }
    QNetworkProxy proxy(QNetworkProxy::HttpProxy,
                        settings->getValue(SettingKeys::proxyHost).toString(),
                        quint16(settings->getValue(SettingKeys::proxyPort).toUInt()),
                        settings->getValue(SettingKeys::proxyUser).toString(),
                        settings->getValue(SettingKeys::proxyPassword).toString());
    setProxy(proxy);
}

// One line per manager: time, whether the proxy is used, host, port, user, and only
// whether a password is set.
void NetworkAccessManager::logProxy() const
{
    const QNetworkProxy current = proxy();
    const bool used = current.type() == QNetworkProxy::HttpProxy;
    const QString line = QDateTime::currentDateTime().toString(QStringLiteral("dd-MM-yyyy hh:mm:ss"))
        + QStringLiteral("\tuseProxy=") + (used ? QStringLiteral("1") : QStringLiteral("0"))
        + QStringLiteral(" host=") + escapeControls(current.hostName())
        + QStringLiteral(" port=") + QString::number(current.port())
        + QStringLiteral(" user=") + escapeControls(current.user())
        + QStringLiteral(" password=") + (current.password().isEmpty() ? QStringLiteral("empty") : QStringLiteral("set"))
        + QStringLiteral("\n");
    QFile log(m_pathSettings + QStringLiteral("proxy_connect.log"));
    if (DataFolder::refusal(log.fileName()).isEmpty() && log.open(QIODevice::WriteOnly | QIODevice::Append, DataFolder::privateFile))
        log.write(line.toUtf8());
}
