#pragma once

#include "upload/handlerupload.h"

class QThread;
class QDropboxFile;

// The Dropbox job: the file goes to the root of the user's Dropbox app folder and is
// shared; the shared link is the job's link. The HTTP exchange runs in a worker thread
// of the job's own for the time of one upload.
class HandleDropboxUpload : public HandlerUpload
{
    Q_OBJECT
public:
    explicit HandleDropboxUpload(QObject *parent = nullptr);
    ~HandleDropboxUpload() override;

protected:
    void transferFile(const QString &file) override;
    void abortTransfer() override;
    QString fallbackSettingKey() const override;

private:
    void endThread();

    QThread *m_thread = nullptr;
    QDropboxFile *m_worker = nullptr;
};
