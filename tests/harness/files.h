#pragma once

// Files and pictures as the tests read and write them.

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QPixmap>

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

// Pictures compare pixel by pixel once both are in one format.
inline QImage rgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

inline QImage rgb(const QPixmap &pixmap)
{
    return rgb(pixmap.toImage());
}
