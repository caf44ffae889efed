// The palette, the properties and the brush dialogs laid out at the DPI this program
// runs at, measured with each control's own font: every text fits its
// control, the path fields hold a real path, no control covers another or
// leaves the dialog, and the palette's list starts below its controls row.
// Built into app_tests (the test prefix, 96 DPI) and into
// dialog_layout_144dpi, which runs in a Wine prefix of its own whose
// HKCU\Control Panel\Desktop\LogPixels is 144 (Wine reads it when a process
// starts; the fonts and dialog units grow with it).
#include <gtest/gtest.h>

#include <string.h>

#include <algorithm>
#include <string>
#include <vector>

#include "app/BrushDialog.h"
#include "app/EditorApp.h"
#include "app/PaletteDialog.h"
#include "app/PropertiesDialog.h"
#include "app/WindowDpi.h"
#include "resource.h"
#include "tests/support/EditorHarness.h"

#ifndef LAYOUT_TEST_DPI
#define LAYOUT_TEST_DPI 96
#endif

namespace
{
// A path as designers keep maps, which a path field shows whole.
const wchar_t kRealPath[] = L"C:\\Users\\designer\\Maps\\Карты\\winter\\area1-colormap.bmp";

struct Control
{
    HWND window;
    int id;
    std::string kind; // "Static", "Button", "Edit", ...
    DWORD style;
    RECT rect; // in the dialog's client coordinates
};

std::vector<Control> ControlsOf(HWND dialog)
{
    std::vector<Control> controls;
    for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        char name[64] = "";
        GetClassNameA(child, name, sizeof(name));
        std::string kind = name;
        // Versioned names of the common controls ("6.0...!Button").
        kind = kind.substr(kind.find('!') + 1);
        RECT rect;
        GetWindowRect(child, &rect);
        MapWindowPoints(nullptr, dialog, (POINT*)&rect, 2);
        controls.push_back(
            {child, GetDlgCtrlID(child), kind, (DWORD)GetWindowLongA(child, GWL_STYLE), rect});
    }
    return controls;
}

// Width and height of text in the control's font.
SIZE TextSize(HWND control, const std::wstring& text)
{
    HDC dc = GetDC(control);
    HGDIOBJ old = SelectObject(dc, (HFONT)SendMessageW(control, WM_GETFONT, 0, 0));
    SIZE size = {0, 0};
    GetTextExtentPoint32W(dc, text.c_str(), (int)text.size(), &size);
    SelectObject(dc, old);
    ReleaseDC(control, dc);
    return size;
}

std::wstring TextOf(HWND window)
{
    wchar_t text[512] = L"";
    GetWindowTextW(window, text, 512);
    return text;
}

// Room a button's text needs beside it: a check box's box and gap, a
// group box's frame corners, a push button's edges.
int RoomBesideText(const Control& control)
{
    const DWORD type = control.style & BS_TYPEMASK;
    if (control.kind != "Button")
        return 0;
    if (type == BS_GROUPBOX)
        return 2 * TextSize(control.window, L"x").cx;
    return MulDiv(type == BS_AUTOCHECKBOX ? 16 : 4, (int)WindowDpi(control.window), 96);
}

bool Contains(const RECT& outer, const RECT& inner)
{
    return inner.left >= outer.left && inner.right <= outer.right && inner.top >= outer.top &&
           inner.bottom <= outer.bottom;
}

bool IsGroupBox(const Control& control)
{
    return control.kind == "Button" && (control.style & BS_TYPEMASK) == BS_GROUPBOX;
}

// Everything that a layout at any DPI must hold, for one dialog.
void ExpectLaidOut(HWND dialog, const char* name)
{
    SCOPED_TRACE(name);
    RECT client;
    GetClientRect(dialog, &client);
    const std::vector<Control> controls = ControlsOf(dialog);
    ASSERT_FALSE(controls.empty());
    for (size_t i = 0; i < controls.size(); ++i)
    {
        const Control& control = controls[i];
        SCOPED_TRACE("control " + std::to_string(control.id));
        EXPECT_TRUE(Contains(client, control.rect));
        const bool icon = control.kind == "Static" && (control.style & SS_TYPEMASK) == SS_ICON;
        if ((control.kind == "Static" && !icon) || control.kind == "Button")
        {
            RECT inside;
            GetClientRect(control.window, &inside);
            const SIZE needed = TextSize(control.window, TextOf(control.window));
            EXPECT_LE(needed.cx + RoomBesideText(control), inside.right);
            EXPECT_LE(needed.cy, inside.bottom);
        }
        if (control.kind == "Edit" && control.id >= IDC_HEIGHTMAP && control.id <= IDC_OBJECTMAP)
        {
            RECT shown;
            SendMessageW(control.window, EM_GETRECT, 0, (LPARAM)&shown);
            EXPECT_LE(TextSize(control.window, kRealPath).cx, shown.right - shown.left);
        }
        // No control covers another, but a group box holds those inside it.
        for (size_t j = i + 1; j < controls.size(); ++j)
        {
            const Control& other = controls[j];
            RECT both;
            if ((IsGroupBox(control) && Contains(control.rect, other.rect)) ||
                (IsGroupBox(other) && Contains(other.rect, control.rect)))
                continue;
            EXPECT_FALSE(IntersectRect(&both, &control.rect, &other.rect)) << "covers " << other.id;
        }
    }
}

// A dialog of the resources created hidden: the same layout, without the
// seconds Wine takes to show and withdraw a window where there is no window
// manager. The extended template holds its style at byte 12.
HWND CreateHidden(int id, DLGPROC procedure, LPARAM parameter = 0)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), (LPCSTR)RT_DIALOG);
    const BYTE* data = found ? (const BYTE*)LockResource(LoadResource(nullptr, found)) : nullptr;
    if (!data)
        return nullptr;
    std::vector<BYTE> copy(data, data + SizeofResource(nullptr, found));
    DWORD style;
    memcpy(&style, &copy[12], sizeof(style));
    style &= ~(DWORD)WS_VISIBLE;
    memcpy(&copy[12], &style, sizeof(style));
    return CreateDialogIndirectParamA(GetModuleHandleA(nullptr), (LPCDLGTEMPLATEA)copy.data(),
                                      nullptr, procedure, parameter);
}
} // namespace

TEST(DialogLayoutTest, PaletteListStartsBelowItsControlsRowWhateverTellsTheScale)
{
    HWND palette = CreateHidden(IDD_OBJECTDIALOG, PaletteDialog::Procedure);
    ASSERT_NE(palette, nullptr);
    ASSERT_EQ(WindowDpi(palette), (UINT)LAYOUT_TEST_DPI) << "the prefix is not at this DPI";
    ExpectLaidOut(palette, "palette");
    HWND list = GetDlgItem(palette, IDC_OBJECTLIST);
    int rowBottom = 0;
    for (const Control& control : ControlsOf(palette))
        if (control.window != list)
            rowBottom = std::max(rowBottom, (int)control.rect.bottom);
    // The window's DPI where the system tells it, the dialog units otherwise:
    // either row height clears the controls by less than a quarter of it.
    for (const UINT dpi : {WindowDpi(palette), 0u})
    {
        const int row = PaletteControlsRowHeight(palette, dpi);
        EXPECT_GE(row, rowBottom) << dpi;
        EXPECT_LT(row - rowBottom, rowBottom / 4) << dpi;
    }
    DestroyWindow(palette);
}

TEST(DialogLayoutTest, PropertiesShowEveryTextWhole)
{
    // The longest statistics line the dialog writes.
    const int width = app.Document().width, height = app.Document().height;
    app.Document().width = app.Document().height = 16384;
    HWND properties = CreateHidden(IDD_PROPERTIESDIALOG, PropertiesDialogProc, (LPARAM)&app);
    app.Document().width = width;
    app.Document().height = height;
    ASSERT_NE(properties, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(properties, IDC_POLYGONALDIMENSIONS)), L"Heightmap: 16384x16384");
    ExpectLaidOut(properties, "properties");
    DestroyWindow(properties);
}

TEST(DialogLayoutTest, BrushDialogShowsEveryTextWhole)
{
    BrushDialogState state = {&app.Document(), BrushSettings()};
    HWND brush = CreateHidden(IDD_BRUSHDIALOG, BrushDialogProc, (LPARAM)&state);
    ASSERT_NE(brush, nullptr);
    EXPECT_EQ(TextOf(GetDlgItem(brush, IDC_BRUSHOPEN)).substr(0, 6), L"Open: ");
    ExpectLaidOut(brush, "brush");
    DestroyWindow(brush);
}
