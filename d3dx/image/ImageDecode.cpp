// Decoding of image files into 32-bit pixels (not yet written).
#include "d3dx/image/ImageDecode.h"
