#pragma once

#include <QObject>
#include <QString>
#include <QVariantMap>

// One answer of the service as the clients need it: the HTTP status, whether the
// service was reached at all, and the fields of the reply body.
class Session : public QObject
{
    Q_OBJECT
public:
    explicit Session(QObject *parent = nullptr);

    int httpStatus() const { return m_httpStatus; }
    // The service was not reached: no connection, TLS failure, timeout, proxy failure.
    // A refused certificate is told apart (isCertificateRefused).
    bool isNetworkFailure() const { return m_httpStatus == 0 && !isCertificateRefused(); }
    // The certificate the server showed was refused (expired, made for another host, not
    // from a trusted issuer): whoever answered cannot be taken for the service.
    bool isCertificateRefused() const { return !m_certificateError.isEmpty(); }
    // For the user: that the service's certificate was refused, and why.
    QString certificateRefusal() const;
    bool isSuccess() const { return m_networkOk && m_httpStatus >= 200 && m_httpStatus < 300; }
    // The service refused the request itself (4xx).
    bool isRejected() const { return m_httpStatus >= 400 && m_httpStatus < 500; }
    bool isBodyValid() const { return m_bodyValid; }
    // The body was a JSON object (the service's own replies are JSON).
    bool isJson() const { return m_json; }
    // The server answered with a redirection that was not followed.
    bool isRedirect() const { return m_httpStatus >= 300 && m_httpStatus < 400; }
    // The body was cut off at the size limit of replies.
    bool isTooLarge() const { return m_tooLarge; }
    // The reply was given up at its overall deadline (it trickled in too slowly).
    bool isOverdue() const { return m_overdue; }

    QVariantMap values() const { return m_values; }
    QVariant value(const QString &key) const { return m_values.value(key); }
    QString text(const QString &key) const { return m_values.value(key).toString(); }
    qint64 number(const QString &key) const { return m_values.value(key).toLongLong(); }

    // Named fields of the replies in use.
    QString errorCode() const { return text(QStringLiteral("error")); }
    QString accessToken() const { return text(QStringLiteral("access_token")); }
    QString fileId() const { return text(QStringLiteral("id")); }
    QString link() const { return text(QStringLiteral("alternateLink")); }
    QString selfLink() const { return text(QStringLiteral("selfLink")); }

    QString errorString() const { return m_errorString; }
    QString requestText() const { return m_requestText; }

private:
    friend class NetworkReadReply;

    int m_httpStatus = 0;
    bool m_networkOk = false;
    bool m_bodyValid = false;
    bool m_json = false;
    bool m_tooLarge = false;
    bool m_overdue = false;
    QVariantMap m_values;
    QString m_errorString;
    QString m_requestText;
    QString m_certificateError;
};
