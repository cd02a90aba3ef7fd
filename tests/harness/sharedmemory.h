#pragma once

#include <QFile>
#include <QList>

// True in the _noshm twin of a test, which the harness runs in an IPC namespace of its own:
// there the X server cannot reach this process's shared memory.
inline bool serverOutsideOurMemory()
{
    return qEnvironmentVariableIsSet("MAVU_TEST_SEPARATE_IPC");
}

// Shared-memory segments of at least `bytes` (and less than a page more) mapped into this
// process, as /proc/self/maps lists them.
inline int mappedSegments(qsizetype bytes)
{
    QFile maps(QStringLiteral("/proc/self/maps"));
    if (!maps.open(QIODevice::ReadOnly))
        return -1;
    int count = 0;
    for (const QByteArray &line : maps.readAll().split('\n')) {
        if (!line.contains("SYSV"))
            continue;
        const QList<QByteArray> range = line.left(line.indexOf(' ')).split('-');
        const qint64 size = qint64(range.value(1).toULongLong(nullptr, 16) - range.value(0).toULongLong(nullptr, 16));
        count += size >= bytes && size < bytes + 4096;
    }
    return count;
}
