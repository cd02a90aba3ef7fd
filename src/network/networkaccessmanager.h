#pragma once

#include <QNetworkAccessManager>
#include <QNetworkRequest>

// The network access manager of the account and upload clients. Every request carries
// the program's user agent; while the setting "useProxy" is on, traffic goes through the
// HTTP proxy of the proxy settings. On creation it appends the proxy settings it starts
// with (never the proxy password) to "proxy_connect.log" in the data folder.
class NetworkAccessManager : public QNetworkAccessManager
{
    Q_OBJECT
public:
    explicit NetworkAccessManager(QObject *parent = nullptr);

    // A request with the user agent and the default transfer timeout.
    static QNetworkRequest getRequest(const QUrl &url);
    // getRequest plus "Authorization: Bearer <token>" with the stored service token.
    static QNetworkRequest getAuthRequest(const QUrl &url);

    // An application/x-www-form-urlencoded body; every reserved character is escaped.
    static QByteArray formBody(const QList<QPair<QString, QString>> &fields);

    static constexpr int transferTimeoutMs = 60000;

protected:
    QNetworkReply *createRequest(Operation op, const QNetworkRequest &request,
                                 QIODevice *outgoingData) override;

private:
    void applyProxy();
    void logProxy() const;
};
