// Decoding of image files into 32-bit pixels; no Windows API.
#ifndef MAPEDITOR_IMAGEDECODE_H
#define MAPEDITOR_IMAGEDECODE_H
#endif
