// The brush's terrain mask: which heightmap cells take new objects, by the
// heightmap value's range and the terrain's slope, and how much of the map
// is open. No Windows API.
#ifndef MAPEDITOR_TERRAINMASK_H
#define MAPEDITOR_TERRAINMASK_H

#include "document/BrushStroke.h"
#include "document/HeightSamples.h"

class TerrainMask
{
  public:
    // A map of cellsX x cellsY heightmap cells whose values are `heights`
    // (kept by reference: they must outlive the mask).
    TerrainMask(const BrushSettings& settings, const HeightSamples& heights, int cellsX,
                int cellsY);

    // Whether the cell is open: its value in range and, when the slope is
    // limited, no neighbour (of the four) differing by more than the limit.
    // A mask that lets every value and slope through is open everywhere on
    // the map, values or not; any other needs the values.
    bool OpenCell(int cellX, int cellY) const;
    // The same for the cell under a map position on the map square.
    bool OpenAt(float x, float y) const;
    // The share of the map's cells that are open (0..1).
    double OpenShare() const;

  private:
    int Height(int cellX, int cellY) const { return heights_.At(cellX, cellY, cellsX_, cellsY_); }

    const HeightSamples& heights_;
    int cellsX_, cellsY_;
    int low_, high_;
    int maxSlope_; // -1: any slope
    bool everywhere_;
};

// The dialog's figure: the share of the map the settings' mask leaves open.
inline double OpenShare(const BrushSettings& settings, const HeightSamples& heights, int cellsX,
                        int cellsY)
{
    return TerrainMask(settings, heights, cellsX, cellsY).OpenShare();
}

#endif
