// The heightmap's values as the map document keeps them: one byte a pixel
// (the red channel; heightmaps are grey), row by row from the top. Empty when
// the heightmap could not be read. What the status bar shows under the
// pointer and what the brush's terrain mask tests. No Windows API.
#ifndef MAPEDITOR_HEIGHTSAMPLES_H
#define MAPEDITOR_HEIGHTSAMPLES_H

#include <stddef.h>

#include <vector>

struct HeightSamples
{
    int width = 0;
    int height = 0;
    std::vector<unsigned char> values; // width * height bytes, or none

    bool Empty() const { return values.empty() || width <= 0 || height <= 0; }

    // The value under heightmap cell (cellX, cellY) of a map `cellsX` by
    // `cellsY` cells (the heightmap's size as the document knows it; the
    // decoded picture is scaled to it should the two ever differ). -1 when
    // the cell lies off the map or there are no values.
    int At(int cellX, int cellY, int cellsX, int cellsY) const
    {
        if (Empty() || cellsX <= 0 || cellsY <= 0 || cellX < 0 || cellY < 0 || cellX >= cellsX ||
            cellY >= cellsY)
            return -1;
        const int sx = (int)((long long)cellX * width / cellsX);
        const int sy = (int)((long long)cellY * height / cellsY);
        return values[(size_t)sy * (size_t)width + (size_t)sx];
    }
};

#endif
