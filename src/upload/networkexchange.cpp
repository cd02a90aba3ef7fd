#include "networkexchange.h"

#include "settings/debuglog.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "upload/dropbox/handledropboxupload.h"
#include "upload/handleftpupload.h"
#include "upload/handlesftpupload.h"
#include "upload/dropbox/qdropboxauth.h"
#include "upload/uploadmodel.h"

#include <QDebug>
#include <QDirIterator>
#include <QFileInfo>
#include <QLocale>

#include <memory>

NetworkExchange::NetworkExchange(QObject *parent)
    : QObject(parent)
{
}

qint64 NetworkExchange::totalSize(const QStringList &files)
{
    qint64 total = 0;
    for (const QString &path : files) {
        const QFileInfo info(path);
        if (!info.isDir()) {
            total += info.size();
            continue;
        }
        QDirIterator it(path, QDir::Files | QDir::Hidden | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            it.next();
            total += it.fileInfo().size();
        }
    }
    return total;
}

HandlerUpload *NetworkExchange::createUploader(HandlerUpload::TargetUpload target, QObject *parent)
{
    switch (target) {
    case HandlerUpload::TargetFtp:
        return new HandleFTPUpload(parent);
    case HandlerUpload::TargetSftp:
        return new HandleSFTPUpload(parent);
    case HandlerUpload::TargetDropbox:
        return new HandleDropboxUpload(parent);
    case HandlerUpload::TargetMavu:
    case HandlerUpload::TargetGoogle:
        break;
    }
    return new HandlerUpload(parent);
}

void NetworkExchange::registerQmlTypes()
{
    UploadModel::registerQmlType();
    HandleFTPUpload::registerQmlType();
    DropboxAuth::registerQmlType();
}

QList<HandlerUpload *> NetworkExchange::uploaders() const
{
    QList<HandlerUpload *> jobs;
    for (const QPointer<HandlerUpload> &job : m_uploaders) {
        if (job)
            jobs.append(job);
    }
    return jobs;
}

void NetworkExchange::uploadScreen(QString file, QString description, HandlerUpload::TypeAfterAction action)
{
    HandlerUpload *job = createUploader(HandlerUpload::targetFromSettings(), this);
    job->setDescription(description);
    job->setFiles({file});
    job->setAfterAction(action);
    job->setTypeUpload(HandlerUpload::TypeScreen);
    startJob(job);
}

void NetworkExchange::uploadData(QStringList files)
{
    startData(files, false);
}

void NetworkExchange::uploadDataZip(QStringList files)
{
    startData(files, true);
}

void NetworkExchange::startData(const QStringList &files, bool zip)
{
    if (!checkTotalSize(files))
        return;
    HandlerUpload *job = createUploader(HandlerUpload::targetFromSettings(), this);
    job->setFiles(files);
    job->setTypeUpload(HandlerUpload::TypeData);
    job->setZip(zip);
    startJob(job);
}

// The account's limit; while it is unknown (no account information yet) nothing is refused.
bool NetworkExchange::checkTotalSize(const QStringList &files)
{
    const qint64 limit = Setting::instance()->getValue(SettingKeys::maxPostSize).toLongLong();
    if (limit <= 0)
        return true;
    const qint64 total = totalSize(files);
    if (total <= limit)
        return true;
    qCDebug(lcMavu) << Q_FUNC_INFO << "total" << total << "over the limit" << limit;
    emit error(tr("Max upload total size %1").arg(QLocale().formattedDataSize(limit)),
               HandlerUpload::unsentCapture(files));
    return false;
}

void NetworkExchange::startJob(HandlerUpload *job)
{
    const int number = ++m_jobsStarted;
    connect(job, &HandlerUpload::startUpload, this, &NetworkExchange::startUpload);
    connect(job, &HandlerUpload::readyLink, this, [this, number](const QString &link) { emit readyLink(link, number); });
    const auto handedBack = std::make_shared<bool>(false);
    connect(job, &HandlerUpload::error, this, [this, job, handedBack](const QString &text) {
        *handedBack = true;
        emit error(text, job->unsentCapture());
    });
    connect(job, &HandlerUpload::linkWithdrawn, this, &NetworkExchange::linkWithdrawn);
    connect(job, &HandlerUpload::notice, this, &NetworkExchange::notice);
    connect(job, &HandlerUpload::readyLinkAfterUpload, this,
            [this, number](const QString &link) { emit readyLinkAfterUpload(link, number); });
    connect(job, &HandlerUpload::internetNotAvailable, this, [this, job, handedBack] {
        *handedBack = true;
        emit internetNotAvailable(job->unsentCapture());
    });
    connect(job, &HandlerUpload::finished, this, [this, job, handedBack] {
        m_uploaders.removeAll(job);
        if (!*handedBack && !job->unsentCapture().isEmpty())
            emit captureReleased(job->unsentCapture());
    });
    m_uploaders.append(job);
    job->start();
}

void NetworkExchange::cancelUpload()
{
    const QList<QPointer<HandlerUpload>> jobs = m_uploaders;
    m_uploaders.clear();
    for (const QPointer<HandlerUpload> &job : jobs) {
        if (job)
            job->stopUpload();
    }
}
