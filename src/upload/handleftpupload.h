#pragma once

#include "upload/curltransfer.h"
#include "upload/handlerupload.h"

// The FTP job, and the FTP connection probe of the settings page. The transfer runs in
// a worker thread of its own for the time of one upload.
class HandleFTPUpload : public HandlerUpload
{
    Q_OBJECT
public:
    explicit HandleFTPUpload(QObject *parent = nullptr);

    // The QML type "HandleFTPUpload" in the module "MavuComponent" 1.0.
    static void registerQmlType();

    // The target of an upload from the FTP settings (or the SFTP ones).
    static CurlTarget targetFromSettings(bool sftp);
    // The public link of an uploaded file: the base URL of the settings plus the name,
    // or, without a base URL, the file's address on the server.
    static QString publicLink(const CurlTarget &target, const QString &baseUrl, const QString &name);

public slots:
    // Logs in with these values on the thread pool, tells the user the outcome and then
    // emits checkConnectFinished(). With "is_sftp" set the probe speaks SFTP.
    void checkConnect(QString user, QString password, QString host, QString path, int port = 21);
    // The same over the protocol given, whatever "is_sftp" holds.
    void checkConnectOver(bool sftp, QString user, QString password, QString host, QString path, int port);

signals:
    void checkConnectFinished();

protected:
    void transferFile(const QString &file) override;
    void abortTransfer() override;
    QString fallbackSettingKey() const override;
    QStringList linkSchemes() const override;

    virtual bool isSftp() const { return false; }

private:
    void threadFinished(bool ok, bool aborted, const QString &errorText, const QString &storedName);

    CurlTarget m_target;
    QString m_baseUrl;
    CurlUploadThread *m_thread = nullptr;

    friend class HandleSFTPUpload;
};

namespace ConnectionProbe {
// Runs a probe on the thread pool and reports it through the upload message seam on the
// receiver's thread; then calls done there.
void run(const CurlTarget &target, QObject *receiver, const std::function<void()> &done);
}
