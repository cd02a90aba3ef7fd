#include "qdropboxauth.h"

#include "network/autorization.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "network/localhttplistener.h"
#include "upload/dropbox/qdropbox.h"
#include "upload/dropbox/qdropboxauthsocket.h"
#include "upload/dropbox/qdropboxinfo.h"
#include "upload/uploadhooks.h"

#include <QCryptographicHash>
#include <QDebug>
#include <QQmlEngine>
#include <QUrl>
#include <QUrlQuery>

namespace {

quint16 &redirectPort()
{
    static quint16 port = QDropboxAuthSocket::defaultPort;
    return port;
}

} // namespace

DropboxAuth::DropboxAuth(QObject *parent)
    : QObject(parent)
    , m_client(new QDropbox(this))
    , m_socket(new QDropboxAuthSocket(this))
{
    connect(m_socket, &QDropboxAuthSocket::codeReceived, this, &DropboxAuth::codeReceived);
    connect(m_socket, &QDropboxAuthSocket::authFailed, this, &DropboxAuth::error);
    connect(m_client, &QDropbox::tokenReceived, this, &DropboxAuth::tokenReceived);
    connect(m_client, &QDropbox::accountReceived, this, &DropboxAuth::accountReceived);
    connect(m_client, &QDropbox::failed, this, &DropboxAuth::error);
}

void DropboxAuth::registerQmlType()
{
    qmlRegisterType<DropboxAuth>("Core", 1, 0, "DropboxAuth");
}

void DropboxAuth::setRedirectPort(quint16 port)
{
    redirectPort() = port;
}

QString DropboxAuth::storedToken()
{
    const QString token = Setting::instance()->getValue(SettingKeys::dropBoxTokenApiV2, true).toString();
    return Autorization::isTokenUsable(token) ? token : QString();
}

bool DropboxAuth::isAuth() const { return !storedToken().isEmpty(); }
QString DropboxAuth::name() const { return Setting::instance()->getValue(SettingKeys::dropBoxDisplayName).toString(); }
QString DropboxAuth::email() const { return Setting::instance()->getValue(SettingKeys::dropBoxEmail).toString(); }
qlonglong DropboxAuth::total() const { return Setting::instance()->getValue(SettingKeys::dropBoxTotal).toLongLong(); }
qlonglong DropboxAuth::usage() const { return Setting::instance()->getValue(SettingKeys::dropBoxUsage).toLongLong(); }

void DropboxAuth::authorization()
{
    if (QDropbox::appKey().isEmpty()) {
        emit error(tr("Dropbox sign-in is not available in this build"));
        return;
    }
    if (!m_socket->listenLocal(redirectPort())) {
        emit error(tr("Cannot wait for the Dropbox sign-in on port %1").arg(redirectPort()));
        return;
    }
    const QString state = m_socket->newState();
    m_redirectUri = m_socket->redirectUri();
    m_verifier = LocalHttpListener::randomText(64);
    const QByteArray challenge = QCryptographicHash::hash(m_verifier.toLatin1(), QCryptographicHash::Sha256)
                                     .toBase64(QByteArray::Base64UrlEncoding | QByteArray::OmitTrailingEquals);
    QUrl url(QDropbox::urls().authorize);
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("client_id"), QDropbox::appKey());
    query.addQueryItem(QStringLiteral("response_type"), QStringLiteral("code"));
    query.addQueryItem(QStringLiteral("redirect_uri"), m_redirectUri);
    query.addQueryItem(QStringLiteral("state"), state);
    query.addQueryItem(QStringLiteral("code_challenge"), QString::fromLatin1(challenge));
    query.addQueryItem(QStringLiteral("code_challenge_method"), QStringLiteral("S256"));
    url.setQuery(query);
    if (!UploadHooks::openUrl()(url))
        emit error(tr("Cannot open the browser for the Dropbox sign-in"));
}

// The listener took the redirect of this sign-in (its state checked and used up).
void DropboxAuth::codeReceived(const QString &code)
{
    m_client->requestToken(code, m_verifier, m_redirectUri);
}

void DropboxAuth::tokenReceived(const QString &token)
{
    Setting::instance()->setValue(SettingKeys::dropBoxTokenApiV2, token, true);
    emit isAuthChanged();
    m_client->requestAccount(token);
}

void DropboxAuth::refreshAccount()
{
    const QString current = storedToken();
    if (!current.isEmpty())
        m_client->requestAccount(current);
}

void DropboxAuth::accountReceived(const QDropboxInfo &info)
{
    if (!isAuth()) // signed out while the answer was on its way
        return;
    Setting *settings = Setting::instance();
    settings->setValue(SettingKeys::dropBoxDisplayName, info.name());
    settings->setValue(SettingKeys::dropBoxEmail, info.email());
    settings->setValue(SettingKeys::dropBoxTotal, info.total());
    settings->setValue(SettingKeys::dropBoxUsage, info.usage());
    emit isAuthChanged();
}

// Forgets the Dropbox token, the FTP and SFTP connections and the Dropbox account data,
// in this order.
void DropboxAuth::logout()
{
    static const QString *const keys[] = {
        &SettingKeys::dropBoxTokenApiV2,
        &SettingKeys::ftpHost, &SettingKeys::ftpPort, &SettingKeys::ftpUser,
        &SettingKeys::ftpPassword, &SettingKeys::ftpPath, &SettingKeys::ftpBaseUrl,
        &SettingKeys::sftpHost, &SettingKeys::sftpPort, &SettingKeys::sftpUser,
        &SettingKeys::sftpPassword, &SettingKeys::sftpPath, &SettingKeys::sftpBaseUrl,
        &SettingKeys::dropBoxDisplayName, &SettingKeys::dropBoxEmail, &SettingKeys::dropBoxTotal,
        &SettingKeys::dropBoxUsage, &SettingKeys::dropBoxToken,
    };
    Setting *settings = Setting::instance();
    for (const QString *key : keys)
        settings->setValue(*key, QString());
    m_socket->forgetState();
    m_socket->close();
    emit isAuthChanged();
}
