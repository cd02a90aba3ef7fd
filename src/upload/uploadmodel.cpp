#include "uploadmodel.h"

#include "upload/handlerupload.h"

#include <QQmlEngine>

#include <algorithm>

UploadModel::UploadModel(QObject *parent)
    : QAbstractListModel(parent)
{
}

void UploadModel::registerQmlType()
{
    qmlRegisterType<UploadModel>("UploadModel", 1, 0, "UploadModel");
}

void UploadModel::addUploader(HandlerUpload *uploader)
{
    if (!uploader || m_uploaders.contains(uploader))
        return;
    beginInsertRows(QModelIndex(), m_uploaders.size(), m_uploaders.size());
    m_uploaders.append(uploader);
    endInsertRows();
    connect(uploader, &HandlerUpload::progressChanged, this, [this, uploader] { updateUploader(uploader); });
    connect(uploader, &HandlerUpload::archiveChanged, this, [this, uploader] { updateUploader(uploader); });
    connect(uploader, &HandlerUpload::readyLink, this, &UploadModel::linkReadyChanged);
    connect(uploader, &HandlerUpload::linkWithdrawn, this, &UploadModel::linkReadyChanged);
    connect(uploader, &HandlerUpload::finished, this, [this, uploader] { removeUploader(uploader); });
    connect(uploader, &QObject::destroyed, this, &UploadModel::removeUploader);
    emit countChanged();
}

HandlerUpload *UploadModel::uploader(int row) const
{
    return m_uploaders.value(row, nullptr);
}

bool UploadModel::isLinkReady() const
{
    return std::any_of(m_uploaders.begin(), m_uploaders.end(),
                       [](const HandlerUpload *job) { return !job->link().isEmpty(); });
}

int UploadModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_uploaders.size());
}

QVariant UploadModel::data(const QModelIndex &index, int role) const
{
    const HandlerUpload *job = uploader(index.row());
    if (!index.isValid() || !job)
        return QVariant();
    switch (role) {
    case DownloadRole:
        return job->download();
    case TotalRole:
        return job->total();
    case UploaderRole:
        return QVariant::fromValue(const_cast<HandlerUpload *>(job));
    case ArchiveRole:
        return job->isArchive();
    default:
        return QVariant();
    }
}

QHash<int, QByteArray> UploadModel::roleNames() const
{
    return {{DownloadRole, "download"},
            {TotalRole, "total"},
            {UploaderRole, "uploader"},
            {ArchiveRole, "archive"}};
}

void UploadModel::removeUploader(QObject *uploader)
{
    int row = -1;
    for (int i = 0; i < m_uploaders.size(); ++i) {
        if (m_uploaders.at(i) == uploader)
            row = i;
    }
    if (row < 0)
        return;
    beginRemoveRows(QModelIndex(), row, row);
    m_uploaders.removeAt(row);
    endRemoveRows();
    disconnect(uploader, nullptr, this, nullptr);
    emit countChanged();
    emit linkReadyChanged();
    if (m_uploaders.isEmpty())
        emit uploadComplete();
}

void UploadModel::updateUploader(QObject *uploader)
{
    for (int i = 0; i < m_uploaders.size(); ++i) {
        if (m_uploaders.at(i) == uploader)
            emit dataChanged(index(i), index(i), {DownloadRole, TotalRole, ArchiveRole});
    }
}
