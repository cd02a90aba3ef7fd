#pragma once

#include <QObject>
#include <QQueue>
#include <QUrl>

class QNetworkReply;
class QTemporaryFile;
class Session;

// Asks the service for the update information, downloads a newer package (over https
// from the service's own host only), checks its size and SHA-256 and leaves "Mavu.exe"
// in the update folder for the next start.
// Requests wait in a queue and are worked off one at a time.
class Updater : public QObject
{
    Q_OBJECT
public:
    explicit Updater(QObject *parent = nullptr);

    static QString updateExecutable();
    static constexpr int packageTimeoutMs = 300000;

public slots:
    void startUpdate();

signals:
    void noUpdate();
    void updateDownloaded(QString path);
    void updateFailed(QString reason);

private:
    struct Task
    {
        enum Kind { Information, Package } kind = Information;
        QUrl url;
        qint64 size = 0;
        QString sha256;
        QString format;
    };

    void workQueue();
    void requestInformation();
    void onInformation(QNetworkReply *reply);
    void requestPackage(const Task &task);
    QTemporaryFile *newPackageFile(QString *error);
    void onPackage(QNetworkReply *reply, const Task &task, const QString &packageFile);
    void finishTask();
    void fail(const QString &reason, const Session *session);

    QQueue<Task> m_queue;
    bool m_busy = false;
};
