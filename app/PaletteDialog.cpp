// The object palette (see PaletteDialog.h): the rotation box's eight rows,
// the list filling the client area below the controls row (whose height
// follows the palette's DPI), the list and rotation selections that set the
// type and rotation of the next placed object, and "Add" importing an
// object type.
//
// "Remove" takes the selected type out of the catalog (asking first when
// placed objects use it, which go with it), as one undoable step. The
// palette lives for the whole run: its close box (which arrives as the
// Cancel command) does nothing.
#include "app/PaletteDialog.h"

#include <commctrl.h>
#include <stdlib.h>

#include <string>

#include "app/EditorEvents.h"
#include "app/WindowDpi.h"
#include "document/MapDocument.h"
#include "resource.h"

namespace
{
// In this order: "Randomize" picks a row by its number.
const char* const kRotationTexts[] = {"0", "45", "90", "135", "180", "225", "270", "315"};
const int kRotationRows = 8;

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

// Tab takes the controls in the order they are read: the controls row from
// left to right, then the list below it (the template lists the list first).
void OrderTabStops(HWND palette)
{
    for (int id : {IDC_ROTATION, IDC_RANDOMIZE, IDC_ADD, IDC_REMOVE, IDC_OBJECTLIST})
        SetWindowPos(GetDlgItem(palette, id), HWND_BOTTOM, 0, 0, 0, 0,
                     SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void LayOutList(HWND palette, int width, int height)
{
    const int rowHeight = PaletteControlsRowHeight(palette, WindowDpi(palette));
    // A client area lower than the controls row leaves the list no height,
    // never a negative one.
    const int listHeight = height > rowHeight ? height - rowHeight : 0;
    MoveWindow(GetDlgItem(palette, IDC_OBJECTLIST), 0, rowHeight, width, listHeight, TRUE);
}
} // namespace

PaletteDialog::~PaletteDialog()
{
    // The window may outlive the object (until the process ends): messages
    // after this go to the default handling, not to a freed object.
    if (window_ && IsWindow(window_))
        SetWindowLongPtrA(window_, DWLP_USER, 0);
}

HWND PaletteDialog::Create(HINSTANCE instance, HWND owner)
{
    window_ = CreateDialogParamA(instance, MAKEINTRESOURCEA(IDD_OBJECTDIALOG), owner, Procedure,
                                 (LPARAM)this);
    return window_;
}

INT_PTR CALLBACK PaletteDialog::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message)
    {
    case WM_INITDIALOG:
    {
        SetWindowLongPtrA(window, DWLP_USER, lParam);
        if (lParam)
        {
            ((PaletteDialog*)lParam)->window_ = window;
            SetWindowSubclass(GetDlgItem(window, IDC_OBJECTLIST), ListProcedure, 0,
                              (DWORD_PTR)lParam);
        }
        FillRotationBox(window);
        OrderTabStops(window);
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
        if (PaletteDialog* palette = (PaletteDialog*)GetWindowLongPtrA(window, DWLP_USER))
            palette->OnCommand(wParam);
        return TRUE;
    case WM_MEASUREITEM: // before WM_INITDIALOG: the list is made with the dialog
        MeasurePaletteRow(window, (MEASUREITEMSTRUCT*)lParam);
        return TRUE;
    case WM_DRAWITEM:
    {
        const PaletteDialog* palette = (PaletteDialog*)GetWindowLongPtrA(window, DWLP_USER);
        DrawPaletteRow(*(const DRAWITEMSTRUCT*)lParam, palette ? &palette->document_ : nullptr);
        return TRUE;
    }
    }
    return FALSE;
}

void PaletteDialog::OnRotationSelectionChange(HWND rotationBox)
{
    const LRESULT row = SendMessageA(rotationBox, CB_GETCURSEL, 0, 0);
    if (row == CB_ERR)
        return;
    short rotation = 0;
    if (ReadRotationRow(rotationBox, (int)row, &rotation))
        rotation_ = rotation;
}

void PaletteDialog::ObjectPlaced()
{
    if (SendDlgItemMessageA(window_, IDC_RANDOMIZE, BM_GETCHECK, 0, 0) != BST_CHECKED)
        return;
    HWND rotationBox = GetDlgItem(window_, IDC_ROTATION);
    const int row = rand() % kRotationRows;
    SendMessageA(rotationBox, CB_SETCURSEL, (WPARAM)row, 0);
    short rotation = 0;
    if (ReadRotationRow(rotationBox, row, &rotation))
        rotation_ = rotation;
}

void PaletteDialog::RemoveSelectedType()
{
    const int type = CurrentRow();
    if (type < 0 || type >= (int)document_.objectTypes.size())
        return;
    const size_t users = document_.CountObjectsOfType(type);
    if (users > 0)
    {
        const std::string question = std::to_string(users) +
                                     (users == 1 ? " placed object is" : " placed objects are") +
                                     " of the type " + document_.objectTypes[(size_t)type].path +
                                     ".\nRemove the type and delete them?";
        if (MessageBoxA(window_, question.c_str(), "Remove Object Type",
                        MB_YESNO | MB_ICONQUESTION) != IDYES)
            return;
    }
    document_.RemoveType(type);
    SyncList();
    events_.Changed();
}

void PaletteDialog::OnCommand(WPARAM wParam)
{
    const int id = LOWORD(wParam);
    const int notification = HIWORD(wParam);
    switch (id)
    {
    case IDC_OBJECTLIST:
        // Row n is catalog entry n. No selection (-1) designates no entry,
        // and placing then does nothing.
        if (notification == LBN_SELCHANGE)
            document_.currentType = CurrentRow();
        break;
    case IDC_ROTATION:
        if (notification == CBN_SELCHANGE)
            OnRotationSelectionChange(GetDlgItem(window_, id));
        break;
    case IDC_ADD: // any notification
        events_.ImportObjectType(window_);
        break;
    case IDC_REMOVE:
        if (notification == BN_CLICKED)
            RemoveSelectedType();
        break;
    default: // the close box's Cancel and everything else: nothing
        break;
    }
}

void PaletteDialog::RebuildList()
{
    HWND list = GetDlgItem(window_, IDC_OBJECTLIST);
    // Row i is catalog entry i: the list is unsorted.
    SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    SendMessageA(list, LB_RESETCONTENT, 0, 0);
    for (const ObjectType& type : document_.objectTypes)
        SendMessageA(list, LB_ADDSTRING, 0, (LPARAM)type.path.c_str());
    SendMessageA(list, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(list, nullptr, TRUE);
    shownCatalogRevision_ = document_.CatalogRevision();
    shownRows_.clear();
}

void PaletteDialog::SyncList()
{
    if (shownCatalogRevision_ == document_.CatalogRevision())
        return;
    RebuildList();
    const int type = document_.currentType;
    if (type >= 0 && type < (int)document_.objectTypes.size())
        SelectRowOnly(type);
}

void PaletteDialog::SelectType(int type)
{
    if (type < 0 || type >= (int)document_.objectTypes.size())
        return;
    document_.currentType = type;
    SelectRowOnly(type);
}

bool ReadRotationRow(HWND rotationBox, int row, short* rotation)
{
    const LRESULT length = SendMessageA(rotationBox, CB_GETLBTEXTLEN, (WPARAM)row, 0);
    if (length == CB_ERR || length < 0)
        return false;
    std::string text((size_t)length + 1, '\0');
    if (SendMessageA(rotationBox, CB_GETLBTEXT, (WPARAM)row, (LPARAM)&text[0]) == CB_ERR)
        return false;
    // Decimal text as atoi reads it, but without its undefined result for
    // numbers beyond the int range: strtol saturates instead.
    *rotation = (short)strtol(text.c_str(), nullptr, 10);
    return true;
}

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
