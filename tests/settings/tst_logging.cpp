#include "../harness/files.h"
#include "settings/constants.h"
#include "settings/logging.h"

#include <QDateTime>
#include <QRegularExpression>
#include <QTest>

namespace {

QByteArray stampDaysAgo(double days)
{
    const QDateTime when = QDateTime::currentDateTime().addSecs(qint64(-days * 24 * 3600));
    return when.toString(QStringLiteral("dd-MM-yyyy hh:mm:ss")).toUtf8();
}

QByteArray readLog()
{
    QFile file(m_logFileName);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
}

void writeLog(const QByteArray &contents)
{
    QFile file(m_logFileName);
    QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(contents);
}

const QRegularExpression entryPattern(QStringLiteral("^\\d\\d-\\d\\d-\\d{4} \\d\\d:\\d\\d:\\d\\d\\t"));

} // namespace

class LoggingTest : public QObject
{
    Q_OBJECT
private slots:
    void init()
    {
        QFile::remove(m_logFileName);
        QDir().mkpath(m_pathSettings); // for a log written before the first Logging makes it
    }

    void firstEntry_createsPrivateFileWithOneEntry()
    {
        Logging log;
        log.writeMessage(QStringLiteral("request failed"));
        const QByteArray contents = readLog();
        QVERIFY(QString::fromUtf8(contents).contains(entryPattern));
        QCOMPARE(contents.mid(19), QByteArray("\trequest failed\r\n"));
        QCOMPARE(QFile::permissions(m_logFileName) & 0x7077,
                 QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    }

    void message_isStoredAsOneEntry_data()
    {
        QTest::addColumn<QString>("message");
        QTest::addColumn<QByteArray>("stored");
        QTest::newRow("continuation lines indented by five tabs") << "a\nb" << QByteArray("\ta\n\t\t\t\t\tb\r\n");
        QTest::newRow("a server's control characters escaped")
            << "Service error: \x1b]0;PWNED\x07\x1b[2J\r" << QByteArray("\tService error: \\x1b]0;PWNED\\x07\\x1b[2J\\x0d\r\n");
    }

    void message_isStoredAsOneEntry()
    {
        QFETCH(QString, message);
        QFETCH(QByteArray, stored);
        Logging log;
        log.writeMessage(message);
        QCOMPARE(readLog().mid(19), stored);
    }

    void entriesOfOneSecond_allStayInOrder()
    {
        Logging log;
        log.writeMessage(QStringLiteral("first"));
        log.writeMessage(QStringLiteral("second"));
        const QList<QByteArray> lines = readLog().split('\n');
        QCOMPARE(lines.size(), 3);
        QVERIFY(lines.at(0).endsWith("\tfirst\r"));
        QVERIFY(lines.at(1).endsWith("\tsecond\r"));
    }

    void pruning_removesOnlyOldEntries_data()
    {
        QTest::addColumn<QByteArray>("before");
        QTest::addColumn<QByteArray>("kept");
        const QByteArray old = stampDaysAgo(8) + "\told\n\t\t\t\t\told continuation\r\n";
        const QByteArray young = stampDaysAgo(6.99) + "\tyoung\n\t\t\t\t\tyoung continuation\r\n";
        const QByteArray stray = "stray line without a stamp\n";
        const QByteArray badStamp = "32-13-2020 25:61:61\tbad stamp\r\n";
        QTest::newRow("old entry with its continuation") << old + young << young;
        QTest::newRow("just past seven days") << young + stampDaysAgo(7.01) + "\talso old\r\n" << young;
        QTest::newRow("stray line before an old entry") << stray + old + young << stray + young;
        QTest::newRow("stray line right after an old entry") << old + stray + young << stray + young;
        QTest::newRow("invalid stamp right after an old entry") << old + badStamp << badStamp;
    }

    void pruning_removesOnlyOldEntries()
    {
        QFETCH(QByteArray, before);
        QFETCH(QByteArray, kept);
        writeLog(before);
        Logging log;
        log.writeMessage(QStringLiteral("new"));
        const QByteArray contents = readLog();
        QCOMPARE(contents.left(kept.size()), kept);
        const QByteArray added = contents.mid(kept.size());
        QVERIFY2(QString::fromUtf8(added).contains(entryPattern), added.constData());
        QCOMPARE(added.mid(19), QByteArray("\tnew\r\n"));
    }

    void youngEntries_surviveManyWritesUnchanged()
    {
        const QByteArray young = stampDaysAgo(3) + "\tyoung\n\t\t\t\t\tline two\r\n";
        writeLog(young);
        Logging log;
        for (int i = 0; i < 5; ++i)
            log.writeMessage(QStringLiteral("entry %1").arg(i));
        const QByteArray contents = readLog();
        QVERIFY(contents.startsWith(young));
        QCOMPARE(contents.count("\r\n"), 6);
    }

    // A service's error text of megabytes is cut; the file keeps its newest entries, each
    // whole, within its bound.
    void hugeMessages_areCut_andTheFileKeepsItsNewestEntries()
    {
        QByteArray before;
        for (int i = 0; before.size() < Logging::maxFileBytes; ++i)
            before += stampDaysAgo(1) + "\tentry " + QByteArray::number(i) + "\n\t\t\t\t\t" + QByteArray(1000, 'x') + "\r\n";
        writeLog(before);
        const QString huge = "Error: " + QString(3 << 20, QLatin1Char('e'));
        Logging log;
        log.writeMessage(huge);
        log.writeMessage(huge);
        const QByteArray cut = "\tError: " + QByteArray(Logging::maxMessageChars - 7, 'e') + "... ("
            + QByteArray::number(huge.size() - Logging::maxMessageChars) + " more characters)\r\n";
        const QByteArray contents = readLog();
        QVERIFY(contents.size() <= Logging::maxFileBytes);
        const qsizetype added = 2 * (19 + cut.size());
        QVERIFY(contents.size() > added);
        const QByteArray kept = contents.chopped(added);
        QVERIFY2(before.endsWith(kept) && QString::fromUtf8(kept.left(20)).contains(entryPattern), kept.left(40).constData());
        for (const QByteArray &entry : {contents.right(added).left(added / 2), contents.right(added / 2)}) {
            QVERIFY(QString::fromUtf8(entry).contains(entryPattern));
            QCOMPARE(entry.mid(19), cut);
        }
    }

    // A cut entry would run into the next one.
    void entryPastAFileSizeLimit_leavesTheFileAsItWas()
    {
        const QByteArray young = stampDaysAgo(1) + "\tyoung\r\n";
        writeLog(young);
        Logging log;
        {
            const FileSizeLimit limit(young.size() + 30);
            log.writeMessage(QStringLiteral("a message longer than the ten bytes left"));
        }
        QCOMPARE(readLog(), young);
    }

    void missingDataFolder_losesTheEntryWithoutCrash()
    {
        Logging log;
        QDir(m_pathSettings).removeRecursively();
        log.writeMessage(QStringLiteral("lost"));
        QVERIFY(!QFile::exists(m_logFileName));
        QDir().mkpath(m_pathSettings);
        log.writeMessage(QStringLiteral("kept"));
        QVERIFY(readLog().endsWith("\tkept\r\n"));
    }
};

QTEST_GUILESS_MAIN(LoggingTest)
#include "tst_logging.moc"
