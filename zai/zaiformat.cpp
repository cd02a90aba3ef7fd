#include "zaiformat.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zai {
namespace {

constexpr unsigned char magic[4] = {'Z', 'I', 'A', 0x1a};
constexpr std::uint32_t version = 1;
constexpr long headerSize = 16;

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

// The image part is a PNG or JPEG file: its first bytes tell before a part of up to 2 GB
// is read into memory.
bool imageLooksRight(std::FILE *file, std::uint32_t imageSize)
{
    static constexpr unsigned char png[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1a, '\n'};
    static constexpr unsigned char jpeg[3] = {0xff, 0xd8, 0xff};
    if (imageSize == 0)
        return true;
    unsigned char bytes[sizeof png];
    const std::size_t got = std::fread(bytes, 1, imageSize < sizeof bytes ? imageSize : sizeof bytes, file);
    return startsWith(bytes, got, png, sizeof png) || startsWith(bytes, got, jpeg, sizeof jpeg);
}

// Opened without waiting: a named pipe or a device would block the open (and the reader)
// until someone writes to it. Only a regular file goes on, read as usual.
std::FILE *openRegularFile(const char *fileName)
{
    const int descriptor = ::open(fileName, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (descriptor < 0)
        return nullptr;
    struct stat info;
    std::FILE *file = nullptr;
    if (::fstat(descriptor, &info) == 0 && S_ISREG(info.st_mode)
        && ::fcntl(descriptor, F_SETFL, ::fcntl(descriptor, F_GETFL) & ~O_NONBLOCK) == 0)
        file = ::fdopen(descriptor, "rb");
    if (file == nullptr)
        ::close(descriptor);
    return file;
}

// The header of an open file whose size is known, or the failure code.
int readHeader(std::FILE *file, long long fileSize, Header *header)
{
    unsigned char bytes[headerSize];
    const std::size_t got = std::fread(bytes, 1, sizeof bytes, file);
    for (std::size_t i = 0; i < 4; ++i)
        if (i >= got || bytes[i] != magic[i])
            return notVoiceComment;
    if (got < sizeof bytes)
        return damagedFile;
    header->version = takeLittleEndian(bytes + 4);
    header->imageSize = takeLittleEndian(bytes + 8);
    header->audioSize = takeLittleEndian(bytes + 12);
    if (header->version != version)
        return notVoiceComment;
    if (header->imageSize > INT_MAX || header->audioSize > INT_MAX
        || headerSize + static_cast<long long>(header->imageSize) + header->audioSize != fileSize
        || !imageLooksRight(file, header->imageSize))
        return damagedFile;
    return 0;
}

int readPartOf(std::FILE *file, Part part, std::vector<char> *buffer)
{
    struct stat info;
    if (::fstat(::fileno(file), &info) != 0)
        return unreadableFile;
    Header header;
    const int failure = readHeader(file, static_cast<long long>(info.st_size), &header);
    if (failure != 0)
        return failure;
    const long offset = part == Part::Image ? headerSize : headerSize + static_cast<long>(header.imageSize);
    const int size = static_cast<int>(part == Part::Image ? header.imageSize : header.audioSize);
    buffer->resize(static_cast<std::size_t>(size));
    if (std::fseek(file, offset, SEEK_SET) != 0
        || (size > 0 && std::fread(buffer->data(), 1, buffer->size(), file) != buffer->size()))
        return unreadableFile;
    return size;
}

} // namespace

int writeFile(const char *fileName, const char *image, int imageSize, const char *audio, int audioSize)
{
    if (fileName == nullptr || !validPart(image, imageSize) || !validPart(audio, audioSize))
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
    thread_local std::vector<char> images;
    thread_local std::vector<char> sounds;
    static const char nothing = 0;
    int ignored = 0;
    int &result = size != nullptr ? *size : ignored;
    result = unreadableFile;
    std::FILE *file = fileName != nullptr ? openRegularFile(fileName) : nullptr;
    if (file == nullptr)
        return nullptr;
    std::vector<char> &buffer = part == Part::Image ? images : sounds;
    result = readPartOf(file, part, &buffer);
    std::fclose(file);
    if (result < 0)
        return nullptr;
    return result == 0 ? &nothing : buffer.data();
}

} // namespace zai
