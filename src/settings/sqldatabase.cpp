#include "sqldatabase.h"

#include "debuglog.h"
#include "settingkeys.h"

#include <QDateTime>
#include <QDebug>
#include <QFile>
#include <QFileInfo>
#include <QSqlError>
#include <QSqlQuery>
#include <QTimer>

const QString SqlDatabase::inMemory = QStringLiteral(":memory:");

namespace {

const QString createTableStatement = QStringLiteral(
    "CREATE TABLE \"Settings\" (\"name\" VARCHAR PRIMARY KEY  NOT NULL , \"value\" TEXT);");
const QString insertDefaultStatement = QStringLiteral(
    "INSERT INTO \"Settings\" (\"name\",\"value\") VALUES (?,?)");
const QString selectTableStatement = QStringLiteral("SELECT name, value FROM Settings");
constexpr int busyRetryMs = 1000;

// Another process holds the database: the request may succeed later. Anything else
// (damage, read-only file, full disk) will not go away by waiting.
bool isBusy(const QSqlError &error)
{
    const QString code = error.nativeErrorCode();
    return code == QLatin1String("5") || code == QLatin1String("6");
}

} // namespace

SqlWorker::SqlWorker(const QString &connectionName)
    : m_connectionName(connectionName)
{
}

QSqlDatabase SqlWorker::database() const
{
    return QSqlDatabase::database(m_connectionName, false);
}

void SqlWorker::connectToDatabase(QString name)
{
    QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connectionName);
    printLine(QStringLiteral("connectToDatabase ") + name);
    qCDebug(lcMavu) << "void SqlWorker::connectToDatabase(QString)" << name;
    db.setDatabaseName(name);
    m_fileName = name;
    db.setConnectOptions(QStringLiteral("QSQLITE_BUSY_TIMEOUT=%1").arg(SqlDatabase::busyTimeoutMs()));
    if (!openFile(name)) {
        printLine(QStringLiteral("!db.open() "));
        qCDebug(lcMavu) << "void SqlWorker::connectToDatabase(QString)" << "db not open" << db.lastError().text();
        m_openProblems << tr("The settings file %1 cannot be opened (%2): changes to the settings are not kept.")
                              .arg(name, db.lastError().text());
        m_readOnly = true; // already told: no write can reach it
    } else if (!m_locked) {
        setBusyTimeout(SqlDatabase::runningBusyTimeoutMs);
    }
    printLine(QStringLiteral("db.open() "));
}

// A new or empty file gets the table and the default rows; a damaged one is kept aside
// under a dated name and replaced by a new one.
bool SqlWorker::openFile(const QString &name)
{
    QSqlDatabase db = database();
    const bool inMemory = name == SqlDatabase::inMemory;
    if (inMemory || (!QFile::exists(name) && createEmptyFile(name))) {
        createDataBase();
        return db.isOpen();
    }
    if (!db.open())
        return false;
    if (QFileInfo(name).size() == 0) {
        createDataBase();
        return true;
    }
    bool locked = false;
    const QString damaged = damage(&locked);
    if (locked) {
        waitForHeldFile();
        return true;
    }
    if (!damaged.isEmpty()) {
        const QString problem = keepAsideAndRecreate(damaged);
        if (!problem.isEmpty())
            m_openProblems << problem;
        return database().isOpen();
    }
    m_readOnly = !QFileInfo(name).isWritable();
    if (m_readOnly)
        m_openProblems << tr("The settings file %1 is read-only: changes to the settings are not kept.").arg(name);
    return true;
}

// Why the open database cannot serve as the settings store; empty when it can. Another
// process holding it locked past the busy timeout is no damage: *locked tells of it.
QString SqlWorker::damage(bool *locked)
{
    QSqlQuery check(database());
    const auto refusal = [&check, locked] {
        *locked = isBusy(check.lastError());
        return *locked ? QString() : check.lastError().text();
    };
    if (!check.exec(QStringLiteral("PRAGMA quick_check")))
        return refusal();
    if (!check.next() || check.value(0).toString() != QLatin1String("ok"))
        return check.value(0).toString();
    if (!check.exec(QStringLiteral("SELECT name, value FROM Settings LIMIT 1")))
        return refusal();
    return QString();
}

// Every read of a file that stays locked would wait the whole busy timeout and find
// nothing. Until it is free the store runs on the defaults (so that the hotkeys work),
// nothing is read or written, and a retry each second finds out when the table can be read.
void SqlWorker::waitForHeldFile()
{
    m_tableUnread = true;
    m_dropWrites = true;
    m_locked = true;
    setBusyTimeout(0);
    scheduleRetry();
    m_openProblems << tr("The settings file %1 is in use by another program. Until it is free, Mavu runs with "
                         "the default settings, changes made meanwhile are not kept, and captures and files wait "
                         "to be uploaded.")
                          .arg(m_fileName);
}

// What the user is to be told; empty when the file could not even be moved aside.
QString SqlWorker::keepAsideAndRecreate(const QString &damage)
{
    const QString &name = m_fileName;
    database().close();
    const QString aside = name + QStringLiteral(".damaged-")
        + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd_hh-mm-ss"));
    qWarning() << "void SqlWorker::connectToDatabase(QString)" << "damaged:" << damage << "kept as" << aside;
    const bool kept = QFile::rename(name, aside);
    for (const char *suffix : {"-journal", "-wal", "-shm"})
        QFile::rename(name + QLatin1String(suffix), aside + QLatin1String(suffix));
    if (kept && createEmptyFile(name))
        createDataBase();
    if (!kept)
        return QString();
    return tr("The settings file was damaged (%1). It was kept as %2 and new settings were made.").arg(damage, aside);
}

// The database file holds credentials: only its owner may read it.
bool SqlWorker::createEmptyFile(const QString &name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadWrite, QFileDevice::ReadOwner | QFileDevice::WriteOwner))
        return false;
    file.close();
    return true;
}

void SqlWorker::createDataBase()
{
    QSqlDatabase db = database();
    if (!db.isOpen())
        db.open();
    db.transaction();
    QSqlQuery query(db);
    if (!query.exec(createTableStatement))
        qCDebug(lcMavu) << "void SqlWorker::createDataBase()" << createTableStatement << query.lastError().text();
    for (const SettingKeys::DefaultRow &row : SettingKeys::defaultRows()) {
        query.prepare(insertDefaultStatement);
        query.addBindValue(row.name);
        query.addBindValue(row.value);
        if (!query.exec())
            qCDebug(lcMavu) << "void SqlWorker::createDataBase()" << insertDefaultStatement << row.name
                     << query.lastError().text();
    }
    db.commit();
}

// A table that another program holds past the busy timeout counts as held from now on,
// as at the start.
bool SqlWorker::readTable(QVariantHash *table, bool *held)
{
    flushWrites();
    *held = m_tableUnread;
    if (m_tableUnread)
        return false;
    QSqlQuery query(database());
    if (!query.exec(selectTableStatement)) {
        qCDebug(lcMavu) << "bool SqlWorker::readTable()" << query.lastError().text();
        *held = isBusy(query.lastError());
        if (*held)
            waitForHeldFile();
        return false;
    }
    while (query.next())
        table->insert(query.value(0).toString(), query.value(1));
    return true;
}

// The file held since the start is free once its table can be read. A file that turns out
// damaged is kept aside and replaced, as at the start; one that cannot be read at all
// leaves the store with the defaults it runs on (its writes then fail, and are reported).
bool SqlWorker::readHeldTable()
{
    bool locked = false;
    const QString damaged = damage(&locked);
    if (locked) {
        noteBusy();
        return false;
    }
    const QString problem = damaged.isEmpty() ? QString() : keepAsideAndRecreate(damaged);
    if (!problem.isEmpty())
        emit problemFound(problem);
    m_tableUnread = false;
    QVariantHash table;
    bool held = false;
    if (!readTable(&table, &held)) {
        if (held)
            return false;
        table = SettingKeys::defaultValues();
    }
    emit tableRead(table);
    return true;
}

void SqlWorker::keepWrites()
{
    m_dropWrites = false;
}

// Writes that arrive together are applied in one transaction: one disk sync for a
// burst instead of one per row. Reads and syncs apply pending writes first, so every
// request still sees the writes sent before it.
void SqlWorker::execute(QString query, QVariantList param)
{
    if (m_dropWrites)
        return;
    m_pendingWrites.append({query, param});
    scheduleFlush(0);
}

void SqlWorker::scheduleFlush(int delayMs)
{
    if (m_flushScheduled)
        return;
    m_flushScheduled = true;
    QTimer::singleShot(delayMs, this, [this] {
        m_flushScheduled = false;
        flushWrites();
    });
}

// While another program holds the database the writes wait for the retry.
void SqlWorker::flushWrites()
{
    if (!m_locked)
        writePending();
}

// A database that another process holds locked keeps the writes for a later try (false);
// a write refused for any other reason is reported and dropped.
bool SqlWorker::writePending()
{
    if (m_pendingWrites.isEmpty())
        return true;
    QSqlDatabase db = database();
    const bool grouped = db.transaction();
    QSqlQuery statement(db);
    QString refused;
    bool busy = false;
    for (auto write = m_pendingWrites.cbegin(); write != m_pendingWrites.cend() && !busy; ++write) {
        statement.prepare(write->query);
        for (const QVariant &value : write->param)
            statement.addBindValue(value);
        if (!statement.exec()) {
            busy = isBusy(statement.lastError());
            refused = statement.lastError().text();
        }
    }
    // A commit can find the database held too: the writes are then kept, not dropped. It
    // goes through a query, whose error keeps SQLite's code.
    if (!busy && grouped && !statement.exec(QStringLiteral("COMMIT"))) {
        busy = isBusy(statement.lastError());
        refused = refused.isEmpty() ? statement.lastError().text() : refused;
    }
    if (busy) {
        if (grouped)
            db.rollback();
        noteBusy();
        return false;
    }
    m_pendingWrites.clear();
    if (!refused.isEmpty()) {
        qCDebug(lcMavu) << "void SqlWorker::execute(QString, QVariantList)" << refused;
        emit writeFailed(refused);
    }
    return true;
}

void SqlWorker::setBusyTimeout(int msecs)
{
    QSqlQuery(database()).exec(QStringLiteral("PRAGMA busy_timeout = %1").arg(msecs));
}

// Another program holds the database longer than a brief transaction: from now on no
// request waits for it, and a retry each second finds out when it is free again.
void SqlWorker::noteBusy()
{
    if (!m_locked) {
        m_locked = true;
        setBusyTimeout(0);
        emit databaseLocked();
    }
    scheduleRetry();
}

void SqlWorker::scheduleRetry()
{
    if (m_retryScheduled)
        return;
    m_retryScheduled = true;
    QTimer::singleShot(busyRetryMs, this, &SqlWorker::retryAfterLock);
}

void SqlWorker::retryAfterLock()
{
    m_retryScheduled = false;
    if (m_tableUnread) {
        if (!readHeldTable())
            return;
    } else {
        if (!writePending())
            return;
        QSqlQuery probe(database());
        if (!probe.exec(QStringLiteral("SELECT count(*) FROM Settings")) && isBusy(probe.lastError())) {
            noteBusy();
            return;
        }
    }
    m_locked = false;
    setBusyTimeout(SqlDatabase::runningBusyTimeoutMs);
}

// One try even while the database is held: it does not wait then.
void SqlWorker::sync()
{
    writePending();
}

SqlDatabase::SqlDatabase(QObject *parent, const QString &connectionName)
    : QThread(parent)
    , m_connectionName(connectionName)
{
    m_ready.storeRelaxed(0);
    start(QThread::InheritPriority);
    while (!m_ready.loadAcquire())
        QThread::usleep(10);
}

void SqlDatabase::run()
{
    m_worker = new SqlWorker(m_connectionName);
    connect(this, &SqlDatabase::startConnect, m_worker, &SqlWorker::connectToDatabase, Qt::BlockingQueuedConnection);
    connect(this, &SqlDatabase::startExecuted, m_worker, &SqlWorker::execute);
    connect(m_worker, &SqlWorker::writeFailed, this, &SqlDatabase::writeFailed);
    connect(m_worker, &SqlWorker::databaseLocked, this, &SqlDatabase::databaseLocked);
    connect(m_worker, &SqlWorker::tableRead, this, &SqlDatabase::tableRead);
    connect(m_worker, &SqlWorker::problemFound, this, &SqlDatabase::problemFound);
    m_ready.storeRelease(1);
    exec();
    m_worker->sync();
    delete m_worker;
    QSqlDatabase::removeDatabase(m_connectionName);
}

// The program keeps its database thread for the whole run; an owner that goes away
// earlier stops the thread after its pending writes.
SqlDatabase::~SqlDatabase()
{
    quit();
    wait();
}

// Opening and reads block the calling thread until the worker has answered. They do not
// spin an event loop: a read made from inside a QML binding or a paint must not let other
// events (timers, input, deletions) run in the middle of it.
bool SqlDatabase::connectToDatabase(const QString &name)
{
    emit startConnect(name);
    return true;
}

QStringList SqlDatabase::openProblems() const
{
    QStringList problems;
    QMetaObject::invokeMethod(m_worker, [this, &problems] { problems = m_worker->openProblems(); },
                              Qt::BlockingQueuedConnection);
    return problems;
}

bool SqlDatabase::isReadOnly() const
{
    bool readOnly = false;
    QMetaObject::invokeMethod(m_worker, [this, &readOnly] { readOnly = m_worker->isReadOnly(); },
                              Qt::BlockingQueuedConnection);
    return readOnly;
}

bool SqlDatabase::readTable(QVariantHash *table, bool *held)
{
    bool read = false;
    QMetaObject::invokeMethod(m_worker, [&] { read = m_worker->readTable(table, held); }, Qt::BlockingQueuedConnection);
    return read;
}

// Queued behind the writes sent before it, which were made on the defaults.
void SqlDatabase::keepWrites()
{
    QMetaObject::invokeMethod(m_worker, &SqlWorker::keepWrites, Qt::QueuedConnection);
}

void SqlDatabase::exequte(const QString &query, const QVariantList &param)
{
    emit startExecuted(query, param);
}

void SqlDatabase::sync()
{
    QMetaObject::invokeMethod(m_worker, &SqlWorker::sync, Qt::BlockingQueuedConnection);
}
