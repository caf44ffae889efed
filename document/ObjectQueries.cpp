// The map document's questions about where objects lie: the hit test, the
// rubber band, Select All and Select All of Type, the counts per type, the
// hidden and locked types, and the hooks that keep the spatial index and the
// counts in step with records rewritten in place.
//
// The hit test and the rubber band ask the spatial index for the objects
// near the view point or rectangle and then apply, to each, the very test
// in view pixels that walking the whole list applies; so both ways give the
// same answer. The list is walked when the index cannot bound the answer
// (a scale or scroll that is not a sensible number) or when the rectangle
// covers much of the map.
#include "document/MapDocument.h"

#include <math.h>

#include <algorithm>

namespace
{
// Half the side of an object's marker box in view pixels.
const float kHitHalfSize = 8.0f;
// Scales up to this are exact as floats, and the rounding bounds below hold.
const int kLargestIndexedScale = 1 << 24;
// A rubber band over this share of the map square walks the list.
const double kLargestIndexedBand = 1.0 / 32.0;

// The box edges are truncated toward zero as whole pixels and the bounds
// are strict, so a marker at a whole-pixel position answers to 15 x 15
// pixels. The edges are compared as doubles: positions far off the map (or
// not numbers at all, from a damaged file) must not be converted to int,
// and simply miss.
bool HitsMarker(float sx, float sy, int px, int py)
{
    const double left = trunc((double)(sx - kHitHalfSize));
    const double right = trunc((double)(sx + kHitHalfSize));
    const double top = trunc((double)(sy - kHitHalfSize));
    const double bottom = trunc((double)(sy + kHitHalfSize));
    return left < px && px < right && top < py && py < bottom;
}

// View pixels by which a view position computed in floats (scale x position
// - scroll, each step rounded) may miss the exact one, for view positions
// of at most `reach` pixels from the origin: a bound on the float rounding
// with room to spare.
double RoundingSlack(double reach, float scroll)
{
    return 1.0 + (fabs(reach) + fabs((double)scroll)) / 1048576.0;
}
} // namespace

int MapDocument::LinearHitTest(int px, int py) const
{
    for (size_t i = 0; i < objects.size(); ++i)
    {
        if (HitsMarker(MapToViewX(objects[i].x), MapToViewY(objects[i].y), px, py) &&
            !layers_.Blocked(objects[i].type))
            return (int)i; // the earliest placed wins, not the nearest
    }
    return -1;
}

int MapDocument::HitTest(int px, int py) const
{
    if (viewScale <= 0 || viewScale > kLargestIndexedScale || !isfinite(scrollX) ||
        !isfinite(scrollY))
        return LinearHitTest(px, py);
    // A hit lies within 9 pixels of the point (the truncated edges reach
    // one pixel further than the box); the slack covers the rounding.
    const double reachX = 9.0 + RoundingSlack(fabs((double)px) + 9.0, scrollX);
    const double reachY = 9.0 + RoundingSlack(fabs((double)py) + 9.0, scrollY);
    const double scale = viewScale;
    index_.Sync(objects);
    bool found = false;
    uint32_t best = 0;
    index_.ForEachInBox((px - reachX + scrollX) / scale, (py - reachY + scrollY) / scale,
                        (px + reachX + scrollX) / scale, (py + reachY + scrollY) / scale,
                        [&](const SpatialIndex::Entry& entry)
                        {
                            if (found && entry.key > best)
                                return;
                            if (!HitsMarker(MapToViewX(entry.x), MapToViewY(entry.y), px, py))
                                return;
                            if (layers_.AnyBlocked() &&
                                layers_.Blocked(objects[index_.IndexOf(entry.key)].type))
                                return;
                            found = true;
                            best = entry.key;
                        });
    return found ? (int)index_.IndexOf(best) : -1;
}

size_t MapDocument::CountObjectsOfType(int type) const
{
    return layers_.Count(type, objects);
}

void MapDocument::SelectAll()
{
    SyncSelection();
    if (!layers_.AnyBlocked())
    {
        selection_.SelectAll();
        return;
    }
    selection_.Clear();
    for (size_t i = 0; i < objects.size(); ++i)
    {
        if (!layers_.Blocked(objects[i].type))
            selection_.Set(i, true);
    }
}

void MapDocument::SelectAllOfTypes(const std::vector<int>& types)
{
    SyncSelection();
    selection_.Clear();
    bool wanted[256] = {};
    for (int type : types)
    {
        if (type >= 0 && type < 256)
            wanted[type] = !layers_.Blocked((uint8_t)type);
    }
    for (size_t i = 0; i < objects.size(); ++i)
    {
        if (wanted[objects[i].type])
            selection_.Set(i, true);
    }
}

void MapDocument::LinearSelectInViewRect(float left, float top, float right, float bottom)
{
    for (size_t i = 0; i < objects.size(); ++i)
    {
        const float sx = MapToViewX(objects[i].x);
        const float sy = MapToViewY(objects[i].y);
        // NaN positions compare false: never inside.
        if (sx >= left && sx <= right && sy >= top && sy <= bottom &&
            !layers_.Blocked(objects[i].type))
            selection_.Set(i, true);
    }
}

void MapDocument::SelectInViewRect(float x0, float y0, float x1, float y1, bool add)
{
    SyncSelection();
    if (!add)
        selection_.Clear();
    const float left = std::min(x0, x1), right = std::max(x0, x1);
    const float top = std::min(y0, y1), bottom = std::max(y0, y1);
    const bool bounded = viewScale > 0 && viewScale <= kLargestIndexedScale && isfinite(scrollX) &&
                         isfinite(scrollY) && isfinite(left) && isfinite(right) && isfinite(top) &&
                         isfinite(bottom);
    if (!bounded)
    {
        LinearSelectInViewRect(left, top, right, bottom);
        return;
    }
    const double scale = viewScale;
    const double slackX = RoundingSlack(std::max(fabs(left), fabs(right)), scrollX);
    const double slackY = RoundingSlack(std::max(fabs(top), fabs(bottom)), scrollY);
    const double mapX0 = (left - slackX + scrollX) / scale,
                 mapX1 = (right + slackX + scrollX) / scale;
    const double mapY0 = (top - slackY + scrollY) / scale,
                 mapY1 = (bottom + slackY + scrollY) / scale;
    const auto onMap = [](double v) { return std::min(1.0, std::max(0.0, v)); };
    if ((onMap(mapX1) - onMap(mapX0)) * (onMap(mapY1) - onMap(mapY0)) > kLargestIndexedBand)
    {
        LinearSelectInViewRect(left, top, right, bottom);
        return;
    }
    index_.Sync(objects);
    std::vector<uint32_t> keys;
    index_.ForEachInBox(mapX0, mapY0, mapX1, mapY1,
                        [&](const SpatialIndex::Entry& entry)
                        {
                            const float sx = MapToViewX(entry.x);
                            const float sy = MapToViewY(entry.y);
                            if (sx >= left && sx <= right && sy >= top && sy <= bottom)
                                keys.push_back(entry.key);
                        });
    for (uint32_t key : keys)
    {
        const size_t index = index_.IndexOf(key);
        if (!layers_.Blocked(objects[index].type))
            selection_.Set(index, true);
    }
}

void MapDocument::SetTypeHidden(int type, bool hidden)
{
    layers_.SetHidden(type, hidden);
    if (hidden)
        DeselectType(type);
}

void MapDocument::SetTypeLocked(int type, bool locked)
{
    layers_.SetLocked(type, locked);
    if (locked)
        DeselectType(type);
}

void MapDocument::DeselectType(int type)
{
    SyncSelection();
    if (selection_.Count() == 0)
        return;
    for (size_t i = 0; i < objects.size(); ++i)
    {
        if (objects[i].type == type)
            selection_.Set(i, false);
    }
}

void MapDocument::DeselectBlocked(const std::vector<uint32_t>& indices)
{
    if (!layers_.AnyBlocked())
        return;
    for (uint32_t index : indices)
    {
        if (index < objects.size() && layers_.Blocked(objects[index].type))
            selection_.Set(index, false);
    }
}

void MapDocument::RewritingObjects(const std::vector<uint32_t>& indices)
{
    index_.Moving(objects, indices);
    for (uint32_t index : indices)
        layers_.Uncounted(objects[index].type);
}

void MapDocument::RewroteObjects(const std::vector<uint32_t>& indices)
{
    index_.Moved(objects, indices);
    for (uint32_t index : indices)
        layers_.Counted(objects[index].type);
}
