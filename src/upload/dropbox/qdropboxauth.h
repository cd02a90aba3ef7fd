#pragma once

#include <QObject>
#include <QString>

class QDropbox;
class QDropboxAuthSocket;
class QDropboxInfo;

// The user's Dropbox account: sign-in in the browser with the redirect caught on
// 127.0.0.1:6609, the access token (stored encrypted), and name, e-mail and space as
// the settings page shows them.
class DropboxAuth : public QObject
{
    Q_OBJECT
    Q_PROPERTY(bool isAuth READ isAuth NOTIFY isAuthChanged)
    Q_PROPERTY(QString name READ name NOTIFY isAuthChanged)
    Q_PROPERTY(QString email READ email NOTIFY isAuthChanged)
    Q_PROPERTY(qlonglong total READ total NOTIFY isAuthChanged)
    Q_PROPERTY(qlonglong usage READ usage NOTIFY isAuthChanged)

public:
    explicit DropboxAuth(QObject *parent = nullptr);

    // The QML type "DropboxAuth" in the module "Core" 1.0.
    static void registerQmlType();
    // The port of the redirect listener (6609; tests choose a free one).
    static void setRedirectPort(quint16 port);
    // The stored Dropbox token; empty when there is none or it is not fit for a header
    // (such a token is never sent).
    static QString storedToken();

    bool isAuth() const;
    QString name() const;
    QString email() const;
    qlonglong total() const;
    qlonglong usage() const;

    // Opens the Dropbox sign-in page in the browser and waits for its redirect.
    Q_INVOKABLE void authorization();

public slots:
    // Forgets the Dropbox token, the FTP and SFTP connections and the account data.
    void logout();
    // Reads name, e-mail and space again.
    void refreshAccount();

signals:
    void isAuthChanged();
    // A translated text for the user.
    void error(QString text);

private:
    void codeReceived(const QString &code);
    void tokenReceived(const QString &token);
    void accountReceived(const QDropboxInfo &info);

    QDropbox *m_client = nullptr;
    QDropboxAuthSocket *m_socket = nullptr;
    QString m_redirectUri;
    QString m_verifier;
};
