#pragma once

#include <QProcess>
#include <QStringList>
#include <QTest>

// Runs the sqlite3 command on a database file and returns its output lines.
inline QStringList sqlite(const QString &file, const QString &statement)
{
    QProcess process;
    process.start(QStringLiteral("sqlite3"), {file, statement});
    if (!process.waitForFinished(10000) || process.exitCode() != 0)
        return {QStringLiteral("sqlite3 failed: ") + QString::fromUtf8(process.readAllStandardError())};
    QString out = QString::fromUtf8(process.readAllStandardOutput());
    if (out.endsWith(QLatin1Char('\n')))
        out.chop(1);
    return out.isEmpty() ? QStringList() : out.split(QLatin1Char('\n'));
}

// Another program holding the settings file in a transaction (exclusive, or reading, which
// lets others write but not commit) until `release` (Python) returns: a sleep, or the end
// of its standard input. True once it holds it.
inline bool holdDatabase(QProcess &holder, const QString &file, const QString &release, bool exclusive = true)
{
    const QString begin = exclusive ? "db.execute('BEGIN EXCLUSIVE')\n"
                                    : "db.execute('BEGIN')\ndb.execute('SELECT count(*) FROM Settings').fetchall()\n";
    holder.start("python3", {"-c", "import sqlite3, sys, time\n"
                                   "db = sqlite3.connect(sys.argv[1], isolation_level=None)\n"
                                   + begin + "print('locked', flush=True)\n"
                                   + release + "\n"
                                   "db.execute('COMMIT')\n", file});
    return holder.waitForReadyRead(10000);
}
