#pragma once

// Files and pictures as the tests read and write them.

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>
#include <QRandomGenerator>

#include <csignal>
#include <sys/resource.h>

// The whole file, empty when it cannot be read.
inline QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// Writes the bytes, making the folder first; false when any of it fails.
inline bool writeFile(const QString &path, const QByteArray &bytes)
{
    QDir().mkpath(QFileInfo(path).absolutePath());
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// Random bytes: no compressor shrinks them, and a shifted or dropped block cannot compare equal.
inline QByteArray randomBytes(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    for (char &byte : bytes)
        byte = char(QRandomGenerator::global()->generate());
    return bytes;
}

// Pictures compare pixel by pixel once both are in one format.
inline QImage rgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

inline QImage rgb(const QPixmap &pixmap)
{
    return rgb(pixmap.toImage());
}

// The picture as a PNG file holds it.
inline QByteArray pngBytes(const QPixmap &picture)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    picture.save(&buffer, "PNG");
    return bytes;
}

// A file-size limit on this process while it lives, as `ulimit -f` sets one: a write past
// it fails with EFBIG, SIGXFSZ being ignored as the program ignores it.
class FileSizeLimit
{
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        std::signal(SIGXFSZ, SIG_IGN);
        ::getrlimit(RLIMIT_FSIZE, &m_before);
        rlimit limit = m_before;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() { ::setrlimit(RLIMIT_FSIZE, &m_before); }
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_before{};
};
