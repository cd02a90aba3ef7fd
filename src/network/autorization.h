#pragma once

#include <QObject>
#include <QString>
#include <QUrlQuery>

class DropboxAuth;
class NetworkAccessManager;
class QHttpMultiPart;
class QNetworkReply;
class QNetworkRequest;
class ServerListener;
class Session;

// The service account: sign-in by e-mail and password, registration, sign-in in the
// browser (also through social networks) caught by the local listener, account data in
// the settings, sign-out and feedback.
class Autorization : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool auth READ auth NOTIFY authChanged)
    Q_PROPERTY(StatusAutorization statusAutorization READ statusAutorization NOTIFY statusAutorizationChanged)
public:
    enum StatusAutorization {
        CheckEmail = 0,
        CheckPassword = 1,
        CheckRegistration = 2,
        GetUserInfo = 3,
        InternetError = 4,
        SendFeedBack = 5,
        CheckToken = 6,
        CheckInternetAccess = 7,
        NoneAuth = 8
    };
    Q_ENUM(StatusAutorization)

    explicit Autorization(QObject *parent = nullptr);

    // Registers the type and its StatusAutorization in the QML module "Core" 1.0.
    static void registerQmlType();

    static bool isAuth();
    static QString token();
    bool auth() const { return isAuth(); }

    void listen();
    ServerListener *listener() const { return m_listener; }

    StatusAutorization statusAutorization() const { return m_status; }
    void setStatusAutorization(StatusAutorization status);

    Q_INVOKABLE void resetAutorization();
    Q_INVOKABLE void checkEmail(QString email);
    Q_INVOKABLE void checkPassword(QString email, QString password);
    Q_INVOKABLE void checkRegistration(QString email, QString password, QString confirmPass);
    Q_INVOKABLE void openFbUrl();
    Q_INVOKABLE void openVkUrl();
    Q_INVOKABLE void openTwitterUrl();
    Q_INVOKABLE void openOdnoklasnikiUrl();
    Q_INVOKABLE DropboxAuth *dropBoxAuth();
    Q_INVOKABLE void sendFeedback(QString email, QString body);

    void writeErrorLog(const QString &context, const Session *session);

    static bool isEmailValid(const QString &email);
    // A token the service may hand out: 1 to maxTokenLength characters of visible ASCII.
    static bool isTokenUsable(const QString &token);
    static constexpr int maxTokenLength = 4096;

public slots:
    void getUserInfo();
    void exit();

signals:
    void authChanged(bool auth);
    void statusAutorizationChanged();
    void authError(QString key, QString value);
    void authFinished();
    void registrationFinished();
    void feedbackFinished(bool sent);

private:
    using ReplyHandler = void (Autorization::*)(Session *);

    NetworkAccessManager *newManager();
    void post(const QNetworkRequest &request, const QByteArray &form, ReplyHandler handler);
    void get(const QNetworkRequest &request, ReplyHandler handler);
    void watch(QNetworkReply *reply, ReplyHandler handler);
    QNetworkRequest formRequest(const QString &path) const;

    void onEmailChecked(Session *session);
    void onTokenGranted(Session *session);
    void onRegistered(Session *session);
    void onUserInfo(Session *session);
    void onFeedbackSent(Session *session);
    void onPing(Session *session);
    void onSocialToken(Session *session);

    void reportInternetError(const Session *session);
    void reportSignInFailure(const Session *session);
    bool storeToken(const Session *session);
    void dropToken();
    void openSocialUrl(const QString &network);
    void onRedirect(const QUrlQuery &query);

    ServerListener *m_listener = nullptr;
    NetworkAccessManager *m_manager = nullptr;
    DropboxAuth *m_dropboxAuth = nullptr;
    StatusAutorization m_status = NoneAuth;
    QString m_pendingNetwork;
};
