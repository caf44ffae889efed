// The palette's rows as types as layers: the list holds several selected
// rows (the brush's pool; the focused one is the type the next Ctrl+click
// places), and each row is drawn by the palette with two toggles, hidden
// ("H") and locked ("L"), the type's path and its object count. A click on
// a toggle flips it for that row; H and L flip them for the selected rows
// while the list has the keyboard. Hidden and locked are the document's
// view state: never saved, never an undo step.
#include "app/PaletteDialog.h"

#include <windowsx.h>
#include <commctrl.h>
#include <ctype.h>

#include <algorithm>
#include <string>

#include "app/EditorEvents.h"
#include "app/WindowDpi.h"
#include "document/MapDocument.h"
#include "resource.h"

namespace
{
// A row's height at 96 DPI: room for a check box.
const int kRowPixelsAt96Dpi = 17;

// Where a row's parts lie (list client pixels).
struct RowLayout
{
    RECT hiddenBox, hiddenLetter, lockedBox, lockedLetter, text;
    RECT hiddenToggle, lockedToggle; // what a click takes for each toggle
};

RowLayout LayOutRow(const RECT& row)
{
    RowLayout l;
    const int height = row.bottom - row.top;
    const int box = std::max(6, height - 4);
    const int top = row.top + (height - box) / 2;
    const int letter = std::max(6, height / 2);
    l.hiddenBox = {row.left + 2, top, row.left + 2 + box, top + box};
    l.hiddenLetter = {l.hiddenBox.right, row.top, l.hiddenBox.right + letter, row.bottom};
    l.lockedBox = {l.hiddenLetter.right + 2, top, l.hiddenLetter.right + 2 + box, top + box};
    l.lockedLetter = {l.lockedBox.right, row.top, l.lockedBox.right + letter, row.bottom};
    l.text = {l.lockedLetter.right + 4, row.top, row.right - 3, row.bottom};
    l.hiddenToggle = {row.left, row.top, l.hiddenLetter.right + 1, row.bottom};
    l.lockedToggle = {l.hiddenLetter.right + 1, row.top, l.lockedLetter.right + 1, row.bottom};
    return l;
}

std::string RowText(HWND list, int row)
{
    const LRESULT length = SendMessageA(list, LB_GETTEXTLEN, (WPARAM)row, 0);
    if (length == LB_ERR || length < 0)
        return "";
    std::string text((size_t)length + 1, '\0');
    SendMessageA(list, LB_GETTEXT, (WPARAM)row, (LPARAM)&text[0]);
    text.resize(strlen(text.c_str()));
    return text;
}

void DrawToggle(HDC dc, const RECT& box, const RECT& letterRect, const char* letter, bool on)
{
    RECT frame = box;
    DrawFrameControl(dc, &frame, DFC_BUTTON,
                     DFCS_BUTTONCHECK | DFCS_FLAT | (on ? DFCS_CHECKED : 0));
    RECT letterBox = letterRect;
    DrawTextA(dc, letter, 1, &letterBox, DT_SINGLELINE | DT_VCENTER | DT_CENTER | DT_NOPREFIX);
}

// Which toggle of which row lies under a point of the list: the row, or -1.
int ToggleAt(HWND list, POINT at, bool* locked)
{
    const LRESULT hit = SendMessageA(list, LB_ITEMFROMPOINT, 0, MAKELPARAM(at.x, at.y));
    if (HIWORD(hit) != 0) // outside every row
        return -1;
    const int row = (int)LOWORD(hit);
    RECT rect;
    if (SendMessageA(list, LB_GETITEMRECT, (WPARAM)row, (LPARAM)&rect) == LB_ERR)
        return -1;
    const RowLayout layout = LayOutRow(rect);
    *locked = PtInRect(&layout.lockedToggle, at) != FALSE;
    return *locked || PtInRect(&layout.hiddenToggle, at) ? row : -1;
}
} // namespace

void MeasurePaletteRow(HWND palette, MEASUREITEMSTRUCT* item)
{
    const UINT dpi = WindowDpi(palette);
    const int least = MulDiv(kRowPixelsAt96Dpi, dpi ? (int)dpi : USER_DEFAULT_SCREEN_DPI,
                             USER_DEFAULT_SCREEN_DPI);
    item->itemHeight = std::max(item->itemHeight, (UINT)least);
}

void DrawPaletteRow(const DRAWITEMSTRUCT& item, const MapDocument* document)
{
    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    if (item.itemID == (UINT)-1 || item.itemAction == ODA_FOCUS)
    {
        DrawFocusRect(dc, &rect); // an empty list's caret, or the caret moved
        return;
    }
    const bool selected = (item.itemState & ODS_SELECTED) != 0;
    FillRect(dc, &rect, GetSysColorBrush(selected ? COLOR_HIGHLIGHT : COLOR_WINDOW));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_WINDOWTEXT));
    const RowLayout layout = LayOutRow(rect);
    const int type = (int)item.itemID;
    DrawToggle(dc, layout.hiddenBox, layout.hiddenLetter, "H",
               document && document->IsTypeHidden(type));
    DrawToggle(dc, layout.lockedBox, layout.lockedLetter, "L",
               document && document->IsTypeLocked(type));
    RECT text = layout.text;
    if (document)
    {
        // The count at the right, the path in what is left.
        const std::string count = std::to_string(document->CountObjectsOfType(type));
        RECT counted = text;
        DrawTextA(dc, count.c_str(), (int)count.size(), &counted,
                  DT_SINGLELINE | DT_VCENTER | DT_RIGHT | DT_NOPREFIX);
        SIZE size = {0, 0};
        GetTextExtentPoint32A(dc, count.c_str(), (int)count.size(), &size);
        text.right -= size.cx + 6;
    }
    const std::string path = RowText(item.hwndItem, type);
    DrawTextA(dc, path.c_str(), (int)path.size(), &text,
              DT_SINGLELINE | DT_VCENTER | DT_LEFT | DT_NOPREFIX | DT_PATH_ELLIPSIS);
    if (item.itemState & ODS_FOCUS)
        DrawFocusRect(dc, &rect);
}

std::vector<int> PaletteDialog::SelectedTypes() const
{
    HWND list = GetDlgItem(window_, IDC_OBJECTLIST);
    const LRESULT count = SendMessageA(list, LB_GETSELCOUNT, 0, 0);
    std::vector<int> rows(count > 0 ? (size_t)count : 0);
    if (!rows.empty())
    {
        const LRESULT got = SendMessageA(list, LB_GETSELITEMS, rows.size(), (LPARAM)rows.data());
        rows.resize(got > 0 ? (size_t)got : 0);
    }
    return rows;
}

bool PaletteDialog::Randomizes() const
{
    return IsDlgButtonChecked(window_, IDC_RANDOMIZE) == BST_CHECKED;
}

int PaletteDialog::CurrentRow() const
{
    // The focused row when it is selected (the last one clicked), else the
    // first selected.
    HWND list = GetDlgItem(window_, IDC_OBJECTLIST);
    const LRESULT caret = SendMessageA(list, LB_GETCARETINDEX, 0, 0);
    if (caret >= 0 && SendMessageA(list, LB_GETSEL, (WPARAM)caret, 0) > 0)
        return (int)caret;
    const std::vector<int> rows = SelectedTypes();
    return rows.empty() ? -1 : rows[0];
}

void PaletteDialog::SelectRowOnly(int row)
{
    HWND list = GetDlgItem(window_, IDC_OBJECTLIST);
    SendMessageA(list, LB_SETSEL, FALSE, -1);
    if (row < 0)
        return;
    SendMessageA(list, LB_SETSEL, TRUE, row);
    SendMessageA(list, LB_SETCARETINDEX, (WPARAM)row, FALSE);
}

void PaletteDialog::ToggleLayer(const std::vector<int>& rows, bool locked)
{
    if (rows.empty())
        return;
    // Several rows all take the first one's new state.
    const int first = rows[0];
    const bool on = !(locked ? document_.IsTypeLocked(first) : document_.IsTypeHidden(first));
    for (int type : rows)
    {
        if (locked)
            document_.SetTypeLocked(type, on);
        else
            document_.SetTypeHidden(type, on);
    }
    RefreshRows();
    events_.Changed(); // the view, the selection's count
}

void PaletteDialog::RefreshRows()
{
    HWND list = GetDlgItem(window_, IDC_OBJECTLIST);
    if (!list)
        return;
    const size_t rows = document_.objectTypes.size();
    shownRows_.resize(rows, ~(uint64_t)0);
    for (size_t row = 0; row < rows; ++row)
    {
        const int type = (int)row;
        const uint64_t shown = (uint64_t)document_.CountObjectsOfType(type) << 2 |
                               (document_.IsTypeLocked(type) ? 2u : 0u) |
                               (document_.IsTypeHidden(type) ? 1u : 0u);
        if (shown == shownRows_[row])
            continue;
        shownRows_[row] = shown;
        RECT rect;
        if (SendMessageA(list, LB_GETITEMRECT, row, (LPARAM)&rect) != LB_ERR)
            InvalidateRect(list, &rect, FALSE);
    }
}

LRESULT CALLBACK PaletteDialog::ListProcedure(HWND list, UINT message, WPARAM wParam, LPARAM lParam,
                                              UINT_PTR, DWORD_PTR data)
{
    PaletteDialog* palette = (PaletteDialog*)data;
    switch (message)
    {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    {
        // A toggle flips without changing the selection.
        bool locked = false;
        const int row = ToggleAt(list, {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}, &locked);
        if (row < 0)
            break;
        SetFocus(list);
        palette->ToggleLayer({row}, locked);
        return 0;
    }
    case WM_KEYDOWN:
        if ((wParam == 'H' || wParam == 'L') && !(GetKeyState(VK_CONTROL) & 0x8000))
        {
            palette->ToggleLayer(palette->SelectedTypes(), wParam == 'L');
            return 0;
        }
        break;
    case WM_CHAR: // H and L are the toggles' keys, not a search for a row
        if (tolower((int)wParam) == 'h' || tolower((int)wParam) == 'l')
            return 0;
        break;
    case WM_NCDESTROY:
        RemoveWindowSubclass(list, ListProcedure, 0);
        break;
    }
    return DefSubclassProc(list, message, wParam, lParam);
}
