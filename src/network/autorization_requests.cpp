// The account's requests to the service and the handling of their replies.

#include "autorization.h"

#include "core.h"
#include "networkaccessmanager.h"
#include "networkhooks.h"
#include "networkreadreply.h"
#include "serverlistener.h"
#include "session.h"
#include "settings/constants.h"
#include "settings/debuglog.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"

#include <QDebug>
#include <QFile>
#include <QHttpMultiPart>
#include <QNetworkReply>

namespace {

QHttpPart textPart(const QString &name, const QString &value)
{
    QHttpPart part;
    part.setHeader(QNetworkRequest::ContentDispositionHeader,
                   QStringLiteral("form-data; name=\"%1\"").arg(name));
    part.setBody(value.toUtf8());
    return part;
}

QHttpPart logPart()
{
    QHttpPart part;
    part.setHeader(QNetworkRequest::ContentDispositionHeader,
                   QStringLiteral("form-data; name=\"log\"; filename=\"error.log\""));
    part.setHeader(QNetworkRequest::ContentTypeHeader, QStringLiteral("application/octet-stream"));
    QFile log(m_logFileName);
    if (log.open(QIODevice::ReadOnly))
        part.setBody(log.readAll());
    return part;
}

// The pages load the avatar from this address: only from the web, never a local file.
QString webAddressOnly(const QString &address)
{
    const QUrl url(address, QUrl::StrictMode);
    return url.isValid() && url.scheme() == QLatin1String("https") && !url.host().isEmpty() ? address : QString();
}

QUrl serviceUrl(const QString &host, const QString &path)
{
    return QUrl(QStringLiteral("https://") + host + path);
}

} // namespace

// A manager per request, so a proxy changed on the sign-in page applies to the next one.
// It is deleted, with its reply, once the reply has been handled.
NetworkAccessManager *Autorization::newManager()
{
    return new NetworkAccessManager(this);
}

QNetworkRequest Autorization::formRequest(const QString &path) const
{
    QNetworkRequest request =
        NetworkAccessManager::getRequest(serviceUrl(Core::instance()->hostUrlAuth(), path));
    request.setHeader(QNetworkRequest::ContentTypeHeader,
                      QStringLiteral("application/x-www-form-urlencoded"));
    NetworkAccessManager::keepToOrigin(request); // the forms carry passwords and sign-in codes
    return request;
}

void Autorization::post(const QNetworkRequest &request, const QByteArray &form, ReplyHandler handler)
{
    NetworkAccessManager *nam = newManager();
    QNetworkReply *reply = nam->post(request, form);
    watch(reply, handler);
}

void Autorization::get(const QNetworkRequest &request, ReplyHandler handler)
{
    NetworkAccessManager *nam = newManager();
    QNetworkReply *reply = nam->get(request);
    watch(reply, handler);
}

void Autorization::watch(QNetworkReply *reply, ReplyHandler handler)
{
    connect(reply, &QNetworkReply::finished, this, [this, reply, handler] {
        Session *session = NetworkReadReply::read(reply, this);
        (this->*handler)(session);
        session->deleteLater();
        reply->manager()->deleteLater(); // the manager made for this request; takes the reply along
    });
}

void Autorization::onEmailChecked(Session *session)
{
    const QVariant exists = session->value(QStringLiteral("exists"));
    if (!session->isSuccess() || !exists.isValid()) {
        writeErrorLog(QStringLiteral("Autorization::checkEmail"), session);
        if (session->isRejected())
            emit authError(QStringLiteral("email"), tr("E-mail is not valid"));
        else
            reportInternetError(session);
        return;
    }
    setStatusAutorization(exists.toBool() ? CheckPassword : CheckRegistration);
}

void Autorization::onTokenGranted(Session *session)
{
    if (session->isSuccess() && storeToken(session)) {
        emit authChanged(true);
        emit authFinished();
        getUserInfo();
        return;
    }
    writeErrorLog(QStringLiteral("Autorization::checkPassword"), session);
    if (session->isRejected())
        emit authError(QStringLiteral("password"), tr("Wrong password"));
    else
        reportSignInFailure(session);
}

void Autorization::onRegistered(Session *session)
{
    if (session->isSuccess() && storeToken(session)) {
        emit authChanged(true);
        emit registrationFinished();
        getUserInfo();
        return;
    }
    writeErrorLog(QStringLiteral("Autorization::checkRegistration"), session);
    if (session->httpStatus() == 409)
        emit authError(QStringLiteral("email"), tr("E-mail is already registered"));
    else if (session->isRejected())
        emit authError(QStringLiteral("password"), tr("Password is not accepted"));
    else
        reportSignInFailure(session);
}

void Autorization::getUserInfo()
{
    if (!isAuth())
        return;
    get(NetworkAccessManager::getAuthRequest(
            serviceUrl(Core::instance()->hostUrl(), QStringLiteral("/drive/v1/about"))),
        &Autorization::onUserInfo);
}

void Autorization::onUserInfo(Session *session)
{
    if (!session->isSuccess() || !session->isBodyValid()) {
        writeErrorLog(QStringLiteral("Autorization::getUserInfo"), session);
        if (session->httpStatus() == 401)
            dropToken();
        return;
    }
    Setting *settings = Setting::instance();
    settings->setValue(SettingKeys::userName, session->text(QStringLiteral("name")));
    settings->setValue(SettingKeys::userMail, session->text(QStringLiteral("email")));
    settings->setValue(SettingKeys::userAvatar, webAddressOnly(session->text(QStringLiteral("avatar"))));
    settings->setValue(SettingKeys::quota, session->number(QStringLiteral("quota")));
    settings->setValue(SettingKeys::usage, session->number(QStringLiteral("usage")));
    settings->setValue(SettingKeys::maxPostSize, session->number(QStringLiteral("max_post_size")));
}

void Autorization::sendFeedback(QString email, QString body)
{
    auto *multiPart = new QHttpMultiPart(QHttpMultiPart::FormDataType);
    multiPart->append(textPart(QStringLiteral("email"), email));
    multiPart->append(textPart(QStringLiteral("body"), body));
    multiPart->append(logPart());
    NetworkAccessManager *nam = newManager();
    QNetworkReply *reply =
        nam->post(NetworkAccessManager::getRequest(QUrl(Core::instance()->feedbackUrl())), multiPart);
    multiPart->setParent(reply);
    watch(reply, &Autorization::onFeedbackSent);
}

void Autorization::onFeedbackSent(Session *session)
{
    if (!session->isSuccess())
        writeErrorLog(QStringLiteral("Autorization::sendFeedback"), session);
    emit feedbackFinished(session->isSuccess());
}

// A social sign-in first checks that the service can be reached at all.
void Autorization::openSocialUrl(const QString &network)
{
    m_pendingNetwork = network;
    get(NetworkAccessManager::getRequest(QUrl(Core::instance()->pingUrl())), &Autorization::onPing);
}

void Autorization::onPing(Session *session)
{
    if (!session->isSuccess()) {
        writeErrorLog(QStringLiteral("Autorization::ping"), session);
        reportInternetError(session);
        return;
    }
    if (!m_listener->isListening() && !m_listener->listen()) {
        qCDebug(lcMavu) << "void Autorization::onPing(Session*)" << "no local listener";
        emit authError(QStringLiteral("internet"), tr("Error start socket"));
        return;
    }
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("redirect_uri"), m_listener->redirectUrl());
    query.addQueryItem(QStringLiteral("state"), m_listener->newState());
    QUrl url = serviceUrl(Core::instance()->hostUrlAuth(), QStringLiteral("/oauth/social/") + m_pendingNetwork);
    url.setQuery(query);
    NetworkHooks::openUrl()(url);
}

// The browser came back with a one-time code; it is exchanged for the token.
void Autorization::onRedirect(const QUrlQuery &query)
{
    const QString code = query.queryItemValue(QStringLiteral("code"), QUrl::FullyDecoded);
    if (code.isEmpty()) {
        qCDebug(lcMavu) << "void Autorization::onRedirect(const QUrlQuery&)" << "redirect without code";
        return;
    }
    post(formRequest(QStringLiteral("/oauth/token")),
         NetworkAccessManager::formBody({{QStringLiteral("grant_type"), QStringLiteral("authorization_code")},
                                         {QStringLiteral("code"), code},
                                         {QStringLiteral("redirect_uri"), m_listener->redirectUrl()}}),
         &Autorization::onSocialToken);
}

void Autorization::onSocialToken(Session *session)
{
    if (session->isSuccess() && storeToken(session)) {
        emit authChanged(true);
        emit authFinished();
        getUserInfo();
        return;
    }
    writeErrorLog(QStringLiteral("Autorization::socialSignIn"), session);
    if (!session->isRejected())
        reportSignInFailure(session);
}
