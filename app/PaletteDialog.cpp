// The object palette's procedure: the rotation box's eight rows, the list
// filling the client area below the controls row (whose height follows the
// palette's DPI), the list and rotation
// selections that set the type and rotation of the next placed object, and
// "Add" importing an object type.
//
// "Remove" takes the selected type out of the catalog (asking first when
// placed objects use it, which go with it), as one undoable step. The
// palette lives for the whole run: its close box (which arrives as the
// Cancel command) does nothing.
#include "app/PaletteDialog.h"

#include "app/EditCommands.h"
#include "app/EditorApp.h"
#include "app/ObjectImport.h"
#include "app/PointerEditing.h"
#include "app/WindowDpi.h"
#include "resource.h"

#include <string>

namespace
{
// In this order: pointer editing's "Randomize" picks a row by its number.
const char* const kRotationTexts[] = {"0", "45", "90", "135", "180", "225", "270", "315"};

// Height of the controls row above the list: in pixels at 96 DPI, and in
// the palette's dialog units (its buttons are 14 high at 1; 16 units come to
// 26 pixels with Tahoma 8 at 96 DPI).
const int kControlsRowPixelsAt96Dpi = 25;
const int kControlsRowDialogUnits = 16;

void FillRotationBox(HWND palette)
{
    HWND rotationBox = GetDlgItem(palette, IDC_ROTATION);
    for (const char* text : kRotationTexts)
        SendMessageA(rotationBox, CB_ADDSTRING, 0, (LPARAM)text);
    SendMessageA(rotationBox, CB_SETCURSEL, 0, 0);
}

void LayOutList(HWND palette, int width, int height)
{
    const int rowHeight = PaletteControlsRowHeight(palette, WindowDpi(palette));
    // A client area lower than the controls row leaves the list no height,
    // never a negative one.
    const int listHeight = height > rowHeight ? height - rowHeight : 0;
    MoveWindow(GetDlgItem(palette, IDC_OBJECTLIST), 0, rowHeight, width, listHeight, TRUE);
}

void OnListSelectionChange(HWND list)
{
    // Row n is catalog entry n. No selection (-1) designates no entry, and
    // placing then does nothing.
    app.document.currentType = (int)SendMessageA(list, LB_GETCURSEL, 0, 0);
}

void OnRotationSelectionChange(HWND rotationBox)
{
    const LRESULT row = SendMessageA(rotationBox, CB_GETCURSEL, 0, 0);
    if (row == CB_ERR)
        return;
    short rotation = 0;
    if (ReadRotationRow(rotationBox, (int)row, &rotation))
        app.currentRotation = rotation;
}

void RemoveSelectedType(HWND palette)
{
    const int type = (int)SendDlgItemMessageA(palette, IDC_OBJECTLIST, LB_GETCURSEL, 0, 0);
    MapDocument& document = app.document;
    if (type < 0 || type >= (int)document.objectTypes.size())
        return;
    const size_t users = document.CountObjectsOfType(type);
    if (users > 0)
    {
        const std::string question = std::to_string(users) +
                                     (users == 1 ? " placed object is" : " placed objects are") +
                                     " of the type " + document.objectTypes[(size_t)type].path +
                                     ".\nRemove the type and delete them?";
        if (MessageBoxA(palette, question.c_str(), "Remove Object Type",
                        MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    document.RemoveType(type);
    SyncPaletteList();
    RefreshEditMenu(app.mainWindow);
}

void OnCommand(HWND palette, WPARAM wParam)
{
    const int id = LOWORD(wParam);
    const int notification = HIWORD(wParam);
    switch (id)
    {
    case IDC_OBJECTLIST:
        if (notification == LBN_SELCHANGE)
            OnListSelectionChange(GetDlgItem(palette, id));
        break;
    case IDC_ROTATION:
        if (notification == CBN_SELCHANGE)
            OnRotationSelectionChange(GetDlgItem(palette, id));
        break;
    case IDC_ADD: // any notification
        ImportObjectType(palette);
        RefreshEditMenu(app.mainWindow);
        break;
    case IDC_REMOVE:
        if (notification == BN_CLICKED)
            RemoveSelectedType(palette);
        break;
    default: // the close box's Cancel and everything else: nothing
        break;
    }
}
} // namespace

int PaletteControlsRowHeight(HWND palette, UINT dpi)
{
    if (dpi > 0)
        return MulDiv(kControlsRowPixelsAt96Dpi, (int)dpi, USER_DEFAULT_SCREEN_DPI);
    // The dialog units follow the palette's font, which the system made for
    // the DPI the palette was created at.
    RECT row = {0, 0, 0, kControlsRowDialogUnits};
    MapDialogRect(palette, &row);
    return row.bottom;
}

INT_PTR CALLBACK PaletteDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
    {
        FillRotationBox(window);
        // The first WM_SIZE comes before the controls exist.
        RECT client;
        GetClientRect(window, &client);
        LayOutList(window, client.right, client.bottom);
        return TRUE;
    }
    case WM_SIZE:
        LayOutList(window, LOWORD(lParam), HIWORD(lParam));
        return TRUE;
    case WM_DPICHANGED:
        // Moved to the new size here (the list follows in WM_SIZE); FALSE
        // lets the dialog manager also scale the controls and their font,
        // which Windows does for per-monitor v2 dialogs.
        MoveToSuggestedRect(window, lParam);
        return FALSE;
    case WM_COMMAND:
        OnCommand(window, wParam);
        return TRUE;
    }
    return FALSE;
}
