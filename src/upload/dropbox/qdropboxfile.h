#pragma once

#include <QJsonObject>
#include <QNetworkProxy>
#include <QObject>
#include <QPointer>
#include <QString>

class QFile;
class QNetworkAccessManager;
class QNetworkReply;

// One file sent to Dropbox and shared: files/upload, then a shared link. Lives in the
// worker thread of its job; the bytes are streamed from the file, never held in memory.
class QDropboxFile : public QObject
{
    Q_OBJECT
public:
    QDropboxFile(const QString &token, const QString &localFile, const QString &remotePath,
                 QObject *parent = nullptr);

    // Files above singleUpload bytes go in chunks of chunk bytes (tests make both small).
    static void setUploadLimits(qint64 singleUpload, qint64 chunk);
    // The proxy of the settings, read by the job in the GUI thread.
    void setProxy(const QNetworkProxy &proxy) { m_proxy = proxy; }

public slots:
    void start();
    void abort();

signals:
    void progress(qint64 sent, qint64 total);
    void uploaded(QString link);
    void failed(QString text);
    void unreachable();

private:
    QJsonObject commitInfo() const;
    void sendChunk();
    void chunkFinished();
    void uploadFinished();
    void requestSharedLink(const QString &path);
    void sharedLinkFinished();
    void fail(QNetworkReply *reply, const QByteArray &body);

    QString m_token;
    QString m_localFile;
    QString m_remotePath;
    QNetworkAccessManager *m_network = nullptr;
    QNetworkProxy m_proxy = QNetworkProxy(QNetworkProxy::NoProxy);
    QFile *m_body = nullptr;
    QPointer<QNetworkReply> m_reply;
    bool m_aborted = false;
    QString m_sessionId;
    qint64 m_offset = 0;
    qint64 m_chunkSize = 0;
};
