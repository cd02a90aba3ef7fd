#pragma once

#include <QProcess>
#include <QStringList>
#include <QtTest>

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
