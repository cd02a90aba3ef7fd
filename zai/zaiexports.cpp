// The names under which the program finds the library's functions.

#include "zaiformat.h"

#define ZAI_EXPORT extern "C" __attribute__((visibility("default")))

ZAI_EXPORT int write(const char *fileName, const char *image, int imageSize, const char *audio, int audioSize)
{
    return zai::writeFile(fileName, image, imageSize, audio, audioSize);
}

ZAI_EXPORT const char *readImageData(const char *fileName, int *size)
{
    return zai::readPart(fileName, zai::Part::Image, size);
}

ZAI_EXPORT const char *readAudioData(const char *fileName, int *size)
{
    return zai::readPart(fileName, zai::Part::Audio, size);
}
