#include "zaiformat.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zai {
namespace {

constexpr unsigned char magic[4] = {'Z', 'I', 'A', 0x1a};
constexpr std::uint32_t version = 1;
constexpr std::size_t headerSize = 16;
// The largest capture the program makes is a stitched picture of 512 MiB of pixels; its
// PNG or JPEG file is smaller. No recording is longer than the sound a part can hold.
constexpr std::uint32_t maxImageSize = std::uint32_t(512) << 20;
constexpr std::uint32_t maxAudioSize = INT_MAX;

struct Header
{
    std::uint32_t version = 0;
    std::uint32_t imageSize = 0;
    std::uint32_t audioSize = 0;
};

void putLittleEndian(unsigned char *at, std::uint32_t value)
{
    for (int i = 0; i < 4; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint32_t takeLittleEndian(const unsigned char *at)
{
    std::uint32_t value = 0;
    for (int i = 3; i >= 0; --i)
        value = (value << 8) | at[i];
    return value;
}

bool writeBytes(std::FILE *file, const char *bytes, int size)
{
    return size == 0 || std::fwrite(bytes, 1, static_cast<std::size_t>(size), file) == static_cast<std::size_t>(size);
}

bool writeContents(std::FILE *file, const char *image, int imageSize, const char *audio, int audioSize)
{
    unsigned char header[headerSize];
    for (int i = 0; i < 4; ++i)
        header[i] = magic[i];
    putLittleEndian(header + 4, version);
    putLittleEndian(header + 8, static_cast<std::uint32_t>(imageSize));
    putLittleEndian(header + 12, static_cast<std::uint32_t>(audioSize));
    return std::fwrite(header, 1, sizeof header, file) == sizeof header && writeBytes(file, image, imageSize)
        && writeBytes(file, audio, audioSize) && std::fflush(file) == 0 && ::fsync(::fileno(file)) == 0;
}

bool validPart(const char *bytes, int size)
{
    return size >= 0 && (size == 0 || bytes != nullptr);
}

bool startsWith(const unsigned char *bytes, std::size_t size, const unsigned char *signature, std::size_t length)
{
    if (size < length)
        return false;
    for (std::size_t i = 0; i < length; ++i)
        if (bytes[i] != signature[i])
            return false;
    return true;
}

// The image part is empty or a PNG or JPEG file: its first bytes tell, before a part of
// hundreds of megabytes is read, and before a file is written that a read would refuse.
bool pictureLooksRight(const unsigned char *bytes, std::size_t size)
{
    static constexpr unsigned char png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    static constexpr unsigned char jpeg[3] = {0xff, 0xd8, 0xff};
    return size == 0 || startsWith(bytes, size, png, sizeof png) || startsWith(bytes, size, jpeg, sizeof jpeg);
}

bool partsFit(std::uint32_t imageSize, std::uint32_t audioSize)
{
    return imageSize <= maxImageSize && audioSize <= maxAudioSize;
}

// A file is written only when a read takes it back as it was written.
bool readableParts(const char *image, int imageSize, const char *audio, int audioSize)
{
    return validPart(image, imageSize) && validPart(audio, audioSize)
        && partsFit(static_cast<std::uint32_t>(imageSize), static_cast<std::uint32_t>(audioSize))
        && pictureLooksRight(reinterpret_cast<const unsigned char *>(image), static_cast<std::size_t>(imageSize));
}

// Opened without waiting: a named pipe or a device would block the open (and the reader)
// until someone writes to it. Only a regular file goes on.
int openRegularFile(const char *fileName, long long *fileSize)
{
    const int descriptor = ::open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return -1;
    struct stat info;
    if (::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode)) {
        *fileSize = static_cast<long long>(info.st_size);
        return descriptor;
    }
    ::close(descriptor);
    return -1;
}

bool readAt(int descriptor, unsigned char *bytes, std::size_t size, off_t offset, std::size_t *got)
{
    *got = 0;
    while (*got < size) {
        const ssize_t count = ::pread(descriptor, bytes + *got, size - *got, offset + static_cast<off_t>(*got));
        if (count < 0 && errno == EINTR)
            continue;
        if (count < 0)
            return false;
        if (count == 0)
            break;
        *got += static_cast<std::size_t>(count);
    }
    return true;
}

// The header of an open file whose size is known, checked with the picture's first bytes,
// or the failure code.
int readHeader(int descriptor, long long fileSize, Header *header)
{
    unsigned char bytes[headerSize + 8];
    std::size_t got = 0;
    if (!readAt(descriptor, bytes, sizeof bytes, 0, &got))
        return unreadableFile;
    for (std::size_t i = 0; i < 4; ++i)
        if (i >= got || bytes[i] != magic[i])
            return notVoiceComment;
    if (got < headerSize)
        return damagedFile;
    header->version = takeLittleEndian(bytes + 4);
    header->imageSize = takeLittleEndian(bytes + 8);
    header->audioSize = takeLittleEndian(bytes + 12);
    if (header->version != version)
        return notVoiceComment;
    const std::size_t pictureStart = std::min<std::size_t>(got - headerSize, header->imageSize);
    if (!partsFit(header->imageSize, header->audioSize)
        || static_cast<long long>(headerSize) + header->imageSize + header->audioSize != fileSize
        || !pictureLooksRight(bytes + headerSize, pictureStart))
        return damagedFile;
    return 0;
}

// One part's bytes, mapped from the file rather than copied: the caller's copy is the
// only one in memory. The pages are read in here, so that a file that cannot be read to
// its end (a failing disk or share, a file cut meanwhile) is refused now rather than
// faulting while the caller copies it.
class MappedPart
{
public:
    MappedPart() = default;
    MappedPart(const MappedPart &) = delete;
    MappedPart &operator=(const MappedPart &) = delete;
    ~MappedPart() { release(); }

    bool map(int descriptor, long long offset, std::size_t size)
    {
        release();
        const long long page = ::sysconf(_SC_PAGESIZE);
        const long long start = offset - offset % page;
        const std::size_t length = static_cast<std::size_t>(offset - start) + size;
        void *address = ::mmap(nullptr, length, PROT_READ, MAP_PRIVATE, descriptor, static_cast<off_t>(start));
        if (address == MAP_FAILED)
            return false;
        m_address = address;
        m_length = length;
        m_bytes = static_cast<const char *>(address) + (offset - start);
        if (::madvise(address, length, MADV_POPULATE_READ) == 0 || errno == EINVAL) // EINVAL: kernels before 5.14
            return true;
        release();
        return false;
    }

    void release()
    {
        if (m_address != nullptr)
            ::munmap(m_address, m_length);
        m_address = nullptr;
        m_length = 0;
        m_bytes = nullptr;
    }

    const char *bytes() const { return m_bytes; }

private:
    void *m_address = nullptr;
    std::size_t m_length = 0;
    const char *m_bytes = nullptr;
};

int mapPart(int descriptor, long long fileSize, Part part, MappedPart *mapping)
{
    Header header;
    const int failure = readHeader(descriptor, fileSize, &header);
    if (failure != 0)
        return failure;
    const long long offset = static_cast<long long>(headerSize) + (part == Part::Image ? 0 : header.imageSize);
    const int size = static_cast<int>(part == Part::Image ? header.imageSize : header.audioSize);
    if (size > 0 && !mapping->map(descriptor, offset, static_cast<std::size_t>(size)))
        return unreadableFile;
    return size;
}

} // namespace

int writeFile(const char *fileName, const char *image, int imageSize, const char *audio, int audioSize)
{
    if (fileName == nullptr || !readableParts(image, imageSize, audio, audioSize))
        return 0;
    std::string temporary = std::string(fileName) + ".XXXXXX";
    const int descriptor = ::mkstemp(temporary.data());
    if (descriptor < 0)
        return 0;
    std::FILE *file = ::fdopen(descriptor, "wb");
    if (file == nullptr) {
        ::close(descriptor);
        ::unlink(temporary.c_str());
        return 0;
    }
    bool written = writeContents(file, image, imageSize, audio, audioSize);
    written = std::fclose(file) == 0 && written;
    if (written && std::rename(temporary.c_str(), fileName) == 0)
        return 1;
    ::unlink(temporary.c_str());
    return 0;
}

const char *readPart(const char *fileName, Part part, int *size)
{
    thread_local MappedPart images;
    thread_local MappedPart sounds;
    static const char nothing = 0;
    int ignored = 0;
    int &result = size != nullptr ? *size : ignored;
    MappedPart &mapping = part == Part::Image ? images : sounds;
    mapping.release();
    result = unreadableFile;
    long long fileSize = 0;
    const int descriptor = fileName != nullptr ? openRegularFile(fileName, &fileSize) : -1;
    if (descriptor < 0)
        return nullptr;
    result = mapPart(descriptor, fileSize, part, &mapping);
    ::close(descriptor);
    if (result < 0)
        return nullptr;
    return result == 0 ? &nothing : mapping.bytes();
}

} // namespace zai
