#include "zaiformat.h"

#include <climits>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

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
        || headerSize + static_cast<long long>(header->imageSize) + header->audioSize != fileSize)
        return damagedFile;
    return 0;
}

int readPartOf(std::FILE *file, Part part, std::vector<char> *buffer)
{
    struct stat info;
    if (::fstat(::fileno(file), &info) != 0 || !S_ISREG(info.st_mode))
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
    std::FILE *file = fileName != nullptr ? std::fopen(fileName, "rb") : nullptr;
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
