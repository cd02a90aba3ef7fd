#include "serverlistener.h"

#include "settings/debuglog.h"

#include <QDebug>
#include <QTcpSocket>
#include <QUrl>

ServerListener::ServerListener(QObject *parent)
    : QObject(parent)
{
    connect(&m_server, &LocalHttpListener::requestReceived, this, &ServerListener::handleRequestLine);
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
    qCDebug(lcMavu) << "bool ServerListener::listen()" << m_server.errorString();
    return false;
}

QString ServerListener::redirectUrl() const
{
    return QStringLiteral("http://127.0.0.1:%1/").arg(port());
}

QString ServerListener::newState()
{
    return m_server.newState();
}

void ServerListener::handleRequestLine(QTcpSocket *socket, const QByteArray &line)
{
    const QList<QByteArray> parts = line.split(' ');
    if (parts.size() != 3 || !parts.at(2).startsWith("HTTP/1.") || !parts.at(1).startsWith('/')) {
        LocalHttpListener::answer(socket, 400, "Bad request.");
        emit redirectRejected();
        return;
    }
    if (parts.at(0) != "GET") {
        LocalHttpListener::answer(socket, 405, "Method not allowed.");
        emit redirectRejected();
        return;
    }
    const QUrl url(QStringLiteral("http://127.0.0.1") + QString::fromLatin1(parts.at(1)));
    const QUrlQuery query(url);
    if (!url.isValid() || !m_server.takeState(query.queryItemValue(QStringLiteral("state")))) {
        LocalHttpListener::answer(socket, 400, "This sign-in request was not accepted.");
        emit redirectRejected();
        return;
    }
    LocalHttpListener::answer(socket, 200, "Sign-in complete. You can close this window.");
    emit redirectReceived(query);
}
