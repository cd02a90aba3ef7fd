#pragma once

#include <QJsonObject>
#include <QNetworkRequest>
#include <QObject>
#include <QString>

class QNetworkAccessManager;
class QNetworkReply;
class QDropboxInfo;

// The Dropbox HTTP API version 2: addresses, requests and the account calls. The
// addresses can be replaced (tests point them at a stand-in on loopback).
class QDropbox : public QObject
{
    Q_OBJECT
public:
    struct Urls
    {
        QString api;       // RPC endpoints, ".../2"
        QString content;   // upload endpoints, ".../2"
        QString authorize; // the sign-in page in the browser
        QString token;     // the authorisation-code exchange
    };

    explicit QDropbox(QObject *parent = nullptr);

    static Urls urls();
    static void setUrls(const Urls &urls);
    static void resetUrls();
    // The program's application key (build setting MAVU_DROPBOX_APP_KEY); tests set their own.
    static QString appKey();
    static void setAppKey(const QString &key);

    static QNetworkRequest apiRequest(const QString &endpoint, const QString &token);
    static QNetworkRequest contentRequest(const QString &endpoint, const QString &token,
                                          const QJsonObject &argument);
    // The "error_summary" of an error reply, or the HTTP text when there is none.
    static QString errorSummary(QNetworkReply *reply, const QByteArray &body);

    // Exchanges a sign-in code for an access token: tokenReceived or failed.
    void requestToken(const QString &code, const QString &verifier, const QString &redirectUri);
    // Account name, e-mail and space: accountReceived or failed.
    void requestAccount(const QString &token);

signals:
    void tokenReceived(QString token);
    void accountReceived(const QDropboxInfo &info);
    void failed(QString text);

private:
    void requestSpace(const QString &token, const QJsonObject &account);
    QNetworkAccessManager *network();

    QNetworkAccessManager *m_network = nullptr;
};
