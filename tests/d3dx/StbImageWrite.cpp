// The one translation unit that compiles stb_image_write, which the tests
// use to make real PNG and JPEG files.
#define STB_IMAGE_WRITE_IMPLEMENTATION
#define STBI_WRITE_NO_STDIO
#include <stb_image_write.h>
