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
    connectDatabase();
    connect(&m_database, &SqlDatabase::writeFailed, this, &Setting::reportWriteFailure);
    connect(&m_database, &SqlDatabase::databaseLocked, this, &Setting::reportLockedWhileRunning);
    connect(&m_database, &SqlDatabase::tableRead, this, &Setting::takeHeldValues);
    connect(&m_database, &SqlDatabase::problemFound, this, &Setting::addProblem);
    connect(this, &Setting::valueChanged, this, &Setting::changeValue);
    checkTranslate();
    setDefaultDestination();
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
    loadStoredValues();
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

// The table is small: every value is held in memory from the start, so that a file that
// another program takes later leaves no value unknown. A file held since the start leaves
// the defaults in memory until it is free; one that cannot be read at all, for the run.
void Setting::loadStoredValues()
{
    QVariantHash table;
    bool held = false;
    const bool read = m_database.readTable(&table, &held);
    m_storedValuesKnown = !held;
    holdValues(read ? table : Keys::defaultValues());
}

void Setting::holdValues(const QVariantHash &values)
{
    m_cache = values;
    m_cache.insert(Keys::mainFontColor, m_mainFontColor);
    m_cache.insert(Keys::mainFontFamily, m_mainFontFamily);
}

// The file held since the start is free: its values replace the defaults and what was
// changed on them, which was not kept. Every binding reads them anew; what waited for them
// goes on.
void Setting::takeHeldValues(const QVariantHash &values)
{
    holdValues(values);
    m_storedValuesKnown = true;
    m_database.keepWrites();
    setDefaultDestination();
    checkTranslate();
    emit valueChanged(QString(), QStringLiteral(""));
    emit storedValuesRead();
}

void Setting::whenStoredValuesKnown(QObject *context, const std::function<void()> &action)
{
    if (m_storedValuesKnown)
        action();
    else
        connect(this, &Setting::storedValuesRead, context, action, Qt::SingleShotConnection);
}

// Only a file known to hold no destination gets the default one.
void Setting::setDefaultDestination()
{
    if (m_storedValuesKnown && getValue(Keys::typeUpload).isNull())
        setValue(Keys::typeUpload, QStringLiteral("mavu"));
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

// A key without a row, or whose row holds NULL, reads as invalid.
QVariant Setting::getValue(const QString &name, bool is_encrypt)
{
    if (is_encrypt || Keys::isAlwaysEncrypted(name))
        return decrypt(m_cache.value(name).toString(), tokenText());
    const QVariant value = m_cache.value(name);
    if (!value.isNull())
        return value;
    if (name == Keys::showMagnifier || name == Keys::shortLink)
        return false;
    return QVariant();
}

void Setting::setValue(const QString &name, const QVariant &value, bool is_encrypt)
{
    const bool encrypted = is_encrypt || Keys::isAlwaysEncrypted(name);
    qCDebug(lcMavu) << "void Setting::setValue(QString, QVariant, bool)" << name
             << loggable(name, value, encrypted) << (is_encrypt ? "true" : "false");
    QElapsedTimer timer;
    timer.start();
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
