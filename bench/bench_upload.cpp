// Upload speed of the FTP and SFTP jobs against `curl -T` of the same 50 MB file to the
// same loopback server, in one run. The SFTP part needs root (test user, sshd).
// Run with a throw-away HOME:  HOME=$(mktemp -d) QT_QPA_PLATFORM=offscreen ./bench_upload

#include "../tests/upload/sshserver.h"

#include "core.h"
#include "upload/curltransfer.h"
#include "upload/handleftpupload.h"
#include "upload/networkexchange.h"

#include <QElapsedTimer>
#include <QLoggingCategory>
#include <QTest>

using namespace UploadTest;

namespace {

constexpr qint64 fileSize = 50 * 1024 * 1024;
constexpr int rounds = 9;

// Wall time in ms of one `curl -T`.
qint64 curlTime(const QStringList &arguments)
{
    QElapsedTimer timer;
    timer.start();
    return QProcess::execute(QStringLiteral("curl"), arguments) == 0 ? timer.elapsed() : -1;
}

qint64 median(QList<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values.at(values.size() / 2);
}

// Wall time in ms of one upload job from start to its link.
qint64 jobTime(NetworkExchange *exchange, const QString &file)
{
    QEventLoop loop;
    QString failure;
    QObject::connect(exchange, &NetworkExchange::readyLinkAfterUpload, &loop, &QEventLoop::quit);
    QObject::connect(exchange, &NetworkExchange::error, &loop, [&](const QString &text) {
        failure = text;
        loop.quit();
    });
    QTimer::singleShot(120000, &loop, [&] {
        failure = QStringLiteral("timed out");
        loop.quit();
    });
    QElapsedTimer timer;
    timer.start();
    exchange->uploadData({file});
    loop.exec();
    const qint64 elapsed = timer.elapsed();
    if (!failure.isEmpty()) {
        qWarning() << "upload failed:" << failure;
        return -1;
    }
    return elapsed;
}

// Wall time in ms of the bare libcurl transfer of the job, without the job around it.
qint64 transferTime(const CurlTarget &target, const QString &file)
{
    CurlTransfer transfer(target);
    QElapsedTimer timer;
    timer.start();
    const CurlOutcome outcome = transfer.upload(file, QStringLiteral("bare.bin"), nullptr);
    return outcome.ok ? timer.elapsed() : -1;
}

void report(const char *name, qint64 ours, qint64 curl)
{
    const double mb = double(fileSize) / (1024 * 1024);
    qInfo("%s: Mavu %lld ms (%.1f MB/s), curl -T %lld ms (%.1f MB/s), throughput ratio %.2f", name,
          ours, mb * 1000 / ours, curl, mb * 1000 / curl, double(curl) / double(ours));
}

} // namespace

class UploadBenchmark : public QObject
{
    Q_OBJECT

    QTemporaryDir m_scratch;
    QString m_file;
    NetworkExchange *m_exchange = nullptr;
    FtpServer m_ftp;
    std::unique_ptr<SshServer> m_ssh;

    // Median times of the job and of curl, taken in turns so that both see the same machine.
    // Every round writes new files, as real uploads do: the server's copies of the last
    // round are removed first, outside the timing.
    QPair<qint64, qint64> compare(const QStringList &curlArguments, const QString &serverFolder)
    {
        QList<qint64> ours;
        QList<qint64> curl;
        for (int i = 0; i < rounds; ++i) {
            clearServerCopies(serverFolder);
            curl.append(curlTime(curlArguments));
            ours.append(jobTime(m_exchange, m_file));
        }
        if (curl.contains(-1) || ours.contains(-1))
            return {-1, -1};
        return {median(ours), median(curl)};
    }

    static void clearServerCopies(const QString &folder)
    {
        for (const QString &name : {QStringLiteral("curl.bin"), QStringLiteral("bench.bin"), QStringLiteral("bare.bin")})
            QFile::remove(folder + QLatin1Char('/') + name);
        ::sync();
    }

private slots:
    void initTestCase()
    {
        QLoggingCategory::setFilterRules(QStringLiteral("*.debug=false"));
        Setting::instance()->setValue(SettingKeys::token, QStringLiteral("bench-token"));
        m_file = makeFile(m_scratch.filePath(QStringLiteral("bench.bin")), fileSize);
        m_exchange = new NetworkExchange(Core::instance());
        QVERIFY(m_ftp.start(m_scratch.filePath(QStringLiteral("ftproot"))));
        if (SshServer::isRoot()) {
            m_ssh = std::make_unique<SshServer>(m_scratch.filePath(QStringLiteral("ssh")));
            QVERIFY(m_ssh->createUser());
            QVERIFY(m_ssh->start(m_ssh->makeHostKey(QStringLiteral("key"), QStringLiteral("ed25519"))));
        }
    }

    void cleanupTestCase()
    {
        delete m_exchange;
        m_ssh.reset();
    }

    void ftp_versusCurl()
    {
        FtpServer &server = m_ftp;
        setValues({{SettingKeys::typeUpload, QStringLiteral("ftp")}, {SettingKeys::isSftp, 0},
                   {SettingKeys::ftpHost, QStringLiteral("127.0.0.1")}, {SettingKeys::ftpPort, server.port()},
                   {SettingKeys::ftpPath, QString()}});
        Setting::instance()->setValue(SettingKeys::ftpUser, QStringLiteral("user"), true);
        Setting::instance()->setValue(SettingKeys::ftpPassword, QStringLiteral("pass"), true);

        const auto [ours, curl] = compare({QStringLiteral("-s"), QStringLiteral("-u"), QStringLiteral("user:pass"),
                                           QStringLiteral("-T"), m_file,
                                           QStringLiteral("ftp://127.0.0.1:%1/curl.bin").arg(server.port())},
                                          server.root());
        QVERIFY(curl > 0 && ours > 0);
        report("FTP", ours, curl);
        QList<qint64> bare;
        for (int i = 0; i < rounds; ++i) {
            clearServerCopies(server.root());
            bare.append(transferTime(HandleFTPUpload::targetFromSettings(false), m_file));
        }
        qInfo("FTP transfer alone: %lld ms", median(bare));
        QBENCHMARK_ONCE {
            jobTime(m_exchange, m_file);
        }
    }

    void sftp_versusCurl()
    {
        if (!m_ssh)
            QSKIP("needs root for the SFTP user and sshd");
        SshServer &server = *m_ssh;
        setValues({{SettingKeys::typeUpload, QStringLiteral("ftp")}, {SettingKeys::isSftp, 1},
                   {SettingKeys::sftpHost, QStringLiteral("127.0.0.1")}, {SettingKeys::sftpPort, server.port()},
                   {SettingKeys::sftpPath, QString()}});
        Setting::instance()->setValue(SettingKeys::sftpUser, server.user(), true);
        Setting::instance()->setValue(SettingKeys::sftpPassword, server.password(), true);

        const auto [ours, curl] = compare({QStringLiteral("-s"), QStringLiteral("-k"), QStringLiteral("-u"),
                                           server.user() + QLatin1Char(':') + server.password(), QStringLiteral("-T"),
                                           m_file, QStringLiteral("sftp://127.0.0.1:%1/~/curl.bin").arg(server.port())},
                                          server.home());
        QVERIFY(curl > 0 && ours > 0);
        report("SFTP", ours, curl);
        QBENCHMARK_ONCE {
            jobTime(m_exchange, m_file);
        }
    }
};

QTEST_MAIN(UploadBenchmark)
#include "bench_upload.moc"
