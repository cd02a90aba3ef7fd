#pragma once

#include <QImage>

#include <memory>
#include <vector>

// The bit table of an image: one bit per pixel, set where red + green + blue reach 382, so
// that a frame compares with the picture stitched so far by light and dark only. Rows are
// packed 64 pixels to a word and carry a hash, so that a row compares in one step and a
// search costs a look at each candidate row rather than at each pixel.
class BitRows
{
public:
    BitRows() = default;
    explicit BitRows(const QImage &image);

    int count() const { return m_count; }
    int width() const { return m_width; }
    quint64 hash(int row) const { return m_hashes[size_t(row)]; }
    bool sameRow(int row, const BitRows &other, int otherRow) const;
    // How many rows from the top are alike (all of them in a plain image): a strip of such
    // rows fits anywhere in a plain area and tells nothing about where it lies.
    int plainRows() const;
    // Rows from `at` on become the rows of `source`; the table grows as needed and never
    // shrinks.
    void overwrite(int at, const BitRows &source);
    void clear();

private:
    const quint64 *row(int index) const { return m_bits.data() + size_t(index) * size_t(m_words); }

    int m_width = 0;
    int m_words = 0;
    int m_count = 0;
    std::vector<quint64> m_bits;
    std::vector<quint64> m_hashes;
};

// The bit table of the image, in packed rows.
BitRows imgToArr(const QImage &img);

// Where the first `stripRows` rows of `frame` fit in `big`, looked for from `from` on
// downward first and then upward, nearest first, so that content seen again further up (a
// repeated band) never wins over the place next to the last one. -1 when they fit nowhere,
// when the strip is empty or taller than `big`, or when the widths differ.
int indexOf(const BitRows &big, const BitRows &frame, int stripRows, int from);

// Memory mapped from the system for pixel rows: growing it moves page tables, not pixels.
class PixelBlock
{
public:
    PixelBlock() = default;
    PixelBlock(const PixelBlock &) = delete;
    PixelBlock &operator=(const PixelBlock &) = delete;
    ~PixelBlock();

    bool resize(size_t bytes);
    uchar *bits() const { return m_bits; }

private:
    uchar *m_bits = nullptr;
    size_t m_bytes = 0;
};

// The picture stitched from successive frames, and its bit table. The pixels live in a block
// with room to grow, so that gluing a frame costs the frame's rows, not the whole picture.
//
// The picture grows no taller than a JPEG can hold (65,500 rows) and its pixels take no more
// than 512 MiB, so that whatever was stitched can still be shown, encoded and delivered.
class StitchedImage
{
public:
    enum class Outcome { Glued, Plain, NoFit, TooLarge };

    static constexpr int maxHeight = 65500;
    static constexpr qint64 maxBytes = qint64(512) << 20;

    // The first frame: the picture starts as that frame.
    bool begin(const QImage &frame);
    // Finds where the frame's top rows lie and draws the frame there. The offset found is
    // returned through `offset`. A plain frame is not placed at all; a frame that would make
    // the picture larger than its bound is not either (TooLarge).
    Outcome add(const QImage &frame, int from, int *offset);
    void clear();

    bool isEmpty() const { return m_height == 0; }
    QSize size() const { return QSize(m_width, m_height); }
    // The picture so far, sharing the buffer: whoever keeps it past the next frame makes the
    // next frame copy the buffer once, so the picture they hold never changes under them.
    QImage image() const;

private:
    bool glue(const QImage &frame, const BitRows &rows, int offset);
    int heightBound() const;
    bool reserve(int rows);
    bool detach();
    uchar *row(int y) const { return m_block->bits() + size_t(y) * size_t(m_width) * sizeof(QRgb); }

    std::shared_ptr<PixelBlock> m_block;
    int m_width = 0;
    int m_capacity = 0;
    int m_height = 0;
    BitRows m_rows;
    qreal m_devicePixelRatio = 1.0;
};
