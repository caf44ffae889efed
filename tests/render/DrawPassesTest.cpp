// The pass planner of the batched map view, natively under the sanitizers:
// small scenes with the passes they must take, and random crowds in which
// every pair of overlapping quads must keep its one-at-a-time order.
#include <gtest/gtest.h>

#include <math.h>

#include <vector>

#include "render/DrawPasses.h"

namespace
{
const ViewArea kArea = {0, 0, 640, 480};
const DrawPassPlanner::Kind M = DrawPassPlanner::Marker;
const DrawPassPlanner::Kind L = DrawPassPlanner::Label;

struct Quad
{
    DrawPassPlanner::Kind kind;
    PixelBox box;
};

TEST(DrawPassPlannerTest, OnlyALabelUnderALaterMarkerTakesAnotherPass)
{
    const PixelBox a = {100, 100, 140, 120}, b = {130, 110, 170, 130}; // overlapping
    const PixelBox far = {400, 300, 420, 320};
    const PixelBox outside = {-50, -50, -10, -10};
    const PixelBox nowhere = {NAN, NAN, NAN, NAN};
    const PixelBox everywhere = {-INFINITY, -INFINITY, INFINITY, INFINITY};
    const struct
    {
        const char* scene;
        std::vector<Quad> quads;
        std::vector<int> passes;
    } cases[] = {
        {"apart", {{M, a}, {L, a}, {M, far}, {L, far}}, {0, 0, 0, 0}},
        {"label then marker", {{M, far}, {L, a}, {M, b}, {L, far}}, {0, 0, 1, 0}},
        // Markers over markers, labels over labels, a label over an earlier
        // marker: each kind is drawn in order within its pass.
        {"same kinds", {{M, a}, {M, b}, {L, a}, {L, b}, {M, far}}, {0, 0, 0, 0, 0}},
        {"a chain", {{L, a}, {M, b}, {L, b}, {M, a}, {M, far}}, {0, 1, 1, 2, 0}},
        // A label after a marker of a later pass follows it there.
        {"carried along", {{L, a}, {M, b}, {L, b}, {L, a}}, {0, 1, 1, 1}},
        {"outside the area", {{L, a}, {M, outside}, {M, nowhere}, {L, outside}}, {0, 0, 0, 0}},
        {"over everything", {{L, far}, {M, everywhere}, {L, a}}, {0, 1, 1}},
    };
    for (const auto& c : cases)
    {
        DrawPassPlanner planner;
        planner.Begin(kArea);
        int most = 0;
        for (size_t i = 0; i < c.quads.size(); ++i)
        {
            const int pass = planner.Place(c.quads[i].kind, c.quads[i].box);
            EXPECT_EQ(pass, c.passes[i]) << c.scene << ", quad " << i;
            most = pass + 1 > most ? pass + 1 : most;
        }
        EXPECT_EQ(planner.PassCount(), most) << c.scene;
    }
}

// Position of a quad in the batched sequence: its pass, then markers before
// labels, then the order of placing.
long long BatchedPosition(int pass, DrawPassPlanner::Kind kind, size_t index)
{
    return ((long long)pass * 2 + kind) * 1000000 + (long long)index;
}

bool Overlap(const PixelBox& a, const PixelBox& b, const ViewArea& area)
{
    const double left = fmax(fmax(a.left, b.left), area.left);
    const double right = fmin(fmin(a.right, b.right), area.right);
    const double top = fmax(fmax(a.top, b.top), area.top);
    const double bottom = fmin(fmin(a.bottom, b.bottom), area.bottom);
    return left < right && top < bottom;
}

TEST(DrawPassPlannerTest, RandomCrowdsKeepTheOrderOfEveryOverlappingPair)
{
    // Dense and sparse crowds over an area with an odd origin and size,
    // reaching past its edges: markers and labels of objects in turn.
    const struct
    {
        int objects;
        ViewArea area;
    } crowds[] = {{300, {0, 0, 300, 200}}, {600, {13.5f, 7.25f, 1000, 700}}, {40, {0, 0, 9, 9}}};
    unsigned state = 7;
    const auto random = [&state](double low, double high)
    {
        state = state * 1664525u + 1013904223u;
        return low + (high - low) * (state >> 8) / 16777216.0;
    };
    for (const auto& crowd : crowds)
    {
        std::vector<Quad> quads;
        for (int i = 0; i < crowd.objects; ++i)
        {
            const double x = random(crowd.area.left - 40, crowd.area.right + 40);
            const double y = random(crowd.area.top - 20, crowd.area.bottom + 20);
            quads.push_back({M, {x - 12, y - 12, x + 12, y + 12}});
            const double width = random(2, 90);
            quads.push_back({L, {x - width / 2, y + 2, x + width / 2, y + 18}});
        }
        DrawPassPlanner planner;
        planner.Begin(crowd.area);
        std::vector<long long> positions;
        for (size_t i = 0; i < quads.size(); ++i)
            positions.push_back(
                BatchedPosition(planner.Place(quads[i].kind, quads[i].box), quads[i].kind, i));
        int broken = 0;
        for (size_t i = 0; i < quads.size(); ++i)
            for (size_t j = i + 1; j < quads.size(); ++j)
                broken +=
                    Overlap(quads[i].box, quads[j].box, crowd.area) && positions[i] > positions[j];
        EXPECT_EQ(broken, 0) << crowd.objects << " objects";
        // Batching is worth it: far fewer passes than objects in view.
        if (crowd.area.right > 100)
            EXPECT_LT(planner.PassCount() * 4, crowd.objects) << crowd.objects << " objects";
    }
}
} // namespace
