#include "handlerupload.h"

#include "core.h"
#include "platform/filearguments.h"
#include "settings/constants.h"
#include "settings/setting.h"
#include "settings/settingkeys.h"
#include "upload/uploadhooks.h"
#include "upload/uploadmodel.h"
#include "upload/ziparchive.h"

#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QFutureWatcher>
#include <QUrlQuery>
#include <QtConcurrent>

#include <utility>

HandlerUpload::HandlerUpload(QObject *parent)
    : QObject(parent)
{
}

HandlerUpload::~HandlerUpload()
{
    if (m_cancelArchive)
        *m_cancelArchive = true;
}

HandlerUpload::TargetUpload HandlerUpload::targetFromSettings()
{
    Setting *settings = Setting::instance();
    const QString type = settings->getValue(SettingKeys::typeUpload).toString();
    if (type == QLatin1String("ftp"))
        return settings->getValue(SettingKeys::isSftp).toBool() ? TargetSftp : TargetFtp;
    if (type == QLatin1String("dropbox"))
        return TargetDropbox;
    if (type == QLatin1String("google"))
        return TargetGoogle;
    return TargetMavu;
}

QUrl HandlerUpload::afterActionUrl(TypeAfterAction action, const QString &link)
{
    QString page;
    QString key = QStringLiteral("url");
    switch (action) {
    case ActionFacebook:
        page = QStringLiteral("https://www.facebook.com/sharer/sharer.php");
        key = QStringLiteral("u");
        break;
    case ActionOdnoklassniki:
        page = QStringLiteral("https://connect.ok.ru/offer");
        break;
    case ActionVK:
        page = QStringLiteral("https://vk.com/share.php");
        break;
    case ActionTwitter:
        page = QStringLiteral("https://twitter.com/intent/tweet");
        break;
    case ActionMail: {
        QUrl mail(QStringLiteral("mailto:"));
        QUrlQuery query;
        query.addQueryItem(QStringLiteral("subject"), tr("Screenshot"));
        query.addQueryItem(QStringLiteral("body"), QString::fromUtf8(QUrl::toPercentEncoding(link)));
        mail.setQuery(query);
        return mail;
    }
    case ActionNone:
        return QUrl();
    }
    QUrl url(page);
    QUrlQuery query;
    query.addQueryItem(key, QString::fromUtf8(QUrl::toPercentEncoding(link)));
    url.setQuery(query);
    return url;
}

void HandlerUpload::start()
{
    if (m_started)
        return;
    m_started = true;
    Core::instance()->uploadModel()->addUploader(this);
    emit startUpload();
    if (!checkFiles())
        return;
    if (needsArchive()) {
        startArchive();
        return;
    }
    m_sendFile = QFileInfo(m_files.first()).absoluteFilePath();
    setProgress(0, QFileInfo(m_sendFile).size());
    transferFile(m_sendFile);
}

QString HandlerUpload::unsentCapture(const QStringList &files)
{
    if (files.size() != 1 || QFileInfo(files.first()).absolutePath() != QDir(m_tempDir).absolutePath())
        return QString();
    return files.first();
}

// Missing paths and empty files are errors: nothing would reach the server.
bool HandlerUpload::checkFiles()
{
    QString failure;
    if (m_files.isEmpty())
        failure = tr("No file to upload");
    for (const QString &path : std::as_const(m_files)) {
        if (!failure.isEmpty())
            break;
        const QFileInfo info(path);
        // Only regular files and folders: a device never ends and a pipe blocks.
        if (path.isEmpty() || !(info.isFile() || info.isDir()) || !info.isReadable())
            failure = tr("File not found: %1").arg(FileArguments::shownName(path));
        else if (info.isFile() && info.size() == 0)
            failure = tr("The file %1 is empty").arg(info.fileName());
    }
    if (failure.isEmpty())
        return true;
    emit error(failure);
    finish();
    return false;
}

bool HandlerUpload::needsArchive() const
{
    return m_zip || m_files.size() > 1 || QFileInfo(m_files.first()).isDir();
}

void HandlerUpload::startArchive()
{
    setArchive(true);
    m_archivePath = ZipArchive::archivePath(m_files, m_tempDir);
    m_cancelArchive = std::make_shared<std::atomic_bool>(false);
    using Result = QPair<QString, QStringList>; // failure, links left out
    auto *watcher = new QFutureWatcher<Result>(this);
    connect(watcher, &QFutureWatcher<Result>::finished, this, [this, watcher] {
        archiveFinished(watcher->result().first, watcher->result().second);
        watcher->deleteLater();
    });
    const std::shared_ptr<std::atomic_bool> cancel = m_cancelArchive;
    const QStringList files = m_files;
    const QString archive = m_archivePath;
    watcher->setFuture(QtConcurrent::run([files, archive, cancel] {
        QStringList leftOut;
        const QString failure = ZipArchive::build(files, archive, cancel.get(), &leftOut);
        return Result(failure, leftOut);
    }));
}

void HandlerUpload::archiveFinished(const QString &failure, const QStringList &leftOut)
{
    setArchive(false);
    if (m_stopped || m_finished) {
        QFile::remove(m_archivePath);
        return;
    }
    if (!leftOut.isEmpty())
        emit notice(tr("Links to files outside the folder were left out of the archive: %1")
                        .arg(leftOut.join(QStringLiteral(", "))));
    if (!failure.isEmpty()) {
        emit error(failure);
        finish();
        return;
    }
    if (QFileInfo(m_archivePath).size() <= 22) { // the bare end record: nothing was packed
        emit error(tr("The folder %1 is empty").arg(QFileInfo(m_files.first()).fileName()));
        finish();
        return;
    }
    m_sendFile = m_archivePath;
    setProgress(0, QFileInfo(m_sendFile).size());
    transferFile(m_sendFile);
}

void HandlerUpload::setArchive(bool archive)
{
    if (m_archive == archive)
        return;
    m_archive = archive;
    emit archiveChanged(archive);
}

void HandlerUpload::setProgress(qint64 download, qint64 total)
{
    m_download = download;
    m_total = total;
    emit progressChanged(download, total);
}

// Control characters never reach a server command or a link.
QString HandlerUpload::remoteName() const
{
    QString name = QFileInfo(m_sendFile).fileName();
    for (QChar &c : name) {
        if (c.category() == QChar::Other_Control)
            c = QLatin1Char('_');
    }
    return name;
}

void HandlerUpload::transferFile(const QString &file)
{
    startServiceUpload(file);
}

void HandlerUpload::abortTransfer()
{
}

QStringList HandlerUpload::linkSchemes() const
{
    return {QStringLiteral("https"), QStringLiteral("http")};
}

// A link goes to the clipboard and may be opened: anything but an address of the
// destination (a script, a local file) fails the job.
bool HandlerUpload::checkLink(const QString &link)
{
    const QUrl url(link, QUrl::StrictMode);
    if (url.isValid() && !url.host().isEmpty() && linkSchemes().contains(url.scheme().toLower()))
        return true;
    // The text stays plain: what the server sent is no part of it.
    qWarning().noquote() << Q_FUNC_INFO << "refused link:" << link.left(200);
    transferFailed(tr("The server returned a link that is no web address"));
    return false;
}

void HandlerUpload::announceLink(const QString &link)
{
    if (m_stopped || m_linkAnnounced)
        return;
    m_linkAnnounced = true;
    m_link = link;
    emit readyLink(link);
}

void HandlerUpload::transferSucceeded(const QString &link)
{
    if (m_stopped || m_finished)
        return;
    if (link.isEmpty()) {
        transferFailed(tr("The server did not return a link"));
        return;
    }
    if (!checkLink(link))
        return;
    setProgress(m_total, m_total);
    announceLink(link);
    m_link = link;
    emit readyLinkAfterUpload(link);
    runAfterAction();
    finish();
}

void HandlerUpload::transferFailed(const QString &text)
{
    if (m_stopped || m_finished)
        return;
    const QString key = fallbackSettingKey();
    if (!key.isEmpty() && !m_fallbackUsed && Setting::instance()->getValue(key).toBool()) {
        qWarning().noquote() << Q_FUNC_INFO << "upload failed, sending to the service instead:" << text;
        m_fallbackUsed = true;
        setProgress(0, QFileInfo(m_sendFile).size());
        startServiceUpload(m_sendFile);
        return;
    }
    withdrawLink();
    emit error(text);
    finish();
}

void HandlerUpload::transferUnreachable()
{
    if (m_stopped || m_finished)
        return;
    withdrawLink();
    emit internetNotAvailable();
    finish();
}

void HandlerUpload::withdrawLink()
{
    if (!m_linkAnnounced)
        return;
    m_linkAnnounced = false;
    emit linkWithdrawn(std::exchange(m_link, QString())); // the job has no link from here on
}

void HandlerUpload::runAfterAction()
{
    const QUrl url = afterActionUrl(m_afterAction, m_link);
    if (url.isValid() && !UploadHooks::openUrl()(url))
        qWarning().noquote() << Q_FUNC_INFO << "could not open the share page";
}

void HandlerUpload::stopUpload()
{
    if (m_finished)
        return;
    m_stopped = true;
    if (m_cancelArchive)
        *m_cancelArchive = true;
    abortTransfer();
    abortServiceUpload();
    withdrawLink();
    finish();
}

void HandlerUpload::finish()
{
    if (m_finished)
        return;
    m_finished = true;
    if (!m_archivePath.isEmpty() && !m_archive)
        QFile::remove(m_archivePath);
    emit finished();
    deleteLater();
}
