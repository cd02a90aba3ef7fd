#include "atomicfile.h"

#include "datafolder.h"

AtomicFile::AtomicFile(const QString &path, Access access)
    : QSaveFile(path)
{
    if (open(QIODevice::WriteOnly | QIODevice::Unbuffered) && access == Access::Private
        && !setPermissions(DataFolder::privateFile))
        cancelWriting();
}

qint64 AtomicFile::writeData(const char *data, qint64 size)
{
    const auto write = [this](const char *rest, qint64 left) { return QSaveFile::writeData(rest, left); };
    if (writeInFull(write, data, size) == size)
        return size;
    if (error() == QFileDevice::NoError)
        cancelWriting(); // commit() must fail all the same
    return -1;
}

bool AtomicFile::save(const QString &path, const QByteArray &bytes, QString *error, Access access)
{
    AtomicFile file(path, access);
    if (file.isOpen() && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = file.errorString();
    return false;
}
