// The object palette's procedure: the rotation box's eight rows, the list
// filling the client area below the controls row, the list and rotation
// selections that set the type and rotation of the next placed object, and
// "Add" importing an object type.
//
// The palette lives for the whole run: "Remove" and the close box (which
// arrives as the Cancel command) do nothing.
#include "app/PaletteDialog.h"

#include "app/EditorApp.h"
#include "app/ObjectImport.h"
#include "app/PointerEditing.h"
#include "resource.h"

namespace
{
// In this order: pointer editing's "Randomize" picks a row by its number.
const char* const kRotationTexts[] = {"0", "45", "90", "135", "180", "225", "270", "315"};

// Height of the controls row above the list, in pixels.
const int kControlsRowHeight = 25;

void FillRotationBox(HWND palette)
{
    HWND rotationBox = GetDlgItem(palette, IDC_ROTATION);
    for (const char* text : kRotationTexts)
        SendMessageA(rotationBox, CB_ADDSTRING, 0, (LPARAM)text);
    SendMessageA(rotationBox, CB_SETCURSEL, 0, 0);
}

void LayOutList(HWND palette, LPARAM lParam)
{
    const int width = LOWORD(lParam);
    const int height = HIWORD(lParam);
    // A client area lower than the controls row leaves the list no height,
    // never a negative one.
    const int listHeight = height > kControlsRowHeight ? height - kControlsRowHeight : 0;
    MoveWindow(GetDlgItem(palette, IDC_OBJECTLIST), 0, kControlsRowHeight, width, listHeight, TRUE);
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
        break;
    default: // "Remove", the close box's Cancel and everything else: nothing
        break;
    }
}
} // namespace

INT_PTR CALLBACK PaletteDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
        FillRotationBox(window);
        return TRUE;
    case WM_SIZE:
        LayOutList(window, lParam);
        return TRUE;
    case WM_COMMAND:
        OnCommand(window, wParam);
        return TRUE;
    }
    return FALSE;
}
