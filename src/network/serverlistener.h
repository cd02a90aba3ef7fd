#pragma once

#include <QObject>
#include <QString>
#include <QUrlQuery>

#include "localhttplistener.h"

// The local HTTP listener that catches the browser's sign-in redirect. It binds
// 127.0.0.1 only, on the first free port of a fixed series, and accepts a redirect only
// when it carries the one-time `state` value handed out for the sign-in URL. Every other
// request is answered and ignored; oversized, malformed or idle requests are cut off.
class ServerListener : public QObject
{
    Q_OBJECT
public:
    explicit ServerListener(QObject *parent = nullptr);

    bool listen();
    bool isListening() const { return m_server.isListening(); }
    quint16 port() const { return m_server.serverPort(); }
    // "http://127.0.0.1:<port>/", the redirect address for sign-in URLs.
    QString redirectUrl() const;
    // Makes a fresh random state value, the only one accepted from now on.
    QString newState();

    // The ports tried, in order: [first, last] ranges.
    static QList<QPair<quint16, quint16>> portSeries();
    // Replaces the series (tests use a port of their own; an empty list restores it).
    static void setPortSeries(const QList<QPair<quint16, quint16>> &series);

signals:
    void redirectReceived(const QUrlQuery &query);
    void redirectRejected();

private:
    void handleRequestLine(QTcpSocket *socket, const QByteArray &line);

    LocalHttpListener m_server;
};
