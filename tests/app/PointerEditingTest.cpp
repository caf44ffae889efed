// Pointer and keyboard editing through the main window's real messages on the
// sample map (256 pixels wide, so the "6x" scale is 3072 and the chosen points
// give exact map positions): placing with Ctrl, "Randomize", picking,
// selecting and dragging, the rubber band, the keys, right-button scrolling.
// (What the edits do to the document is tested natively; these tests check
// that the window's messages reach them.)
#include <gtest/gtest.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <vector>

#include "app/EditorApp.h"
#include "app/ViewWindow.h"
#include "resource.h"
#include "tests/app/EditingHarness.h"
#include "tests/app/AppTestFiles.h"
#include "tests/support/EditorHarness.h"

namespace
{
class PointerEditingTest : public EditingTest
{
  protected:
    void SetUp() override
    {
        EditingTest::SetUp();
        ASSERT_EQ(app.Document().viewScale, 3072);
        AddCatalogEntry("..\\objects\\tree.ini");
        AddCatalogEntry("..\\objects\\rock.ini");
    }
};

// An object whose view position is (vx, vy) at the "6x" scale without scroll.
void PutObjectAt(float vx, float vy)
{
    app.Document().AddObject(MakeObject(0, vx / 3072.0f, vy / 3072.0f, 0));
}

// View points are written "x,y", separated by spaces.
void PutObjectsAt(const char* points)
{
    int x, y, used;
    for (; sscanf(points, " %d,%d%n", &x, &y, &used) == 2; points += used)
        PutObjectAt((float)x, (float)y);
}

// The objects' view positions, to the nearest pixel.
std::string Positions()
{
    std::string text;
    char point[64];
    for (int i = 0; i < app.Document().ObjectCount(); ++i)
    {
        snprintf(point, sizeof(point), "%s%.0f,%.0f", i ? " " : "", ViewX(i), ViewY(i));
        text += point;
    }
    return text;
}

// The view drags exactly while the document's drag is open.
void ExpectViewAndDocumentAgree()
{
    EXPECT_EQ(app.View().Gesture().moving, app.Document().Dragging());
}

// Runs the steps of a gesture: "Px,y" press, "Sx,y" press with Shift held,
// "Mx,y" move, "Cx,y" move with Ctrl held, "Rx,y" release, and the keys "D"
// Delete, "E" Escape, "N" the right arrow, checking after each step that the
// view and the document agree.
void Gesture(const char* steps)
{
    const char* keys = "DEN";
    const WPARAM keyCodes[] = {VK_DELETE, VK_ESCAPE, VK_RIGHT};
    char step;
    int x = 0, y = 0, used = 0;
    for (; sscanf(steps, " %c%n", &step, &used) == 1; steps += used, ExpectViewAndDocumentAgree())
    {
        steps += used;
        used = 0;
        if (const char* key = strchr(keys, step))
        {
            SendToView(WM_KEYDOWN, keyCodes[key - keys]);
            continue;
        }
        sscanf(steps, "%d,%d%n", &x, &y, &used);
        SetCtrl(step == 'C');
        SetShift(step == 'S');
        if (step == 'P' || step == 'S')
            PressLeft(x, y);
        else if (step == 'R')
            ReleaseLeft(x, y);
        else
            MoveMouse(x, y);
    }
    SetCtrl(false);
    SetShift(false);
}

using Indices = std::vector<uint32_t>;

void SelectRotationRow(int row)
{
    HWND box = GetDlgItem(app.Palette().Handle(), IDC_ROTATION);
    SendMessageA(box, CB_SETCURSEL, (WPARAM)row, 0);
    SendMessageA(app.Palette().Handle(), WM_COMMAND, MAKEWPARAM(IDC_ROTATION, CBN_SELCHANGE),
                 (LPARAM)box);
}

int ShownRotation()
{
    short rotation = -1;
    HWND box = GetDlgItem(app.Palette().Handle(), IDC_ROTATION);
    ReadRotationRow(box, (int)SendMessageA(box, CB_GETCURSEL, 0, 0), &rotation);
    return rotation;
}
} // namespace

TEST_F(PointerEditingTest, CtrlClickPlacesOneObjectAtTheClicksMapPositionOnTheMapOnly)
{
    const struct
    {
        int viewScale;
        float scrollX, scrollY;
        int px, py;
        float x, y;
        bool placed;
    } cases[] = {
        {3072, 0.0f, 0.0f, 300, 600, 0.09765625f, 0.1953125f, true}, // on an object: placed
        {3072, 84.0f, -12.0f, 300, 60, 0.125f, 0.015625f, true},
        {3072, 0.5f, 0.0f, 1, 0, 0.00048828125f, 0.0f, true},
        {3072, 0.0f, 0.0f, 30, 3072, 0.009765625f, 1.0f, true}, // on the bottom edge
        {3072, 0.0f, 0.0f, -30, 300, 0, 0, false},              // captured: left of the map
        {512, 0.0f, 0.0f, 800, 300, 0, 0, false},               // 1x: in the margin right of it
    };
    PutObjectAt(300, 600);
    app.Document().currentType = 1;
    app.Palette().SetRotation(45);
    for (const auto& c : cases)
    {
        app.Document().viewScale = c.viewScale;
        app.Document().scrollX = c.scrollX;
        app.Document().scrollY = c.scrollY;
        const int before = app.Document().ObjectCount();
        SetCtrl(true);
        PressLeft(c.px, c.py);
        EXPECT_FALSE(app.View().Gesture().leftButtonDown) << "the press is consumed";
        // The rest of the press places nothing more and moves nothing.
        MoveMouse(c.px + 40, c.py + 40);
        SetCtrl(false);
        MoveMouse(c.px + 50, c.py + 50);
        ReleaseLeft(c.px + 50, c.py + 50);
        ASSERT_EQ(app.Document().ObjectCount(), before + (c.placed ? 1 : 0)) << c.px << "," << c.py;
        EXPECT_EQ(app.Document().SelectedCount(), 0u) << "placing selects nothing";
        EXPECT_FALSE(app.View().Gesture().dragging);
        if (!c.placed)
            continue;
        const PlacedObject& placed = app.Document().objects.back();
        const PlacedObject expected = MakeObject(1, c.x, c.y, 45);
        EXPECT_EQ(memcmp(&placed, &expected, sizeof(placed)), 0) << c.px << "," << c.py;
    }
    EXPECT_EQ(+app.Document().objects[0].x, 300.0f / 3072.0f);
}

TEST_F(PointerEditingTest, PlacementNeedsACatalogEntryThatTheRecordCanHold)
{
    const struct
    {
        int catalogSize, currentType;
        bool placed;
    } cases[] = {
        {0, 0, false},    {2, 2, false},     {2, -1, false},    {2, 1, true},
        {300, 255, true}, {300, 256, false}, {300, 299, false},
    };
    for (const auto& c : cases)
    {
        ResetEditor();
        app.Document().objectTypes.resize((size_t)c.catalogSize, ObjectType{"type.ini"});
        app.Document().currentType = c.currentType;
        SetCtrl(true);
        PressLeft(100, 100);
        EXPECT_FALSE(app.View().Gesture().leftButtonDown) << "the press is consumed either way";
        ReleaseLeft(100, 100);
        SetCtrl(false);
        ASSERT_EQ(app.Document().ObjectCount(), c.placed ? 1 : 0)
            << c.catalogSize << " entries, type " << c.currentType;
        if (c.placed)
        {
            EXPECT_EQ(app.Document().objects[0].type, c.currentType);
        }
    }
}

TEST_F(PointerEditingTest, RandomizeGivesTheShownRotationToTheNextObject)
{
    HWND randomize = GetDlgItem(app.Palette().Handle(), IDC_RANDOMIZE);
    SendMessageA(randomize, BM_CLICK, 0, 0); // the real automatic check box
    ASSERT_EQ(SendMessageA(randomize, BM_GETCHECK, 0, 0), BST_CHECKED);
    SelectRotationRow(2);
    ASSERT_EQ(ShownRotation(), 90);
    srand(7);
    bool changed = false;
    for (int i = 0; i < 16; ++i)
    {
        const int shown = ShownRotation();
        EXPECT_EQ(app.Palette().Rotation(), shown);
        CtrlClick(100 + 3 * i, 100);
        ASSERT_EQ(app.Document().ObjectCount(), i + 1);
        EXPECT_EQ(app.Document().objects.back().rotation, shown) << "click " << i;
        // The box now shows the rotation that the next object gets.
        EXPECT_EQ(app.Palette().Rotation(), ShownRotation());
        changed = changed || ShownRotation() != shown;
    }
    EXPECT_TRUE(changed) << "sixteen random rows were all the same";

    // Without the check the shown rotation stays.
    SendMessageA(randomize, BM_CLICK, 0, 0);
    SelectRotationRow(3);
    CtrlClick(10, 10);
    CtrlClick(20, 10);
    EXPECT_EQ(app.Document().objects.back().rotation, 135);
    EXPECT_EQ(ShownRotation(), 135);
}

TEST_F(PointerEditingTest, PressesPickSelectAndDragAndEmptySpaceDrawsABand)
{
    // The cases below move 4 pixels within the drag distance, 5 past it.
    ASSERT_EQ(GetSystemMetrics(SM_CXDRAG), 4);
    ASSERT_EQ(GetSystemMetrics(SM_CYDRAG), 4);
    const struct
    {
        const char* what;
        const char* objects;
        Indices selectedBefore;
        const char* gesture;
        const char* after;
        Indices selected;
        int steps; // each undone afterwards gives back the objects as they were
    } cases[] = {
        {"a press picks the object and the drag keeps the offset at which it was grabbed",
         "150,150 300,300",
         {},
         "P304,302 M314,302 M400,250 R400,250",
         "150,150 396,248",
         {1},
         1},
        {"a click on an object selects it and moves nothing",
         "150,150 300,300",
         {0},
         "P304,302 R304,302",
         "150,150 300,300",
         {1},
         0},
        {"movements within the drag distance move nothing",
         "300,300",
         {},
         "P300,300 M304,296 M296,304 R296,304",
         "300,300",
         {0},
         0},
        {"past it the drag follows from the press, and one ending where it began is no step",
         "300,300",
         {},
         "P300,300 M305,300 M340,320 M300,300 R300,300",
         "300,300",
         {0},
         0},
        {"a press on empty space moves nothing and its band selects what it holds",
         "150,150 300,300",
         {0},
         "P700,700 M150,150 M160,160 R160,160",
         "150,150 300,300",
         {1},
         0},
        {"a click on empty space clears the selection",
         "150,150 300,300",
         {0, 1},
         "P10,700 R10,700",
         "150,150 300,300",
         {},
         0},
        {"a drag across an object of lower index keeps moving the picked one",
         "100,100 300,100",
         {},
         "P300,100 M200,100 M100,100 M40,100 R40,100",
         "100,100 40,100",
         {1},
         1},
        {"a press on a selected object drags the whole selection",
         "100,100 200,100 300,300",
         {0, 2},
         "P100,100 M130,160 R130,160",
         "130,160 200,100 330,360",
         {0, 2},
         1},
        {"a press on an unselected object selects just it",
         "100,100 200,100",
         {0},
         "P200,100 M210,100 R210,100",
         "100,100 210,100",
         {1},
         1},
        {"Shift + click adds and takes away one object without moving it",
         "100,100 200,100",
         {0},
         "S200,100 R200,100 S100,100 R100,100 M0,0",
         "100,100 200,100",
         {1},
         0},
        {"a band with Shift adds to the selection",
         "100,100 200,100 300,100",
         {0},
         "S250,50 M350,150 R350,150",
         "100,100 200,100 300,100",
         {0, 2},
         0},
        {"Escape clears the selection", "100,100", {0}, "E", "100,100", {}, 0},
        {"Ctrl during a drag places at the pointer and ends the drag",
         "300,300",
         {},
         "P300,300 M320,300 C330,300 M400,400 R400,400",
         "320,300 330,300",
         {0},
         2},
        {"Delete during a press ends it: nothing else follows the pointer",
         "100,100 200,100 300,100",
         {},
         "P200,100 D M250,250 R250,250",
         "100,100 300,100",
         {},
         1},
        {"an arrow key during a drag ends it: the drag and the nudge are two steps",
         "300,300",
         {},
         "P300,300 M340,300 N M400,400 R400,400",
         "352,300",
         {0},
         2},
        {"an edit before the drag began keeps the press from dragging",
         "300,300",
         {},
         "P300,300 N M400,400 R400,400",
         "312,300",
         {0},
         1},
        {"Escape before the drag began leaves nothing to drag",
         "300,300",
         {},
         "P300,300 E M400,400 R400,400",
         "300,300",
         {},
         0},
    };
    for (const auto& c : cases)
    {
        SCOPED_TRACE(c.what);
        ResetEditor();
        AddCatalogEntry("..\\objects\\tree.ini");
        PutObjectsAt(c.objects);
        app.Document().StartNewHistory(); // as loaded: nothing to save
        app.Document().SelectOnly(c.selectedBefore);
        Gesture(c.gesture);
        EXPECT_FALSE(app.View().Gesture().leftButtonDown || app.View().Gesture().dragging ||
                     app.View().Gesture().banding);
        MoveMouse(500, 500); // after the release the pointer moves nothing
        EXPECT_EQ(Positions(), c.after);
        EXPECT_EQ(app.Document().SelectedIndices(), c.selected);
        EXPECT_EQ(app.Document().IsModified(), c.steps > 0) << "the title's *";
        int undone = 0;
        while (app.Document().Undo())
            ++undone;
        EXPECT_EQ(undone, c.steps);
        EXPECT_EQ(Positions(), c.objects);
        EXPECT_FALSE(app.Document().IsModified());
    }
}

TEST_F(PointerEditingTest, DeleteRemovesOnlyWhatIsSelected)
{
    PutObjectsAt("100,100 200,100 300,100 400,100");
    for (WPARAM key : {(WPARAM)VK_BACK, (WPARAM)'D', (WPARAM)VK_INSERT})
        SendToView(WM_KEYDOWN, key); // other keys do nothing
    // Nothing selected (start-up, or after a click on empty space): Delete
    // removes nothing, not object 0.
    Gesture("D P10,700 R10,700 D");
    EXPECT_EQ(Positions(), "100,100 200,100 300,100 400,100");
    // A middle one, picked by a click: after its removal nothing is
    // selected, so a second Delete removes nothing more.
    Gesture("P200,100 R200,100 D D");
    EXPECT_EQ(Positions(), "100,100 300,100 400,100");
    EXPECT_EQ(app.Document().SelectedCount(), 0u);
    // Two at once, one step.
    Gesture("S100,100 R100,100 S400,100 R400,100 D");
    EXPECT_EQ(Positions(), "300,100");
    EXPECT_EQ(app.Document().UndoName(), "Delete 2 Objects");
}

TEST_F(PointerEditingTest, WithoutAMapSizeNothingIsPlacedOrMoved)
{
    // viewScale 0 (no heightmap loaded): there is no map position to use.
    PutObjectAt(300, 300);
    app.Document().viewScale = 0;
    CtrlClick(100, 100);
    EXPECT_EQ(app.Document().ObjectCount(), 1);
    PressLeft(0, 0); // every object's box now surrounds the view's corner
    MoveMouse(50, 50);
    ReleaseLeft(50, 50);
    EXPECT_EQ(app.Document().objects[0].x, 300.0f / 3072.0f);
}

TEST_F(PointerEditingTest, HoldingTheRightButtonScrollsByTheOffsetAndTheFrameTime)
{
    const struct
    {
        int dx, dy;
        double seconds;
        float scrollX, scrollY;
    } cases[] = {
        {10, 0, 1.0, 30.0f, 0.0f},
        {-10, -20, 0.5, -15.0f, -30.0f},
        {0, 0, 1.0, 0.0f, 0.0f},
    };
    const int pressX = 200, pressY = 200;
    for (const auto& c : cases)
    {
        app.Document().scrollX = app.Document().scrollY = 0.0f;
        SendToView(WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pressX, pressY));
        POINT pointer = {pressX + c.dx, pressY + c.dy};
        ClientToScreen(app.View().Handle(), &pointer);
        ASSERT_TRUE(MoveCursorTo(pointer.x, pointer.y));
        // The next tick measures a frame of c.seconds.
        app.View().Timer().lastTime = (float)(app.View().Timer().Elapsed() - c.seconds);
        app.View().Tick();
        EXPECT_NEAR(app.View().FrameTime(), c.seconds, 1e-3);
        EXPECT_NEAR(app.Document().scrollX, c.scrollX, 0.01f) << c.dx;
        EXPECT_NEAR(app.Document().scrollY, c.scrollY, 0.01f) << c.dy;
        // Released away from the press point (no popup): scrolling stops.
        SendToView(WM_RBUTTONUP, 0, MAKELPARAM(pressX + 1, pressY + 1));
        const float after = app.Document().scrollX;
        app.View().Timer().lastTime = (float)(app.View().Timer().Elapsed() - 1.0);
        app.View().Tick();
        EXPECT_EQ(app.Document().scrollX, after);
    }
}
