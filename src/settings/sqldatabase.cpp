#include "sqldatabase.h"

#include "settingkeys.h"

#include <QDebug>
#include <QFile>
#include <QSqlError>
#include <QSqlQuery>
#include <QTextStream>

namespace {

const QString createTableStatement = QStringLiteral(
    "CREATE TABLE \"Settings\" (\"name\" VARCHAR PRIMARY KEY  NOT NULL , \"value\" TEXT);");
const QString insertDefaultStatement = QStringLiteral(
    "INSERT INTO \"Settings\" (\"name\",\"value\") VALUES (?,?)");
const QString selectValueStatement = QStringLiteral("SELECT value FROM Settings WHERE name = ?");

void printLine(const QString &text)
{
    QTextStream out(stdout);
    out << text << Qt::endl;
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
    qDebug() << "void SqlWorker::connectToDatabase(QString)" << name;
    db.setDatabaseName(name);
    if (!QFile::exists(name) && createEmptyFile(name))
        createDataBase();
    if (!db.isOpen() && !db.open()) {
        printLine(QStringLiteral("!db.open() "));
        qDebug() << "void SqlWorker::connectToDatabase(QString)" << "db not open" << db.lastError().text();
    }
    printLine(QStringLiteral("db.open() "));
}

// The database file holds credentials: only its owner may read it.
bool SqlWorker::createEmptyFile(const QString &name)
{
    QFile file(name);
    if (!file.open(QIODevice::ReadWrite))
        return false;
    file.setPermissions(QFileDevice::ReadOwner | QFileDevice::WriteOwner);
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
        qDebug() << "void SqlWorker::createDataBase()" << createTableStatement << query.lastError().text();
    for (const SettingKeys::DefaultRow &row : SettingKeys::defaultRows()) {
        query.prepare(insertDefaultStatement);
        query.addBindValue(row.name);
        query.addBindValue(row.value);
        if (!query.exec())
            qDebug() << "void SqlWorker::createDataBase()" << insertDefaultStatement << row.name
                     << query.lastError().text();
    }
    db.commit();
}

QVariant SqlWorker::readValue(const QString &name)
{
    flushWrites();
    QVariant result;
    QSqlQuery query(database());
    query.prepare(selectValueStatement);
    query.addBindValue(name);
    if (!query.exec())
        qDebug() << "void SqlWorker::getDataLoad(QString)" << selectValueStatement << name
                 << query.lastError().text();
    else if (query.next())
        result = query.value(0);
    return result;
}

// Writes that arrive together are applied in one transaction: one disk sync for a
// burst instead of one per row. Reads and syncs apply pending writes first, so every
// request still sees the writes sent before it.
void SqlWorker::execute(QString query, QVariantList param)
{
    m_pendingWrites.append({query, param});
    if (m_pendingWrites.size() == 1)
        QMetaObject::invokeMethod(this, &SqlWorker::flushWrites, Qt::QueuedConnection);
}

void SqlWorker::flushWrites()
{
    if (m_pendingWrites.isEmpty())
        return;
    QSqlDatabase db = database();
    const bool grouped = db.transaction();
    QSqlQuery statement(db);
    for (const Write &write : std::as_const(m_pendingWrites)) {
        statement.prepare(write.query);
        for (const QVariant &value : write.param)
            statement.addBindValue(value);
        statement.exec();
    }
    if (grouped)
        db.commit();
    m_pendingWrites.clear();
}

void SqlWorker::sync()
{
    flushWrites();
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
    connect(this, &SqlDatabase::startExecuted, m_worker, &SqlWorker::execute);
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
    QMetaObject::invokeMethod(m_worker, [this, name] { m_worker->connectToDatabase(name); },
                              Qt::BlockingQueuedConnection);
    return true;
}

QVariant SqlDatabase::getData(const QString &name)
{
    QVariant result;
    QMetaObject::invokeMethod(m_worker, [this, name, &result] { result = m_worker->readValue(name); },
                              Qt::BlockingQueuedConnection);
    return result;
}

void SqlDatabase::exequte(const QString &query, const QVariantList &param)
{
    emit startExecuted(query, param);
}

void SqlDatabase::sync()
{
    QMetaObject::invokeMethod(m_worker, &SqlWorker::sync, Qt::BlockingQueuedConnection);
}
