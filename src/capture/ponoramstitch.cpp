#include "ponoramstitch.h"

#include <QHash>

#include <algorithm>
#include <cstring>

namespace {

// The rows at the top of a frame that are looked for in the picture so far.
constexpr int stripRows = 100;
// Pixels of this brightness (red + green + blue) or more count as light.
constexpr int lightFrom = 382;
constexpr int bitsPerWord = 64;

bool isLight(QRgb pixel)
{
    return qRed(pixel) + qGreen(pixel) + qBlue(pixel) >= lightFrom;
}

QImage rgb32(const QImage &image)
{
    return image.format() == QImage::Format_RGB32 ? image : image.convertToFormat(QImage::Format_RGB32);
}

} // namespace

BitRows::BitRows(const QImage &image)
{
    const QImage pixels = rgb32(image);
    m_width = pixels.isNull() ? 0 : pixels.width();
    m_count = pixels.isNull() ? 0 : pixels.height();
    m_words = (m_width + bitsPerWord - 1) / bitsPerWord;
    m_bits.assign(size_t(m_count) * size_t(m_words), 0);
    m_hashes.resize(size_t(m_count));
    for (int y = 0; y < m_count; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        quint64 *words = m_bits.data() + size_t(y) * size_t(m_words);
        for (int x = 0; x < m_width; ++x) {
            if (isLight(line[x]))
                words[x / bitsPerWord] |= quint64(1) << (x % bitsPerWord);
        }
        m_hashes[size_t(y)] = qHashBits(words, size_t(m_words) * sizeof(quint64));
    }
}

bool BitRows::sameRow(int index, const BitRows &other, int otherIndex) const
{
    return m_words == other.m_words
        && std::memcmp(row(index), other.row(otherIndex), size_t(m_words) * sizeof(quint64)) == 0;
}

bool BitRows::plain(int rows) const
{
    for (int y = 1; y < std::min(rows, m_count); ++y) {
        if (m_hashes[size_t(y)] != m_hashes[0] || !sameRow(y, *this, 0))
            return false;
    }
    return true;
}

void BitRows::overwrite(int at, const BitRows &source)
{
    if (m_count == 0) {
        m_width = source.m_width;
        m_words = source.m_words;
    }
    const int count = std::max(m_count, at + source.m_count);
    m_bits.resize(size_t(count) * size_t(m_words));
    m_hashes.resize(size_t(count));
    std::copy(source.m_bits.begin(), source.m_bits.end(), m_bits.begin() + ptrdiff_t(at) * m_words);
    std::copy(source.m_hashes.begin(), source.m_hashes.end(), m_hashes.begin() + at);
    m_count = count;
}

void BitRows::clear()
{
    *this = BitRows();
}

int indexOf(const BitRows &big, const BitRows &frame, int stripRows, int from)
{
    const int rows = std::min(stripRows, frame.count());
    if (rows <= 0 || rows > big.count() || big.width() == 0 || big.width() != frame.width())
        return -1;
    const int last = big.count() - rows;
    const auto fits = [&](int offset) {
        for (int i = 0; i < rows; ++i) {
            if (big.hash(offset + i) != frame.hash(i) || !big.sameRow(offset + i, frame, i))
                return false;
        }
        return true;
    };
    from = std::clamp(from, 0, last);
    for (int offset = from; offset <= last; ++offset) {
        if (fits(offset))
            return offset;
    }
    for (int offset = from - 1; offset >= 0; --offset) {
        if (fits(offset))
            return offset;
    }
    return -1;
}

bool StitchedImage::begin(const QImage &frame)
{
    clear();
    if (frame.isNull())
        return false;
    const QImage pixels = rgb32(frame);
    m_devicePixelRatio = frame.devicePixelRatio();
    return glue(pixels, BitRows(pixels), 0);
}

StitchedImage::Outcome StitchedImage::add(const QImage &frame, int from, int *offset)
{
    const QImage pixels = rgb32(frame);
    const BitRows rows(pixels);
    *offset = -1;
    if (rows.count() > 0 && rows.width() == m_rows.width() && rows.plain(stripRows))
        return Outcome::Plain;
    *offset = indexOf(m_rows, rows, stripRows, from);
    if (*offset < 0)
        return Outcome::NoFit;
    return glue(pixels, rows, *offset) ? Outcome::Glued : Outcome::TooLarge;
}

void StitchedImage::clear()
{
    m_buffer = QImage();
    m_height = 0;
    m_rows.clear();
}

// The frame covers everything from the offset down; rows above it stay.
bool StitchedImage::glue(const QImage &frame, const BitRows &rows, int offset)
{
    if (!reserve(offset + frame.height(), frame.width()))
        return false;
    const size_t bytes = size_t(frame.width()) * sizeof(QRgb);
    for (int y = 0; y < frame.height(); ++y)
        std::memcpy(m_buffer.scanLine(offset + y), frame.constScanLine(y), bytes);
    m_rows.overwrite(offset, rows);
    m_height = std::max(m_height, offset + frame.height());
    return true;
}

// The buffer at least doubles when it grows, so that a capture of n rows copies the picture
// only about log n times.
bool StitchedImage::reserve(int rows, int width)
{
    if (!m_buffer.isNull() && m_buffer.height() >= rows)
        return true;
    const int capacity = std::max(rows, m_buffer.height() * 2);
    QImage grown(width, capacity, QImage::Format_RGB32);
    if (grown.isNull())
        return false;
    for (int y = 0; y < m_height; ++y)
        std::memcpy(grown.scanLine(y), m_buffer.constScanLine(y), size_t(width) * sizeof(QRgb));
    m_buffer = grown;
    return true;
}

QImage StitchedImage::image() const
{
    if (m_height == 0)
        return QImage();
    // The copy in `keeper` holds the buffer for as long as the picture lives.
    auto *keeper = new QImage(m_buffer);
    QImage picture(keeper->constBits(), keeper->width(), m_height, keeper->bytesPerLine(), keeper->format(),
                   [](void *held) { delete static_cast<QImage *>(held); }, keeper);
    picture.setDevicePixelRatio(m_devicePixelRatio);
    return picture;
}
