// The scatter brush and the eraser on the sample map (its 256 x 256
// heightmap, a slope limit in the mask) with 10,000, 100,000 and 1,000,000
// objects: the document's work for one brush step (circle of 16 cells,
// spacing 2) into an empty circle and along a stroke, one eraser step of the
// same circle (the erased objects last in the list, as a stroke's are, and
// first, when every later object moves down), a whole stroke that places
// 10,000 objects (spacing 1) and Undo of it, and a hit test. The map's
// objects lie outside the middle square where the brush works, so each size
// does the same step; the goal is a step at 1,000,000 objects within 2 ms
// and within 1.5x the step at 10,000. Also the spatial index's memory per
// object. Medians of several rounds.
#include <stdio.h>

#include <random>
#include <vector>

#include "bench/BenchClock.h"
#include "d3dx/image/DecoderChain.h"
#include "document/MapDocument.h"
#include "document/TerrainMask.h"

namespace
{
const int kRounds = 15;
const int kCells = 256;
const float kMiddleLow = 0.25f, kMiddleHigh = 0.75f; // kept free of the map's objects

HeightSamples SampleHeights()
{
    HeightSamples heights;
    FILE* file = fopen(MAPEDITOR_SAMPLE_DIR "/maps/area1.bmp", "rb");
    if (!file)
        return heights;
    std::vector<uint8_t> bytes;
    uint8_t buffer[65536];
    size_t got;
    while ((got = fread(buffer, 1, sizeof(buffer), file)) > 0)
        bytes.insert(bytes.end(), buffer, buffer + got);
    fclose(file);
    d3dximage::Image image;
    d3dximage::ImageInfo info;
    if (d3dximage::DecodeImageFile(bytes.data(), bytes.size(), d3dximage::DecodeLimits(), &image,
                                   &info) != d3dximage::DecodeStatus::Ok)
        return heights;
    heights.width = (int)image.width;
    heights.height = (int)image.height;
    for (uint32_t pixel : image.pixels)
        heights.values.push_back((unsigned char)(pixel >> 16));
    return heights;
}

BrushSettings Brush(float spacing)
{
    BrushSettings s;
    s.pool = {0, 1, 2};
    s.radius = 16.0f;
    s.spacing = spacing;
    s.randomRotation = true;
    s.limitSlope = true;
    s.maxSlope = 24;
    return s;
}

// `count` objects outside the middle square; `first` objects before them.
void Fill(MapDocument* document, size_t count, const std::vector<PlacedObject>& first)
{
    std::vector<ObjectType> types;
    for (const char* path : {"tree.ini", "rock.ini", "house.ini", "tower.ini", "well.ini"})
        types.push_back(ObjectType{path});
    std::vector<PlacedObject> objects = first;
    std::mt19937 random(2026);
    std::uniform_real_distribution<float> spot(0.0f, 1.0f);
    while (objects.size() < first.size() + count)
    {
        PlacedObject object = {};
        object.type = (uint8_t)(random() % 5);
        object.x = spot(random);
        object.y = spot(random);
        const bool middle = object.x > kMiddleLow - 0.01f && object.x < kMiddleHigh + 0.01f &&
                            object.y > kMiddleLow - 0.01f && object.y < kMiddleHigh + 0.01f;
        if (!middle)
            objects.push_back(object);
    }
    document->SwapContents(&types, &objects);
    document->width = document->height = kCells;
    document->viewScale = kCells * 12;
    document->StartNewHistory();
}

template <typename F> double Seconds(F run)
{
    const double start = Now();
    run();
    return Now() - start;
}

struct Row
{
    size_t objects;
    double firstStep, movingStep, eraseLast, eraseFirst, stroke, undo, hit;
    size_t strokeObjects, strokeSteps, stepObjects;
    double indexBytes;
};

// One brush step into the empty middle, then undone; returns the objects placed.
size_t BrushOnce(MapDocument& d, const HeightSamples& heights, double* seconds)
{
    d.BeginBrushStroke(Brush(2.0f), heights);
    size_t placed = 0;
    *seconds = Seconds([&] { placed = d.StrokeTo(0.5f, 0.5f); });
    d.EndStroke();
    return placed;
}

Row Measure(size_t count, const HeightSamples& heights)
{
    Row row = {};
    row.objects = count;
    MapDocument d;
    Fill(&d, count, {});
    double seconds;
    BrushOnce(d, heights, &seconds); // warm: the index is built, the lists grow
    d.Undo();

    std::vector<double> first, moving, eraseLast, hit;
    for (int round = 0; round < kRounds; ++round)
    {
        row.stepObjects = BrushOnce(d, heights, &seconds);
        first.push_back(seconds);
        d.Undo();

        d.BeginBrushStroke(Brush(2.0f), heights);
        d.StrokeTo(0.4f, 0.5f);
        for (int k = 1; k <= 10; ++k)
        {
            const float x = 0.4f + (float)k * 2.0f / kCells;
            moving.push_back(Seconds([&] { d.StrokeTo(x, 0.5f); }));
        }
        d.EndStroke();
        d.Undo();

        BrushOnce(d, heights, &seconds);
        d.BeginEraserStroke(Brush(2.0f));
        eraseLast.push_back(Seconds([&] { d.StrokeTo(0.5f, 0.5f); }));
        d.EndStroke();
        d.Undo();
        hit.push_back(Seconds([&] { d.HitTest(kCells * 6, kCells * 6); }));
        d.Undo();
    }
    row.firstStep = Median(first);
    row.movingStep = Median(moving);
    row.eraseLast = Median(eraseLast);
    row.hit = Median(hit);

    // The same circle's objects first in the list: every later object moves.
    BrushOnce(d, heights, &seconds);
    const std::vector<PlacedObject> circle(d.objects.end() - (std::ptrdiff_t)row.stepObjects,
                                           d.objects.end());
    MapDocument front;
    Fill(&front, count, circle);
    std::vector<double> eraseFirst;
    for (int round = 0; round < kRounds; ++round)
    {
        front.BeginEraserStroke(Brush(2.0f));
        eraseFirst.push_back(Seconds([&] { front.StrokeTo(0.5f, 0.5f); }));
        front.EndStroke();
        front.Undo();
    }
    row.eraseFirst = Median(eraseFirst);

    // A whole stroke back and forth over the middle square until 10,000
    // objects are placed, and its Undo.
    MapDocument s;
    Fill(&s, count, {});
    s.HitTest(0, 0); // builds the index, as the first query after a load does
    const size_t before = s.objects.size();
    row.stroke = Seconds(
        [&]
        {
            s.BeginBrushStroke(Brush(1.0f), heights);
            const float step = 3.0f / kCells;
            for (float y = kMiddleLow + 0.05f;
                 y < kMiddleHigh - 0.05f && s.objects.size() < before + 10000; y += 24.0f / kCells)
            {
                for (float x = kMiddleLow + 0.05f; x < kMiddleHigh - 0.05f; x += step)
                {
                    s.StrokeTo(x, y);
                    ++row.strokeSteps;
                    if (s.objects.size() >= before + 10000)
                        break;
                }
            }
            s.EndStroke();
        });
    row.strokeObjects = s.objects.size() - before;
    row.undo = Seconds([&] { s.Undo(); });
    row.indexBytes = (double)s.SpatialIndexBytes() / (double)s.objects.size();
    return row;
}
} // namespace

int main()
{
    const HeightSamples heights = SampleHeights();
    BrushSettings mask = Brush(2.0f);
    printf("Brush and eraser on the sample map (%dx%d heightmap values%s), slope at most %d: "
           "%.0f%% of the map open\n",
           heights.width, heights.height, heights.Empty() ? " MISSING" : "", mask.maxSlope,
           100.0 * OpenShare(mask, heights, kCells, kCells));
    printf("Document work, median ms; circle 16 cells, spacing 2 (the stroke: spacing 1). "
           "(x) = ratio to 10,000 objects\n\n");
    printf("%9s %16s %16s %16s %16s %22s %10s %9s %12s\n", "objects", "brush step",
           "step in stroke", "erase (last)", "erase (first)", "stroke: objs/steps ms", "undo",
           "hit test", "index B/obj");
    Row base = {};
    for (size_t count : {(size_t)10000, (size_t)100000, (size_t)1000000})
    {
        const Row r = Measure(count, heights);
        if (count == 10000)
            base = r;
        printf("%9zu %8.3f (%4.2f) %8.3f (%4.2f) %8.3f (%4.2f) %8.3f (%4.2f) %6zu/%4zu %9.2f "
               "%10.2f %9.4f %12.1f\n",
               r.objects, r.firstStep * 1e3, r.firstStep / base.firstStep, r.movingStep * 1e3,
               r.movingStep / base.movingStep, r.eraseLast * 1e3, r.eraseLast / base.eraseLast,
               r.eraseFirst * 1e3, r.eraseFirst / base.eraseFirst, r.strokeObjects, r.strokeSteps,
               r.stroke * 1e3, r.undo * 1e3, r.hit * 1e3, r.indexBytes);
    }
    printf("\n(a brush step placed %zu objects into the empty circle)\n", base.stepObjects);
    return 0;
}
