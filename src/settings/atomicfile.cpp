#include "atomicfile.h"

#include "datafolder.h"

AtomicFile::AtomicFile(const QString &path, Access access)
    : QSaveFile(path)
{
    if (open(QIODevice::WriteOnly | QIODevice::Unbuffered) && access == Access::Private
        && !setPermissions(DataFolder::privateFile))
        cancelWriting();
}

// A short write is tried again for the rest: the system tells why only at the write that
// gets nothing through.
qint64 AtomicFile::writeData(const char *data, qint64 size)
{
    for (qint64 done = 0; done < size;) {
        const qint64 written = QSaveFile::writeData(data + done, size - done);
        if (written <= 0) {
            if (error() == QFileDevice::NoError)
                cancelWriting(); // commit() must fail all the same
            return -1;
        }
        done += written;
    }
    return size;
}

bool AtomicFile::save(const QString &path, const QByteArray &bytes, QString *error, Access access)
{
    AtomicFile file(path, access);
    if (file.isOpen() && file.write(bytes) == bytes.size() && file.commit())
        return true;
    *error = file.errorString();
    return false;
}
