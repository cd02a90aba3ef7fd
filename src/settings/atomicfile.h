#pragma once

#include <QByteArray>
#include <QSaveFile>
#include <QString>

// Calls write(data, size) for the rest of the bytes until all went through or a call got
// none through, and returns how many did. A write cut short by a full disk or a file-size
// limit gives no reason; the system tells why only at the write that gets nothing through.
template <typename Write>
qint64 writeInFull(Write write, const char *data, qint64 size)
{
    qint64 done = 0;
    while (done < size) {
        const qint64 written = write(data + done, size - done);
        if (written <= 0)
            break;
        done += written;
    }
    return done;
}

// A file that is replaced in one step and only when every byte reached it: until commit()
// the old file (or none) stays under its name, and after a failed write commit() fails
// and leaves it that way. The writes go to the file unbuffered, each whole or failing
// with the system's reason, so a full disk or a file-size limit shows at the write that
// meets it. Through a buffer it would not: QSaveFile::commit() reports success when the
// flush of the last buffered bytes fails, leaving a cut or empty file.
class AtomicFile : public QSaveFile
{
public:
    // Default: the permissions of the file it replaces, or of a new file under the umask.
    // Private: readable and writable by the user alone, before any byte is written.
    enum class Access { Default, Private };

    // Opened for writing at once: isOpen() and errorString() tell whether that failed.
    explicit AtomicFile(const QString &path, Access access = Access::Default);

    // The whole file in one call: false with the reason (e.g. "No space left on device",
    // "File too large") in *error when it was not written.
    static bool save(const QString &path, const QByteArray &bytes, QString *error, Access access = Access::Default);

protected:
    qint64 writeData(const char *data, qint64 size) override;
};
