#include "pngdataurl.h"

#include <QtEndian>

#include <zlib.h>

namespace {

void appendBigEndian(QByteArray &out, quint32 value)
{
    char bytes[4];
    qToBigEndian(value, bytes);
    out.append(bytes, 4);
}

void appendChunk(QByteArray &out, const char *type, const QByteArray &data)
{
    appendBigEndian(out, quint32(data.size()));
    const int start = int(out.size());
    out.append(type, 4);
    out.append(data);
    const auto *checked = reinterpret_cast<const Bytef *>(out.constData() + start);
    appendBigEndian(out, quint32(crc32(0, checked, uInt(out.size() - start))));
}

// RGB rows, each led by filter type 0 (none).
QByteArray rawRows(const QImage &rgb)
{
    const int rowBytes = rgb.width() * 3;
    QByteArray rows(qsizetype(rgb.height()) * (rowBytes + 1), Qt::Uninitialized);
    char *out = rows.data();
    for (int y = 0; y < rgb.height(); ++y) {
        *out++ = 0;
        memcpy(out, rgb.constScanLine(y), size_t(rowBytes));
        out += rowBytes;
    }
    return rows;
}

QByteArray storedZlib(const QByteArray &raw)
{
    uLongf size = compressBound(uLong(raw.size()));
    QByteArray packed(qsizetype(size), Qt::Uninitialized);
    if (compress2(reinterpret_cast<Bytef *>(packed.data()), &size, reinterpret_cast<const Bytef *>(raw.constData()),
                  uLong(raw.size()), Z_NO_COMPRESSION) != Z_OK)
        return QByteArray();
    packed.truncate(qsizetype(size));
    return packed;
}

QByteArray header(const QImage &image)
{
    QByteArray data;
    appendBigEndian(data, quint32(image.width()));
    appendBigEndian(data, quint32(image.height()));
    data.append(char(8)); // bit depth
    data.append(char(2)); // colour type: RGB
    data.append(3, char(0)); // compression, filter, interlace
    return data;
}

} // namespace

QString pngDataUrl(const QImage &image)
{
    if (image.isNull())
        return QStringLiteral("data:image/png;base64,");
    const QImage rgb = image.convertToFormat(QImage::Format_RGB888);
    const QByteArray pixels = storedZlib(rawRows(rgb));
    QByteArray png("\x89PNG\r\n\x1a\n", 8);
    appendChunk(png, "IHDR", header(rgb));
    appendChunk(png, "IDAT", pixels);
    appendChunk(png, "IEND", QByteArray());
    return QStringLiteral("data:image/png;base64,") + QString::fromLatin1(png.toBase64());
}
