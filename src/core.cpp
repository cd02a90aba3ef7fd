#include "core.h"

#include "app/hookkeybord.h"
#include "capture/captureitemtypes.h"
#include "capture/screengrab.h"
#include "network/analytics.h"
#include "network/autorization.h"
#include "network/updater.h"
#include "painter/mpainterarea.h"
#include "platform/filearguments.h"
#include "settings/constants.h"
#include "settings/datafolder.h"
#include "settings/debuglog.h"
#include "settings/setting.h"
#include "upload/dropbox/qdropboxauth.h"
#include "upload/handleftpupload.h"
#include "upload/networkexchange.h"
#include "upload/uploadmodel.h"
#include "windows/windowtypes.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QLockFile>

#include <cstdio>
#include <cstdlib>

Core *Core::m_instance = nullptr;

namespace {
constexpr int accountInfoDelayMsecs = 30000;
constexpr int accountRefreshMsecs = 3600000;
constexpr int updateRecheckMsecs = 10800000;
constexpr int showMainWindowDelayMsecs = 500;
constexpr int reminderDelayMsecs = 60000;
} // namespace

Core *Core::instance()
{
    if (!m_instance)
        m_instance = new Core();
    return m_instance;
}

Core::Core()
    : QObject(nullptr)
    , m_overlayRenewal(grabMemoryKeepMsecs, [this] { renewOverlay(); })
{
    printProgress(QStringLiteral("Core: init vars"));
    m_hostUrlAuth = QStringLiteral(MAVU_DEFAULT_AUTH_HOST);
    m_hostUrl = QStringLiteral(MAVU_DEFAULT_API_HOST);
    m_supportHost = QStringLiteral(MAVU_DEFAULT_SUPPORT_HOST);
    createAccount();
    registerQmlTypes();
    createNetworkExchange();
    printProgress(QStringLiteral("Core: createTrayIcon"));
    createTrayIcon();
    connect(Setting::instance(), &Setting::languageChanged, this, &Core::languageChanged);
    connect(Setting::instance(), &Setting::languageChanged, this, &Core::createTrayIcon);
    // Shown from the event loop: a window made while Core is being made would make a
    // second Core (its page asks for `core`).
    connect(Setting::instance(), &Setting::problemFound, this, &Core::showSettingsProblems, Qt::QueuedConnection);
    QTimer::singleShot(0, this, &Core::showSettingsProblems);
    // The stored hotkeys replace the default ones that a run started on while the file was held.
    connect(Setting::instance(), &Setting::storedValuesRead, this, [this] {
        if (!m_hotkeysReleased)
            updateHook();
    });
    ensureHotkeyManager();
    if (qobject_cast<QGuiApplication *>(QCoreApplication::instance()))
        m_clipboard = QGuiApplication::clipboard();
    m_paletteStrip = QImage(QStringLiteral(":/component/image/component/color_line_big.png"));
    MPainterArea::setColorLookup([this](int x) { return getColorFromX(x); });
    connect(this, &Core::deletedSurfaceScreen, this, &Core::deleteSurfaceScreen);
    setLastLink(QString());
    QTimer::singleShot(reminderDelayMsecs, this, &Core::showReminderMessage);
    startUpdater();
}

void Core::createAccount()
{
    printProgress(QStringLiteral("Core: creating Autorization"));
    m_account = new Autorization(this);
    m_account->listen();
    emit accountChange(m_account);
    connect(m_account, &Autorization::authChanged, this, &Core::checkAutorization);
    connect(m_account, &Autorization::authChanged, this, &Core::createTrayIcon);
    connect(m_account->dropBoxAuth(), &DropboxAuth::error, this, &Core::showErrorWidget);
    // A child by name, so that whoever looks can tell whether it runs.
    m_accountRefreshTimer.setParent(this);
    m_accountRefreshTimer.setObjectName(QStringLiteral("accountRefreshTimer"));
    connect(&m_accountRefreshTimer, &QTimer::timeout, m_account, &Autorization::getUserInfo);
    // The sign-in is a stored value: a run started while another program held the settings
    // file decides once they are read, not on the defaults.
    Setting::instance()->whenStoredValuesKnown(this, [this] { refreshAccountWhenSignedIn(); });
}

// Armed only for a user signed in at the start.
void Core::refreshAccountWhenSignedIn()
{
    if (!Autorization::isAuth())
        return;
    QTimer::singleShot(accountInfoDelayMsecs, m_account, &Autorization::getUserInfo);
    m_accountRefreshTimer.start(accountRefreshMsecs);
}

void Core::registerQmlTypes()
{
    Autorization::registerQmlType();
    DropboxAuth::registerQmlType();
    UploadModel::registerQmlType();
    registerCaptureItemTypes();
    HandleFTPUpload::registerQmlType();
    registerWindowQmlTypes();
}

void Core::createNetworkExchange()
{
    printProgress(QStringLiteral("Core: creating NetworkExchange"));
    m_networkExchange = new NetworkExchange(this);
    // A link first shows the upload window and then reaches the clipboard.
    connect(m_networkExchange, &NetworkExchange::startUpload, this, &Core::showUploadPage);
    connect(m_networkExchange, &NetworkExchange::readyLink, this, &Core::showUploadPage);
    connect(m_networkExchange, &NetworkExchange::readyLink, this, &Core::takeLink);
    connect(m_networkExchange, &NetworkExchange::readyLinkAfterUpload, this, &Core::takeUploadedLink);
    connect(m_networkExchange, &NetworkExchange::linkWithdrawn, this, &Core::withdrawLink);
    connect(m_networkExchange, &NetworkExchange::error, this, &Core::uploadFailed);
    connect(m_networkExchange, &NetworkExchange::internetNotAvailable, this, &Core::internetNotAvailable);
    connect(m_networkExchange, &NetworkExchange::captureReleased, this, &Core::releaseUnsent);
    connect(m_networkExchange, &NetworkExchange::notice, this,
            [this](const QString &text) { showTrayMessage(QStringLiteral("Mavu"), text); });
}

// Either hands over to a pending update (the process ends here) or checks for one now
// and again in three hours.
void Core::startUpdater()
{
    auto *updater = new Updater(this);
    if (QFile::exists(m_updatePath + QStringLiteral("Mavu.exe")) && startPendingUpdate()) {
        Setting::instance()->sync();
        std::fflush(stdout);
        std::exit(0);
    }
    updater->startUpdate();
    QTimer::singleShot(updateRecheckMsecs, updater, &Updater::startUpdate);
    clearTempPath();
    clearUpdateLeftovers();
    // From the event loop: a window made while Core is being made would make a second Core.
    QTimer::singleShot(0, this, &Core::offerLeftCaptures);
    printProgress(QStringLiteral("Core: scheduling showMainWindow"));
    QTimer::singleShot(showMainWindowDelayMsecs, this, &Core::showMainWindow);
    printProgress(QStringLiteral("Core: constructor done"));
    qCDebug(lcMavu) << "Core::Core(QObject*)" << m_logFileName;
}

void Core::printProgress(const QString &line) const
{
    ::printLine(line);
}

QString Core::emptyString() const
{
    return QString();
}

// Takes the icon off the tray and ends the process with code 0 once every queued
// settings write is on disk.
void Core::exitApp()
{
    delete m_trayIcon;
    m_trayIcon = nullptr;
    Setting::instance()->sync();
    QCoreApplication::exit(0);
}

// Problems of the settings storage found while it opened (before any window could show
// them) and later ones, each in an error window.
void Core::showSettingsProblems()
{
    for (const QString &problem : Setting::instance()->takeProblems())
        showErrorWidget(problem);
}

namespace {

bool namesItsHolder(const QLockFile &lock)
{
    qint64 pid = 0;
    QString host;
    QString application;
    return lock.getLockInfo(&pid, &host, &application);
}

// What stands in the lock's place, where only a lock file can be removed and written anew.
QString whyNotTaken(const QLockFile &lock)
{
    const QString path = lock.fileName();
    const QString linked = DataFolder::refusal(path);
    if (!linked.isEmpty())
        return linked;
    if (QFileInfo(path).isDir())
        return Core::tr("%1 is a folder").arg(path);
    return Core::tr("%1 can be neither read nor replaced").arg(path);
}

} // namespace

// An upload may take hours: a lock's age says nothing.
bool takeLock(QLockFile &lock, QString *refusal)
{
    lock.setStaleLockTime(0);
    if (!lock.tryLock(0) && !namesItsHolder(lock)) {
        // An empty or garbled lock file (a crash while it was written) names no holder,
        // and a live holder keeps it from being removed.
        lock.removeStaleLockFile();
        if (!lock.tryLock(0) && refusal)
            *refusal = whyNotTaken(lock);
    }
    if (lock.isLocked())
        DataFolder::restrict(lock.fileName(), DataFolder::privateFile);
    return lock.isLocked();
}

// A second process started beside a running one must not empty the temporary folder
// under it: only the holder of the instance lock clears it.
bool Core::isFirstInstance()
{
    if (!m_instanceLock) {
        QDir().mkpath(m_pathSettings);
        m_instanceLock = new QLockFile(m_pathSettings + QStringLiteral("instance.lock"));
        takeLock(*m_instanceLock);
    }
    return m_instanceLock->isLocked();
}

void Core::clearTempPath()
{
    if (!DataFolder::refusal(m_pathSettings).isEmpty()) // reported by the settings store at start
        return;
    if (!isFirstInstance()) {
        qCDebug(lcMavu) << "void Core::clearTempPath()" << "another Mavu is running, temporary files kept";
        return;
    }
    if (!DataFolder::refusal(m_tempDir).isEmpty())
        return;
    const QFileInfoList files = QDir(m_tempDir).entryInfoList(QDir::Files, QDir::Time | QDir::Reversed);
    for (const QFileInfo &file : files)
        QFile::remove(file.absoluteFilePath());
    const QFileInfoList linkFolders = QDir(m_tempDir).entryInfoList(
        {FileArguments::linkFolderPrefix + QLatin1Char('*')}, QDir::Dirs | QDir::NoDotAndDotDot);
    for (const QFileInfo &folder : linkFolders)
        removeDir(folder.absoluteFilePath()); // the links only, never the files they lead to
    clearAudioFile();
}
