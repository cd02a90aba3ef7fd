#pragma once

#include <QByteArray>
#include <QFile>
#include <QProcessEnvironment>
#include <QString>

// A field of a process's status file in kilobytes ("VmRSS:", "VmHWM:"), -1 when it cannot be
// read. `process` is a process id or "self".
inline qint64 statusKilobytes(const QString &process, const QByteArray &field)
{
    QFile status(QStringLiteral("/proc/%1/status").arg(process));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(field))
            return line.mid(field.size()).trimmed().split(' ').first().toLongLong();
    return -1;
}

// The program's environment with its debug lines on: the benchmarks time their marks.
inline QProcessEnvironment withDebugLines()
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("MAVU_DEBUG"), QStringLiteral("1"));
    return environment;
}
