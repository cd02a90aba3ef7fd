#include "serverlistener.h"

#include "settings/constants.h"

#include <QDebug>
#include <QRandomGenerator>
#include <QTcpSocket>
#include <QTimer>
#include <QUrl>

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

ServerListener::ServerListener(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &QTcpServer::newConnection, this, &ServerListener::acceptConnections);
}

namespace {

QList<QPair<quint16, quint16>> &configuredSeries()
{
    static QList<QPair<quint16, quint16>> series;
    return series;
}

} // namespace

QList<QPair<quint16, quint16>> ServerListener::portSeries()
{
    if (!configuredSeries().isEmpty())
        return configuredSeries();
    return {{62000, 62009}, {62100, 62109}, {62200, 62209}};
}

void ServerListener::setPortSeries(const QList<QPair<quint16, quint16>> &series)
{
    configuredSeries() = series;
}

bool ServerListener::listen()
{
    if (m_server.isListening())
        return true;
    for (const auto &range : portSeries()) {
        for (quint32 port = range.first; port <= range.second; ++port) {
            if (m_server.listen(QHostAddress::LocalHost, quint16(port)))
                return true;
        }
    }
    qDebug() << "bool ServerListener::listen()" << m_server.errorString();
    return false;
}

QString ServerListener::redirectUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1/").arg(port());
}

QString ServerListener::newState()
{
    QString state;
    state.reserve(stateLength);
    auto *random = QRandomGenerator::system();
    for (int i = 0; i < stateLength; ++i)
        state.append(abc.at(int(random->bounded(quint32(abc.size())))));
    m_state = state;
    return state;
}

void ServerListener::acceptConnections()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        if (m_connections >= maxConnections) {
            socket->abort();
            socket->deleteLater();
            continue;
        }
        ++m_connections;
        socket->setReadBufferSize(maxRequestBytes + 1);
        connect(socket, &QObject::destroyed, this, [this] { --m_connections; });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readRequest(socket); });
        QTimer::singleShot(idleTimeoutMs, socket, [socket] {
            socket->abort();
            socket->deleteLater();
        });
    }
}

// Waits for the whole request head, then answers from its first line.
void ServerListener::readRequest(QTcpSocket *socket)
{
    if (socket->property("answered").toBool()) {
        socket->readAll();
        return;
    }
    const QByteArray head = socket->peek(maxRequestBytes + 1);
    const int end = head.indexOf("\r\n\r\n");
    if (end < 0) {
        if (head.size() > maxRequestBytes)
            answer(socket, 413, "Request too large.");
        return;
    }
    socket->readAll();
    handleRequestLine(socket, head.left(head.indexOf("\r\n")));
}

void ServerListener::handleRequestLine(QTcpSocket *socket, const QByteArray &line)
{
    const QList<QByteArray> parts = line.split(' ');
    if (parts.size() != 3 || !parts.at(2).startsWith("HTTP/1.") || !parts.at(1).startsWith('/')) {
        answer(socket, 400, "Bad request.");
        emit redirectRejected();
        return;
    }
    if (parts.at(0) != "GET") {
        answer(socket, 405, "Method not allowed.");
        emit redirectRejected();
        return;
    }
    const QUrl url(QStringLiteral("http://127.0.0.1") + QString::fromLatin1(parts.at(1)));
    const QUrlQuery query(url);
    if (!url.isValid() || !takeState(query.queryItemValue(QStringLiteral("state")))) {
        answer(socket, 400, "This sign-in request was not accepted.");
        emit redirectRejected();
        return;
    }
    answer(socket, 200, "Sign-in complete. You can close this window.");
    emit redirectReceived(query);
}

// The state is good for one redirect only.
bool ServerListener::takeState(const QString &state)
{
    if (m_state.isEmpty() || state != m_state)
        return false;
    m_state.clear();
    return true;
}

void ServerListener::answer(QTcpSocket *socket, int status, const QByteArray &text)
{
    socket->setProperty("answered", true);
    const QByteArray body = "<html><body><p>" + text + "</p></body></html>";
    socket->write("HTTP/1.1 " + QByteArray::number(status) + ' ' + reasonPhrase(status) + "\r\n"
                  "Content-Type: text/html; charset=utf-8\r\n"
                  "Content-Length: " + QByteArray::number(body.size()) + "\r\n"
                  "Connection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
}
