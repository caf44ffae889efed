// The tools on the real windows: Tools > Select, Brush and Eraser from the
// menu and from the view's keys with the radio check and the status bar,
// the radius keys and Ctrl+wheel, brush and eraser strokes through the
// view's button messages (one undo step each, the right and middle buttons
// scrolling and panning meanwhile), the palette's several rows, its hidden
// and locked toggles by click and by key, Select All of Type, and the
// "Brush..." dialog.
#include <gtest/gtest.h>

#include <math.h>

#include <set>

#include "app/BrushDialog.h"
#include "app/EditorApp.h"
#include "document/TerrainMask.h"
#include "resource.h"
#include "tests/app/AppTestFiles.h"
#include "tests/app/EditingHarness.h"

namespace
{
using BrushToolTest = EditingTest;

bool Checked(int command)
{
    return (GetMenuState(GetMenu(app.Main().Handle()), (UINT)command, MF_BYCOMMAND) & MF_CHECKED) !=
           0;
}

void SelectRows(std::initializer_list<int> rows)
{
    SendMessageA(PaletteList(), LB_SETSEL, FALSE, -1);
    for (int row : rows)
        SendMessageA(PaletteList(), LB_SETSEL, TRUE, row);
}

// A stroke of the left button along the points, in view pixels.
void Stroke(std::initializer_list<POINT> points)
{
    const POINT first = *points.begin();
    PressLeft(first.x, first.y);
    for (const POINT& p : points)
        MoveMouse(p.x, p.y);
    ReleaseLeft(first.x, first.y);
}

// The least distance in heightmap cells between two objects.
double LeastDistance(const MapDocument& d)
{
    double least = INFINITY;
    for (size_t i = 0; i < d.objects.size(); ++i)
        for (size_t j = i + 1; j < d.objects.size(); ++j)
            least =
                fmin(least, sqrt(CellDistanceSquared(d.objects[i].x, d.objects[i].y, d.objects[j].x,
                                                     d.objects[j].y, d.width, d.height)));
    return least;
}
} // namespace

TEST_F(BrushToolTest, ToolsComeFromTheMenuAndTheViewsKeysAndTheRadiusFromItsKeysAndTheWheel)
{
    const struct
    {
        bool menu, ctrl;
        int input; // a command or a key
        Tool tool;
    } steps[] = {
        {false, false, 'B', Tool::Brush},
        {false, false, 'E', Tool::Eraser},
        {false, true, 'S', Tool::Eraser},
        {false, false, 'S', Tool::Select},
        {true, false, ID_TOOLS_ERASER, Tool::Eraser},
        {true, false, ID_TOOLS_BRUSH, Tool::Brush},
    };
    for (const auto& step : steps)
    {
        SetCtrl(step.ctrl);
        if (step.menu)
            SendToMain(WM_COMMAND, (WPARAM)step.input);
        else
            SendToView(WM_KEYDOWN, (WPARAM)step.input);
        SetCtrl(false);
        EXPECT_EQ(app.View().CurrentTool(), step.tool) << step.input;
        EXPECT_EQ(app.Status().Field(6), ToolName(step.tool));
        for (int command : {ID_TOOLS_SELECT, ID_TOOLS_BRUSH, ID_TOOLS_ERASER})
            EXPECT_EQ(Checked(command), command - ID_TOOLS_SELECT == (int)step.tool) << command;
    }

    // [ and ] in steps of 1.25x within 1 to 256 cells; Ctrl+wheel too, over
    // the view, without zooming.
    EXPECT_FLOAT_EQ(app.View().Brush().radius, 8.0f);
    SendToView(WM_KEYDOWN, VK_OEM_6);
    EXPECT_FLOAT_EQ(app.View().Brush().radius, 10.0f);
    SendToView(WM_KEYDOWN, VK_OEM_4);
    SendToView(WM_KEYDOWN, VK_OEM_4);
    EXPECT_FLOAT_EQ(app.View().Brush().radius, 6.4f);
    for (int i = 0; i < 40; ++i)
        SendToView(WM_KEYDOWN, VK_OEM_4);
    EXPECT_FLOAT_EQ(app.View().Brush().radius, 1.0f);
    POINT centre = {200, 200};
    ClientToScreen(app.View().Handle(), &centre);
    const int scale = app.Document().viewScale;
    SendToView(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, 2 * WHEEL_DELTA),
               MAKELPARAM(centre.x, centre.y));
    EXPECT_FLOAT_EQ(app.View().Brush().radius, 1.5625f);
    EXPECT_EQ(app.Document().viewScale, scale);
    // With the select tool Ctrl+wheel zooms as before.
    SendToView(WM_KEYDOWN, 'S');
    SendToView(WM_MOUSEWHEEL, MAKEWPARAM(MK_CONTROL, WHEEL_DELTA), MAKELPARAM(centre.x, centre.y));
    EXPECT_NE(app.Document().viewScale, scale);
    EXPECT_FLOAT_EQ(app.View().Brush().radius, 1.5625f);
}

TEST_F(BrushToolTest, StrokesOfTheBrushAndTheEraserAreOneStepEachWhileTheOtherButtonsScroll)
{
    for (const char* path :
         {"..\\objects\\tree.ini", "..\\objects\\rock.ini", "..\\objects\\well.ini"})
        AddCatalogEntry(path);
    SelectRows({0, 2});
    SendToView(WM_KEYDOWN, 'B');
    PressLeft(150, 150);
    MoveMouse(250, 160);
    // The right button scrolls and the middle one pans during the stroke.
    SendToView(WM_RBUTTONDOWN, MK_LBUTTON | MK_RBUTTON, MAKELPARAM(250, 160));
    EXPECT_TRUE(app.View().Scrolling());
    SendToView(WM_RBUTTONUP, MK_LBUTTON, MAKELPARAM(260, 160));
    SendToView(WM_MBUTTONDOWN, MK_LBUTTON | MK_MBUTTON, MAKELPARAM(260, 160));
    SendToView(WM_MOUSEMOVE, MK_LBUTTON | MK_MBUTTON, MAKELPARAM(300, 170));
    SendToView(WM_MBUTTONUP, MK_LBUTTON, MAKELPARAM(300, 170));
    EXPECT_LT(app.Document().scrollX, -30.0f); // dragged 40 pixels
    MoveMouse(350, 200);
    ReleaseLeft(350, 200);
    MapDocument& d = app.Document();
    ASSERT_GT(d.ObjectCount(), 20);
    std::set<int> types;
    for (const PlacedObject& o : d.objects)
        types.insert(o.type);
    EXPECT_EQ(types, (std::set<int>{0, 2}));
    EXPECT_GE(LeastDistance(d), 2.0);
    EXPECT_EQ(d.UndoName(), "Brush");
    SendToMain(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_EQ(d.ObjectCount(), 0);
    SendToMain(WM_COMMAND, ID_EDIT_REDO);
    const int brushed = d.ObjectCount();

    // The eraser takes the pool's types: none of a locked type, all of the
    // unlocked types when no row is selected.
    SendToView(WM_KEYDOWN, 'E');
    for (int i = 0; i < 4; ++i) // 19.5 cells: the stroke below covers them all
        SendToView(WM_KEYDOWN, VK_OEM_6);
    SelectRows({2});
    Stroke({{100, 100}, {400, 220}});
    EXPECT_EQ(d.UndoName(), "Erase");
    EXPECT_EQ(d.CountObjectsOfType(2), 0u);
    EXPECT_GT(d.CountObjectsOfType(0), 0u);
    app.Palette().ToggleLayer({0}, true);
    SelectRows({});
    Stroke({{100, 100}, {400, 220}});
    EXPECT_GT(d.CountObjectsOfType(0), 0u);
    SendToMain(WM_COMMAND, ID_EDIT_UNDO);
    EXPECT_EQ(d.ObjectCount(), brushed);
}

TEST_F(BrushToolTest, PaletteRowsToggleHiddenAndLockedByClickAndKeyAndSelectAllOfTypeTakesTheRest)
{
    for (const char* path :
         {"..\\objects\\tree.ini", "..\\objects\\rock.ini", "..\\objects\\well.ini"})
        AddCatalogEntry(path);
    MapDocument& d = app.Document();
    for (int i = 0; i < 9; ++i)
        d.AddObject(MakeObject((uint8_t)(i % 3), 0.1f + 0.05f * (float)i, 0.2f, 0));
    HWND list = PaletteList();
    // A click on a row's first toggle hides that type and selects no row.
    RECT row;
    SendMessageA(list, LB_GETITEMRECT, 1, (LPARAM)&row);
    SelectRows({0});
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(row.left + 4, row.top + 4));
    SendMessageA(list, WM_LBUTTONUP, 0, MAKELPARAM(row.left + 4, row.top + 4));
    EXPECT_TRUE(d.IsTypeHidden(1));
    EXPECT_EQ(app.Palette().SelectedTypes(), (std::vector<int>{0}));
    // H and L flip the selected rows.
    SelectRows({0, 2});
    SetFocus(list);
    SendMessageA(list, WM_KEYDOWN, 'L', 0);
    EXPECT_TRUE(d.IsTypeLocked(0));
    EXPECT_TRUE(d.IsTypeLocked(2));
    SendMessageA(list, WM_KEYDOWN, 'L', 0);
    EXPECT_FALSE(d.IsTypeLocked(2));
    SendMessageA(list, WM_KEYDOWN, 'H', 0);
    EXPECT_TRUE(d.IsTypeHidden(2));
    EXPECT_EQ(app.Palette().SelectedTypes(), (std::vector<int>{0, 2}));

    // Select All of Type: the visible, unlocked objects of the rows.
    SendMessageA(list, WM_KEYDOWN, 'H', 0); // type 2 shown again
    SelectRows({1, 2});
    SendToMain(WM_COMMAND, ID_EDIT_SELECTALLOFTYPE);
    EXPECT_EQ(d.SelectedIndices(), (std::vector<uint32_t>{2, 5, 8}));
    // Hidden and locked are not steps.
    EXPECT_FALSE(d.CanUndo());
}

TEST_F(BrushToolTest, BrushDialogSetsEverySettingAndRefusesAFieldOutOfRange)
{
    const bool seen = AnswerDialog(
        "Brush",
        [](HWND dialog)
        {
            const struct
            {
                int id;
                const char* text;
            } fields[] = {{IDC_BRUSHRADIUS, "12.5"},
                          {IDC_BRUSHSPACING, "3"},
                          {IDC_BRUSHLOW, "10"},
                          {IDC_BRUSHHIGH, "200"},
                          {IDC_BRUSHSLOPE, "20"}};
            for (const auto& field : fields)
                SetDlgItemTextA(dialog, field.id, field.text);
            CheckDlgButton(dialog, IDC_BRUSHLIMITSLOPE, BST_CHECKED);
            SendMessageA(dialog, WM_COMMAND, IDC_BRUSHLIMITSLOPE, 0);
            BrushSettings s = app.View().Brush();
            s.lowHeight = 10, s.highHeight = 200, s.limitSlope = true, s.maxSlope = 20;
            const MapDocument& d = app.Document();
            char open[64];
            snprintf(open, sizeof(open), "Open: %.1f%% of the map",
                     100.0 * OpenShare(s, d.heightSamples, d.width, d.height));
            EXPECT_EQ(DialogItemText(dialog, IDC_BRUSHOPEN), open);
            PressButton(dialog, IDOK);
        },
        [] { SendToMain(WM_COMMAND, ID_TOOLS_BRUSHSETTINGS); });
    ASSERT_TRUE(seen);
    const BrushSettings& s = app.View().Brush();
    EXPECT_FLOAT_EQ(s.radius, 12.5f);
    EXPECT_FLOAT_EQ(s.spacing, 3.0f);
    EXPECT_EQ(s.lowHeight, 10);
    EXPECT_EQ(s.highHeight, 200);
    EXPECT_TRUE(s.limitSlope);
    EXPECT_EQ(s.maxSlope, 20);

    BrushDialogState state = {&app.Document(), BrushSettings()};
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_BRUSHDIALOG),
                                     app.Main().Handle(), BrushDialogProc, (LPARAM)&state);
    ASSERT_NE(dialog, nullptr);
    const struct
    {
        int id;
        const char* text;
        const char* problem;
    } wrong[] = {
        {IDC_BRUSHRADIUS, "0.5", "The radius must be a number from 1 to 256."},
        {IDC_BRUSHSPACING, "2x", "The spacing must be a number from 0.5 to 256."},
        {IDC_BRUSHHIGH, "-1", "The highest height must be a number from 0 to 255."},
        {IDC_BRUSHLOW, "255", "The lowest height must not lie above the highest height."},
    };
    for (const auto& w : wrong)
    {
        SetDlgItemTextA(dialog, w.id, w.text);
        BrushSettings read;
        std::string problem;
        EXPECT_FALSE(ReadBrushFields(dialog, &read, &problem)) << w.text;
        EXPECT_EQ(problem, w.problem);
        EXPECT_EQ(DialogItemText(dialog, IDC_BRUSHOPEN).substr(0, 7), "Open: -");
        SetDlgItemTextA(dialog, w.id, w.id == IDC_BRUSHLOW ? "0" : "8");
    }
    DestroyWindow(dialog);
}

TEST_F(BrushToolTest, AHiddenTypeIsNotDrawn)
{
    AddCatalogEntry("..\\objects\\tree.ini");
    MapDocument& d = app.Document();
    d.AddObject(MakeObject(0, 0.06f, 0.06f, 0)); // about (184, 184) in the view, with its label
    const auto frame = []
    {
        app.View().ForgetKeptFrame();
        app.View().DrawFrame();
        BackBufferPixels pixels;
        EXPECT_TRUE(ReadShownFrame(&pixels));
        return pixels;
    };
    // Around the object, away from the count in the corner.
    const auto same = [](const BackBufferPixels& a, const BackBufferPixels& b)
    {
        for (int y = 120; y < 260; ++y)
            for (int x = 120; x < 320; ++x)
                if (a.At(x, y) != b.At(x, y))
                    return false;
        return true;
    };
    const BackBufferPixels shown = frame();
    d.SetTypeHidden(0, true);
    const BackBufferPixels hidden = frame();
    d.RemoveObject(0);
    const BackBufferPixels none = frame();
    EXPECT_FALSE(same(shown, none));
    EXPECT_TRUE(same(hidden, none));
}
