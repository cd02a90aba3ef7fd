#include "setting.h"

#include "constants.h"
#include "crypt.h"
#include "datafolder.h"
#include "debuglog.h"
#include "settingkeys.h"

#include <QCoreApplication>
#include <QDebug>
#include <QDir>
#include <QElapsedTimer>
#include <QTextStream>
#include <QThread>

namespace Keys = SettingKeys;

Setting *Setting::m_instance = nullptr;

namespace {

const QString replaceStatement = QStringLiteral("INSERT OR REPLACE INTO Settings (name,value) VALUES (?,?)");

// What a debug line may show of a value: never a credential or a token.
QVariant loggable(const QString &name, const QVariant &value, bool encrypted)
{
    if (encrypted || Keys::isSecret(name))
        return QStringLiteral("<hidden>");
    return value;
}

// A credential that cannot be encrypted (no token) is stored as the empty text, not NULL.
QString storedCipher(const QVariant &value, const QString &passphrase)
{
    const QString cipher = encrypt(value.toString(), passphrase);
    return cipher.isNull() ? QStringLiteral("") : cipher;
}

void syncBeforeExit()
{
    if (QCoreApplication::instance())
        Setting::instance()->sync();
}

} // namespace

Setting *Setting::instance()
{
    if (!m_instance)
        m_instance = new Setting();
    return m_instance;
}

Setting::Setting()
    : QObject(nullptr)
{
    QTextStream(stdout) << "settings" << Qt::endl;
    createDataFolders();
    m_cache.insert(Keys::mainFontColor, m_mainFontColor);
    m_cache.insert(Keys::mainFontFamily, m_mainFontFamily);
    connectDatabase();
    connect(&m_database, &SqlDatabase::writeFailed, this, &Setting::reportWriteFailure);
    connect(&m_database, &SqlDatabase::databaseLocked, this, &Setting::reportLockedWhileRunning);
    connect(this, &Setting::valueChanged, this, &Setting::changeValue);
    checkTranslate();
    // Only a database that answered "no such row" gets the default.
    if (getValue(Keys::typeUpload).isNull() && !readFailed(Keys::typeUpload))
        setValue(Keys::typeUpload, QStringLiteral("mavu"));
    if (QCoreApplication *app = QCoreApplication::instance())
        connect(app, &QCoreApplication::aboutToQuit, this, &Setting::sync);
    qAddPostRoutine(syncBeforeExit);
}

// The data folder holds credentials and logs: it is private to its owner. A data folder
// that is a link or belongs to another user is not used at all; the settings of this run
// then live in memory only.
void Setting::createDataFolders()
{
    const QString dataFolder = QDir::homePath() + QStringLiteral("/.mavu");
    const QString refused = DataFolder::refusal(dataFolder);
    if (!refused.isEmpty()) {
        m_dataFolderRefused = true;
        addProblem(tr("Mavu does not keep its settings in its data folder: %1. Changes to the settings "
                      "are lost when Mavu quits.").arg(refused));
        return;
    }
    for (const QString &folder : {dataFolder, dataFolder + QStringLiteral("/tmp")}) {
        if (!QFileInfo(folder).isSymLink() && !QDir(folder).exists())
            QDir().mkdir(folder, DataFolder::privateFolder);
        DataFolder::restrict(folder, DataFolder::privateFolder);
    }
    for (const QString &folder : {m_tempDir, m_audioTempDir, m_updatePath}) {
        const QString problem = DataFolder::refusal(folder);
        if (!problem.isEmpty())
            addProblem(tr("Mavu neither uses nor empties a folder that is not its own: %1.").arg(problem));
    }
}

bool Setting::connectDatabase()
{
    qCDebug(lcMavu) << "bool Setting::connectDatabase()" << QThread::currentThread();
    const QString file = m_pathSettings + QStringLiteral("setting");
    m_database.connectToDatabase(m_dataFolderRefused ? SqlDatabase::inMemory : file);
    for (const QString &problem : m_database.openProblems())
        addProblem(problem);
    m_writeFailureReported = m_database.isReadOnly();
    if (m_dataFolderRefused)
        return true;
    for (const char *name : {"setting", "error.log", "proxy_connect.log", "instance.lock", "screen_info.log",
                             "sftp_known_hosts"})
        DataFolder::restrict(m_pathSettings + QLatin1String(name), DataFolder::privateFile);
    return true;
}

void Setting::addProblem(const QString &text)
{
    qWarning().noquote() << "Setting:" << text;
    m_problems.append(text);
    emit problemFound();
}

QStringList Setting::takeProblems()
{
    QStringList problems;
    problems.swap(m_problems);
    return problems;
}

// The first write that the database refuses is reported; the ones after it would only
// repeat the same message.
void Setting::reportWriteFailure(const QString &reason)
{
    if (m_writeFailureReported)
        return;
    m_writeFailureReported = true;
    addProblem(tr("The settings cannot be saved (%1): changes to the settings are not kept.").arg(reason));
}

// Held by another program while Mavu runs: the values in memory serve, the writes wait in
// the database thread. The database thread tells of each spell once.
void Setting::reportLockedWhileRunning()
{
    addProblem(tr("The settings file %1 is in use by another program. Mavu goes on with the settings it has "
                  "read and saves the changes once the file is free again.")
                   .arg(m_pathSettings + QStringLiteral("setting")));
}

QString Setting::tokenText()
{
    return getValue(Keys::token).toString();
}

QVariant Setting::getValue(const QString &name, bool is_encrypt)
{
    if (is_encrypt || Keys::isAlwaysEncrypted(name))
        return readEncrypted(name);
    const QVariant cached = m_cache.value(name);
    if (!cached.isNull())
        return cached;
    const QVariant stored = getValueDB(name);
    if (stored.isNull()) {
        if (name == Keys::showMagnifier || name == Keys::shortLink)
            return false;
        return QVariant();
    }
    m_cache.insert(name, stored);
    return stored;
}

QVariant Setting::readEncrypted(const QString &name)
{
    const QString passphrase = tokenText();
    const QVariant cached = m_cache.value(name);
    if (!cached.isNull())
        return decrypt(cached.toString(), passphrase);
    const QString plain = decrypt(getValueDB(name).toString(), passphrase);
    if (!readFailed(name) && !readFailed(Keys::token)) // an unread value or token is no empty one
        m_cache.insert(name, encrypt(plain, passphrase));
    return plain;
}

void Setting::setValue(const QString &name, const QVariant &value, bool is_encrypt)
{
    const bool encrypted = is_encrypt || Keys::isAlwaysEncrypted(name);
    qCDebug(lcMavu) << "void Setting::setValue(QString, QVariant, bool)" << name
             << loggable(name, value, encrypted) << (is_encrypt ? "true" : "false");
    QElapsedTimer timer;
    timer.start();
    m_failedReads.remove(name);
    if (m_cache.value(name) != value) {
        if (encrypted) {
            const QString passphrase = tokenText();
            m_cache.insert(name, storedCipher(value, passphrase));
            setValueDB(name, storedCipher(value, passphrase));
        } else {
            m_cache.insert(name, value);
            setValueDB(name, value);
        }
    }
    qCDebug(lcMavu) << "void Setting::setValue(QString, QVariant, bool)" << timer.elapsed();
    emitNameSignal(name);
    emit valueChanged(name, value);
}

void Setting::emitNameSignal(const QString &name)
{
    if (name == Keys::userName)
        emit userNameChanges(m_cache.value(name).toString());
    else if (name == Keys::userAvatar)
        emit userAvatarChanges(m_cache.value(name).toString());
    else if (name == Keys::keyFragmentScreen)
        emit keyFragmentScreenChanged();
    else if (name == Keys::keySnapshotScreen)
        emit keySnapshotScreenChanged();
    else if (name == Keys::keyQuickFragmentScreen)
        emit keyQuickFragmentScreenChanged();
}

QVariant Setting::getValueDB(const QString &name)
{
    bool read = false;
    const QVariant value = m_database.getData(name, &read);
    if (read)
        m_failedReads.remove(name);
    else
        m_failedReads.insert(name);
    qCDebug(lcMavu) << "QVariant Setting::getValueDB(QString)" << name << loggable(name, value, false);
    return value;
}

void Setting::setValueDB(const QString &name, const QVariant &value)
{
    QElapsedTimer timer;
    timer.start();
    m_database.exequte(replaceStatement, {name, value});
    qCDebug(lcMavu) << "void Setting::setValueDB(QString, QVariant)" << timer.elapsed() << QThread::currentThread();
}

void Setting::sync()
{
    m_database.sync();
}

// The reset's writes go through the database thread like every other write, in order;
// no transaction is opened on the GUI thread, which does not own the connection.
void Setting::resetDefault()
{
    const QList<QPair<QString, QVariant>> defaults = {
        {Keys::fragmentScreen, 1},
        {Keys::quickFragmentScreen, 1},
        {Keys::snapshotFull, 1},
        {Keys::sendScreen, 1},
        {Keys::showUpload, 1},
        {Keys::showLastUpload, 1},
        {Keys::useProxy, 0},
        {Keys::qualityImage, 1},
        {Keys::autostart, 1},
        {Keys::useSaveScreen, 0},
        {Keys::visibleColorPanel, 1},
        {Keys::showMagnifier, 1},
        {Keys::showActiveWindow, 1},
        {Keys::showCloseSurfaceWindow, 1},
        {Keys::colorColorLine, 7},
        {Keys::keyFragmentScreen, QStringLiteral("Print Screen")},
        {Keys::keyQuickFragmentScreen, QStringLiteral("Shift + Print Screen")},
        {Keys::keySnapshotScreen, QStringLiteral("Ctrl + Shift + Print Screen")},
    };
    for (const auto &entry : defaults)
        setValue(entry.first, entry.second);
    emit valueChanged(QString(), QStringLiteral(""));
}

QString Setting::getPlatform() const
{
    return QStringLiteral("linux");
}
