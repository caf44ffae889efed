// The brush's terrain mask (see TerrainMask.h) and the radius steps.
#include "document/TerrainMask.h"

#include <math.h>
#include <stdlib.h>

#include <algorithm>

float StepBrushRadius(float radius, int steps)
{
    if (!(radius >= kSmallestBrushRadius))
        radius = kSmallestBrushRadius;
    const double stepped = (double)radius * pow(1.25, steps);
    return (float)std::min((double)kLargestBrushRadius,
                           std::max((double)kSmallestBrushRadius, stepped));
}

TerrainMask::TerrainMask(const BrushSettings& settings, const HeightSamples& heights, int cellsX,
                         int cellsY)
    : heights_(heights), cellsX_(cellsX), cellsY_(cellsY), low_(std::max(0, settings.lowHeight)),
      high_(std::min(255, settings.highHeight)),
      maxSlope_(settings.limitSlope ? std::max(0, settings.maxSlope) : -1)
{
    if (maxSlope_ >= 255)
        maxSlope_ = -1; // no two values differ by more
    everywhere_ = low_ == 0 && high_ == 255 && maxSlope_ < 0;
}

bool TerrainMask::OpenCell(int cellX, int cellY) const
{
    if (cellX < 0 || cellY < 0 || cellX >= cellsX_ || cellY >= cellsY_)
        return false;
    if (everywhere_)
        return true;
    const int h = Height(cellX, cellY);
    if (h < low_ || h > high_) // also no values (-1)
        return false;
    if (maxSlope_ < 0)
        return true;
    const int neighbours[4][2] = {{-1, 0}, {1, 0}, {0, -1}, {0, 1}};
    for (const auto& n : neighbours)
    {
        const int other = Height(cellX + n[0], cellY + n[1]);
        if (other >= 0 && abs(other - h) > maxSlope_)
            return false;
    }
    return true;
}

bool TerrainMask::OpenAt(float x, float y) const
{
    if (!(x >= 0.0f && x <= 1.0f && y >= 0.0f && y <= 1.0f))
        return false;
    // The right and bottom edges belong to the last cells.
    const int cellX = std::min(cellsX_ - 1, (int)((double)x * cellsX_));
    const int cellY = std::min(cellsY_ - 1, (int)((double)y * cellsY_));
    return OpenCell(cellX, cellY);
}

double TerrainMask::OpenShare() const
{
    if (cellsX_ <= 0 || cellsY_ <= 0)
        return 0.0;
    if (everywhere_)
        return 1.0;
    size_t open = 0;
    for (int y = 0; y < cellsY_; ++y)
    {
        for (int x = 0; x < cellsX_; ++x)
            open += OpenCell(x, y);
    }
    return (double)open / ((double)cellsX_ * cellsY_);
}
