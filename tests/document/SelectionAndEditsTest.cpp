// Selecting (rubber band, Shift toggling, all, none) and the geometry of
// the edits: drags and placements kept on the map, snapping to heightmap
// cells, rotations kept in 0..359, nudges by cells, removing a type with
// the type bytes renumbered.
#include <gtest/gtest.h>

#include <math.h>

#include "tests/document/DocumentTestSupport.h"

namespace
{
// A 100-cell map shown 1000 pixels wide: view pixel = 1000 x map position.
class EditsTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        document.width = document.height = 100;
        document.viewScale = 1000;
        document.AddObjectType("tree.ini");
        document.AddObjectType("rock.ini");
    }
    void Put(float x, float y, uint8_t type = 0, int16_t rotation = 0)
    {
        document.AddObject(MakeObject(type, x, y, rotation));
    }
    std::string Positions() const
    {
        std::string text;
        char point[64];
        for (const PlacedObject& o : document.objects)
        {
            snprintf(point, sizeof(point), "%s%.4g,%.4g", text.empty() ? "" : " ", o.x, o.y);
            text += point;
        }
        return text;
    }
    MapDocument document;
};
} // namespace

TEST_F(EditsTest, ARubberBandSelectsTheCentresInsideItEdgesIncluded)
{
    // Centres at view x 100, 200, 300 and y 100; one more not a number.
    for (float x : {0.1f, 0.2f, 0.3f})
        Put(x, 0.1f);
    Put(NAN, 0.1f);
    const struct
    {
        float x0, y0, x1, y1;
        bool add;
        std::vector<uint32_t> selected;
    } bands[] = {
        {100, 100, 200, 100, false, {0, 1}}, // a line through two centres
        {300, 150, 200.5f, 50, false, {2}},  // corners in any order
        {100.5f, 0, 199.5f, 300, false, {}}, // between the centres
        {250, 0, 350, 200, true, {2}},       // adding to nothing
        {0, 0, 150, 150, true, {0, 2}},      // adding to object 2
        {-1e30f, -1e30f, 1e30f, 1e30f, false, {0, 1, 2}},
    };
    for (const auto& b : bands)
    {
        document.SelectInViewRect(b.x0, b.y0, b.x1, b.y1, b.add);
        EXPECT_EQ(document.SelectedIndices(), b.selected) << b.x0 << "," << b.y0;
    }
    document.scrollX = 100.0f; // the same band now holds other map positions
    document.SelectInViewRect(0, 0, 100, 200, false);
    EXPECT_EQ(document.SelectedIndices(), (std::vector<uint32_t>{0, 1}));
    document.ToggleSelected(0);
    document.ToggleSelected(2);
    document.ToggleSelected(9); // no such object
    EXPECT_EQ(document.SelectedIndices(), (std::vector<uint32_t>{1, 2}));
    document.SelectAll();
    EXPECT_EQ(document.SelectedCount(), 4u);
    document.ClearSelection();
    EXPECT_EQ(document.SelectedCount(), 0u);
}

TEST_F(EditsTest, PlacingNeedsTheMapSquareAndAnEntryTheRecordCanHold)
{
    const struct
    {
        int catalog, type;
        float x, y;
        bool placed;
    } cases[] = {
        {2, 1, 0.5f, 0.5f, true},     {2, 1, 0.0f, 1.0f, true},     {2, 1, -0.0001f, 0.5f, false},
        {2, 1, 0.5f, 1.0001f, false}, {2, 1, NAN, 0.5f, false},     {2, 2, 0.5f, 0.5f, false},
        {2, -1, 0.5f, 0.5f, false},   {300, 255, 0.5f, 0.5f, true}, {300, 256, 0.5f, 0.5f, false},
        {0, 0, 0.5f, 0.5f, false},
    };
    for (const auto& c : cases)
    {
        MapDocument placing;
        placing.objectTypes.resize((size_t)c.catalog, ObjectType{"t.ini"});
        placing.currentType = c.type;
        EXPECT_EQ(placing.PlaceObject(c.x, c.y, 45), c.placed) << c.type << " at " << c.x;
        EXPECT_EQ(placing.ObjectCount(), c.placed ? 1 : 0);
        if (c.placed)
        {
            const PlacedObject expected = MakeObject((uint8_t)c.type, c.x, c.y, 45);
            EXPECT_EQ(memcmp(&placing.objects[0], &expected, sizeof(expected)), 0);
        }
    }
}

TEST_F(EditsTest, AGroupDragKeepsItsShapeAndStaysOnTheMap)
{
    Put(0.2f, 0.2f);
    Put(0.3f, 0.25f);
    Put(0.5f, 0.5f);
    document.SelectOnly(std::vector<uint32_t>{0, 1});
    const struct
    {
        float x, y;
        const char* positions;
    } moves[] = {
        {0.4f, 0.6f, "0.4,0.6 0.5,0.65 0.5,0.5"}, // the picked one exactly under the pointer
        {-0.5f, 0.1f, "0,0.1 0.1,0.15 0.5,0.5"},  // held at the left edge
        {0.95f, 1.2f, "0.9,0.95 1,1 0.5,0.5"},    // the other one reaches the corner
    };
    document.BeginDrag(0);
    for (const auto& m : moves)
    {
        document.DragTo(m.x, m.y);
        EXPECT_EQ(Positions(), m.positions) << m.x << "," << m.y;
    }
    ASSERT_TRUE(document.EndDrag());
    EXPECT_EQ(document.UndoName(), "Move 2 Objects");
    EXPECT_EQ(document.SelectedIndices(), (std::vector<uint32_t>{0, 1}));

    // A press on an object outside the selection drags just that one; one
    // already outside the map is never pushed further out.
    Put(1.5f, 0.5f);
    document.BeginDrag(3);
    EXPECT_EQ(document.SelectedIndices(), (std::vector<uint32_t>{3}));
    document.DragTo(1.7f, 0.5f);
    EXPECT_EQ(+document.objects[3].x, 1.5f);
    document.DragTo(1.2f, 0.5f);
    EXPECT_NEAR(+document.objects[3].x, 1.2f, 1e-6);
    document.EndDrag();
}

TEST_F(EditsTest, SnappingPutsCentresOnCellCentres)
{
    document.snapToCells = true;
    document.width = 100;
    document.height = 50; // cells of 1/100 by 1/50 of the map's side
    document.currentType = 0;
    ASSERT_TRUE(document.PlaceObject(0.123f, 0.123f, 0));
    EXPECT_FLOAT_EQ(+document.objects[0].x, 0.125f);
    EXPECT_FLOAT_EQ(+document.objects[0].y, 0.13f);
    ASSERT_TRUE(document.PlaceObject(1.0f, 0.0f, 0)); // the edges snap into the last cells
    EXPECT_FLOAT_EQ(+document.objects[1].x, 0.995f);
    EXPECT_FLOAT_EQ(+document.objects[1].y, 0.01f);
    document.BeginDrag(0);
    document.DragTo(0.5012f, 0.4999f);
    EXPECT_FLOAT_EQ(+document.objects[0].x, 0.505f);
    EXPECT_FLOAT_EQ(+document.objects[0].y, 0.49f);
    document.EndDrag();
    document.snapToCells = false;
    ASSERT_TRUE(document.PlaceObject(0.123f, 0.123f, 0));
    EXPECT_EQ(+document.objects[2].x, 0.123f);
}

TEST_F(EditsTest, RotationsStayIn0To359AndNudgesMoveByCells)
{
    const int16_t rotations[] = {0, 315, 90, -90, 32767, -32768};
    for (int16_t r : rotations)
        Put(0.5f, 0.5f, 0, r);
    document.SelectAll();
    ASSERT_TRUE(document.RotateSelection(45));
    const int right[] = {45, 0, 135, 315, (32767 + 45) % 360, ((-32768 + 45) % 360 + 360) % 360};
    for (size_t i = 0; i < 6; ++i)
        EXPECT_EQ(+document.objects[i].rotation, right[i]) << rotations[i];
    ASSERT_TRUE(document.RotateSelection(-45));
    ASSERT_TRUE(document.RotateSelection(-45));
    EXPECT_EQ(+document.objects[0].rotation, 315);
    EXPECT_EQ(+document.objects[1].rotation, 270);

    MapDocument grid;
    grid.width = 100;
    grid.height = 50;
    grid.AddObject(MakeObject(0, 0.5f, 0.5f, 0));
    grid.AddObject(MakeObject(0, 0.98f, 0.5f, 0));
    grid.SelectAll();
    ASSERT_TRUE(grid.NudgeSelection(1, -10));
    EXPECT_FLOAT_EQ(+grid.objects[0].x, 0.51f);
    EXPECT_FLOAT_EQ(+grid.objects[0].y, 0.3f);
    ASSERT_TRUE(grid.NudgeSelection(10, 0)); // held back where the second reaches the edge
    EXPECT_FLOAT_EQ(+grid.objects[1].x, 1.0f);
    EXPECT_FLOAT_EQ(+grid.objects[0].x, 0.52f);
    EXPECT_FALSE(grid.NudgeSelection(1, 0)) << "at the edge nothing moves";
}

TEST_F(EditsTest, RemovingATypeDeletesItsObjectsAndRenumbersTheLaterTypes)
{
    document.AddObjectType("house.ini");
    Put(0.1f, 0.1f, 0);
    Put(0.2f, 0.2f, 1);
    Put(0.3f, 0.3f, 2);
    Put(0.4f, 0.4f, 7); // beyond the catalog: stays beyond it
    document.currentType = 2;
    ASSERT_TRUE(document.RemoveType(1));
    ASSERT_EQ(document.objectTypes.size(), 2u);
    EXPECT_EQ(document.objectTypes[1].path, "house.ini");
    ASSERT_EQ(document.ObjectCount(), 3);
    EXPECT_EQ(document.objects[1].type, 1);
    EXPECT_EQ(document.objects[2].type, 6);
    EXPECT_EQ(document.currentType, 1) << "still the house";
    const unsigned revision = document.CatalogRevision();
    ASSERT_TRUE(document.Undo());
    EXPECT_NE(document.CatalogRevision(), revision) << "a list showing the catalog rebuilds";
    EXPECT_EQ(document.objects[1].type, 1);
    EXPECT_EQ(document.objects[2].type, 2);
    EXPECT_EQ(document.objects[3].type, 7);
    EXPECT_EQ(document.objectTypes[1].path, "rock.ini");
}
