// Pointer and keyboard editing through the main window's real messages on the
// sample map (256 pixels wide, so the "6x" scale is 3072 and the chosen points
// give exact map positions): placing with Ctrl, "Randomize", picking and
// dragging, Delete, right-button scrolling.
#include <gtest/gtest.h>

#include <math.h>
#include <stdlib.h>

#include "app/EditorApp.h"
#include "app/PointerEditing.h"
#include "resource.h"
#include "tests/app/EditingHarness.h"
#include "tests/document/DocumentTestFiles.h"
#include "tests/support/EditorHarness.h"

namespace
{
class PointerEditingTest : public ::testing::Test
{
  protected:
    void SetUp() override
    {
        ASSERT_TRUE(StartEditorOnce()) << "no Direct3D 8 device: " << app.failedStep;
        ResetEditor();
        ASSERT_EQ(app.document.viewScale, 3072);
        AddCatalogEntry("..\\objects\\tree.ini");
        AddCatalogEntry("..\\objects\\rock.ini");
    }
    void TearDown() override { ResetEditor(); }

    // An object whose view position is (vx, vy) at the current scale.
    static void PutObjectAt(float vx, float vy)
    {
        app.document.AddObject(MakeObject(0, vx / 3072.0f, vy / 3072.0f, 0));
    }
};

void SelectRotationRow(int row)
{
    HWND box = GetDlgItem(app.paletteWindow, IDC_ROTATION);
    SendMessageA(box, CB_SETCURSEL, (WPARAM)row, 0);
    SendMessageA(app.paletteWindow, WM_COMMAND, MAKEWPARAM(IDC_ROTATION, CBN_SELCHANGE),
                 (LPARAM)box);
}

int ShownRotation()
{
    short rotation = -1;
    HWND box = GetDlgItem(app.paletteWindow, IDC_ROTATION);
    ReadRotationRow(box, (int)SendMessageA(box, CB_GETCURSEL, 0, 0), &rotation);
    return rotation;
}
} // namespace

TEST_F(PointerEditingTest, CtrlClickPlacesOneObjectAtTheClicksMapPosition)
{
    const struct
    {
        float scrollX, scrollY;
        int px, py;
        float x, y;
    } cases[] = {
        {0.0f, 0.0f, 300, 600, 0.09765625f, 0.1953125f},
        {84.0f, -12.0f, 300, 60, 0.125f, 0.015625f},
        {0.5f, 0.0f, 1, 0, 0.00048828125f, 0.0f},
        {0.0f, 0.0f, -30, 3072, -0.009765625f, 1.0f}, // captured: left of the window
    };
    app.document.currentType = 1;
    app.currentRotation = 45;
    for (const auto& c : cases)
    {
        app.document.scrollX = c.scrollX;
        app.document.scrollY = c.scrollY;
        const int before = app.document.ObjectCount();
        SetCtrl(true);
        PressLeft(c.px, c.py);
        EXPECT_FALSE(app.leftButtonDown) << "the press is consumed";
        // The rest of the press places nothing more and moves nothing.
        MoveMouse(c.px + 40, c.py + 40);
        SetCtrl(false);
        MoveMouse(c.px + 50, c.py + 50);
        ReleaseLeft(c.px + 50, c.py + 50);
        ASSERT_EQ(app.document.ObjectCount(), before + 1) << c.px << "," << c.py;
        const PlacedObject& placed = app.document.objects.back();
        EXPECT_EQ(placed.type, 1);
        EXPECT_EQ(placed.x, c.x);
        EXPECT_EQ(placed.y, c.y);
        EXPECT_EQ(placed.rotation, 45);
        const unsigned char zero[4] = {};
        EXPECT_EQ(memcmp(placed.reserved1, zero, 2), 0);
        EXPECT_EQ(memcmp(placed.reserved2, zero, 4), 0);
    }
}

TEST_F(PointerEditingTest, CtrlClickOnAnObjectPlacesAnotherAndKeepsTheSelection)
{
    PutObjectAt(300, 300);
    PutObjectAt(600, 300);
    app.document.selectedObject = 1;
    CtrlClick(300, 300);
    ASSERT_EQ(app.document.ObjectCount(), 3);
    EXPECT_EQ(app.document.selectedObject, 1);
    EXPECT_FALSE(app.dragging);
    EXPECT_EQ(ViewX(0), 300.0f);
    EXPECT_EQ(ViewX(2), 300.0f);
}

TEST_F(PointerEditingTest, PlacementNeedsACatalogEntryThatTheRecordCanHold)
{
    const struct
    {
        int catalogSize;
        int currentType;
        bool placed;
    } cases[] = {
        {0, 0, false},    {2, 2, false},     {2, -1, false},    {2, 1, true},
        {300, 255, true}, {300, 256, false}, {300, 299, false},
    };
    for (const auto& c : cases)
    {
        ResetEditor();
        for (int i = 0; i < c.catalogSize; ++i)
            app.document.objectTypes.push_back(ObjectType{"type.ini"});
        app.document.currentType = c.currentType;
        SetCtrl(true);
        PressLeft(100, 100);
        EXPECT_FALSE(app.leftButtonDown) << "the press is consumed either way";
        ReleaseLeft(100, 100);
        SetCtrl(false);
        ASSERT_EQ(app.document.ObjectCount(), c.placed ? 1 : 0)
            << c.catalogSize << " entries, type " << c.currentType;
        if (c.placed)
        {
            EXPECT_EQ(app.document.objects[0].type, c.currentType);
        }
    }
}

TEST_F(PointerEditingTest, RandomizeGivesTheShownRotationToTheNextObject)
{
    HWND randomize = GetDlgItem(app.paletteWindow, IDC_RANDOMIZE);
    SendMessageA(randomize, BM_CLICK, 0, 0); // the real automatic check box
    ASSERT_EQ(SendMessageA(randomize, BM_GETCHECK, 0, 0), BST_CHECKED);
    SelectRotationRow(2);
    ASSERT_EQ(ShownRotation(), 90);
    srand(7);
    bool changed = false;
    for (int i = 0; i < 16; ++i)
    {
        const int shown = ShownRotation();
        EXPECT_EQ(app.currentRotation, shown);
        CtrlClick(100 + 3 * i, 100);
        ASSERT_EQ(app.document.ObjectCount(), i + 1);
        EXPECT_EQ(app.document.objects.back().rotation, shown) << "click " << i;
        // The box now shows the rotation that the next object gets.
        EXPECT_EQ(app.currentRotation, ShownRotation());
        EXPECT_EQ(ShownRotation() % 45, 0);
        changed = changed || ShownRotation() != shown;
    }
    EXPECT_TRUE(changed) << "sixteen random rows were all the same";

    // Without the check the shown rotation stays.
    SendMessageA(randomize, BM_CLICK, 0, 0);
    SelectRotationRow(3);
    CtrlClick(10, 10);
    CtrlClick(20, 10);
    EXPECT_EQ(app.document.objects.back().rotation, 135);
    EXPECT_EQ(ShownRotation(), 135);
}

TEST_F(PointerEditingTest, PressPicksTheObjectAndDragsItUnderThePointer)
{
    PutObjectAt(150, 150);
    PutObjectAt(300, 300);
    // 4 pixels right of the object, then 10 pixels further right.
    PressLeft(304, 302);
    EXPECT_EQ(app.document.selectedObject, 1);
    EXPECT_TRUE(app.dragging);
    MoveMouse(314, 302);
    EXPECT_NEAR(ViewX(1), 314.0f, 1e-3);
    EXPECT_NEAR(ViewY(1), 302.0f, 1e-3);
    MoveMouse(400, 250);
    ReleaseLeft(400, 250);
    EXPECT_FALSE(app.dragging);
    EXPECT_NEAR(ViewX(1), 400.0f, 1e-3);
    EXPECT_NEAR(ViewY(1), 250.0f, 1e-3);
    EXPECT_EQ(ViewX(0), 150.0f) << "the other object stays";
    // After the release the pointer moves nothing.
    MoveMouse(500, 500);
    EXPECT_NEAR(ViewX(1), 400.0f, 1e-3);
    EXPECT_EQ(app.document.objects[1].type, 0);
}

TEST_F(PointerEditingTest, PressOnEmptySpaceChangesNothing)
{
    PutObjectAt(150, 150);
    PutObjectAt(300, 300);
    // The first press after start-up, selection 0: object 0 must not move.
    ASSERT_EQ(app.document.selectedObject, 0);
    PressLeft(700, 700);
    EXPECT_FALSE(app.dragging);
    // Passing over an object with the button held does not pick it either.
    MoveMouse(150, 150);
    MoveMouse(160, 160);
    ReleaseLeft(160, 160);
    EXPECT_EQ(ViewX(0), 150.0f);
    EXPECT_EQ(ViewY(0), 150.0f);
    EXPECT_EQ(app.document.selectedObject, 0);

    app.document.selectedObject = 1;
    ClickLeft(10, 700);
    EXPECT_EQ(app.document.selectedObject, 1);
    EXPECT_EQ(ViewX(1), 300.0f);
}

TEST_F(PointerEditingTest, DragAcrossAnObjectOfLowerIndexKeepsMovingThePickedOne)
{
    PutObjectAt(100, 100);
    PutObjectAt(300, 100);
    PressLeft(300, 100);
    for (int x = 290; x >= 40; x -= 10) // passes right over object 0
        MoveMouse(x, 100);
    ReleaseLeft(40, 100);
    EXPECT_EQ(app.document.selectedObject, 1);
    EXPECT_NEAR(ViewX(1), 40.0f, 1e-3);
    EXPECT_EQ(ViewX(0), 100.0f);
    EXPECT_EQ(ViewY(0), 100.0f);
}

TEST_F(PointerEditingTest, CtrlDuringADragPlacesAtThePointerAndEndsTheDrag)
{
    PutObjectAt(300, 300);
    PressLeft(300, 300);
    MoveMouse(320, 300);
    SetCtrl(true);
    MoveMouse(330, 300);
    SetCtrl(false);
    EXPECT_FALSE(app.leftButtonDown);
    EXPECT_FALSE(app.dragging);
    ASSERT_EQ(app.document.ObjectCount(), 2);
    EXPECT_NEAR(ViewX(1), 330.0f, 1e-3);
    MoveMouse(400, 400);
    ReleaseLeft(400, 400);
    EXPECT_NEAR(ViewX(0), 320.0f, 1e-3);
    EXPECT_EQ(app.document.ObjectCount(), 2);
}

TEST_F(PointerEditingTest, DeleteRemovesTheSelectedObject)
{
    const auto deleteKey = [] { SendMessageA(app.mainWindow, WM_KEYDOWN, VK_DELETE, 0); };
    for (int i = 0; i < 4; ++i)
        app.document.AddObject(MakeObject((uint8_t)i, 0.01f * (i + 1), 0.1f, 0));
    const auto types = []
    {
        std::vector<int> left;
        for (const PlacedObject& object : app.document.objects)
            left.push_back(object.type);
        return left;
    };
    // Other keys do nothing.
    for (WPARAM key : {(WPARAM)VK_BACK, (WPARAM)'D', (WPARAM)VK_ESCAPE, (WPARAM)VK_INSERT})
        SendMessageA(app.mainWindow, WM_KEYDOWN, key, 0);
    EXPECT_EQ(types(), (std::vector<int>{0, 1, 2, 3}));

    // The last one: removed, and a second Delete finds no selection.
    app.document.selectedObject = 3;
    deleteKey();
    EXPECT_EQ(types(), (std::vector<int>{0, 1, 2}));
    EXPECT_EQ(app.document.selectedObject, 3);
    deleteKey();
    EXPECT_EQ(types(), (std::vector<int>{0, 1, 2}));

    // A middle one: the selection then designates its successor.
    ClickLeft((int)ViewX(1), (int)ViewY(1));
    ASSERT_EQ(app.document.selectedObject, 1);
    deleteKey();
    EXPECT_EQ(types(), (std::vector<int>{0, 2}));
    deleteKey();
    EXPECT_EQ(types(), (std::vector<int>{0}));

    app.document.selectedObject = -1;
    deleteKey();
    EXPECT_EQ(types(), (std::vector<int>{0}));
}

TEST_F(PointerEditingTest, DeleteDuringADragEndsIt)
{
    PutObjectAt(100, 100);
    PutObjectAt(200, 100);
    PutObjectAt(300, 100);
    PressLeft(200, 100);
    SendMessageA(app.mainWindow, WM_KEYDOWN, VK_DELETE, 0);
    MoveMouse(250, 250);
    ReleaseLeft(250, 250);
    ASSERT_EQ(app.document.ObjectCount(), 2);
    EXPECT_EQ(ViewX(1), 300.0f) << "the object that followed was never picked";
    EXPECT_EQ(ViewY(1), 100.0f);
}

TEST_F(PointerEditingTest, WithoutAMapSizeNothingIsPlacedOrMoved)
{
    // viewScale 0 (no heightmap loaded): there is no map position to use.
    PutObjectAt(300, 300);
    app.document.viewScale = 0;
    CtrlClick(100, 100);
    EXPECT_EQ(app.document.ObjectCount(), 1);
    PressLeft(0, 0); // every object's box now surrounds the view's corner
    MoveMouse(50, 50);
    ReleaseLeft(50, 50);
    EXPECT_TRUE(isfinite(app.document.objects[0].x));
    EXPECT_EQ(app.document.objects[0].x, 300.0f / 3072.0f);
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
        app.document.scrollX = app.document.scrollY = 0.0f;
        SendMessageA(app.mainWindow, WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(pressX, pressY));
        POINT pointer = {pressX + c.dx, pressY + c.dy};
        ClientToScreen(app.mainWindow, &pointer);
        ASSERT_TRUE(SetCursorPos(pointer.x, pointer.y));
        // The next tick measures a frame of c.seconds.
        app.timer.lastTime = (float)(app.timer.Elapsed() - c.seconds);
        app.Tick();
        EXPECT_NEAR(app.frameTime, c.seconds, 1e-3);
        EXPECT_NEAR(app.document.scrollX, c.scrollX, 0.01f) << c.dx;
        EXPECT_NEAR(app.document.scrollY, c.scrollY, 0.01f) << c.dy;
        // Released away from the press point (no popup): scrolling stops.
        SendMessageA(app.mainWindow, WM_RBUTTONUP, 0, MAKELPARAM(pressX + 1, pressY + 1));
        const float after = app.document.scrollX;
        app.timer.lastTime = (float)(app.timer.Elapsed() - 1.0);
        app.Tick();
        EXPECT_EQ(app.document.scrollX, after);
    }
}
