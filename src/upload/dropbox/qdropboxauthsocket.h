#pragma once

#include <QHostAddress>
#include <QTcpServer>

class QTcpSocket;

// The local listener that catches the browser's redirect after the Dropbox sign-in:
// "GET /?code=...&state=..." on 127.0.0.1, port 6609.
class QDropboxAuthSocket : public QTcpServer
{
    Q_OBJECT
public:
    static constexpr quint16 defaultPort = 6609;

    explicit QDropboxAuthSocket(QObject *parent = nullptr);

    // Listens on 127.0.0.1 at the port; true when listening (also when it already was).
    bool listenLocal(quint16 port = defaultPort);
    QString redirectUri() const;

signals:
    void codeReceived(QString code, QString state);
    // The browser came back without a code (the user refused, or the request was odd).
    void authFailed(QString text);

private:
    void readRequest(QTcpSocket *socket);
    void answer(QTcpSocket *socket, bool ok);
};
