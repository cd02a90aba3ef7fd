#include "localhttplistener.h"

#include "settings/constants.h"

#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTimer>

namespace {

constexpr int stateLength = 32;

QByteArray reasonPhrase(int status)
{
    switch (status) {
    case 200: return "OK";
    case 400: return "Bad Request";
    case 404: return "Not Found";
    case 405: return "Method Not Allowed";
    case 413: return "Payload Too Large";
    default: return "Error";
    }
}

} // namespace

LocalHttpListener::LocalHttpListener(QObject *parent)
    : QTcpServer(parent)
{
    connect(this, &QTcpServer::newConnection, this, &LocalHttpListener::acceptConnections);
    // Out of file handles the server stops accepting for good; it tries again instead.
    connect(this, &QTcpServer::acceptError, this, [this] {
        QTimer::singleShot(acceptRetryMs, this, [this] {
            if (isListening())
                resumeAccepting();
        });
    });
}

void LocalHttpListener::acceptConnections()
{
    while (QTcpSocket *socket = nextPendingConnection()) {
        if (m_connections >= maxConnections && !makeRoom()) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        admit(socket);
    }
}

void LocalHttpListener::admit(QTcpSocket *socket)
{
    ++m_connections;
    m_waiting.append(socket);
    socket->setReadBufferSize(maxRequestBytes + 1);
    connect(socket, &QObject::destroyed, this, [this] { --m_connections; });
    connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
    QTimer::singleShot(idleTimeoutMs, socket, [this, socket] {
        if (!m_waiting.contains(socket))
            return; // answered, closing by itself
        m_waiting.removeAll(socket);
        socket->abort();
        socket->deleteLater();
    });
}

// Cuts the oldest connection that has not sent its request yet; false when every place
// is taken by a request being answered.
bool LocalHttpListener::makeRoom()
{
    m_waiting.removeAll(nullptr);
    if (m_waiting.isEmpty())
        return false;
    QTcpSocket *oldest = m_waiting.takeFirst();
    oldest->abort();
    oldest->deleteLater();
    return true;
}

// Waits for the whole request head, then hands over its first line.
void LocalHttpListener::readRequest(QTcpSocket *socket)
{
    if (!m_waiting.contains(socket)) {
        socket->readAll();
        return;
    }
    const QByteArray head = socket->peek(maxRequestBytes + 1);
    const int end = head.indexOf("\r\n\r\n");
    if (end < 0) {
        if (head.size() > maxRequestBytes) {
            m_waiting.removeAll(socket);
            answer(socket, 413, "Request too large.");
        }
        return;
    }
    m_waiting.removeAll(socket);
    socket->readAll();
    emit requestReceived(socket, head.left(head.indexOf("\r\n")));
}

void LocalHttpListener::answer(QTcpSocket *socket, int status, const QByteArray &html)
{
    const QByteArray body = "<!DOCTYPE html><html><head><meta charset=\"utf-8\"></head><body><p>" + html
        + "</p></body></html>";
    socket->write("HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) + "\r\n"
                  "Content-Type: text/html; charset=utf-8\r\n"
                  "Content-Length: " + QByteArray::number(body.size()) + "\r\n"
                  "Connection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
}

QString LocalHttpListener::randomText(int length)
{
    QString text;
    text.reserve(length);
    auto *random = QRandomGenerator::system();
    for (int i = 0; i < length; ++i)
        text.append(abc.at(int(random->bounded(quint32(abc.size())))));
    return text;
}

QString LocalHttpListener::newState()
{
    m_state = randomText(stateLength);
    return m_state;
}

bool LocalHttpListener::takeState(const QString &state)
{
    if (m_state.isEmpty() || state != m_state)
        return false;
    m_state.clear();
    return true;
}
