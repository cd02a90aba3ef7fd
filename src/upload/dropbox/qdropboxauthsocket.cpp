#include "qdropboxauthsocket.h"

#include <QTcpSocket>
#include <QUrl>
#include <QUrlQuery>

QDropboxAuthSocket::QDropboxAuthSocket(QObject *parent)
    : QTcpServer(parent)
{
    connect(this, &QTcpServer::newConnection, this, [this] {
        while (QTcpSocket *socket = nextPendingConnection()) {
            connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
            connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        }
    });
}

bool QDropboxAuthSocket::listenLocal(quint16 port)
{
    if (isListening())
        return true;
    return listen(QHostAddress::LocalHost, port);
}

QString QDropboxAuthSocket::redirectUri() const
{
    return QStringLiteral("http://127.0.0.1:%1/").arg(serverPort());
}

void QDropboxAuthSocket::readRequest(QTcpSocket *socket)
{
    if (!socket->canReadLine()) {
        if (socket->bytesAvailable() > 8192) // no request line this long is ours
            socket->abort();
        return;
    }
    const QList<QByteArray> requestLine = socket->readLine(8192).trimmed().split(' ');
    disconnect(socket, &QTcpSocket::readyRead, this, nullptr);
    if (requestLine.size() < 2 || requestLine.first() != "GET") {
        answer(socket, false);
        return;
    }
    const QUrlQuery query(QUrl(QString::fromUtf8(requestLine.at(1))).query());
    const QString code = query.queryItemValue(QStringLiteral("code"), QUrl::FullyDecoded);
    const QString state = query.queryItemValue(QStringLiteral("state"), QUrl::FullyDecoded);
    answer(socket, !code.isEmpty());
    // Reported from the event loop, not from inside the socket's signal: the receivers
    // may wait for the settings store, and the socket must not go away under this frame.
    if (!code.isEmpty()) {
        QMetaObject::invokeMethod(this, [this, code, state] { emit codeReceived(code, state); },
                                  Qt::QueuedConnection);
    } else if (query.hasQueryItem(QStringLiteral("error"))) {
        QMetaObject::invokeMethod(this, [this] { emit authFailed(tr("Dropbox sign-in was not allowed")); },
                                  Qt::QueuedConnection);
    }
}

void QDropboxAuthSocket::answer(QTcpSocket *socket, bool ok)
{
    const QString text = ok ? tr("Dropbox is connected to Mavu. You can close this page.")
                            : tr("Dropbox sign-in did not complete.");
    const QByteArray body = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body><p>"
        + text.toHtmlEscaped().toUtf8() + "</p></body></html>";
    socket->write("HTTP/1.1 " + QByteArray(ok ? "200 OK" : "400 Bad Request")
                  + "\r\nContent-Type: text/html; charset=utf-8\r\nConnection: close\r\nContent-Length: "
                  + QByteArray::number(body.size()) + "\r\n\r\n" + body);
    socket->disconnectFromHost();
}
