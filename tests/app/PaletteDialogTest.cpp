// The real object palette: the list's row choosing the type and the rotation
// row choosing the rotation of the next placed object, "Add" importing
// through the real chooser, "Remove" asking before it takes placed objects
// with their type, the close box doing nothing, the layout on resizing and
// the procedures' answers.
#include <gtest/gtest.h>

#include "app/EditorApp.h"
#include "app/PaletteDialog.h"
#include "app/PropertiesDialog.h"
#include "resource.h"
#include "tests/app/EditingHarness.h"
#include "tests/app/AppTestFiles.h"
#include "tests/support/EditorHarness.h"

namespace
{
using PaletteDialogTest = EditingTest;

// A click on a row of the real list box, which then notifies the palette.
void ClickListRow(int row)
{
    HWND list = PaletteList();
    RECT item;
    ASSERT_NE(SendMessageA(list, LB_GETITEMRECT, (WPARAM)row, (LPARAM)&item), LB_ERR);
    const LPARAM at = MAKELPARAM((item.left + item.right) / 2, (item.top + item.bottom) / 2);
    SendMessageA(list, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(list, WM_LBUTTONUP, 0, at);
    PumpMessages();
}

RECT ListRectInPalette()
{
    RECT rect;
    GetWindowRect(PaletteList(), &rect);
    MapWindowPoints(nullptr, app.Palette().Handle(), (POINT*)&rect, 2);
    return rect;
}
} // namespace

TEST_F(PaletteDialogTest, ListRowChoosesTheTypeOfTheNextObject)
{
    for (const char* path :
         {"..\\objects\\tree.ini", "..\\objects\\rock.ini", "..\\objects\\well.ini"})
        AddCatalogEntry(path);
    for (int row : {2, 0, 1})
    {
        ClickListRow(row);
        EXPECT_EQ(app.Document().currentType, row);
        CtrlClick(100, 100);
        EXPECT_EQ(app.Document().objects.back().type, row);
    }
    EXPECT_EQ(app.Document().ObjectCount(), 3);
}

TEST_F(PaletteDialogTest, RotationRowChoosesTheRotationOfTheNextObject)
{
    // A palette of its own starts on row 0.
    HWND fresh = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_OBJECTDIALOG),
                                    app.Main().Handle(), PaletteDialog::Procedure, 0);
    ASSERT_NE(fresh, nullptr);
    EXPECT_EQ(SendDlgItemMessageA(fresh, IDC_ROTATION, CB_GETCURSEL, 0, 0), 0);
    DestroyWindow(fresh);

    AddCatalogEntry("..\\objects\\tree.ini");
    HWND box = GetDlgItem(app.Palette().Handle(), IDC_ROTATION);
    ASSERT_EQ(SendMessageA(box, CB_GETCOUNT, 0, 0), 8);
    for (int row : {3, 7, 1, 0, 4, 2, 6, 5})
    {
        SendMessageA(box, CB_SETCURSEL, (WPARAM)row, 0);
        SendMessageA(app.Palette().Handle(), WM_COMMAND, MAKEWPARAM(IDC_ROTATION, CBN_SELCHANGE),
                     (LPARAM)box);
        EXPECT_EQ(app.Palette().Rotation(), 45 * row);
        CtrlClick(100, 100);
        EXPECT_EQ(app.Document().objects.back().rotation, 45 * row);
    }
    // Other notifications of the box change nothing.
    SendMessageA(box, CB_SETCURSEL, 6, 0);
    SendMessageA(app.Palette().Handle(), WM_COMMAND, MAKEWPARAM(IDC_ROTATION, CBN_DROPDOWN),
                 (LPARAM)box);
    EXPECT_EQ(app.Palette().Rotation(), 225);
}

TEST_F(PaletteDialogTest, AddImportsAnObjectTypeOwnedByThePalette)
{
    const std::string description =
        std::string(app.ProgramDirectory()) + "\\..\\objects\\tower.ini";
    ASSERT_TRUE(FileExists(description));
    HWND owner = nullptr;
    const bool seen = AnswerDialog(
        "Import Object",
        [&](HWND chooser)
        {
            owner = GetWindow(chooser, GW_OWNER);
            TypeIntoChooser(chooser, description);
        },
        [] { SendDlgItemMessageA(app.Palette().Handle(), IDC_ADD, BM_CLICK, 0, 0); });
    ASSERT_TRUE(seen);
    EXPECT_EQ(owner, GetAncestor(app.Palette().Handle(), GA_ROOT)); // the main window while docked
    ASSERT_EQ(app.Document().objectTypes.size(), 1u);
    EXPECT_STRCASEEQ(app.Document().objectTypes[0].path.c_str(), "..\\objects\\tower.ini");
    EXPECT_EQ(ListRows(PaletteList()), Rows{app.Document().objectTypes[0].path});
}

TEST_F(PaletteDialogTest, RemoveAsksWhenObjectsUseTheTypeAndTheCloseBoxDoesNothing)
{
    for (const char* path : {"..\\objects\\tree.ini", "..\\objects\\rock.ini"})
        AddCatalogEntry(path);
    app.Document().AddObject(MakeObject(1, 0.5f, 0.5f, 0));
    app.Document().AddObject(MakeObject(0, 0.2f, 0.5f, 0));
    const auto removeRow = [](int row, bool yes)
    {
        ClickListRow(row);
        return AnswerDialog(
            "Remove Object Type",
            [yes](HWND box)
            {
                EXPECT_EQ(GetWindow(box, GW_OWNER), GetAncestor(app.Palette().Handle(), GA_ROOT));
                PressButton(box, yes ? IDYES : IDNO);
            },
            [] { SendDlgItemMessageA(app.Palette().Handle(), IDC_REMOVE, BM_CLICK, 0, 0); });
    };
    // One object uses the tree: asked, "No" keeps everything.
    EXPECT_TRUE(removeRow(0, false));
    EXPECT_EQ(ListRows(PaletteList()).size(), 2u);
    EXPECT_EQ(app.Document().ObjectCount(), 2);
    // "Yes": the type and its object go; the rock's objects now say type 0.
    EXPECT_TRUE(removeRow(0, true));
    EXPECT_EQ(ListRows(PaletteList()), Rows{"..\\objects\\rock.ini"});
    ASSERT_EQ(app.Document().ObjectCount(), 1);
    EXPECT_EQ(app.Document().objects[0].type, 0);
    EXPECT_EQ(app.Document().UndoName(), "Remove Type");
    // No object uses it: removed without a question.
    app.Document().DeleteObject(0);
    EXPECT_FALSE(removeRow(0, true));
    EXPECT_TRUE(ListRows(PaletteList()).empty());

    SendMessageA(app.Palette().Handle(), WM_SYSCOMMAND, SC_CLOSE, 0);
    PumpMessages();
    EXPECT_TRUE(IsWindowVisible(app.Palette().Handle()));
    MSG quit;
    EXPECT_FALSE(PeekMessageA(&quit, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE));
}

TEST_F(PaletteDialogTest, ResizingPutsTheListBelowTheControlsRow)
{
    RECT saved;
    GetWindowRect(app.Palette().Handle(), &saved);
    // Resized for real: a window whose client area is 300 x 200.
    RECT frame = {0, 0, 300, 200};
    AdjustWindowRectEx(&frame, (DWORD)GetWindowLongA(app.Palette().Handle(), GWL_STYLE), FALSE,
                       (DWORD)GetWindowLongA(app.Palette().Handle(), GWL_EXSTYLE));
    SetWindowPos(app.Palette().Handle(), nullptr, 0, 0, frame.right - frame.left,
                 frame.bottom - frame.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client;
    GetClientRect(app.Palette().Handle(), &client);
    ASSERT_EQ(client.right, 300);
    ASSERT_EQ(client.bottom, 200);
    RECT list = ListRectInPalette();
    EXPECT_EQ(list.left, 0);
    EXPECT_EQ(list.top, 25);
    EXPECT_EQ(list.right - list.left, 300);
    EXPECT_EQ(list.bottom - list.top, 175);

    // A client area lower than the controls row leaves the list no height,
    // never a negative one.
    SendMessageA(app.Palette().Handle(), WM_SIZE, SIZE_RESTORED, MAKELPARAM(120, 10));
    list = ListRectInPalette();
    EXPECT_EQ(list.right - list.left, 120);
    EXPECT_EQ(list.bottom - list.top, 0);

    SetWindowPos(app.Palette().Handle(), nullptr, 0, 0, saved.right - saved.left,
                 saved.bottom - saved.top, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

TEST_F(PaletteDialogTest, ProceduresAnswerTrueOnlyForTheirMessages)
{
    // Direct calls: a dialog's answer is not what SendMessage returns.
    HWND palette = app.Palette().Handle();
    RECT before;
    GetClientRect(palette, &before);
    const struct
    {
        DLGPROC procedure;
        UINT message;
        WPARAM wParam;
        LPARAM lParam;
        INT_PTR answer;
    } calls[] = {
        {PaletteDialog::Procedure, WM_SIZE, SIZE_RESTORED, MAKELPARAM(before.right, before.bottom),
         TRUE},
        {PaletteDialog::Procedure, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0, TRUE},
        {PaletteDialog::Procedure, WM_COMMAND, MAKEWPARAM(4321, 0), 0, TRUE},
        {PaletteDialog::Procedure, WM_KEYDOWN, VK_DELETE, 0, FALSE},
        // WM_COMMAND other than OK and Cancel ends nothing.
        {PropertiesDialogProc, WM_COMMAND, MAKEWPARAM(IDC_QUADDEPTH, EN_CHANGE), 0, TRUE},
        {PropertiesDialogProc, WM_SIZE, 0, 0, FALSE},
    };
    for (const auto& c : calls)
        EXPECT_EQ(c.procedure(palette, c.message, c.wParam, c.lParam), c.answer) << c.message;
    EXPECT_TRUE(IsWindowVisible(palette));
}
