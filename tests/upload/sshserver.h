#pragma once

// A real sshd on 127.0.0.1 for the SFTP tests, with a throwaway host key and a
// throwaway system user that logs in with a password. Needs root (useradd, sshd).

#include "uploadtestsupport.h"

namespace UploadTest {

class SshServer
{
public:
    static bool isRoot() { return ::geteuid() == 0; }

    explicit SshServer(const QString &folder)
        : m_folder(folder)
        , m_user(QStringLiteral("mavu%1").arg(QCoreApplication::applicationPid()))
    {
        QDir().mkpath(folder);
    }

    ~SshServer()
    {
        stop();
        if (m_userCreated)
            QProcess::execute(QStringLiteral("userdel"), {m_user});
    }

    QString user() const { return m_user; }
    QString password() const { return QStringLiteral("sftp-pass-1"); }
    QString home() const { return m_folder + QStringLiteral("/home"); }
    quint16 port() const { return m_port; }

    bool createUser()
    {
        QProcess leftover; // a user of an earlier, crashed run with the same process id
        leftover.start(QStringLiteral("userdel"), {m_user});
        leftover.waitForFinished(10000);
        QDir().mkpath(home());
        if (QProcess::execute(QStringLiteral("useradd"), {QStringLiteral("-M"), QStringLiteral("-d"), home(),
                                                          QStringLiteral("-s"), QStringLiteral("/bin/sh"), m_user}) != 0)
            return false;
        m_userCreated = true;
        // The user must be able to walk down to its home folder.
        for (QDir dir(home()); !dir.isRoot(); dir.cdUp())
            QFile::setPermissions(dir.path(), QFile::permissions(dir.path()) | QFile::ExeOther | QFile::ExeGroup);
        QProcess chpasswd;
        chpasswd.start(QStringLiteral("chpasswd"));
        chpasswd.write((m_user + QLatin1Char(':') + password() + QLatin1Char('\n')).toUtf8());
        chpasswd.closeWriteChannel();
        chpasswd.waitForFinished(10000);
        return chpasswd.exitCode() == 0
            && QProcess::execute(QStringLiteral("chown"), {m_user, home()}) == 0;
    }

    // A new host key of the type ("ed25519", "rsa", "ecdsa") under the name.
    QString makeHostKey(const QString &name, const QString &type)
    {
        const QString key = m_folder + QLatin1Char('/') + name;
        QFile::remove(key);
        QFile::remove(key + QStringLiteral(".pub"));
        QProcess::execute(QStringLiteral("ssh-keygen"), {QStringLiteral("-q"), QStringLiteral("-t"), type, QStringLiteral("-N"),
                                                         QString(), QStringLiteral("-f"), key});
        return key;
    }

    bool start(const QString &hostKey, quint16 port = 0)
    {
        stop();
        m_port = port ? port : freePort();
        QDir().mkpath(QStringLiteral("/run/sshd"));
        const QString config = m_folder + QStringLiteral("/sshd_config");
        QFile file(config);
        if (!file.open(QIODevice::WriteOnly))
            return false;
        file.write(QStringLiteral("Port %1\nListenAddress 127.0.0.1\nHostKey %2\nPidFile %3/sshd.pid\n"
                                  "AuthorizedKeysFile none\nPasswordAuthentication yes\n"
                                  "KbdInteractiveAuthentication no\nPermitRootLogin no\nStrictModes no\nUsePAM no\n"
                                  "AllowUsers %4\nSubsystem sftp internal-sftp\nMaxStartups 50\n")
                       .arg(m_port).arg(hostKey, m_folder, m_user).toUtf8());
        file.close();
        m_process.setProcessChannelMode(QProcess::ForwardedOutputChannel);
        m_process.setStandardErrorFile(m_folder + QStringLiteral("/sshd.log"), QIODevice::Append);
        endWithParent(m_process);
        m_process.start(QStringLiteral("/usr/sbin/sshd"), {QStringLiteral("-D"), QStringLiteral("-e"), QStringLiteral("-f"), config});
        return waitForPort(m_port);
    }

    void stop() { stopProcess(m_process); }

private:
    QString m_folder;
    QString m_user;
    QProcess m_process;
    quint16 m_port = 0;
    bool m_userCreated = false;
};

} // namespace UploadTest
