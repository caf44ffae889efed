// The one translation unit that compiles stb_image, reduced to the two
// formats it decodes for us (JPEG and PNG), reading from memory only. The
// callers in JpegPngDecoders.cpp check each file's structure and size first.
#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_JPEG
#define STBI_ONLY_PNG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 16384
#include <stb_image.h>
