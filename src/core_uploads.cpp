// Files named outside the capture flow go up here, and the FTP/SFTP panel probes its
// server through here.

#include "core.h"

#include "commandline.h"
#include "platform/filearguments.h"
#include "settings/debuglog.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "upload/handleftpupload.h"
#include "upload/networkexchange.h"
#include "upload/uploadmodel.h"

#include <QDebug>
#include <QFileInfo>

#include <utility>

UploadModel *Core::uploadModel()
{
    if (!m_uploadModel) {
        m_uploadModel = new UploadModel(this);
        connect(m_uploadModel, &UploadModel::uploadComplete, this, &Core::showLastUploadPage);
    }
    return m_uploadModel;
}

// Keeps the regular files and folders that exist and can be read; each other path (missing,
// a device, a pipe) gets its own error window, which names it as the user did. A device
// never ends and a pipe would block.
// Another desktop's screenshot files come and go on their own: they are never reported.
QStringList Core::usablePaths(const QStringList &paths, const QString &logPrefix)
{
    QStringList usable;
    for (const QString &path : paths) {
        if (path.isEmpty()) {
            qCDebug(lcMavu).noquote() << logPrefix << "Skipping empty file path";
            continue;
        }
        if (isForeignTemporaryScreenshot(path)) {
            qCDebug(lcMavu).noquote() << logPrefix << "Skipping temporary screenshot" << path;
            continue;
        }
        const QFileInfo info(path);
        if ((info.isFile() || info.isDir()) && info.isReadable()) {
            usable.append(path);
            continue;
        }
        const QString name = FileArguments::shownName(path);
        qCDebug(lcMavu).noquote() << logPrefix << "File not found:" << name;
        if (!path.contains(QLatin1String("screencaptureui")))
            showErrorWidget(tr("File not found: %1").arg(name));
    }
    return usable;
}

// What a capture becomes and where it goes are the user's settings. While another program
// has held the settings file since the start they are unknown: the delivery waits for
// them rather than guess, and goes on, in the order given, once they are read. The user is
// told when the first delivery starts to wait; the ones after it would only repeat that.
bool Core::waitsForStoredSettings(const std::function<void()> &delivery)
{
    Setting *settings = Setting::instance();
    if (settings->knowsStoredValues())
        return false;
    connect(settings, &Setting::storedValuesRead, this, delivery, Qt::SingleShotConnection);
    if (!std::exchange(m_toldOfWait, true)) {
        connect(settings, &Setting::storedValuesRead, this, [this] { m_toldOfWait = false; }, Qt::SingleShotConnection);
        showTrayMessage(QStringLiteral("Mavu"),
                        tr("The settings file is in use by another program: the upload waits until it is free."));
    }
    return true;
}

void Core::uploadData(QStringList paths)
{
    if (waitsForStoredSettings([this, paths] { uploadData(paths); }))
        return;
    if (!checkAutorization())
        return;
    const QStringList usable = usablePaths(paths, QStringLiteral("Core::uploadData:"));
    if (usable.isEmpty()) {
        qCDebug(lcMavu) << "Core::uploadData: No valid files to upload after filtering";
        return;
    }
    uploadModel();
    m_lastCaptureFile.clear();
    m_networkExchange->uploadData(usable);
}

void Core::uploadDataZip(QStringList paths)
{
    qCDebug(lcMavu) << "Core::uploadDataZip:" << paths;
    if (waitsForStoredSettings([this, paths] { uploadDataZip(paths); }))
        return;
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
    const bool sftp = Setting::instance()->getValue(SettingKeys::isSftp).toBool();
    checkFtpConnecrion(username, password, host, path, port, sftp);
}

void Core::checkFtpConnecrion(QString username, QString password, QString host, QString path, int port, bool sftp)
{
    qCDebug(lcMavu) << "void Core::checkFtpConnecrion(QString, QString, QString, QString, int, bool)" << sftp;
    auto *probe = new HandleFTPUpload(this);
    connect(probe, &HandleFTPUpload::checkConnectFinished, this, &Core::checkConnectionFinished);
    probe->checkConnectOver(sftp, username, password, host, path, port);
    connect(probe, &HandleFTPUpload::checkConnectFinished, probe, &QObject::deleteLater);
}
