#include "qdropboxauthsocket.h"

#include <QTcpSocket>
#include <QUrl>
#include <QUrlQuery>

QDropboxAuthSocket::QDropboxAuthSocket(QObject *parent)
    : LocalHttpListener(parent)
{
    connect(this, &LocalHttpListener::requestReceived, this, &QDropboxAuthSocket::handleRequestLine);
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

void QDropboxAuthSocket::handleRequestLine(QTcpSocket *socket, const QByteArray &line)
{
    const QList<QByteArray> parts = line.split(' ');
    if (parts.size() != 3 || parts.at(0) != "GET" || !parts.at(1).startsWith('/')) {
        answerPage(socket, false);
        return;
    }
    const QUrlQuery query(QUrl(QString::fromUtf8(parts.at(1))).query());
    const QString code = query.queryItemValue(QStringLiteral("code"), QUrl::FullyDecoded);
    // Only Dropbox's answer to this sign-in (a code or an error, with its state) is acted
    // on and uses the state up; any other request is answered and nothing else.
    const bool answered = !code.isEmpty() || query.hasQueryItem(QStringLiteral("error"));
    const bool ours = answered && takeState(query.queryItemValue(QStringLiteral("state"), QUrl::FullyDecoded));
    const bool accepted = ours && !code.isEmpty();
    answerPage(socket, accepted);
    if (!ours)
        return;
    close();
    // Reported from the event loop, not from inside the socket's signal: the receivers
    // may wait for the settings store, and the socket must not go away under this frame.
    QMetaObject::invokeMethod(this, [this, accepted, code] {
        if (accepted)
            emit codeReceived(code);
        else
            emit authFailed(tr("Dropbox sign-in was not allowed"));
    }, Qt::QueuedConnection);
}

void QDropboxAuthSocket::answerPage(QTcpSocket *socket, bool connected)
{
    const QString text = connected ? tr("Dropbox is connected to Mavu. You can close this page.")
                                   : tr("Dropbox sign-in did not complete.");
    answer(socket, connected ? 200 : 400, text.toHtmlEscaped().toUtf8());
}
