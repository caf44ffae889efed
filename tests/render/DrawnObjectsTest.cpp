// Which objects a frame must draw again, natively under the sanitizers: the
// looks reported for each kind of edit, against the frame kept before it.
#include <gtest/gtest.h>

#include <math.h>
#include <string.h>

#include <vector>

#include "document/Selection.h"
#include "render/DrawnObjects.h"

namespace
{
PlacedObject At(float x, float y, int16_t rotation = 0, uint8_t type = 0)
{
    PlacedObject object;
    memset(&object, 0, sizeof(object));
    object.x = x;
    object.y = y;
    object.rotation = rotation;
    object.type = type;
    return object;
}

struct Scene
{
    std::vector<PlacedObject> objects;
    std::vector<uint32_t> selected;
};

Selection SelectionOf(const Scene& scene)
{
    Selection selection;
    selection.Resize(scene.objects.size());
    selection.SelectOnly(scene.selected);
    return selection;
}

TEST(DrawnObjectsTest, EachEditReportsTheOldAndNewLooksOfWhatItTouched)
{
    const PlacedObject a = At(0.1f, 0.1f), b = At(0.2f, 0.2f), c = At(0.3f, 0.3f),
                       d = At(0.4f, 0.4f), e = At(0.5f, 0.5f);
    const Scene before = {{a, b, c, d, e}, {}};
    const struct
    {
        const char* edit;
        Scene after;
        std::vector<float> changedX; // x of each look reported, in order
    } cases[] = {
        {"nothing", {{a, b, c, d, e}, {}}, {}},
        {"one moved", {{a, b, At(0.35f, 0.3f), d, e}, {}}, {0.3f, 0.35f}},
        {"two moved apart",
         {{At(0.15f, 0.1f), b, c, d, At(0.55f, 0.5f)}, {}},
         {0.1f, 0.15f, 0.5f, 0.55f}},
        {"one turned", {{a, b, At(0.3f, 0.3f, 90), d, e}, {}}, {0.3f, 0.3f}},
        {"another type", {{a, b, c, At(0.4f, 0.4f, 0, 3), e}, {}}, {0.4f, 0.4f}},
        {"one selected", {{a, b, c, d, e}, {1}}, {0.2f, 0.2f}},
        // The later objects move down a place and are not reported.
        {"one deleted", {{a, c, d, e}, {}}, {0.2f}},
        {"one inserted", {{a, b, At(0.9f, 0.9f), c, d, e}, {}}, {0.9f}},
        {"appended", {{a, b, c, d, e, At(0.9f, 0.9f)}, {}}, {0.9f}},
        {"all deleted", {{}, {}}, {0.1f, 0.2f, 0.3f, 0.4f, 0.5f}},
        // A different count between the first and last difference: every
        // object between them, old and new.
        {"first and last deleted",
         {{b, c, d}, {}},
         {0.1f, 0.2f, 0.3f, 0.4f, 0.5f, 0.2f, 0.3f, 0.4f}},
    };
    for (const auto& c : cases)
    {
        DrawnObjects drawn;
        drawn.Keep(before.objects, SelectionOf(before));
        std::vector<DrawnObject> changed;
        ASSERT_TRUE(drawn.Changes(c.after.objects, SelectionOf(c.after), 100, &changed)) << c.edit;
        std::vector<float> xs;
        for (const DrawnObject& look : changed)
            xs.push_back(look.x);
        EXPECT_EQ(xs, c.changedX) << c.edit;
    }
}

TEST(DrawnObjectsTest, APositionThatIsNotANumberIsUnchangedAndTooManyChangesAreRefused)
{
    const std::vector<PlacedObject> odd = {At(NAN, 0.5f), At(0.5f, INFINITY)};
    DrawnObjects drawn;
    drawn.Keep(odd, SelectionOf({odd, {}}));
    std::vector<DrawnObject> changed;
    EXPECT_TRUE(drawn.Changes(odd, SelectionOf({odd, {}}), 0, &changed));
    EXPECT_TRUE(changed.empty());

    // Every object selected: two looks each, over a limit of three.
    EXPECT_FALSE(drawn.Changes(odd, SelectionOf({odd, {0, 1}}), 3, &changed));
    changed.clear();
    EXPECT_TRUE(drawn.Changes(odd, SelectionOf({odd, {0, 1}}), 4, &changed));
    EXPECT_EQ(changed.size(), 4u);
    // Deleted: one look over a limit of none.
    EXPECT_FALSE(drawn.Changes({odd[0]}, SelectionOf({{odd[0]}, {}}), 0, &changed));
}
} // namespace
