#pragma once

#include <QAtomicInt>
#include <QHash>
#include <QObject>
#include <QSqlDatabase>
#include <QStringList>
#include <QThread>
#include <QVariant>

// Lives in the database thread: owns the connection and carries out the requests
// one at a time, in the order they were sent.
class SqlWorker : public QObject
{
    Q_OBJECT
public:
    explicit SqlWorker(const QString &connectionName);

    // Every stored value by name, read in one go. False when the table cannot be read:
    // *held then tells whether another program holds the file (tableRead() follows once
    // it is free) or the file cannot serve at all.
    bool readTable(QVariantHash *table, bool *held);

    QStringList openProblems() const { return m_openProblems; }
    bool isReadOnly() const { return m_readOnly; }

public slots:
    void connectToDatabase(QString name);
    void execute(QString query, QVariantList param);
    void sync();
    // The store holds the table that tableRead() brought: the writes it sends from now on
    // are made on the stored values and are kept.
    void keepWrites();

signals:
    // A write was refused for good (read-only file, full disk, ...); emitted per batch.
    void writeFailed(QString reason);
    // Another program holds the database while the program runs (emitted once per spell).
    void databaseLocked();
    // The file that another program held since the start is free: its stored values.
    void tableRead(QVariantHash table);
    // What the user must know and was found after opening (a damaged file kept aside).
    void problemFound(QString text);

private:
    bool openFile(const QString &name);
    void createDataBase();
    bool createEmptyFile(const QString &name);
    QString damage(bool *locked);
    void waitForHeldFile();
    bool readHeldTable();
    QString keepAsideAndRecreate(const QString &damage);
    QSqlDatabase database() const;
    void flushWrites();
    bool writePending();
    void scheduleFlush(int delayMs);
    void setBusyTimeout(int msecs);
    void noteBusy();
    void scheduleRetry();
    void retryAfterLock();

    struct Write
    {
        QString query;
        QVariantList param;
    };
    QString m_connectionName;
    QString m_fileName;
    QList<Write> m_pendingWrites;
    bool m_flushScheduled = false;
    bool m_locked = false; // held by another program: requests do not wait for it
    bool m_retryScheduled = false;
    // Held by another program since the start: its table is not read yet.
    bool m_tableUnread = false;
    // Writes made on the defaults, while the stored values were unknown, are not kept: they
    // would overwrite what the file holds.
    bool m_dropWrites = false;
    QStringList m_openProblems;
    bool m_readOnly = false;
};

// The settings database thread. Called from the GUI thread: opening and reads wait for
// the answer, writes are handed over without waiting. Requests are carried out one at a
// time, in the order they were made. Opening and reads are blocking queued calls: the
// caller waits without an event loop of its own, so no other event (a timer, input, a
// deletion, another read) runs in the middle of a read.
class SqlDatabase : public QThread
{
    Q_OBJECT
public:
    // Opening a database file that another process holds locked waits this long; a file
    // still locked then is read once it is free, while the program runs on the defaults.
    static int busyTimeoutMs() { return s_busyTimeoutMs; }
    // For tests, which wait less; applies to databases opened afterwards.
    static void setBusyTimeoutMs(int msecs) { s_busyTimeoutMs = msecs; }
    // Once open, a request waits at most this long for another program's brief
    // transaction; a longer hold counts as locked (see SqlWorker).
    static constexpr int runningBusyTimeoutMs = 200;
    // The name that opens a database in memory only, for a run whose data folder is refused.
    static const QString inMemory;

    explicit SqlDatabase(QObject *parent = nullptr,
                         const QString &connectionName = QLatin1String(QSqlDatabase::defaultConnection));
    ~SqlDatabase() override;

    bool connectToDatabase(const QString &name);
    // What the user must know after opening: a damaged file kept aside, a read-only file,
    // a file that cannot be opened. Empty when all is well.
    QStringList openProblems() const;
    bool isReadOnly() const;
    // See SqlWorker::readTable.
    bool readTable(QVariantHash *table, bool *held);
    // See SqlWorker::keepWrites.
    void keepWrites();
    void exequte(const QString &query, const QVariantList &param);
    // Returns once every request sent before it has been carried out.
    void sync();

signals:
    void startExecuted(QString query, QVariantList param);
    void startConnect(QString database);
    void writeFailed(QString reason);
    void databaseLocked();
    void tableRead(QVariantHash table);
    void problemFound(QString text);

protected:
    void run() override;

private:
    // Long enough for another program's brief transaction, short enough that a file held
    // for longer does not hold back the tray icon and the hotkeys.
    static inline int s_busyTimeoutMs = 1000;
    SqlWorker *m_worker = nullptr;
    QAtomicInt m_ready;
    QString m_connectionName;
};
