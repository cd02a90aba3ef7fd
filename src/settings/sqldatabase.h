#pragma once

#include <QAtomicInt>
#include <QObject>
#include <QSqlDatabase>
#include <QThread>
#include <QVariant>

// Lives in the database thread: owns the connection and carries out the requests
// one at a time, in the order they were sent.
class SqlWorker : public QObject
{
    Q_OBJECT
public:
    explicit SqlWorker(const QString &connectionName);

    QVariant readValue(const QString &name);

public slots:
    void connectToDatabase(QString name);
    void execute(QString query, QVariantList param);
    void sync();

private:
    void createDataBase();
    bool createEmptyFile(const QString &name);
    QSqlDatabase database() const;
    void flushWrites();

    struct Write
    {
        QString query;
        QVariantList param;
    };
    QString m_connectionName;
    QList<Write> m_pendingWrites;
};

// The settings database thread. Called from the GUI thread: opening and reads wait for
// the answer, writes are handed over without waiting. Requests are carried out one at a
// time, in the order they were made.
class SqlDatabase : public QThread
{
    Q_OBJECT
public:
    explicit SqlDatabase(QObject *parent = nullptr,
                         const QString &connectionName = QLatin1String(QSqlDatabase::defaultConnection));
    ~SqlDatabase() override;

    bool connectToDatabase(const QString &name);
    QVariant getData(const QString &name);
    void exequte(const QString &query, const QVariantList &param);
    // Returns once every request sent before it has been carried out.
    void sync();

signals:
    void startExecuted(QString query, QVariantList param);

protected:
    void run() override;

private:
    SqlWorker *m_worker = nullptr;
    QAtomicInt m_ready;
    QString m_connectionName;
};
