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
    // getRequest plus "Authorization: Bearer <token>" with the stored service token. Its
    // redirections are followed only within the same origin: the token never travels on.
    static QNetworkRequest getAuthRequest(const QUrl &url);
    // Redirections of the request stay within its origin; one to elsewhere ends the reply
    // with an error. For every request that carries credentials.
    static void keepToOrigin(QNetworkRequest &request);

    // Replies are cut off beyond this many bytes, unless the request sets its own limit
    // in replyLimitAttribute (a byte count).
    static constexpr qint64 maxReplyBytes = 4 * 1024 * 1024;
    static constexpr QNetworkRequest::Attribute replyLimitAttribute =
        QNetworkRequest::Attribute(QNetworkRequest::User + 1);
    // Aborts the reply once it announces or brings more than limit bytes; the reply then
    // carries the property tooLargeProperty.
    static void limitReply(QNetworkReply *reply, qint64 limit);
    static constexpr const char *tooLargeProperty = "mavuReplyTooLarge";

    // The transfer timeout restarts with every byte, so a reply that trickles in would never
    // end: the reply also gets an overall deadline (NetworkHooks::requestDeadline) for the
    // bytes it sends and, once announced, the bytes of its answer. Past it the reply is
    // aborted and carries overdueProperty.
    static void limitDuration(QNetworkReply *reply, qint64 outgoingBytes);
    static constexpr const char *overdueProperty = "mavuReplyOverdue";

    // Why the server's certificate was refused, on a reply that failed its TLS handshake
    // over it (Qt's own text of the first fault).
    static constexpr const char *certificateErrorProperty = "mavuCertificateError";

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
