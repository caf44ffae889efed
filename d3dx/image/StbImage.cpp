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

// stb_image 2.27's Huffman decoder lets its bit count go negative on corrupt
// entropy-coded data and then shifts by 32 or more: wrong bits (the file is
// corrupt anyway), no memory touched. Only that check is switched off for
// stb_image's own functions, in sanitizer builds; AddressSanitizer and every
// other check stay on.
#if defined(__clang__)
#pragma clang attribute push(__attribute__((no_sanitize("shift-exponent"))), apply_to = function)
#endif
#include <stb_image.h>
#if defined(__clang__)
#pragma clang attribute pop
#endif
