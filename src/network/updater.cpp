#include "updater.h"

#include "core.h"
#include "errorlog.h"
#include "networkaccessmanager.h"
#include "networkreadreply.h"
#include "session.h"
#include "settings/constants.h"
#include "settings/setting.h"
#include "updatepackage.h"

#include <QDebug>
#include <QNetworkReply>
#include <QTimer>
#include <QUrlQuery>
#include <QVersionNumber>

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
    if (task.url.scheme() != QLatin1String("https")) {
        fail(QStringLiteral("update package address is not https"), session.data());
        return;
    }
    m_queue.enqueue(task);
}

// The download is cut off as soon as it announces or grows past the expected size.
void Updater::requestPackage(const Task &task)
{
    auto *manager = new NetworkAccessManager(this);
    QNetworkRequest request = NetworkAccessManager::getRequest(task.url);
    request.setTransferTimeout(packageTimeoutMs);
    QNetworkReply *reply = manager->get(request);
    connect(reply, &QNetworkReply::metaDataChanged, reply, [reply, task] {
        if (reply->header(QNetworkRequest::ContentLengthHeader).toLongLong() > task.size)
            reply->abort();
    });
    connect(reply, &QNetworkReply::downloadProgress, reply, [reply, task](qint64 received, qint64) {
        if (received > task.size)
            reply->abort();
    });
    connect(reply, &QNetworkReply::finished, this, [this, reply, task] {
        onPackage(reply, task);
        reply->manager()->deleteLater(); // the manager made for this request; takes the reply along
        finishTask();
    });
}

void Updater::onPackage(QNetworkReply *reply, const Task &task)
{
    const QByteArray package = reply->readAll();
    QScopedPointer<Session> session(NetworkReadReply::read(reply));
    if (reply->error() != QNetworkReply::NoError) {
        fail(QStringLiteral("update package download failed"), session.data());
        return;
    }
    QString error;
    if (!UpdatePackage::verify(package, task.size, task.sha256, &error)
        || !UpdatePackage::install(package, task.format, m_updatePath, &error)) {
        fail(QStringLiteral("update package rejected: ") + error, session.data());
        return;
    }
    emit updateDownloaded(updateExecutable());
}

void Updater::fail(const QString &reason, const Session *session)
{
    qDebug() << "void Updater::fail(const QString&, const Session*)" << reason;
    ServiceErrorLog::write(QStringLiteral("Updater: ") + reason, session);
    emit updateFailed(reason);
}
