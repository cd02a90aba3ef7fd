#pragma once

#include "upload/handlerupload.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QStringList>

// The upload dispatcher: turns a capture or a set of files and folders into one upload
// job for the destination of the settings and relays the job's signals as its own.
class NetworkExchange : public QObject
{
    Q_OBJECT
public:
    explicit NetworkExchange(QObject *parent = nullptr);

    // Bytes of the listed paths, folders counted recursively.
    static qint64 totalSize(const QStringList &files);
    // The job class for a destination (not started).
    static HandlerUpload *createUploader(HandlerUpload::TargetUpload target, QObject *parent);

    QList<HandlerUpload *> uploaders() const;

    // The pipeline's QML types: "UploadModel" 1.0 UploadModel, "MavuComponent" 1.0
    // HandleFTPUpload and "Core" 1.0 DropboxAuth. The core calls it once at start.
    static void registerQmlTypes();

public slots:
    void uploadScreen(QString file, QString description,
                      HandlerUpload::TypeAfterAction action = HandlerUpload::ActionNone);
    void uploadData(QStringList files);
    void uploadDataZip(QStringList files);
    // Stops every job, in list order, and empties the list.
    void cancelUpload();

signals:
    void startUpload();
    // Jobs are numbered as they start (1, 2, ...): a higher number is a newer capture.
    void readyLink(QString link, int job = 0);
    void readyLinkAfterUpload(QString link, int job = 0);
    // A translated text for the user (the controller shows it in the error window). A
    // capture that did not go up is named, so that the user can still save it.
    void error(QString text, QString capture = QString());
    // A link reported by readyLink leads nowhere: its upload failed or was stopped.
    void linkWithdrawn(QString link);
    // A remark for the user beside an upload that goes on.
    void notice(QString text);
    void internetNotAvailable(QString capture = QString());
    // The job of a capture ended without handing it back through error or
    // internetNotAvailable: it went up, or the user stopped it.
    void captureReleased(QString capture);

private:
    bool checkTotalSize(const QStringList &files);
    void startData(const QStringList &files, bool zip);
    void startJob(HandlerUpload *job);

    QList<QPointer<HandlerUpload>> m_uploaders;
    int m_jobsStarted = 0;
};
