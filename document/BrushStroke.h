// The scatter brush's and the eraser's settings, and the state of a stroke
// in progress (from button down to button up) that the map document keeps.
// Every length is in heightmap cells: one cell is 1/width of the map's side
// across and 1/height down. No Windows API.
#ifndef MAPEDITOR_BRUSHSTROKE_H
#define MAPEDITOR_BRUSHSTROKE_H

#include <stddef.h>
#include <stdint.h>

#include <vector>

#include "document/PlacedObject.h"

struct HeightSamples;

// What the "Brush..." dialog and the palette set.
struct BrushSettings
{
    // Catalog entries: the brush draws each new object's type from them with
    // equal weight; the eraser takes only objects of them, or of every type
    // when there are none. Hidden and locked types are never erased.
    std::vector<int> pool;
    float radius = 8.0f;         // of the circle under the pointer
    float spacing = 2.0f;        // least distance between a new object's centre and any other
    int16_t rotation = 0;        // of every new object, unless randomRotation
    bool randomRotation = false; // each new object gets one of 0, 45, ... 315
    // The terrain mask: new objects only where the heightmap value lies in
    // [lowHeight, highHeight] and, with limitSlope, where the largest height
    // difference to the four neighbour cells is at most maxSlope.
    int lowHeight = 0;
    int highHeight = 255;
    bool limitSlope = false;
    int maxSlope = 255;
};

const float kSmallestBrushRadius = 1.0f;
const float kLargestBrushRadius = 256.0f;
const float kSmallestBrushSpacing = 0.5f;

// The radius `steps` steps of 1.25x larger (or smaller, for negative steps),
// kept within 1..256 cells: what [ and ] and Ctrl+wheel do.
float StepBrushRadius(float radius, int steps);

// Squared distance in heightmap cells between two map positions.
inline double CellDistanceSquared(float x0, float y0, float x1, float y1, int cellsX, int cellsY)
{
    const double dx = ((double)x1 - (double)x0) * cellsX;
    const double dy = ((double)y1 - (double)y0) * cellsY;
    return dx * dx + dy * dy;
}

// A small generator whose numbers are the same on every platform and
// compiler (the standard distributions are not), so that the same strokes
// on the same map place the same objects.
class StrokeRandom
{
  public:
    explicit StrokeRandom(uint64_t seed = 0) : state_(seed) {}
    uint64_t Next()
    {
        uint64_t z = (state_ += 0x9E3779B97F4A7C15ull);
        z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
        z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
        return z ^ (z >> 31);
    }
    // 0 .. n-1, for n > 0.
    size_t Below(size_t n) { return (size_t)(Next() % n); }
    // Uniform in [low, high).
    double Between(double low, double high)
    {
        return low + (high - low) * (double)(Next() >> 11) * (1.0 / 9007199254740992.0);
    }

  private:
    uint64_t state_;
};

// A stroke in progress. The document keeps one and changes the objects as
// the stroke goes; ending it records one undo step.
struct BrushStroke
{
    enum Kind
    {
        kNone,
        kBrush,
        kEraser,
    };
    // A brush's object from which new objects may still grow (the spots
    // around it have not all been tried inside a circle).
    struct Seed
    {
        float x, y;
    };

    Kind kind = kNone;
    BrushSettings settings; // radius and spacing kept in range, pool checked
    const HeightSamples* heights = nullptr;
    StrokeRandom random;
    // Brush: the first new object (new objects follow the existing ones).
    size_t firstNew = 0;
    std::vector<Seed> seeds;
    // Eraser: the object count at the start, and each step's removals (the
    // indices as they were at that step, ascending, and the records).
    size_t countBefore = 0;
    std::vector<std::vector<uint32_t>> erasedIndices;
    std::vector<PlacedObject> erased;
};

#endif
