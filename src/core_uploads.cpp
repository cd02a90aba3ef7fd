// Files named outside the capture flow go up here, and the FTP/SFTP panel probes its
// server through here.

#include "core.h"

#include "commandline.h"
#include "upload/handleftpupload.h"
#include "upload/networkexchange.h"
#include "upload/uploadmodel.h"

#include <QDebug>
#include <QFileInfo>

UploadModel *Core::uploadModel()
{
    if (!m_uploadModel) {
        m_uploadModel = new UploadModel(this);
        connect(m_uploadModel, &UploadModel::uploadComplete, this, &Core::showLastUploadPage);
    }
    return m_uploadModel;
}

// Keeps the paths that exist and can be read; each missing one gets its own error window.
QStringList Core::usablePaths(const QStringList &paths, const QString &logPrefix)
{
    QStringList usable;
    for (const QString &path : paths) {
        if (path.isEmpty()) {
            qDebug().noquote() << logPrefix << "Skipping empty file path";
            continue;
        }
        if (isForeignTemporaryScreenshot(path)) {
            qDebug().noquote() << logPrefix << "Skipping temporary screenshot" << path;
            continue;
        }
        const QFileInfo info(path);
        if (info.exists() && info.isReadable()) {
            usable.append(path);
            continue;
        }
        qDebug().noquote() << logPrefix << "File not found:" << path;
        showErrorWidget(tr("File not found"));
    }
    return usable;
}

void Core::uploadData(QStringList paths)
{
    if (!checkAutorization())
        return;
    const QStringList usable = usablePaths(paths, QStringLiteral("Core::uploadData:"));
    if (usable.isEmpty()) {
        qDebug() << "Core::uploadData: No valid files to upload after filtering";
        return;
    }
    uploadModel();
    m_lastCaptureFile.clear();
    m_networkExchange->uploadData(usable);
}

void Core::uploadDataZip(QStringList paths)
{
    qDebug() << "Core::uploadDataZip:" << paths;
    if (!checkAutorization())
        return;
    const QStringList usable = usablePaths(paths, QStringLiteral("Core::uploadDataZip:"));
    if (usable.isEmpty())
        return;
    uploadModel();
    m_lastCaptureFile.clear();
    m_networkExchange->uploadDataZip(usable);
}

void Core::checkFtpConnecrion(QString username, QString password, QString host, QString path, int port)
{
    qDebug() << "void Core::checkFtpConnecrion(QString, QString, QString, QString, int)";
    auto *probe = new HandleFTPUpload(this);
    connect(probe, &HandleFTPUpload::checkConnectFinished, this, &Core::checkConnectionFinished);
    probe->checkConnect(username, password, host, path, port);
    connect(probe, &HandleFTPUpload::checkConnectFinished, probe, &QObject::deleteLater);
}
