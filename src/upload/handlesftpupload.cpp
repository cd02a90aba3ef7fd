#include "handlesftpupload.h"

HandleSFTPUpload::HandleSFTPUpload(QObject *parent)
    : HandleFTPUpload(parent)
{
}

void HandleSFTPUpload::checkSftpConnect(QString user, QString password, QString host, QString path, int port)
{
    checkConnectOver(true, user, password, host, path, port);
}
