#pragma once

#include <QList>
#include <QPointer>
#include <QTcpServer>

class QTcpSocket;

// A loopback HTTP listener that waits for one browser redirect. It reads the request
// head of each connection (up to maxRequestBytes) and hands its first line to whoever
// answers. Bad clients cannot stop it: at most maxConnections are served at once, a
// connection that has not sent its whole head within idleTimeoutMs is cut, and when all
// places are taken the oldest connection still waiting for its head makes room for the
// new one, so a browser that sends its request at once is served. When the process
// runs out of file handles, accepting resumes a moment later.
class LocalHttpListener : public QTcpServer
{
    Q_OBJECT
public:
    static constexpr qint64 maxRequestBytes = 8192;
    static constexpr int idleTimeoutMs = 5000;
    static constexpr int maxConnections = 16;
    static constexpr int acceptRetryMs = 500;

    explicit LocalHttpListener(QObject *parent = nullptr);

    // Answers with a small HTML page and closes the connection.
    static void answer(QTcpSocket *socket, int status, const QByteArray &html);
    // Random text from the shared alphabet (system random source).
    static QString randomText(int length);

    // Makes a fresh one-time state value for a sign-in URL, the only one accepted from now on.
    QString newState();
    // True, once, for the state handed out last; the state is used up then.
    bool takeState(const QString &state);
    void forgetState() { m_state.clear(); }

signals:
    // A complete request head arrived; the receiver answers it (directly connected).
    void requestReceived(QTcpSocket *socket, const QByteArray &requestLine);

private:
    void acceptConnections();
    void admit(QTcpSocket *socket);
    bool makeRoom();
    void readRequest(QTcpSocket *socket);

    QString m_state;
    QList<QPointer<QTcpSocket>> m_waiting; // connections without a complete head, oldest first
    int m_connections = 0;
};
