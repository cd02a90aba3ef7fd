#include "ponoramstitch.h"

#include <QHash>

#include <algorithm>
#include <cstring>

#include <sys/mman.h>

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

// One bit per light pixel. The light flags are worked out for 64 pixels at once (which the
// compiler can vectorise), then folded eight at a time into a byte by one multiplication; the
// bits come out in their own order, which is fine: rows only ever compare with rows packed
// the same way.
void packRow(const QRgb *line, int width, quint64 *words)
{
    uchar light[bitsPerWord];
    for (int first = 0, word = 0; first < width; first += bitsPerWord, ++word) {
        const int count = std::min(bitsPerWord, width - first);
        for (int i = 0; i < count; ++i)
            light[i] = isLight(line[first + i]);
        std::fill(light + count, light + bitsPerWord, uchar(0));
        quint64 bits = 0;
        for (int byte = 0; byte < 8; ++byte) {
            quint64 eight;
            std::memcpy(&eight, light + byte * 8, sizeof(eight));
            bits |= ((eight * 0x0102040810204080ull) >> 56) << (byte * 8);
        }
        words[word] = bits;
    }
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
    m_bits.resize(size_t(m_count) * size_t(m_words));
    m_hashes.resize(size_t(m_count));
    for (int y = 0; y < m_count; ++y) {
        const auto *line = reinterpret_cast<const QRgb *>(pixels.constScanLine(y));
        quint64 *words = m_bits.data() + size_t(y) * size_t(m_words);
        packRow(line, m_width, words);
        m_hashes[size_t(y)] = qHashBits(words, size_t(m_words) * sizeof(quint64));
    }
}

bool BitRows::sameRow(int index, const BitRows &other, int otherIndex) const
{
    return m_words == other.m_words
        && std::memcmp(row(index), other.row(otherIndex), size_t(m_words) * sizeof(quint64)) == 0;
}

int BitRows::plainRows() const
{
    int y = 1;
    while (y < m_count && m_hashes[size_t(y)] == m_hashes[0] && sameRow(y, *this, 0))
        ++y;
    return std::min(y, m_count);
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

BitRows imgToArr(const QImage &img)
{
    return BitRows(img);
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
    return glue(pixels, imgToArr(pixels), 0);
}

StitchedImage::Outcome StitchedImage::add(const QImage &frame, int from, int *offset)
{
    const QImage pixels = rgb32(frame);
    const BitRows rows = imgToArr(pixels);
    *offset = -1;
    const int plainTop = rows.plainRows();
    if (rows.count() > 0 && rows.width() == m_rows.width() && plainTop == rows.count())
        return Outcome::Plain;
    // Over a plain top the strip reaches down to the first row that tells where it lies.
    *offset = indexOf(m_rows, rows, std::max(stripRows, plainTop + 1), from);
    if (*offset < 0)
        return Outcome::NoFit;
    if (*offset + pixels.height() > heightBound())
        return Outcome::TooLarge;
    return glue(pixels, rows, *offset) ? Outcome::Glued : Outcome::TooLarge;
}

void StitchedImage::clear()
{
    m_block.reset();
    m_width = 0;
    m_capacity = 0;
    m_height = 0;
    m_rows.clear();
}

// The frame covers everything from the offset down; rows above it stay.
bool StitchedImage::glue(const QImage &frame, const BitRows &rows, int offset)
{
    if (!m_block)
        m_width = frame.width();
    if (!reserve(offset + frame.height()) || !detach())
        return false;
    const size_t bytes = size_t(m_width) * sizeof(QRgb);
    for (int y = 0; y < frame.height(); ++y)
        std::memcpy(row(offset + y), frame.constScanLine(y), bytes);
    m_rows.overwrite(offset, rows);
    m_height = std::max(m_height, offset + frame.height());
    return true;
}

int StitchedImage::heightBound() const
{
    const qint64 rowBytes = qint64(std::max(m_width, 1)) * qint64(sizeof(QRgb));
    return int(std::min<qint64>(maxHeight, maxBytes / rowBytes));
}

// The room at least doubles (up to the bound), so that the block grows only about log n
// times in n rows.
bool StitchedImage::reserve(int rows)
{
    if (rows <= m_capacity)
        return true;
    const int capacity = std::max(rows, std::min(m_capacity * 2, heightBound()));
    const size_t bytes = size_t(capacity) * size_t(m_width) * sizeof(QRgb);
    if (!m_block)
        m_block = std::make_shared<PixelBlock>();
    if (m_block.use_count() == 1) {
        if (!m_block->resize(bytes))
            return false;
    } else {
        auto grown = std::make_shared<PixelBlock>();
        if (!grown->resize(bytes))
            return false;
        std::memcpy(grown->bits(), m_block->bits(), size_t(m_height) * size_t(m_width) * sizeof(QRgb));
        m_block = grown;
    }
    m_capacity = capacity;
    return true;
}

// Before rows change: a picture handed out earlier keeps the rows it was given.
bool StitchedImage::detach()
{
    if (m_block.use_count() == 1)
        return true;
    auto own = std::make_shared<PixelBlock>();
    if (!own->resize(size_t(m_capacity) * size_t(m_width) * sizeof(QRgb)))
        return false;
    std::memcpy(own->bits(), m_block->bits(), size_t(m_height) * size_t(m_width) * sizeof(QRgb));
    m_block = own;
    return true;
}

QImage StitchedImage::image() const
{
    if (m_height == 0)
        return QImage();
    // The picture holds the block for as long as it lives.
    auto *holder = new std::shared_ptr<PixelBlock>(m_block);
    QImage picture(m_block->bits(), m_width, m_height, m_width * int(sizeof(QRgb)), QImage::Format_RGB32,
                   [](void *held) { delete static_cast<std::shared_ptr<PixelBlock> *>(held); }, holder);
    picture.setDevicePixelRatio(m_devicePixelRatio);
    return picture;
}

PixelBlock::~PixelBlock()
{
    if (m_bits)
        munmap(m_bits, m_bytes);
}

bool PixelBlock::resize(size_t bytes)
{
    void *moved = m_bits ? mremap(m_bits, m_bytes, bytes, MREMAP_MAYMOVE)
                         : mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (moved == MAP_FAILED)
        return false;
    m_bits = static_cast<uchar *>(moved);
    m_bytes = bytes;
    return true;
}
