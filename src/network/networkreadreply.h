#pragma once

#include <QByteArray>
#include <QObject>
#include <QVariantMap>

class QNetworkReply;
class Session;

// Reads a finished reply of the service into a Session: status, reachability and the
// fields of a JSON or XML body.
class NetworkReadReply : public QObject
{
    Q_OBJECT
public:
    explicit NetworkReadReply(QObject *parent = nullptr);

    // Reads everything the reply holds; the caller owns the result (or its parent does).
    static Session *read(QNetworkReply *reply, QObject *parent = nullptr);

    // The top-level members of a JSON object.
    static QVariantMap parseJson(const QByteArray &body, bool *ok);
    // The text of every element that holds text, by element name (the last one wins).
    static QVariantMap parseXml(const QByteArray &body, bool *ok);

    // "METHOD scheme://host/path" of the request, without query: safe for logs.
    static QString describeRequest(const QNetworkReply *reply);
};
