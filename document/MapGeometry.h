// The arithmetic of moving objects on the map square: the box around a
// group's positions, how far a group may move and stay on the map, a
// coordinate moved without rounding it off the map, and cell snapping. The
// edits of the document use it, and so does anything that must predict
// where they put an object. No Windows API.
#ifndef MAPEDITOR_MAPGEOMETRY_H
#define MAPEDITOR_MAPGEOMETRY_H

#include <vector>

#include "document/PlacedObject.h"

// A map position (fractions of the map's side).
struct MapPoint
{
    float x, y;
};

// The smallest box holding the finite positions given; `any` is false when
// there were none.
struct MapBounds
{
    float lowX = 1.0f, lowY = 1.0f, highX = 0.0f, highY = 0.0f;
    bool any = false;
};

MapBounds BoundsOf(const std::vector<PlacedObject>& records);
MapBounds BoundsOf(const std::vector<MapPoint>& points);

// The delta (dx, dy) limited so that positions inside the bounds stay on the
// map; a group already partly off the map is never pushed further off.
void KeepOnMap(const MapBounds& bounds, float* dx, float* dy);

// A coordinate moved by d; one that lay on the map is never rounded off it.
float MovedOnMap(float from, float d);

// The centre of the heightmap cell holding the position (cells x cells
// across a side); positions off the map snap to the nearest edge cell, and
// a side of no cells or a position that is no number stays as it is.
float SnapToCellCentre(float v, int cells);

#endif
