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
    const QString state = query.queryItemValue(QStringLiteral("state"), QUrl::FullyDecoded);
    const bool accepted = !code.isEmpty() && takeState(state);
    answerPage(socket, accepted);
    QString failure;
    if (accepted)
        close();
    else if (query.hasQueryItem(QStringLiteral("error")))
        failure = tr("Dropbox sign-in was not allowed");
    else if (!code.isEmpty())
        failure = tr("The Dropbox sign-in answer does not belong to this sign-in");
    // Reported from the event loop, not from inside the socket's signal: the receivers
    // may wait for the settings store, and the socket must not go away under this frame.
    QMetaObject::invokeMethod(this, [this, accepted, code, failure] {
        if (accepted)
            emit codeReceived(code);
        else if (!failure.isEmpty())
            emit authFailed(failure);
    }, Qt::QueuedConnection);
}

void QDropboxAuthSocket::answerPage(QTcpSocket *socket, bool connected)
{
    const QString text = connected ? tr("Dropbox is connected to Mavu. You can close this page.")
                                   : tr("Dropbox sign-in did not complete.");
    answer(socket, connected ? 200 : 400, text.toHtmlEscaped().toUtf8());
}
