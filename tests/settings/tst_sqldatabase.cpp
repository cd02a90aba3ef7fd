#include "settings/sqldatabase.h"
#include "testsupport.h"

#include <QTemporaryDir>
#include <QTimer>

namespace {

const QString replaceStatement = QStringLiteral("INSERT OR REPLACE INTO Settings (name,value) VALUES (?,?)");

QStringList expectedDefaultRows()
{
    return {
        "fragmentScreen=1:text", "quickFragmentScreen=1:text", "snapshotFull=1:text",
        "sendScreen=1:text", "show_upload=1:text", "show_last_upload=1:text", "useProxy=0:text",
        "qualityImage=1:text", "useSaveScreen=0:text", "saveScreenFolder=:text",
        "widthColorLine=2:text", "widthTextLine=6:text", "widthBlureLine=9:text",
        "widthBlackoutLine=9:text", "visibleColorPanel=1:text", "showActiveWindow=1:text",
        "showCloseSurfaceWindow=1:text", "colorColorLine=7:text", "autostart=1:text",
        "keyFragmentScreen=Ctrl + Print:text", "keyQuickFragmentScreen=Shift + Print:text",
        "keySnapshotScreen=Ctrl + Shift + Print:text", "keySendScreen=Ctrl + Enter:text",
    };
}

// The key's value as the settings store reads it: from the whole table, read in one go.
QVariant storedValue(SqlDatabase *database, const QString &name)
{
    QVariantHash table;
    bool held = false;
    database->readTable(&table, &held);
    return table.value(name);
}

} // namespace

class SqlDatabaseTest : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;
    int m_connections = 0;

    // Each case gets a database thread of its own on a connection of its own.
    SqlDatabase *openDatabase(const QString &file)
    {
        auto *database = new SqlDatabase(this, QStringLiteral("case%1").arg(++m_connections));
        database->connectToDatabase(file);
        return database;
    }

    QString path(const QString &name) const { return m_dir.filePath(name); }

private slots:
    void newFile_getsExactSchemaAndDefaultRows()
    {
        SqlDatabase *database = openDatabase(path("new"));
        database->sync();
        QCOMPARE(sqlite(path("new"), "SELECT sql FROM sqlite_master WHERE type = 'table'"),
                 QStringList{"CREATE TABLE \"Settings\" (\"name\" VARCHAR PRIMARY KEY  NOT NULL , \"value\" TEXT)"});
        QCOMPARE(sqlite(path("new"), "SELECT name || '=' || value || ':' || typeof(value) FROM Settings ORDER BY rowid"),
                 expectedDefaultRows());
    }

    void newFile_isPrivateToItsOwner()
    {
        openDatabase(path("private"))->sync();
        QCOMPARE(QFile::permissions(path("private")) & 0x7077,
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void newFile_readsDefaultsAsText()
    {
        SqlDatabase *database = openDatabase(path("defaults"));
        QCOMPARE(storedValue(database, "autostart"), QVariant(QStringLiteral("1")));
        const QVariant folder = storedValue(database, "saveScreenFolder");
        QVERIFY(folder.isValid());
        QVERIFY(!folder.isNull());
        QCOMPARE(folder.toString(), QString());
    }

    void existingFile_isLeftUntouched()
    {
        sqlite(path("existing"), "CREATE TABLE Settings (name VARCHAR PRIMARY KEY NOT NULL, value TEXT);"
                                 "INSERT INTO Settings VALUES ('fragmentScreen', '0');");
        SqlDatabase *database = openDatabase(path("existing"));
        QCOMPARE(storedValue(database, "fragmentScreen").toString(), QStringLiteral("0"));
        QVERIFY(!storedValue(database, "autostart").isValid());
        QCOMPARE(sqlite(path("existing"), "SELECT count(*) FROM Settings"), QStringList{"1"});
    }

    void missingKey_readsInvalid()
    {
        SqlDatabase *database = openDatabase(path("missing"));
        QVERIFY(!storedValue(database, "token").isValid());
    }

    void writeThenRead_seesTheWriteStoredAsText()
    {
        SqlDatabase *database = openDatabase(path("write"));
        database->exequte(replaceStatement, {QStringLiteral("flag"), true});
        database->exequte(replaceStatement, {QStringLiteral("number"), 42});
        database->exequte(replaceStatement, {QStringLiteral("fragmentScreen"), 0});
        QCOMPARE(storedValue(database, "flag"), QVariant(QStringLiteral("1")));
        QCOMPARE(storedValue(database, "number"), QVariant(QStringLiteral("42")));
        QCOMPARE(storedValue(database, "fragmentScreen"), QVariant(QStringLiteral("0")));
        QCOMPARE(sqlite(path("write"), "SELECT typeof(value) FROM Settings WHERE name = 'number'"),
                 QStringList{"text"});
    }

    void invalidValue_isStoredAsNull()
    {
        SqlDatabase *database = openDatabase(path("null"));
        database->exequte(replaceStatement, {QStringLiteral("nothing"), QVariant()});
        const QVariant value = storedValue(database, "nothing");
        QVERIFY(value.isNull());
    }

    void keysWithQuotes_areBoundNotPasted()
    {
        SqlDatabase *database = openDatabase(path("quotes"));
        const QString doubleQuoted = QStringLiteral("say \"value\"");
        const QString singleQuoted = QStringLiteral("it's");
        database->exequte(replaceStatement, {doubleQuoted, QStringLiteral("a")});
        database->exequte(replaceStatement, {singleQuoted, QStringLiteral("b")});
        database->exequte(replaceStatement, {QStringLiteral("value"), QStringLiteral("c")});
        QCOMPARE(storedValue(database, doubleQuoted).toString(), QStringLiteral("a"));
        QCOMPARE(storedValue(database, singleQuoted).toString(), QStringLiteral("b"));
        // A key that names a column must not compare with that column.
        QCOMPARE(storedValue(database, "value").toString(), QStringLiteral("c"));
        QVERIFY(!storedValue(database, "name").isValid());
    }

    // A read waits without running other events: a timer that is due meanwhile runs only
    // after it, so no read starts inside another, and each returns its own key.
    void readsNeverNest_eachReturnsItsOwnKey()
    {
        SqlDatabase *database = openDatabase(path("nested"));
        database->exequte(replaceStatement, {QStringLiteral("outer"), QStringLiteral("outer value")});
        database->exequte(replaceStatement, {QStringLiteral("inner"), QStringLiteral("inner value")});
        QVariant inner;
        QTimer::singleShot(0, this, [&] { inner = storedValue(database, "inner"); });
        const QVariant outer = storedValue(database, "outer");
        QVERIFY(!inner.isValid());
        QTRY_VERIFY(inner.isValid());
        QCOMPARE(outer.toString(), QStringLiteral("outer value"));
        QCOMPARE(inner.toString(), QStringLiteral("inner value"));
    }

    void unopenableFile_connectsAndReadsInvalidWithoutCrash()
    {
        auto *database = new SqlDatabase(this, QStringLiteral("unopenable"));
        QVERIFY(database->connectToDatabase(path("no/such/folder/setting")));
        database->exequte(replaceStatement, {QStringLiteral("key"), QStringLiteral("value")});
        QVERIFY(!storedValue(database, "key").isValid());
        QVERIFY(!QFile::exists(path("no/such/folder/setting")));
    }

    void damagedFile_isKeptAsideAndReplaced_data()
    {
        QTest::addColumn<QString>("damage");
        QTest::addColumn<bool>("keptAside");
        QTest::newRow("empty") << "empty" << false;
        QTest::newRow("truncated") << "truncated" << true;
        QTest::newRow("corrupt") << "corrupt" << true;
        QTest::newRow("no table") << "no table" << true;
        QTest::newRow("wrong columns") << "wrong columns" << true;
    }

    // Every settings file the store cannot use becomes a working one again; what was there
    // is kept, byte for byte, under a dated name, and the user is to be told.
    void damagedFile_isKeptAsideAndReplaced()
    {
        QFETCH(QString, damage);
        QFETCH(bool, keptAside);
        const QString file = path(damage);
        if (damage == QLatin1String("no table"))
            sqlite(file, "CREATE TABLE other (a TEXT);");
        else if (damage == QLatin1String("wrong columns"))
            sqlite(file, "CREATE TABLE Settings (name TEXT, val TEXT); INSERT INTO Settings VALUES ('a', 'b');");
        else if (damage == QLatin1String("truncated"))
            sqlite(file, "CREATE TABLE Settings (name VARCHAR PRIMARY KEY NOT NULL, value TEXT);"
                         "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 2000)"
                         " INSERT INTO Settings SELECT 'key' || i, printf('%.100c', 'v') FROM n;");
        QFile bytes(file);
        QVERIFY(bytes.open(QIODevice::ReadWrite));
        if (damage == QLatin1String("truncated"))
            bytes.resize(bytes.size() / 3);
        else if (damage == QLatin1String("corrupt"))
            bytes.write(QByteArray(4096, 'x'));
        bytes.seek(0);
        const QByteArray original = bytes.readAll();
        bytes.close();

        SqlDatabase *database = openDatabase(file);
        QCOMPARE(storedValue(database, "autostart"), QVariant(QStringLiteral("1")));
        const QStringList aside = QDir(m_dir.path()).entryList({damage + QStringLiteral(".damaged-*")});
        QCOMPARE(aside.size(), keptAside ? 1 : 0);
        QCOMPARE(database->openProblems().size(), keptAside ? 1 : 0);
        if (keptAside) {
            QFile kept(path(aside.first()));
            QVERIFY(kept.open(QIODevice::ReadOnly));
            QCOMPARE(kept.readAll(), original);
            QVERIFY2(database->openProblems().first().contains(aside.first()), qPrintable(database->openProblems().first()));
        }
    }
};

QTEST_GUILESS_MAIN(SqlDatabaseTest)
#include "tst_sqldatabase.moc"
