#include "handlesftpupload.h"

#include <QDebug>
#include <QPointer>

HandleSFTPUpload::HandleSFTPUpload(QObject *parent)
    : HandleFTPUpload(parent)
{
}

void HandleSFTPUpload::checkSftpConnect(QString user, QString password, QString host, QString path, int port)
{
    qDebug() << Q_FUNC_INFO << host << port;
    CurlTarget target = targetFromSettings(true);
    target.user = user;
    target.password = password;
    target.host = host.trimmed();
    target.path = path;
    target.port = port;
    QPointer<HandleSFTPUpload> self(this);
    ConnectionProbe::run(target, this, [self] {
        if (self)
            emit self->checkConnectFinished();
    });
}
