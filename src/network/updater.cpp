#include "updater.h"

#include "core.h"
#include "errorlog.h"
#include "networkaccessmanager.h"
#include "networkreadreply.h"
#include "session.h"
#include "settings/constants.h"
#include "settings/datafolder.h"
#include "settings/debuglog.h"
#include "settings/setting.h"
#include "updatepackage.h"

#include <QDebug>
#include <QDir>
#include <QTemporaryFile>
#include <QNetworkReply>
#include <QTimer>
#include <QUrlQuery>
#include <QVersionNumber>

namespace {

constexpr qint64 packageBufferBytes = 1024 * 1024;

// The checksum comes in the same reply as the address: it proves nothing about a package
// from elsewhere. Packages come only over https from the service itself, the host the
// program signs in to or the one it asks for updates.
bool isServiceAddress(const QUrl &url)
{
    if (url.scheme() != QLatin1String("https") || !url.userInfo().isEmpty())
        return false;
    for (const QString &host : {Core::instance()->hostUrl(), Core::instance()->hostUrlAuth()}) {
        const QUrl service(QStringLiteral("https://") + host);
        if (service.isValid() && !service.host().isEmpty() && url.host() == service.host()
            && url.port(443) == service.port(443))
            return true;
    }
    return false;
}

} // namespace

Updater::Updater(QObject *parent)
    : QObject(parent)
{
}

QString Updater::updateExecutable()
{
    return m_updatePath + UpdatePackage::executableName;
}

// The queue is worked off from the event loop, so addresses changed at start-up (the
// "-beta" switch) already apply to the first check.
void Updater::startUpdate()
{
    m_queue.enqueue(Task());
    QTimer::singleShot(0, this, &Updater::workQueue);
}

void Updater::workQueue()
{
    if (m_busy || m_queue.isEmpty())
        return;
    m_busy = true;
    const Task task = m_queue.dequeue();
    if (task.kind == Task::Information)
        requestInformation();
    else
        requestPackage(task);
}

void Updater::finishTask()
{
    m_busy = false;
    workQueue();
}

void Updater::requestInformation()
{
    QUrl url(QStringLiteral("https://") + Core::instance()->hostUrl() + QStringLiteral("/update/v1/latest"));
    QUrlQuery query;
    query.addQueryItem(QStringLiteral("platform"), Setting::instance()->getPlatform());
    query.addQueryItem(QStringLiteral("version"), Core::instance()->appVersion());
    url.setQuery(query);
    auto *manager = new NetworkAccessManager(this);
    QNetworkReply *reply = manager->get(NetworkAccessManager::getRequest(url));
    connect(reply, &QNetworkReply::finished, this, [this, reply] {
        onInformation(reply);
        reply->manager()->deleteLater(); // the manager made for this request; takes the reply along
        finishTask();
    });
}

void Updater::onInformation(QNetworkReply *reply)
{
    QScopedPointer<Session> session(NetworkReadReply::read(reply));
    if (!session->isSuccess()) {
        fail(QStringLiteral("update information not available"), session.data());
        return;
    }
    const QVersionNumber offered = QVersionNumber::fromString(session->text(QStringLiteral("version")));
    const QVersionNumber running = QVersionNumber::fromString(Core::instance()->appVersion());
    if (session->httpStatus() == 204 || offered.isNull() || offered <= running) {
        emit noUpdate();
        return;
    }
    Task task;
    task.kind = Task::Package;
    task.url = QUrl(session->text(QStringLiteral("url")));
    task.size = session->number(QStringLiteral("size"));
    task.sha256 = session->text(QStringLiteral("sha256"));
    task.format = session->text(QStringLiteral("format"));
    if (!isServiceAddress(task.url)) {
        fail(QStringLiteral("update package address is not https on the service's host"), session.data());
        return;
    }
    m_queue.enqueue(task);
}

// The package goes straight to a file in the update folder as it arrives. The download
// is cut off as soon as it announces or grows past the expected size.
void Updater::requestPackage(const Task &task)
{
    QString error;
    auto *package = newPackageFile(&error);
    if (!package) {
        fail(error, nullptr);
        finishTask();
        return;
    }
    auto *manager = new NetworkAccessManager(this);
    package->setParent(manager);
    QNetworkRequest request = NetworkAccessManager::getRequest(task.url);
    request.setTransferTimeout(packageTimeoutMs);
    NetworkAccessManager::keepToOrigin(request); // a redirection must not lead the download elsewhere
    request.setAttribute(NetworkAccessManager::replyLimitAttribute, task.size);
    QNetworkReply *reply = manager->get(request);
    reply->setReadBufferSize(packageBufferBytes); // the network waits for the disk, not memory
    connect(reply, &QNetworkReply::readyRead, package, [reply, package] {
        if (package->write(reply->readAll()) < 0)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, task, package] {
        package->write(reply->readAll());
        package->flush();
        onPackage(reply, task, package->fileName());
        reply->manager()->deleteLater(); // the manager made for this request; takes reply and file along
        finishTask();
    });
}

QTemporaryFile *Updater::newPackageFile(QString *error)
{
    if (!DataFolder::refusal(m_updatePath).isEmpty() || !QDir().mkpath(m_updatePath)) {
        *error = QStringLiteral("update folder not usable");
        return nullptr;
    }
    auto *file = new QTemporaryFile(m_updatePath + QStringLiteral("package-XXXXXX"));
    if (!file->open()) {
        *error = QStringLiteral("cannot store the update package: ") + file->errorString();
        delete file;
        return nullptr;
    }
    return file;
}

void Updater::onPackage(QNetworkReply *reply, const Task &task, const QString &packageFile)
{
    QScopedPointer<Session> session(NetworkReadReply::read(reply));
    if (reply->error() != QNetworkReply::NoError) {
        fail(QStringLiteral("update package download failed"), session.data());
        return;
    }
    QString error;
    if (!UpdatePackage::verify(packageFile, task.size, task.sha256, &error)
        || !UpdatePackage::install(packageFile, task.format, m_updatePath, &error)) {
        fail(QStringLiteral("update package rejected: ") + error, session.data());
        return;
    }
    emit updateDownloaded(updateExecutable());
}

void Updater::fail(const QString &reason, const Session *session)
{
    qCDebug(lcMavu) << "void Updater::fail(const QString&, const Session*)" << reason;
    if (session) // a failed request of the service, not a local one
        ServiceErrorLog::write(QStringLiteral("Updater: ") + reason, session);
    emit updateFailed(reason);
}
