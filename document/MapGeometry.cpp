// Moving objects on the map square (see MapGeometry.h).
#include "document/MapGeometry.h"

#include <math.h>

#include <algorithm>

namespace
{
void Include(MapBounds* b, float x, float y)
{
    if (!isfinite(x) || !isfinite(y))
        return;
    if (!b->any)
    {
        b->lowX = b->highX = x;
        b->lowY = b->highY = y;
        b->any = true;
        return;
    }
    b->lowX = std::min(b->lowX, x);
    b->highX = std::max(b->highX, x);
    b->lowY = std::min(b->lowY, y);
    b->highY = std::max(b->highY, y);
}
} // namespace

MapBounds BoundsOf(const std::vector<PlacedObject>& records)
{
    MapBounds b;
    for (const PlacedObject& r : records)
        Include(&b, r.x, r.y); // copied out: the record is packed, its floats unaligned
    return b;
}

MapBounds BoundsOf(const std::vector<MapPoint>& points)
{
    MapBounds b;
    for (const MapPoint& p : points)
        Include(&b, p.x, p.y);
    return b;
}

void KeepOnMap(const MapBounds& b, float* dx, float* dy)
{
    if (!b.any)
        return;
    // Never further off the map than the group already is.
    *dx = std::max(*dx, std::min(0.0f, -b.lowX));
    *dx = std::min(*dx, std::max(0.0f, 1.0f - b.highX));
    *dy = std::max(*dy, std::min(0.0f, -b.lowY));
    *dy = std::min(*dy, std::max(0.0f, 1.0f - b.highY));
}

float MovedOnMap(float from, float d)
{
    const float to = from + d;
    if (from >= 0.0f && from <= 1.0f)
        return std::min(1.0f, std::max(0.0f, to));
    return to;
}

float SnapToCellCentre(float v, int cells)
{
    if (cells <= 0 || !isfinite(v))
        return v;
    double cell = floor((double)v * cells);
    cell = std::min((double)cells - 1, std::max(0.0, cell));
    return (float)((cell + 0.5) / cells);
}
