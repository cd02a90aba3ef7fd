#pragma once

#include <QObject>
#include <QPointer>
#include <QStringList>

#include <atomic>
#include <memory>

class QNetworkReply;
class QFile;
class NetworkAccessManager;

// One upload job: takes a capture or a set of files and folders, packs them into a zip
// archive when needed, sends the result to its destination and reports link, progress and
// errors. This class uploads to the service itself; the FTP, SFTP and Dropbox jobs derive
// from it and replace the transfer. A job lists itself in the core's UploadModel when it
// starts and deletes itself once it has finished or been stopped.
class HandlerUpload : public QObject
{
    Q_OBJECT
    Q_PROPERTY(qint64 download READ download NOTIFY progressChanged)
    Q_PROPERTY(qint64 total READ total NOTIFY progressChanged)
    Q_PROPERTY(bool archive READ isArchive NOTIFY archiveChanged)

public:
    enum TargetUpload { TargetMavu = 0, TargetFtp = 1, TargetSftp = 2, TargetDropbox = 3, TargetGoogle = 4 };
    Q_ENUM(TargetUpload)
    enum TypeUpload { TypeScreen = 0, TypeData = 1 };
    Q_ENUM(TypeUpload)
    enum TypeAfterAction {
        ActionNone = 0,
        ActionFacebook = 1,
        ActionOdnoklassniki = 2,
        ActionVK = 3,
        ActionTwitter = 4,
        ActionMail = 5
    };
    Q_ENUM(TypeAfterAction)

    explicit HandlerUpload(QObject *parent = nullptr);
    ~HandlerUpload() override;

    // The destination the settings select: "type_upload" with "is_sftp".
    static TargetUpload targetFromSettings();
    // The page that shares link for the action; an invalid URL for ActionNone.
    static QUrl afterActionUrl(TypeAfterAction action, const QString &link);

    void setFiles(const QStringList &files) { m_files = files; }
    void setDescription(const QString &description) { m_description = description; }
    void setAfterAction(TypeAfterAction action) { m_afterAction = action; }
    void setTypeUpload(TypeUpload type) { m_typeUpload = type; }
    // Pack everything, even a single file, into one zip archive before sending.
    void setZip(bool zip) { m_zip = zip; }

    QStringList files() const { return m_files; }
    QString description() const { return m_description; }
    TypeAfterAction afterAction() const { return m_afterAction; }
    TypeUpload typeUpload() const { return m_typeUpload; }
    bool isZip() const { return m_zip; }
    qint64 download() const { return m_download; }
    qint64 total() const { return m_total; }
    bool isArchive() const { return m_archive; }
    QString link() const { return m_link; }
    // The program's own file that this job sends (a capture or a voice comment, kept in the
    // temporary folder), which the user may still want when the upload fails; empty for
    // files the user named.
    QString unsentCapture() const { return unsentCapture(m_files); }
    static QString unsentCapture(const QStringList &files);

public slots:
    void start();
    // Ends the job at once: a running transfer is aborted, nothing is reported as
    // uploaded, and the job leaves the list and deletes itself.
    void stopUpload();

signals:
    void startUpload();
    void readyLink(QString link);
    void readyLinkAfterUpload(QString link);
    void error(QString text);
    // The link announced earlier leads nowhere: the upload behind it failed or was stopped.
    void linkWithdrawn(QString link);
    // A remark beside the upload, which goes on (e.g. files left out of the archive).
    void notice(QString text);
    void internetNotAvailable();
    void progressChanged(qint64 download, qint64 total);
    void archiveChanged(bool archive);
    // The job is over (uploaded, failed or stopped); it is deleted right after.
    void finished();

protected:
    // Sends one ready file (the capture, the file or the archive). Ends with
    // transferSucceeded or transferFailed.
    virtual void transferFile(const QString &file);
    // Stops the running transfer at once; nothing may be reported after it.
    virtual void abortTransfer();
    // Setting that asks to send a failed upload to the service instead; empty: never.
    virtual QString fallbackSettingKey() const { return QString(); }
    // The schemes a link of this destination may have: web links only, unless the
    // destination's own files are addressed otherwise.
    virtual QStringList linkSchemes() const;

    void setProgress(qint64 download, qint64 total);
    // The link is known before the transfer ends (the service's file record).
    void announceLink(const QString &link);
    void transferSucceeded(const QString &link);
    void transferFailed(const QString &text);
    // The service was not reached at all.
    void transferUnreachable();
    bool isStopped() const { return m_stopped; }
    // Name of the file on the server: the local name (a capture's stamp, the archive's name).
    QString remoteName() const;

private:
    bool checkFiles();
    bool checkLink(const QString &link);
    void withdrawLink();
    bool needsArchive() const;
    void startArchive();
    void archiveFinished(const QString &failure, const QStringList &leftOut);
    void setArchive(bool archive);
    void runAfterAction();
    void finish();

    // The service transfer (handlerupload_service.cpp).
    void startServiceUpload(const QString &file);
    void serviceRecordFinished();
    void startServiceBytes();
    void serviceBytesFinished();
    void abortServiceUpload();

    QStringList m_files;
    QString m_description;
    TypeAfterAction m_afterAction = ActionNone;
    TypeUpload m_typeUpload = TypeScreen;
    bool m_zip = false;

    QString m_sendFile;       // the file that goes over the wire
    QString m_archivePath;    // our archive, removed when the job ends
    qint64 m_download = 0;
    qint64 m_total = 0;
    bool m_archive = false;
    bool m_started = false;
    bool m_stopped = false;
    bool m_finished = false;
    bool m_fallbackUsed = false;
    bool m_linkAnnounced = false;
    QString m_link;
    std::shared_ptr<std::atomic_bool> m_cancelArchive;

    NetworkAccessManager *m_network = nullptr;
    QPointer<QNetworkReply> m_reply;
    QFile *m_serviceBody = nullptr;
    QString m_serviceFileId;
};
