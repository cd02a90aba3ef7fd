#pragma once

#include <QAbstractListModel>
#include <QList>

class HandlerUpload;

// The running upload jobs for the upload page: one row per job, added when the job
// starts and removed when it ends. uploadComplete() follows the removal of the last one.
class UploadModel : public QAbstractListModel
{
    Q_OBJECT
    Q_PROPERTY(int count READ rowCount NOTIFY countChanged)
    // A listed job has its link: it is on the clipboard.
    Q_PROPERTY(bool linkReady READ isLinkReady NOTIFY linkReadyChanged)

public:
    enum Roles {
        DownloadRole = Qt::UserRole + 1,
        TotalRole,
        UploaderRole,
        ArchiveRole
    };

    explicit UploadModel(QObject *parent = nullptr);

    // The QML type "UploadModel" in the module "UploadModel" 1.0.
    static void registerQmlType();

    void addUploader(HandlerUpload *uploader);
    HandlerUpload *uploader(int row) const;
    bool isLinkReady() const;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QHash<int, QByteArray> roleNames() const override;

signals:
    void uploadComplete();
    void countChanged();
    void linkReadyChanged();

private:
    void removeUploader(QObject *uploader);
    void updateUploader(QObject *uploader);

    QList<HandlerUpload *> m_uploaders;
};
