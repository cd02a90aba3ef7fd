#include "autorization.h"

#include "networkaccessmanager.h"
#include "networkhooks.h"
#include "serverlistener.h"
#include "errorlog.h"
#include "session.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "upload/dropbox/qdropboxauth.h"

#include <QDebug>
#include <QQmlEngine>
#include <QRegularExpression>
#include <QTimer>

#include <algorithm>

namespace {

constexpr int exitAfterListenFailureMs = 10000;

} // namespace

Autorization::Autorization(QObject *parent)
    : QObject(parent)
    , m_listener(new ServerListener(this))
{
    connect(m_listener, &ServerListener::redirectReceived, this, &Autorization::onRedirect);
}

void Autorization::registerQmlType()
{
    qmlRegisterType<Autorization>("Core", 1, 0, "Autorization");
}

bool Autorization::isAuth()
{
    return !token().isEmpty();
}

QString Autorization::token()
{
    return Setting::instance()->getValue(SettingKeys::token).toString();
}

// Without the listener no browser sign-in can finish. Signed out, that leaves only the
// password: the user is told and the program ends a little later. Signed in, it costs only
// the browser sign-in, and another local user who holds the ports cannot end the program.
void Autorization::listen()
{
    if (m_listener->listen())
        return;
    if (isAuth()) {
        NetworkHooks::showInformation()(tr("The local sign-in listener could not start: signing in through "
                                           "the browser is not available. Mavu keeps running."));
        return;
    }
    NetworkHooks::showInformation()(tr("Error start socket"));
    auto *exitTimer = new QTimer(this);
    exitTimer->setObjectName(QStringLiteral("listenFailureExitTimer"));
    exitTimer->setSingleShot(true);
    exitTimer->setTimerType(Qt::PreciseTimer);
    connect(exitTimer, &QTimer::timeout, this, [] { NetworkHooks::exitApp()(); });
    exitTimer->start(exitAfterListenFailureMs);
}

void Autorization::setStatusAutorization(StatusAutorization status)
{
    m_status = status;
    emit statusAutorizationChanged();
}

void Autorization::resetAutorization()
{
    setStatusAutorization(NoneAuth);
}

bool Autorization::isEmailValid(const QString &email)
{
    static const QRegularExpression pattern(
        QStringLiteral("^[A-Z0-9._%+-]+@[A-Z0-9.-]+\\.[A-Z]{2,99}$"),
        QRegularExpression::CaseInsensitiveOption);
    return pattern.match(email).hasMatch();
}

void Autorization::checkEmail(QString email)
{
    if (!isEmailValid(email)) {
        emit authError(QStringLiteral("email"), tr("E-mail is not valid"));
        return;
    }
    post(formRequest(QStringLiteral("/api/v1/email/check")),
         NetworkAccessManager::formBody({{QStringLiteral("email"), email}}),
         &Autorization::onEmailChecked);
}

void Autorization::checkPassword(QString email, QString password)
{
    if (password.isEmpty()) {
        emit authError(QStringLiteral("password"), tr("No password"));
        return;
    }
    post(formRequest(QStringLiteral("/oauth/token")),
         NetworkAccessManager::formBody({{QStringLiteral("grant_type"), QStringLiteral("password")},
                                         {QStringLiteral("username"), email},
                                         {QStringLiteral("password"), password}}),
         &Autorization::onTokenGranted);
}

void Autorization::checkRegistration(QString email, QString password, QString confirmPass)
{
    if (!isEmailValid(email)) {
        emit authError(QStringLiteral("email"), tr("E-mail is not valid"));
        return;
    }
    if (password != confirmPass) {
        emit authError(QStringLiteral("confirm"), tr("Passwords do not match"));
        return;
    }
    // Equal from here on: an empty confirmation comes with an empty password.
    if (password.isEmpty()) {
        emit authError(QStringLiteral("password"), tr("Password is empty"));
        return;
    }
    post(formRequest(QStringLiteral("/api/v1/register")),
         NetworkAccessManager::formBody({{QStringLiteral("email"), email},
                                         {QStringLiteral("password"), password}}),
         &Autorization::onRegistered);
}

void Autorization::openFbUrl() { openSocialUrl(QStringLiteral("facebook")); }
void Autorization::openVkUrl() { openSocialUrl(QStringLiteral("vk")); }
void Autorization::openTwitterUrl() { openSocialUrl(QStringLiteral("twitter")); }
void Autorization::openOdnoklasnikiUrl() { openSocialUrl(QStringLiteral("odnoklassniki")); }

DropboxAuth *Autorization::dropBoxAuth()
{
    if (!m_dropboxAuth) {
        m_dropboxAuth = new DropboxAuth(this);
        QQmlEngine::setObjectOwnership(m_dropboxAuth, QQmlEngine::CppOwnership);
    }
    return m_dropboxAuth;
}

// Sign-out: "token" is emptied first, so the credential keys that follow are stored
// empty under no passphrase.
void Autorization::exit()
{
    static const QString *const keys[] = {
        &SettingKeys::token, &SettingKeys::userMail, &SettingKeys::userName,
        &SettingKeys::ftpHost, &SettingKeys::ftpPort, &SettingKeys::ftpUser,
        &SettingKeys::ftpPassword, &SettingKeys::ftpPath,
        &SettingKeys::sftpHost, &SettingKeys::sftpPort, &SettingKeys::sftpUser,
        &SettingKeys::sftpPassword, &SettingKeys::sftpPath,
    };
    Setting *settings = Setting::instance();
    for (const QString *key : keys)
        settings->setValue(*key, QString());
    resetAutorization();
    dropBoxAuth()->logout();
    emit authChanged(false);
}

void Autorization::writeErrorLog(const QString &context, const Session *session)
{
    ServiceErrorLog::write(context, session);
}

// The proxy form follows: a proxy may be what keeps the service out of reach, or what
// stands between the program and the service's certificate.
void Autorization::reportInternetError(const Session *session)
{
    setStatusAutorization(InternetError);
    emit authError(QStringLiteral("internet"), session->isCertificateRefused() ? session->certificateRefusal()
                                                                              : tr("Internet connect not found"));
}

// A sign-in the service granted with a token that cannot be used is refused like any
// other; without an answer the service counts as out of reach.
void Autorization::reportSignInFailure(const Session *session)
{
    if (session->isSuccess())
        emit authError(QStringLiteral("password"), tr("The service sent a sign-in token that cannot be used"));
    else
        reportInternetError(session);
}

// The token travels in a header of every later request: only visible ASCII of a
// sensible length can go there unchanged.
bool Autorization::isTokenUsable(const QString &token)
{
    if (token.isEmpty() || token.size() > maxTokenLength)
        return false;
    return std::all_of(token.begin(), token.end(), [](QChar c) { return c.unicode() > 0x20 && c.unicode() < 0x7f; });
}

bool Autorization::storeToken(const Session *session)
{
    const QString accessToken = session->accessToken();
    if (!isTokenUsable(accessToken))
        return false;
    Setting::instance()->setValue(SettingKeys::token, accessToken);
    return true;
}

// The service no longer accepts the stored token: the account counts as signed out.
void Autorization::dropToken()
{
    Setting::instance()->setValue(SettingKeys::token, QString());
    resetAutorization();
    emit authChanged(false);
}
