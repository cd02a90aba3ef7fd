#pragma once

#include <QByteArrayList>
#include <QHash>
#include <QSet>
#include <QCoreApplication>
#include <QString>
#include <QThread>

#include <atomic>
#include <functional>

// Where an FTP or SFTP transfer goes. Credentials travel as values, never through the
// URL, so that they cannot reach an error text or a log line.
struct CurlTarget
{
    bool sftp = false;
    QString host;
    int port = 0;
    QString path;          // folder on the server; empty means the login folder
    QString user;
    QString password;
    QString knownHostsFile; // SFTP only: where host keys are pinned

    // "ftp://host:port/folder/" or "sftp://host:port/folder/" without credentials.
    QString folderUrl() const;
    // Path of a file in the folder as the server commands want it: SFTP quote commands take
    // server paths, FTP commands run from the login folder before curl enters the folder.
    QString commandPath(const QString &name) const;
};

struct CurlOutcome
{
    bool ok = false;
    bool aborted = false;
    QString errorText;   // translated text for the user, empty when ok
    int code = 0;        // the libcurl result
    QString notice;      // a remark for the user beside success
    QString storedName;  // the name the upload got on the server
};

// One blocking libcurl transfer: an easy handle driven by the multi interface, so that a
// running upload can be aborted from another thread at once.
class CurlTransfer
{
    Q_DECLARE_TR_FUNCTIONS(CurlTransfer)

public:
    using Progress = std::function<void(qint64 sent, qint64 total)>;

    explicit CurlTransfer(const CurlTarget &target);

    // Uploads the local file under remoteName, or under a numbered name ("a_2.png") when a
    // file of that name is there already: an upload never replaces another one, also not
    // one that ends at the same time. The bytes go to a short temporary name first (a name
    // near the length limit leaves no room for a suffix) and are renamed when complete, so
    // an aborted transfer never leaves a file under the final name; a failed or cancelled
    // upload removes its temporary file, and a cancel that comes while the file is being
    // placed removes the placed file. What earlier uploads could not remove from the folder
    // goes with a later upload there (see removeLeftovers).
    CurlOutcome upload(const QString &localFile, const QString &remoteName, const Progress &progress);
    // remoteName with "_n" before its extension (n > 1), shortened to fit the length limit of names.
    static QString numberedName(const QString &remoteName, int n);
    // Logs in and lists the folder.
    CurlOutcome probe();
    // Thread-safe: makes the running transfer end as soon as possible.
    void abort();

    static constexpr long uploadBufferSize = 512 * 1024;

    static CurlOutcome failure(const QString &text, int code);
    static CurlOutcome cancelled();

    // A temporary file or a lock folder that nothing has changed for this long belongs to
    // an upload that has ended: a running one writes at least once a minute (the stall
    // limit) and holds a lock for a few commands.
    static constexpr qint64 abandonedAfterSecs = 10 * 60;

private:
    enum class Placement { Placed, Taken, Failed };
    // How a command meets a cancel: a transfer stops at once; a step whose outcome must be
    // known (a lock made, a file renamed) runs to its end; a cleanup runs after a cancel too,
    // with a short time limit.
    enum class Run { Abortable, ToTheEnd, Cleanup };
    struct RemoteEntry
    {
        qint64 modified = -1; // seconds since the epoch, server time; -1 unknown
        bool folder = false;
    };

    CurlOutcome listFolder(QByteArray *names = nullptr);
    CurlOutcome sendPart(const QString &localFile, const QString &partName, bool *started);
    CurlOutcome placeUnderFreeName(const QString &partName, const QString &remoteName);
    Placement renameSftp(const QString &partName, const QString &name, CurlOutcome *outcome);
    Placement renameFtp(const QString &partName, const QString &name, CurlOutcome *outcome);
    Placement renameWithoutLock(const QString &partName, const QString &name, const QString &lockName,
                                CurlOutcome *outcome);
    QByteArrayList renameCommands(const QString &partName, const QString &name) const;
    // Runs server commands, then looks at the named file of the folder, or at a folder in it
    // when the name ends in "/" (the folder itself for an empty name).
    CurlOutcome command(const QByteArrayList &commands, const QString &name = QString(), Run run = Run::Abortable);
    bool remoteExists(const QString &name);
    bool removeRemote(const QString &name);

    // Leftovers of uploads that ended before they could clean up (curltransfer_leftovers.cpp).
    static QString temporaryName();
    static QString lockNameOf(const QString &name);
    CurlOutcome lockAndLook(const QString &lockName, const QString &name, const QString &partName);
    bool takeOverAbandonedLock(const QString &lockName, const QString &partName);
    bool removeAbandonedLock(const QString &lockName, qint64 seenModified);
    void unlock(const QString &lockName);
    void removeLeftovers(const QString &storedName);
    bool owedIfUnlooked(QSet<QString> *owed) const;
    bool removeLeftover(const QString &name, const RemoteEntry &entry);
    void removeOrOwe(const QString &partName);
    bool leftoverNames(QStringList *names);
    QHash<QString, RemoteEntry> remoteEntries(const QStringList &names);
    QHash<QString, RemoteEntry> listedFacts(const QStringList &names);
    static QHash<QString, RemoteEntry> factsOf(const QByteArray &replies);
    qint64 fileTime(const QString &name);
    QString folderKey() const;

    CurlOutcome perform(void *easy, bool abortable = true);
    CurlOutcome performMulti(void *easy, bool abortable);
    void qualifyPinnedKey(const QByteArrayList &knownBefore);
    CurlOutcome outcomeOf(int code) const;
    void applyCommon(void *easy);

    CurlTarget m_target;
    std::atomic_bool m_abort{false};
    bool m_abortable = true; // the running transfer ends on abort (a cleanup does not)
    std::atomic<void *> m_multi{nullptr};
    bool m_hostKeyChanged = false;
    bool m_pinnedNow = false;
    Progress m_progress;
    qint64 m_lastProgressMs = 0;
    qint64 m_uploadSize = 0;
    QByteArray m_replies; // the server's replies to the last command (FTP)

    friend struct CurlCallbacks;
};

// The worker thread of one FTP or SFTP job.
class CurlUploadThread : public QThread
{
    Q_OBJECT
public:
    CurlUploadThread(const CurlTarget &target, const QString &localFile, const QString &remoteName,
                     QObject *parent = nullptr);
    ~CurlUploadThread() override;

    // Thread-safe; the thread then ends with an aborted outcome.
    void abort();

signals:
    void progress(qint64 sent, qint64 total);
    void transferFinished(bool ok, bool aborted, const QString &errorText, const QString &storedName);

protected:
    void run() override;

private:
    CurlTransfer m_transfer;
    QString m_localFile;
    QString m_remoteName;
};
