#pragma once

#include "upload/handleftpupload.h"

// The SFTP job: the FTP job over SSH. The server's host key is pinned at the first
// connection (the known-hosts file in the data folder); a changed key is refused.
class HandleSFTPUpload : public HandleFTPUpload
{
    Q_OBJECT
public:
    explicit HandleSFTPUpload(QObject *parent = nullptr);

public slots:
    // The SFTP connection probe: as HandleFTPUpload::checkConnect, always over SSH.
    void checkSftpConnect(QString user, QString password, QString host, QString path, int port = 22);

protected:
    bool isSftp() const override { return true; }
};
