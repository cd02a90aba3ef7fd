#include "pngdataurl.h"

#include <QtEndian>

#include <zlib.h>

namespace {

constexpr int storedBlockLimit = 65535;
const char signature[] = "\x89PNG\r\n\x1a\n";

class PngWriter
{
public:
    explicit PngWriter(qsizetype capacity) { m_bytes.reserve(capacity); }

    void raw(const char *data, qsizetype size) { m_bytes.append(data, size); }

    void bigEndian(quint32 value)
    {
        char bytes[4];
        qToBigEndian(value, bytes);
        raw(bytes, 4);
    }

    void beginChunk(const char *type, quint32 size)
    {
        bigEndian(size);
        m_chunkStart = m_bytes.size();
        raw(type, 4);
    }

    void endChunk()
    {
        const auto *checked = reinterpret_cast<const Bytef *>(m_bytes.constData() + m_chunkStart);
        bigEndian(quint32(crc32(0, checked, uInt(m_bytes.size() - m_chunkStart))));
    }

    QByteArray &bytes() { return m_bytes; }

private:
    QByteArray m_bytes;
    qsizetype m_chunkStart = 0;
};

// The image data as a zlib stream of stored blocks: unfiltered RGB rows, no compression.
void writeStoredRows(PngWriter &png, const QImage &rgb, qsizetype rawSize)
{
    const int rowBytes = rgb.width() * 3;
    png.raw("\x78\x01", 2);
    uLong adler = adler32(0, nullptr, 0);
    qsizetype left = rawSize;
    qsizetype inBlock = 0;
    auto put = [&](const char *data, qsizetype size) {
        while (size > 0) {
            if (inBlock == 0) {
                const quint16 length = quint16(qMin<qsizetype>(left, storedBlockLimit));
                const char header[5] = {char(left <= storedBlockLimit ? 1 : 0), char(length & 0xff), char(length >> 8),
                                        char(~length & 0xff), char((~length >> 8) & 0xff)};
                png.raw(header, 5);
                inBlock = length;
            }
            const qsizetype part = qMin(size, inBlock);
            png.raw(data, part);
            adler = adler32(adler, reinterpret_cast<const Bytef *>(data), uInt(part));
            data += part;
            size -= part;
            inBlock -= part;
            left -= part;
        }
    };
    const char noFilter = 0;
    for (int y = 0; y < rgb.height(); ++y) {
        put(&noFilter, 1);
        put(reinterpret_cast<const char *>(rgb.constScanLine(y)), rowBytes);
    }
    png.bigEndian(quint32(adler));
}

QByteArray encodePng(const QImage &rgb)
{
    const qsizetype rawSize = qsizetype(rgb.height()) * (rgb.width() * 3 + 1);
    const qsizetype blocks = rawSize / storedBlockLimit + 1;
    const qsizetype idatSize = 2 + rawSize + blocks * 5 + 4;
    PngWriter png(8 + 25 + 12 + idatSize + 12);
    png.raw(signature, 8);
    png.beginChunk("IHDR", 13);
    png.bigEndian(quint32(rgb.width()));
    png.bigEndian(quint32(rgb.height()));
    png.raw("\x08\x02\x00\x00\x00", 5); // 8 bits per channel, RGB, deflate, no filter, no interlace
    png.endChunk();
    png.beginChunk("IDAT", quint32(idatSize));
    writeStoredRows(png, rgb, rawSize);
    png.endChunk();
    png.beginChunk("IEND", 0);
    png.endChunk();
    return std::move(png.bytes());
}

// Base64 straight into the text of the URL, without an intermediate byte array.
QString dataUrl(const QByteArray &png)
{
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    const QString prefix = QStringLiteral("data:image/png;base64,");
    const qsizetype size = png.size();
    QString url(prefix.size() + (size + 2) / 3 * 4, Qt::Uninitialized);
    QChar *out = url.data();
    for (const QChar c : prefix)
        *out++ = c;
    const auto *in = reinterpret_cast<const uchar *>(png.constData());
    qsizetype i = 0;
    for (; i + 2 < size; i += 3) {
        const quint32 triple = (in[i] << 16) | (in[i + 1] << 8) | in[i + 2];
        *out++ = QLatin1Char(alphabet[(triple >> 18) & 63]);
        *out++ = QLatin1Char(alphabet[(triple >> 12) & 63]);
        *out++ = QLatin1Char(alphabet[(triple >> 6) & 63]);
        *out++ = QLatin1Char(alphabet[triple & 63]);
    }
    if (i < size) {
        const quint32 triple = (in[i] << 16) | (i + 1 < size ? in[i + 1] << 8 : 0);
        *out++ = QLatin1Char(alphabet[(triple >> 18) & 63]);
        *out++ = QLatin1Char(alphabet[(triple >> 12) & 63]);
        *out++ = i + 1 < size ? QLatin1Char(alphabet[(triple >> 6) & 63]) : QLatin1Char('=');
        *out++ = QLatin1Char('=');
    }
    return url;
}

} // namespace

QString pngDataUrl(const QImage &image)
{
    if (image.isNull())
        return QStringLiteral("data:image/png;base64,");
    return dataUrl(encodePng(image.convertToFormat(QImage::Format_RGB888)));
}
