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
    void readyLink(QString link);
    void readyLinkAfterUpload(QString link);
    // A translated text for the user (the controller shows it in the error window).
    void error(QString text);
    // A link reported by readyLink leads nowhere: its upload failed or was stopped.
    void linkWithdrawn(QString link);
    // A remark for the user beside an upload that goes on.
    void notice(QString text);
    void internetNotAvailable();

private:
    bool checkTotalSize(const QStringList &files);
    void startData(const QStringList &files, bool zip);
    void startJob(HandlerUpload *job);

    QList<QPointer<HandlerUpload>> m_uploaders;
};
