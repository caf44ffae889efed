// The map document's brush and eraser strokes: the brush's blue-noise
// placement (random candidates, each tested against the circle, the map,
// the terrain mask and the spacing) and the eraser's removals, each stroke
// recorded as one undo step.
//
// The brush grows its objects the way Poisson-disc samplers do: a few
// random darts anywhere in the circle, then candidates in the ring between
// one and two spacings around the stroke's objects, until every object's
// ring has failed a number of times in a row. So holding the brush still
// fills its circle to the spacing and stops, with no grid and no clumps,
// and a step's work follows the circle's size, not the map's. An object
// whose whole ring lay inside a circle is done for the stroke; one whose
// ring reached past the circle is tried again at the next step, where the
// moved circle may take more of it.
#include "document/MapDocument.h"

#include <math.h>

#include <algorithm>
#include <utility>

#include "document/EditActions.h"
#include "document/TerrainMask.h"

namespace
{
const int kDartsPerStep = 16;
const int kTriesPerSeed = 24;
// Bounds one step's work whatever the radius and spacing (a large circle
// then fills over several steps).
const size_t kMostCandidatesPerStep = 60000;
// A record's type byte holds 8 bits.
const int kTypesARecordCanName = 256;

// The stroke's pool without duplicates (equal weights) and without types
// out of `limit`.
std::vector<int> CheckedPool(const std::vector<int>& pool, int limit)
{
    std::vector<int> checked;
    for (int type : pool)
    {
        if (type >= 0 && type < limit && type < kTypesARecordCanName &&
            std::find(checked.begin(), checked.end(), type) == checked.end())
            checked.push_back(type);
    }
    return checked;
}

// Objects an eraser stroke removed: redoing removes them again, undoing puts
// them back where they were, unselected.
class EraseObjects : public EditAction
{
  public:
    EraseObjects(std::vector<uint32_t> indices, std::vector<PlacedObject> records)
        : indices_(std::move(indices)), records_(std::move(records))
    {
    }
    void Redo(MapDocument& document) override { document.RemoveObjectsAt(indices_, nullptr); }
    void Undo(MapDocument& document) override
    {
        document.InsertObjectsAt(indices_, records_, false);
    }
    size_t Bytes() const override
    {
        return sizeof(*this) + indices_.size() * sizeof(uint32_t) +
               records_.size() * sizeof(PlacedObject);
    }

  private:
    std::vector<uint32_t> indices_;
    std::vector<PlacedObject> records_;
};

// The objects still there among `count`, counted in a Fenwick tree, so that
// the n-th of them is found in log time.
class Survivors
{
  public:
    explicit Survivors(size_t count) : tree_(count + 1)
    {
        for (size_t i = 1; i <= count; ++i)
            tree_[i] = (uint32_t)(i & (~i + 1));
        top_ = 1;
        while (top_ * 2 <= count)
            top_ *= 2;
    }
    // The first index whose object is the rank-th (from 0) still there.
    size_t Find(size_t rank) const
    {
        size_t position = 0, remaining = rank + 1;
        for (size_t step = top_; step; step /= 2)
        {
            if (position + step < tree_.size() && tree_[position + step] < remaining)
            {
                position += step;
                remaining -= tree_[position];
            }
        }
        return position;
    }
    void Remove(size_t index)
    {
        for (size_t i = index + 1; i < tree_.size(); i += i & (~i + 1))
            --tree_[i];
    }

  private:
    std::vector<uint32_t> tree_;
    size_t top_;
};
} // namespace

void MapDocument::BeginBrushStroke(const BrushSettings& settings, const HeightSamples& heights)
{
    EndOpenGesture();
    stroke_ = BrushStroke();
    stroke_.kind = BrushStroke::kBrush;
    stroke_.settings = settings;
    stroke_.settings.pool = CheckedPool(settings.pool, (int)objectTypes.size());
    stroke_.settings.radius = StepBrushRadius(settings.radius, 0);
    stroke_.settings.spacing =
        std::min(kLargestBrushRadius, std::max(kSmallestBrushSpacing, settings.spacing));
    if (!(settings.spacing >= kSmallestBrushSpacing)) // also not a number
        stroke_.settings.spacing = kSmallestBrushSpacing;
    stroke_.heights = &heights;
    stroke_.random = StrokeRandom(++strokesBegun_);
    stroke_.firstNew = objects.size();
}

void MapDocument::BeginEraserStroke(const BrushSettings& settings)
{
    EndOpenGesture();
    stroke_ = BrushStroke();
    stroke_.kind = BrushStroke::kEraser;
    stroke_.settings = settings;
    stroke_.settings.pool = CheckedPool(settings.pool, kTypesARecordCanName);
    stroke_.settings.radius = StepBrushRadius(settings.radius, 0);
    stroke_.countBefore = objects.size();
}

size_t MapDocument::StrokeTo(float x, float y)
{
    if (!isfinite(x) || !isfinite(y) || width <= 0 || height <= 0)
        return 0;
    if (stroke_.kind == BrushStroke::kBrush)
        return BrushStep(x, y);
    if (stroke_.kind == BrushStroke::kEraser)
        return EraserStep(x, y);
    return 0;
}

bool MapDocument::SpacingFree(float x, float y) const
{
    const double spacing = stroke_.settings.spacing;
    const double least = spacing * spacing;
    // A little wider than the spacing: the box only gathers, the distance decides.
    const double reachX = spacing / width * 1.0001, reachY = spacing / height * 1.0001;
    return !index_.AnyInBox(
        x - reachX, y - reachY, x + reachX, y + reachY,
        [&](const SpatialIndex::Entry& entry)
        { return CellDistanceSquared(entry.x, entry.y, x, y, width, height) < least; });
}

size_t MapDocument::BrushStep(float cx, float cy)
{
    BrushStroke& s = stroke_;
    if (s.settings.pool.empty())
        return 0;
    const TerrainMask mask(s.settings, *s.heights, width, height);
    const double radius = s.settings.radius, spacing = s.settings.spacing;
    index_.Sync(objects);
    size_t placed = 0, candidates = 0;
    // A candidate becomes an object when it passes every test. Positions
    // are rounded to what the record holds before they are tested.
    const auto tryAt = [&](double mapX, double mapY)
    {
        ++candidates;
        const float x = (float)mapX, y = (float)mapY;
        if (!InsideMap(x, y) ||
            CellDistanceSquared(cx, cy, x, y, width, height) > radius * radius ||
            !mask.OpenAt(x, y) || !SpacingFree(x, y))
            return false;
        PlacedObject object = {};
        object.type = (uint8_t)s.settings.pool[s.random.Below(s.settings.pool.size())];
        object.x = x;
        object.y = y;
        object.rotation =
            s.settings.randomRotation ? (int16_t)(45 * s.random.Below(8)) : s.settings.rotation;
        AddObject(object);
        s.seeds.push_back(BrushStroke::Seed{x, y});
        ++placed;
        return true;
    };

    for (int dart = 0; dart < kDartsPerStep; ++dart)
    {
        double u, v;
        do
        {
            u = s.random.Between(-radius, radius);
            v = s.random.Between(-radius, radius);
        } while (u * u + v * v > radius * radius);
        tryAt(cx + u / width, cy + v / height);
    }

    // The seeds whose rings may reach into this circle.
    const double reach = radius + 2.0 * spacing;
    std::vector<uint32_t> growing, done;
    for (size_t i = 0; i < s.seeds.size(); ++i)
    {
        if (CellDistanceSquared(cx, cy, s.seeds[i].x, s.seeds[i].y, width, height) <= reach * reach)
            growing.push_back((uint32_t)i);
    }
    while (!growing.empty() && candidates < kMostCandidatesPerStep)
    {
        const size_t pick = s.random.Below(growing.size());
        const BrushStroke::Seed seed = s.seeds[growing[pick]];
        bool grew = false;
        for (int t = 0; t < kTriesPerSeed && !grew; ++t)
        {
            double u, v, d2;
            do
            {
                u = s.random.Between(-2.0 * spacing, 2.0 * spacing);
                v = s.random.Between(-2.0 * spacing, 2.0 * spacing);
                d2 = u * u + v * v;
            } while (d2 < spacing * spacing || d2 > 4.0 * spacing * spacing);
            grew = tryAt(seed.x + u / width, seed.y + v / height);
        }
        if (grew)
        {
            growing.push_back((uint32_t)(s.seeds.size() - 1));
            continue;
        }
        const double fromCentre = sqrt(CellDistanceSquared(cx, cy, seed.x, seed.y, width, height));
        if (fromCentre + 2.0 * spacing <= radius)
            done.push_back(growing[pick]); // its whole ring was tried inside the circle
        growing[pick] = growing.back();
        growing.pop_back();
    }
    std::sort(done.begin(), done.end());
    RemoveAtIndices(&s.seeds, done, (std::vector<BrushStroke::Seed>*)nullptr);
    return placed;
}

size_t MapDocument::EraserStep(float cx, float cy)
{
    BrushStroke& s = stroke_;
    const double radius = s.settings.radius;
    bool erasable[kTypesARecordCanName];
    for (int type = 0; type < kTypesARecordCanName; ++type)
        erasable[type] = s.settings.pool.empty() && !layers_.Blocked((uint8_t)type);
    for (int type : s.settings.pool)
        erasable[type] = !layers_.Blocked((uint8_t)type);

    index_.Sync(objects);
    std::vector<uint32_t> keys;
    const double reachX = radius / width * 1.0001, reachY = radius / height * 1.0001;
    index_.ForEachInBox(cx - reachX, cy - reachY, cx + reachX, cy + reachY,
                        [&](const SpatialIndex::Entry& entry)
                        {
                            if (CellDistanceSquared(cx, cy, entry.x, entry.y, width, height) <=
                                radius * radius)
                                keys.push_back(entry.key);
                        });
    std::vector<uint32_t> indices;
    for (uint32_t key : keys)
    {
        const size_t index = index_.IndexOf(key);
        if (erasable[objects[index].type])
            indices.push_back((uint32_t)index);
    }
    if (indices.empty())
        return 0;
    std::sort(indices.begin(), indices.end());
    for (uint32_t index : indices)
        s.erased.push_back(objects[index]);
    RemoveObjectsAt(indices, nullptr);
    s.erasedIndices.push_back(std::move(indices));
    return s.erasedIndices.back().size();
}

bool MapDocument::EndStroke()
{
    if (!Stroking())
        return false;
    BrushStroke s = std::move(stroke_);
    stroke_ = BrushStroke();
    std::vector<std::unique_ptr<EditAction>> actions;
    if (s.kind == BrushStroke::kBrush)
    {
        if (objects.size() <= s.firstNew)
            return false;
        std::vector<uint32_t> indices;
        for (size_t i = s.firstNew; i < objects.size(); ++i)
            indices.push_back((uint32_t)i);
        std::vector<PlacedObject> records(objects.begin() + (std::ptrdiff_t)s.firstNew,
                                          objects.end());
        actions.push_back(MakeInsertObjects(std::move(indices), std::move(records), false));
        Commit("Brush", kObjectsPart, std::move(actions), true);
        return true;
    }
    if (s.erased.empty())
        return false;
    // Each step's indices counted the objects left by the steps before; the
    // step records where they were before the stroke. Within a step, later
    // objects go first, so that the earlier ones keep their rank.
    std::vector<std::pair<uint32_t, PlacedObject>> placed;
    placed.reserve(s.erased.size());
    Survivors survivors(s.countBefore);
    size_t record = 0;
    for (const std::vector<uint32_t>& step : s.erasedIndices)
    {
        for (size_t k = step.size(); k-- > 0;)
        {
            const size_t before = survivors.Find(step[k]);
            survivors.Remove(before);
            placed.emplace_back((uint32_t)before, s.erased[record + k]);
        }
        record += step.size();
    }
    std::sort(placed.begin(), placed.end(),
              [](const std::pair<uint32_t, PlacedObject>& a,
                 const std::pair<uint32_t, PlacedObject>& b) { return a.first < b.first; });
    std::vector<uint32_t> indices;
    std::vector<PlacedObject> records;
    indices.reserve(placed.size());
    records.reserve(placed.size());
    for (const auto& p : placed)
    {
        indices.push_back(p.first);
        records.push_back(p.second);
    }
    actions.push_back(std::make_unique<EraseObjects>(std::move(indices), std::move(records)));
    Commit("Erase", kObjectsPart, std::move(actions), true);
    return true;
}
