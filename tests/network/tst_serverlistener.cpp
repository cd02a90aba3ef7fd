// The local sign-in listener: where it binds, what it accepts, and that it outlives bad
// clients.

#include "network/autorization.h"
#include "network/networkhooks.h"
#include "network/serverlistener.h"
#include "upload/dropbox/qdropboxauthsocket.h"

#include <QRandomGenerator>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QUrlQuery>

#include <memory>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <unistd.h>

class TestServerListener : public QObject
{
    Q_OBJECT

private:
    // Sends raw bytes and returns whatever the listener answers before it closes.
    static QByteArray exchange(quint16 port, const QByteArray &bytes, int waitMs = 5000)
    {
        QTcpSocket socket;
        socket.connectToHost(QHostAddress::LocalHost, port);
        if (!socket.waitForConnected(5000))
            return "no connection";
        socket.write(bytes);
        socket.waitForBytesWritten(5000);
        QByteArray answer;
        QElapsedTimer timer;
        timer.start();
        while (socket.state() == QAbstractSocket::ConnectedState && timer.elapsed() < waitMs) {
            QTest::qWait(10);
            answer += socket.readAll();
        }
        answer += socket.readAll();
        return answer;
    }

    static QByteArray redirectRequest(const QString &state)
    {
        return "GET /?code=c0de&state=" + state.toLatin1() + " HTTP/1.1\r\nHost: 127.0.0.1\r\n\r\n";
    }

    // The sign-in listener or the Dropbox one, listening with a state issued.
    struct AnyListener
    {
        ServerListener signIn;
        QDropboxAuthSocket dropbox;
        quint16 port = 0;
        QString state;

        explicit AnyListener(const QString &kind)
        {
            if (kind == QLatin1String("dropbox")) {
                dropbox.listenLocal(0);
                port = dropbox.serverPort();
                state = dropbox.newState();
            } else {
                signIn.listen();
                port = signIn.port();
                state = signIn.newState();
            }
        }
    };

    static void bothListeners()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("sign-in") << "sign-in";
        QTest::newRow("dropbox") << "dropbox";
    }

    static std::vector<std::unique_ptr<QTcpSocket>> idleConnections(quint16 port, int count)
    {
        std::vector<std::unique_ptr<QTcpSocket>> idle;
        for (int i = 0; i < count; ++i) {
            auto socket = std::make_unique<QTcpSocket>();
            socket->connectToHost(QHostAddress::LocalHost, port);
            socket->waitForConnected(5000);
            idle.push_back(std::move(socket));
        }
        QTest::qWait(200);
        return idle;
    }

private slots:
    void listen_bindsLoopbackOnly_onFirstFreePortOfTheSeries()
    {
        ServerListener listener;
        QVERIFY(listener.listen());
        const auto series = ServerListener::portSeries();
        QCOMPARE(series.first().first, quint16(62000));
        bool inSeries = false;
        for (const auto &range : series)
            inSeries = inSeries || (listener.port() >= range.first && listener.port() <= range.second);
        QVERIFY(inSeries);
        QCOMPARE(listener.redirectUrl(), QStringLiteral("http://127.0.0.1:%1/").arg(listener.port()));
        QTcpServer probe;
        QVERIFY(!probe.listen(QHostAddress::LocalHost, listener.port()));

        ServerListener second;
        QVERIFY(second.listen());
        QVERIFY(second.port() != listener.port());
    }

    void redirect_onlyTheIssuedStateIsAccepted_once()
    {
        ServerListener listener;
        QVERIFY(listener.listen());
        QSignalSpy received(&listener, &ServerListener::redirectReceived);
        QSignalSpy rejected(&listener, &ServerListener::redirectRejected);

        QVERIFY(exchange(listener.port(), redirectRequest("nothing-issued-yet")).startsWith("HTTP/1.1 400"));
        const QString state = listener.newState();
        QVERIFY(exchange(listener.port(), redirectRequest(state + "x")).startsWith("HTTP/1.1 400"));
        QVERIFY(exchange(listener.port(), redirectRequest(QString())).startsWith("HTTP/1.1 400"));
        QCOMPARE(received.size(), 0);
        QCOMPARE(rejected.size(), 3);

        QVERIFY(exchange(listener.port(), redirectRequest(state)).startsWith("HTTP/1.1 200"));
        QCOMPARE(received.size(), 1);
        QCOMPARE(received.first().first().value<QUrlQuery>().queryItemValue("code"), QStringLiteral("c0de"));
        QVERIFY(exchange(listener.port(), redirectRequest(state)).startsWith("HTTP/1.1 400"));
        QCOMPARE(received.size(), 1);
    }

    void newState_isRandomFromTheAlphabet()
    {
        ServerListener listener;
        const QString first = listener.newState();
        const QString second = listener.newState();
        QCOMPARE(first.size(), 32);
        QVERIFY(first != second);
        QVERIFY(QRegularExpression("^[A-Za-z0-9]{32}$").match(first).hasMatch());
    }

    void garbageAndHalfRequests_neverStopTheListener()
    {
        ServerListener listener;
        QVERIFY(listener.listen());
        const quint16 port = listener.port();
        QSignalSpy received(&listener, &ServerListener::redirectReceived);

        // Random bytes with a request end, random bytes without one, and odd request lines.
        QByteArray noise(4096, Qt::Uninitialized);
        for (char &c : noise)
            c = char(QRandomGenerator::global()->bounded(256));
        QVERIFY(exchange(port, noise + "\r\n\r\n").startsWith("HTTP/1.1 400"));
        QVERIFY(exchange(port, "POST /?state=x HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 405"));
        QVERIFY(exchange(port, "GET\r\n\r\n").startsWith("HTTP/1.1 400"));
        QVERIFY(exchange(port, "GET http://evil/ HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 400"));
        QVERIFY(exchange(port, "GET /%%%?state=%zz HTTP/1.1\r\n\r\n").startsWith("HTTP/1.1 400"));
        // An endless head is cut off.
        QVERIFY(exchange(port, "GET /" + QByteArray(LocalHttpListener::maxRequestBytes * 4, 'a'))
                    .startsWith("HTTP/1.1 413"));

        // Half requests that never finish: held open while a real redirect still goes through.
        std::vector<std::unique_ptr<QTcpSocket>> halfOpen;
        for (int i = 0; i < 5; ++i) {
            auto socket = std::make_unique<QTcpSocket>();
            socket->connectToHost(QHostAddress::LocalHost, port);
            QVERIFY(socket->waitForConnected(5000));
            socket->write("GET /?state=");
            socket->flush();
            halfOpen.push_back(std::move(socket));
        }
        // A client that connects and leaves at once.
        {
            QTcpSocket quitter;
            quitter.connectToHost(QHostAddress::LocalHost, port);
            QVERIFY(quitter.waitForConnected(5000));
            quitter.abort();
        }
        const QString state = listener.newState();
        QVERIFY(exchange(port, redirectRequest(state)).startsWith("HTTP/1.1 200"));
        QCOMPARE(received.size(), 1);
        QVERIFY(listener.isListening());
    }

    void tooManyConnections_areRefused_andTheListenerRecovers()
    {
        ServerListener listener;
        QVERIFY(listener.listen());
        std::vector<std::unique_ptr<QTcpSocket>> crowd;
        for (int i = 0; i < LocalHttpListener::maxConnections + 4; ++i) {
            auto socket = std::make_unique<QTcpSocket>();
            socket->connectToHost(QHostAddress::LocalHost, listener.port());
            QVERIFY(socket->waitForConnected(5000));
            crowd.push_back(std::move(socket));
        }
        QTest::qWait(200);
        crowd.clear();
        QTest::qWait(200);
        const QString state = listener.newState();
        const QByteArray answer = exchange(listener.port(), redirectRequest(state));
        QVERIFY2(answer.startsWith("HTTP/1.1 200"), answer.constData());
    }

    void idleConnectionsAtTheCap_doNotBlockTheBrowser_data() { bothListeners(); }

    // A local program that holds every place with idle connections must not keep the
    // browser's redirect out.
    void idleConnectionsAtTheCap_doNotBlockTheBrowser()
    {
        QFETCH(QString, kind);
        AnyListener listener(kind);
        const auto idle = idleConnections(listener.port, LocalHttpListener::maxConnections);
        const QByteArray answer = exchange(listener.port, redirectRequest(listener.state));
        QVERIFY2(answer.startsWith("HTTP/1.1 200"), answer.constData());
    }

    void runningOutOfFileHandles_theListenerRecovers_data() { bothListeners(); }

    void runningOutOfFileHandles_theListenerRecovers()
    {
        QFETCH(QString, kind);
        AnyListener listener(kind);
        rlimit limit;
        QCOMPARE(::getrlimit(RLIMIT_NOFILE, &limit), 0);
        const rlimit lowered{rlim_t(QDir(QStringLiteral("/proc/self/fd")).count() + 16), limit.rlim_max};
        QCOMPARE(::setrlimit(RLIMIT_NOFILE, &lowered), 0);
        std::vector<int> filler;
        for (int fd = ::open("/dev/null", O_RDONLY); fd >= 0; fd = ::open("/dev/null", O_RDONLY))
            filler.push_back(fd);
        ::close(filler.back()); // room for one client, none for the listener's side
        filler.pop_back();
        QTcpSocket client;
        client.connectToHost(QHostAddress::LocalHost, listener.port);
        QTest::qWait(300);
        for (int fd : filler)
            ::close(fd);
        ::setrlimit(RLIMIT_NOFILE, &limit);

        const QByteArray answer = exchange(listener.port, redirectRequest(listener.state));
        QVERIFY2(answer.startsWith("HTTP/1.1 200"), answer.constData());
    }

    // Only the redirect of this sign-in, with a code, is "connected"; it uses the state up
    // and closes the listener.
    void dropboxRedirect_isAnsweredTruthfully_andClosesTheListener()
    {
        AnyListener listener(QStringLiteral("dropbox"));
        QSignalSpy codes(&listener.dropbox, &QDropboxAuthSocket::codeReceived);
        const QByteArray notConnected = "HTTP/1.1 400";
        QVERIFY(exchange(listener.port, redirectRequest("forged")).startsWith(notConnected));
        QVERIFY(exchange(listener.port, "GET /?code=c0de HTTP/1.1\r\n\r\n").startsWith(notConnected));
        QVERIFY(exchange(listener.port, "GET /?state=" + listener.state.toLatin1() + " HTTP/1.1\r\n\r\n")
                    .startsWith(notConnected));
        QVERIFY(exchange(listener.port, "GET /?code=c0de&state=" + listener.state.toLatin1(), 1000).isEmpty()); // not complete
        const QByteArray answer = exchange(listener.port, redirectRequest(listener.state));
        QVERIFY2(answer.startsWith("HTTP/1.1 200") && answer.contains("connected"), answer.constData());
        QTRY_COMPARE(codes.count(), 1);
        QCOMPARE(codes.first().first().toString(), QStringLiteral("c0de"));
        QVERIFY(!listener.dropbox.isListening());
    }

    void listenFailure_showsErrorStartSocket_andEndsTheProgramTenSecondsLater()
    {
        // A series of one port, taken beforehand, so that the listener finds none free
        // (the real series stays free for other programs running meanwhile).
        QTcpServer blocker;
        QVERIFY(blocker.listen(QHostAddress::LocalHost));
        ServerListener::setPortSeries({{blocker.serverPort(), blocker.serverPort()}});
        QStringList shown;
        int exits = 0;
        NetworkHooks::showInformation() = [&shown](const QString &text) { shown << text; };
        NetworkHooks::exitApp() = [&exits] { ++exits; };
        Autorization account;
        QElapsedTimer timer;
        timer.start();
        account.listen();
        QCOMPARE(shown, QStringList{"Error start socket"});
        QTest::qWait(9000);
        QCOMPARE(exits, 0);
        QTRY_COMPARE_WITH_TIMEOUT(exits, 1, 3000);
        QVERIFY(timer.elapsed() >= 10000);
        ServerListener::setPortSeries({});
    }
};

QTEST_MAIN(TestServerListener)
#include "tst_serverlistener.moc"
