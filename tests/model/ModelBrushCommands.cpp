// The model test's brush and eraser strokes, each from press to release over
// a few pointer positions. The brush's placements are random, so the model
// takes the new objects from the document once they pass what every brush
// stroke promises (after the existing objects, of the pool's types, on the
// map, inside a circle of the path, open in the terrain mask, no nearer than
// the spacing to any other object); the eraser's removals the model works
// out itself.
#include <math.h>

#include <algorithm>

#include "document/TerrainMask.h"
#include "tests/model/ModelCommands.h"

namespace model
{
namespace
{
struct Stroke
{
    BrushSettings settings;
    std::vector<MapPoint> path;
};

// Settings and a path from the bytes: pools with entries past the catalog
// and repeated ones, some positions off the map.
Stroke PickStroke(ModelWorld& w, CommandBytes& in, bool brush)
{
    Stroke s;
    const int types = (int)w.model.now.types.size();
    for (int n = in.Pick(brush ? 3 : 4) + (brush ? 1 : 0); n > 0; --n)
        s.settings.pool.push_back(in.Pick(types + 2));
    const float radii[] = {1.0f, 2.5f, 4.0f, 6.0f};
    const float spacings[] = {1.5f, 2.0f, 3.0f};
    s.settings.radius = radii[in.Pick(4)];
    s.settings.spacing = spacings[in.Pick(3)];
    s.settings.randomRotation = in.Pick(2) == 0;
    s.settings.rotation = (int16_t)(45 * in.Pick(8));
    if (in.Pick(2) == 0)
    {
        s.settings.lowHeight = in.Pick(200);
        s.settings.highHeight = s.settings.lowHeight + in.Pick(120);
        s.settings.limitSlope = in.Pick(2) == 0;
        s.settings.maxSlope = in.Pick(40);
    }
    for (int n = in.Pick(4) + 1; n > 0; --n)
        s.path.push_back({in.Fraction() * 1.2f - 0.1f, in.Fraction() * 1.2f - 0.1f});
    return s;
}

// Hills of the document's size: every value and slope occurs.
const HeightSamples& Terrain(const MapDocument& d)
{
    static HeightSamples heights;
    if (heights.width != d.width || heights.height != d.height)
    {
        heights.width = std::max(0, d.width);
        heights.height = std::max(0, d.height);
        heights.values.resize((size_t)heights.width * (size_t)heights.height);
        for (int y = 0; y < heights.height; ++y)
            for (int x = 0; x < heights.width; ++x)
                heights.values[(size_t)y * (size_t)heights.width + (size_t)x] =
                    (unsigned char)(127.5 + 127.5 * sin(x * 0.37) * cos(y * 0.23 + x * 0.05));
    }
    return heights;
}

bool InPath(const MapDocument& d, const Stroke& s, const PlacedObject& o, double radius)
{
    for (const MapPoint& p : s.path)
        if (CellDistanceSquared(p.x, p.y, o.x, o.y, d.width, d.height) <= radius * radius * 1.0001)
            return true;
    return false;
}

// What the brush promises of each of its new objects; empty when all hold.
std::string CheckNewObjects(const MapDocument& d, const Stroke& s, size_t first)
{
    const HeightSamples& heights = Terrain(d);
    const TerrainMask mask(s.settings, heights, d.width, d.height);
    const double spacing = std::max(kSmallestBrushSpacing, s.settings.spacing);
    const std::vector<PlacedObject>& objects = d.objects;
    for (size_t i = first; i < objects.size(); ++i)
    {
        const PlacedObject& o = objects[i];
        const auto& pool = s.settings.pool;
        if (std::find(pool.begin(), pool.end(), (int)o.type) == pool.end() ||
            o.type >= d.objectTypes.size())
            return "a brushed object of a type outside the pool";
        if (s.settings.randomRotation ? o.rotation % 45 != 0 || o.rotation < 0 || o.rotation > 315
                                      : o.rotation != s.settings.rotation)
            return "a brushed object's rotation";
        if (!MapDocument::InsideMap(o.x, o.y) || !InPath(d, s, o, s.settings.radius))
            return "a brushed object off the map or outside the path";
        if (!mask.OpenAt(o.x, o.y))
            return "a brushed object where the terrain mask is closed";
        for (size_t j = 0; j < objects.size(); ++j)
            if (j != i && CellDistanceSquared(o.x, o.y, objects[j].x, objects[j].y, d.width,
                                              d.height) < spacing * spacing)
                return "a brushed object nearer than the spacing to object " + std::to_string(j);
    }
    return "";
}
} // namespace

void BrushAlong(ModelWorld& w, CommandBytes& in)
{
    Release(w, in); // the button that starts the stroke ends the gesture before it
    MapDocument& d = w.document;
    Model& m = w.model;
    const Stroke s = PickStroke(w, in, true);
    const size_t first = d.objects.size();
    d.BeginBrushStroke(s.settings, Terrain(d));
    m.EndDrag();
    for (const MapPoint& p : s.path)
        d.StrokeTo(p.x, p.y);
    const bool recorded = d.EndStroke();
    w.Expect(recorded, d.objects.size() > first, "whether the stroke is a step");
    if (d.objects.size() < first || !recorded)
        return;
    const std::string broken = CheckNewObjects(d, s, first);
    if (!broken.empty())
    {
        w.failure = broken;
        return;
    }
    const ModelState before = m.now;
    m.now.objects.insert(m.now.objects.end(), d.objects.begin() + (std::ptrdiff_t)first,
                         d.objects.end());
    m.Commit(before);
}

void EraseAlong(ModelWorld& w, CommandBytes& in)
{
    Release(w, in);
    MapDocument& d = w.document;
    Model& m = w.model;
    const Stroke s = PickStroke(w, in, false);
    d.BeginEraserStroke(s.settings);
    m.EndDrag();
    const ModelState before = m.now;
    const double radius = s.settings.radius;
    for (const MapPoint& p : s.path)
    {
        d.StrokeTo(p.x, p.y);
        std::vector<uint32_t> removed;
        for (size_t i = 0; i < m.now.objects.size(); ++i)
        {
            const PlacedObject& o = m.now.objects[i];
            const auto& pool = s.settings.pool;
            if ((pool.empty() || std::find(pool.begin(), pool.end(), (int)o.type) != pool.end()) &&
                CellDistanceSquared(p.x, p.y, o.x, o.y, d.width, d.height) <= radius * radius)
                removed.push_back((uint32_t)i);
        }
        EraseObjects(m, removed);
    }
    const bool erased = m.now.objects.size() != before.objects.size();
    w.Expect(d.EndStroke(), erased, "whether the stroke is a step");
    if (erased)
        m.Commit(before);
}
} // namespace model
