// The brush and the eraser over random settings, terrains and strokes: no
// two objects nearer than the spacing unless both were there before, every
// new object inside the map, the mask and the stroke's circles, the eraser
// taking exactly what lies under it and may be taken, one undo step giving
// back the bytes, the same strokes giving the same objects; and the mask's
// open share and the radius steps.
#include <gtest/gtest.h>

#include <math.h>

#include <random>

#include "document/TerrainMask.h"
#include "tests/document/DocumentTestSupport.h"

namespace
{
const int kCells = 64;

// Rolling terrain with cliffs: values over the whole range, slopes of all
// sizes.
HeightSamples Terrain(unsigned seed)
{
    HeightSamples heights;
    heights.width = heights.height = kCells;
    std::mt19937 random(seed);
    for (int y = 0; y < kCells; ++y)
    {
        for (int x = 0; x < kCells; ++x)
        {
            const int wave = (int)(127 + 120 * sin(x * 0.2 + seed) * cos(y * 0.15));
            heights.values.push_back((unsigned char)(x == 20 ? 255 : wave + (int)(random() % 6)));
        }
    }
    return heights;
}

// The mask, worked out from the values as the settings describe it.
bool MaskOpen(const BrushSettings& s, const HeightSamples& h, float x, float y)
{
    const int cx = std::min(kCells - 1, (int)(x * kCells));
    const int cy = std::min(kCells - 1, (int)(y * kCells));
    const auto at = [&](int px, int py) { return (int)h.values[(size_t)(py * kCells + px)]; };
    if (at(cx, cy) < s.lowHeight || at(cx, cy) > s.highHeight)
        return false;
    int slope = 0;
    if (cx > 0)
        slope = std::max(slope, abs(at(cx - 1, cy) - at(cx, cy)));
    if (cx + 1 < kCells)
        slope = std::max(slope, abs(at(cx + 1, cy) - at(cx, cy)));
    if (cy > 0)
        slope = std::max(slope, abs(at(cx, cy - 1) - at(cx, cy)));
    if (cy + 1 < kCells)
        slope = std::max(slope, abs(at(cx, cy + 1) - at(cx, cy)));
    return !s.limitSlope || slope <= s.maxSlope;
}

double CellDistance(const PlacedObject& a, float x, float y)
{
    return hypot(((double)x - a.x) * kCells, ((double)y - a.y) * kCells);
}

// Four types (the last hidden, the third locked) and `count` objects
// scattered over the map and a little past it, some nearer than any spacing.
void FillMap(MapDocument* d, unsigned seed, int count)
{
    d->width = d->height = kCells;
    d->viewScale = 768;
    for (const char* path : {"tree.ini", "rock.ini", "house.ini", "well.ini"})
        d->AddObjectType(path);
    std::mt19937 random(seed);
    std::uniform_real_distribution<float> spot(-0.05f, 1.05f);
    for (int i = 0; i < count; ++i)
        d->AddObject(MakeObject((uint8_t)(random() % 4), spot(random), spot(random), 0));
    d->StartNewHistory();
    d->SetTypeLocked(2, true);
    d->SetTypeHidden(3, true);
}

BrushSettings RandomSettings(std::mt19937& random)
{
    BrushSettings s;
    for (int type = 0; type < 4; ++type)
    {
        if (random() % 2)
            s.pool.push_back(type);
    }
    s.radius = 2.0f + (float)(random() % 100) / 10.0f;
    s.spacing = 0.7f + (float)(random() % 30) / 10.0f;
    s.rotation = (int16_t)(45 * (random() % 8));
    s.randomRotation = random() % 2 == 0;
    s.lowHeight = random() % 3 ? 0 : (int)(random() % 100);
    s.highHeight = random() % 3 ? 255 : s.lowHeight + 60 + (int)(random() % 128);
    s.limitSlope = random() % 2 == 0;
    s.maxSlope = 6 + (int)(random() % 40);
    return s;
}

// A stroke's pointer positions: a random walk, sometimes standing still,
// sometimes off the map.
std::vector<MapPoint> RandomPath(std::mt19937& random)
{
    std::uniform_real_distribution<float> start(-0.05f, 1.05f), step(-0.04f, 0.04f);
    std::vector<MapPoint> path = {{start(random), start(random)}};
    const size_t length = 1 + random() % 12;
    while (path.size() < length)
    {
        const bool still = random() % 3 == 0;
        path.push_back({path.back().x + (still ? 0 : step(random)),
                        path.back().y + (still ? 0 : step(random))});
    }
    return path;
}
} // namespace

TEST(ObjectBrush, StrokesKeepTheSpacingTheMaskAndThePathAndUndoToTheBytes)
{
    for (unsigned seed = 1; seed <= 24; ++seed)
    {
        std::mt19937 random(seed);
        const HeightSamples heights = Terrain(seed);
        MapDocument d, twin;
        FillMap(&d, seed, 150);
        FillMap(&twin, seed, 150);
        const BrushSettings s = RandomSettings(random);
        const std::vector<MapPoint> path = RandomPath(random);
        const std::vector<PlacedObject> before = d.objects;
        const Bytes bytesBefore = ObjectFileBytes(d);

        d.BeginBrushStroke(s, heights);
        for (const MapPoint& p : path)
            d.StrokeTo(p.x, p.y);
        const bool recorded = d.EndStroke();
        ASSERT_EQ(recorded, d.objects.size() > before.size()) << "seed " << seed;
        if (s.pool.empty())
            EXPECT_EQ(d.objects.size(), before.size());

        ASSERT_EQ(memcmp(d.objects.data(), before.data(), before.size() * sizeof(PlacedObject)), 0);
        for (size_t i = before.size(); i < d.objects.size(); ++i)
        {
            const PlacedObject& o = d.objects[i];
            EXPECT_TRUE(o.x >= 0 && o.x <= 1 && o.y >= 0 && o.y <= 1) << i;
            EXPECT_TRUE(MaskOpen(s, heights, o.x, o.y)) << "seed " << seed << " object " << i;
            bool inCircle = false;
            for (const MapPoint& p : path)
                inCircle = inCircle || CellDistance(o, p.x, p.y) <= s.radius + 1e-4;
            EXPECT_TRUE(inCircle) << "seed " << seed << " object " << i;
            EXPECT_NE(std::find(s.pool.begin(), s.pool.end(), o.type), s.pool.end());
            EXPECT_TRUE(s.randomRotation ? o.rotation % 45 == 0 : o.rotation == s.rotation);
            for (size_t j = 0; j < i; ++j)
            {
                ASSERT_GE(CellDistance(d.objects[j], o.x, o.y), s.spacing - 1e-4)
                    << "seed " << seed << ": objects " << j << " and " << i;
            }
        }

        twin.BeginBrushStroke(s, heights);
        for (const MapPoint& p : path)
            twin.StrokeTo(p.x, p.y);
        twin.EndStroke();
        EXPECT_EQ(ObjectFileBytes(twin), ObjectFileBytes(d)) << "seed " << seed;

        if (!recorded)
            continue;
        const Bytes bytesAfter = ObjectFileBytes(d);
        EXPECT_EQ(d.UndoName(), "Brush");
        ASSERT_TRUE(d.Undo());
        EXPECT_EQ(ObjectFileBytes(d), bytesBefore) << "seed " << seed;
        EXPECT_FALSE(d.CanUndo());
        ASSERT_TRUE(d.Redo());
        EXPECT_EQ(ObjectFileBytes(d), bytesAfter) << "seed " << seed;
    }
}

TEST(ObjectBrush, HoldingTheBrushStillFillsItsCircleAndStops)
{
    MapDocument d;
    FillMap(&d, 7, 0);
    BrushSettings s;
    s.pool = {0, 1};
    s.radius = 10.0f;
    s.spacing = 2.0f;
    const HeightSamples heights = Terrain(7);
    d.BeginBrushStroke(s, heights);
    size_t late = 0;
    for (int step = 0; step < 40; ++step)
        late = d.StrokeTo(0.5f, 0.5f) + (step < 30 ? 0 : late);
    EXPECT_EQ(late, 0u); // the last ten steps found no room
    // No spot in the circle is two spacings away from every object.
    for (double u = -7; u <= 7; u += 0.5)
    {
        for (double v = -7; v <= 7; v += 0.5)
        {
            const float x = (float)(0.5 + u / kCells), y = (float)(0.5 + v / kCells);
            if (hypot(u, v) > 8)
                continue;
            double nearest = 1e9;
            for (const PlacedObject& o : d.objects)
                nearest = std::min(nearest, CellDistance(o, x, y));
            EXPECT_LT(nearest, 2 * s.spacing) << u << "," << v;
        }
    }
}

TEST(ObjectBrush, TheEraserTakesExactlyWhatLiesUnderItAndMayBeTaken)
{
    for (unsigned seed = 1; seed <= 24; ++seed)
    {
        std::mt19937 random(seed);
        MapDocument d;
        FillMap(&d, seed, 900);
        BrushSettings s = RandomSettings(random);
        if (random() % 3 == 0)
            s.pool.clear();
        const Bytes bytesBefore = ObjectFileBytes(d);
        d.BeginEraserStroke(s);
        size_t erased = 0;
        for (const MapPoint& p : RandomPath(random))
        {
            std::vector<PlacedObject> left;
            for (const PlacedObject& o : d.objects)
            {
                const bool inPool = s.pool.empty() ||
                                    std::find(s.pool.begin(), s.pool.end(), o.type) != s.pool.end();
                if (!(CellDistance(o, p.x, p.y) <= s.radius && inPool && o.type < 2))
                    left.push_back(o);
            }
            const size_t count = d.objects.size();
            const size_t taken = d.StrokeTo(p.x, p.y);
            ASSERT_EQ(taken, count - left.size());
            ASSERT_EQ(d.objects.size(), left.size()) << "seed " << seed;
            ASSERT_EQ(memcmp(d.objects.data(), left.data(), left.size() * sizeof(PlacedObject)), 0)
                << "seed " << seed;
            erased += taken;
        }
        ASSERT_EQ(d.EndStroke(), erased > 0);
        if (!erased)
            continue;
        const Bytes bytesAfter = ObjectFileBytes(d);
        EXPECT_EQ(d.UndoName(), "Erase");
        ASSERT_TRUE(d.Undo());
        EXPECT_EQ(ObjectFileBytes(d), bytesBefore) << "seed " << seed;
        EXPECT_EQ(d.SelectedCount(), 0u);
        ASSERT_TRUE(d.Redo());
        EXPECT_EQ(ObjectFileBytes(d), bytesAfter) << "seed " << seed;
    }
}

TEST(ObjectBrush, AStrokeInProgressEndsBeforeUndoAndOtherEdits)
{
    MapDocument d;
    FillMap(&d, 3, 20);
    const Bytes start = ObjectFileBytes(d);
    const HeightSamples heights = Terrain(3);
    BrushSettings s;
    s.pool = {1};
    d.BeginBrushStroke(s, heights);
    ASSERT_GT(d.StrokeTo(0.5f, 0.5f), 0u);
    EXPECT_FALSE(d.Redo());
    ASSERT_TRUE(d.Undo()); // the stroke is recorded, then undone
    EXPECT_FALSE(d.Stroking());
    EXPECT_EQ(ObjectFileBytes(d), start);
    d.BeginEraserStroke(s);
    EXPECT_EQ(d.StrokeTo(5.0f, 5.0f), 0u);
    EXPECT_FALSE(d.EndStroke()); // nothing erased: no step
    d.BeginBrushStroke(s, heights);
    d.StrokeTo(0.3f, 0.3f);
    d.SelectOnly(d.ObjectCount() - 1); // one of the stroke's
    ASSERT_TRUE(d.DeleteSelection());
    EXPECT_EQ(d.UndoName(), "Delete");
    ASSERT_TRUE(d.Undo());
    EXPECT_EQ(d.UndoName(), "Brush");
}

TEST(ObjectBrush, OpenShareAndRadiusSteps)
{
    HeightSamples h;
    h.width = h.height = 4;
    h.values = {10,  10,  10,  10, //
                10,  50,  10,  10, //
                10,  10,  10,  10, //
                200, 200, 200, 10};
    const struct
    {
        int low, high;
        bool limitSlope;
        int maxSlope;
        double open;
    } cases[] = {
        {0, 255, false, 0, 1.0},      {0, 20, false, 0, 12.0 / 16}, {40, 255, false, 0, 4.0 / 16},
        {0, 255, true, 39, 5.0 / 16}, // 50 is 40 above its neighbours
        {0, 255, true, 40, 9.0 / 16}, {0, 20, true, 40, 8.0 / 16},
    };
    for (const auto& c : cases)
    {
        BrushSettings s;
        s.lowHeight = c.low;
        s.highHeight = c.high;
        s.limitSlope = c.limitSlope;
        s.maxSlope = c.maxSlope;
        EXPECT_DOUBLE_EQ(OpenShare(s, h, 4, 4), c.open)
            << c.low << "-" << c.high << " " << c.maxSlope;
    }
    BrushSettings restricted;
    restricted.highHeight = 100;
    EXPECT_EQ(OpenShare(restricted, HeightSamples(), 4, 4), 0.0); // no values: nothing open
    EXPECT_EQ(OpenShare(BrushSettings(), HeightSamples(), 4, 4), 1.0);

    EXPECT_FLOAT_EQ(StepBrushRadius(8, 1), 10.0f);
    EXPECT_FLOAT_EQ(StepBrushRadius(8, -2), 5.12f);
    EXPECT_FLOAT_EQ(StepBrushRadius(250, 1), 256.0f);
    EXPECT_FLOAT_EQ(StepBrushRadius(1.1f, -1), 1.0f);
    EXPECT_FLOAT_EQ(StepBrushRadius(NAN, 0), 1.0f);
}
