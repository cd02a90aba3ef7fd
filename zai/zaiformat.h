#pragma once

// The inner entry points of the voice-comment library (format in FORMAT.txt);
// zaiexports.cpp gives them their exported C names. This header includes nothing, so that
// the exported name "write" never meets the C library's write() in one translation unit.

namespace zai {

enum class Part { Image, Audio };

// Failures of a read, handed back through the size.
constexpr int unreadableFile = -1;
constexpr int notVoiceComment = -2;
constexpr int damagedFile = -3;

// 1 when the whole file is in place under fileName, 0 otherwise.
int writeFile(const char *fileName, const char *image, int imageSize, const char *audio, int audioSize);

// The bytes of one part, valid until the next read of that part in the same thread, or
// null with a negative *size.
const char *readPart(const char *fileName, Part part, int *size);

} // namespace zai
