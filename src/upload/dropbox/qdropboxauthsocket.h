#pragma once

#include "network/localhttplistener.h"

// The local listener that catches the browser's redirect after the Dropbox sign-in:
// "GET /?code=...&state=..." on 127.0.0.1, port 6609. Only a redirect with a code and the
// state handed out for this sign-in is taken (and uses the state up); the listener then
// closes. A request without that state is answered and has no other effect.
class QDropboxAuthSocket : public LocalHttpListener
{
    Q_OBJECT
public:
    static constexpr quint16 defaultPort = 6609;

    explicit QDropboxAuthSocket(QObject *parent = nullptr);

    // Listens on 127.0.0.1 at the port; true when listening (also when it already was).
    bool listenLocal(quint16 port = defaultPort);
    QString redirectUri() const;

signals:
    void codeReceived(QString code);
    // The answer to this sign-in came without a code: the user refused.
    void authFailed(QString text);

private:
    void handleRequestLine(QTcpSocket *socket, const QByteArray &line);
    void answerPage(QTcpSocket *socket, bool connected);
};
