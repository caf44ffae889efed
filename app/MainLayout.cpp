// The main window's children and where they go, the splitter between the
// view and the docked palette, and the smallest size the window takes
// (see MainWindow.h).
#include "app/MainWindow.h"

#include <windowsx.h>

#include <algorithm>

#include "app/PaletteDialog.h"
#include "app/StatusBar.h"
#include "app/ViewWindow.h"
#include "resource.h"

namespace
{
// The narrowest the view gets before the palette gives up width, and the
// list rows the docked palette shows at the window's smallest.
const int kNarrowestView = 100;
const int kLeastListRows = 3;

void SetStyle(HWND window, LONG add, LONG remove, LONG addEx, LONG removeEx)
{
    SetWindowLongA(window, GWL_STYLE, (GetWindowLongA(window, GWL_STYLE) | add) & ~remove);
    SetWindowLongA(window, GWL_EXSTYLE, (GetWindowLongA(window, GWL_EXSTYLE) | addEx) & ~removeEx);
}
} // namespace

RECT MainWindow::SplitterRect() const
{
    RECT view = {0, 0, 0, 0};
    if (view_.Handle())
        GetWindowRect(view_.Handle(), &view);
    MapWindowPoints(nullptr, window_, (POINT*)&view, 2);
    return RECT{view.right, 0, view.right + kSplitterWidth, view.bottom};
}

int MainWindow::PaletteLeastWidth() const
{
    // The right edge of the rightmost control but the list, which takes
    // whatever width it is given.
    HWND palette = palette_.Handle(), list = GetDlgItem(palette, IDC_OBJECTLIST);
    int right = 0;
    for (HWND child = GetWindow(palette, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    {
        RECT rect;
        if (child == list || !GetWindowRect(child, &rect))
            continue;
        MapWindowPoints(nullptr, palette, (POINT*)&rect, 2);
        right = std::max(right, (int)rect.right);
    }
    return right;
}

SIZE MainWindow::SmallestSize() const
{
    HWND bar = status_.Handle(), palette = palette_.Handle();
    // The menu bar on one line: the sum of its items' widths.
    int menuWidth = 0;
    HMENU menu = GetMenu(window_);
    for (int i = 0; menu && i < GetMenuItemCount(menu); ++i)
    {
        RECT item;
        if (GetMenuItemRect(window_, menu, (UINT)i, &item))
            menuWidth += item.right - item.left;
    }
    RECT client = {0, 0, menuWidth, 0};
    RECT rect;
    if (bar && GetWindowRect(bar, &rect))
        client.bottom += rect.bottom - rect.top;
    int paletteHeight = 0;
    if (palette && paletteDocked_ && paletteShown_)
    {
        client.right =
            std::max((int)client.right, kNarrowestView + kSplitterWidth + PaletteLeastWidth());
        const int row = (int)SendDlgItemMessageA(palette, IDC_OBJECTLIST, LB_GETITEMHEIGHT, 0, 0);
        paletteHeight = PaletteControlsRowHeight(palette, 0) + kLeastListRows * std::max(row, 0);
    }
    client.bottom += std::max(paletteHeight, kNarrowestView);
    AdjustWindowRectEx(&client, (DWORD)GetWindowLongA(window_, GWL_STYLE), menu != nullptr,
                       (DWORD)GetWindowLongA(window_, GWL_EXSTYLE));
    return SIZE{client.right - client.left, client.bottom - client.top};
}

void MainWindow::LayOut()
{
    HWND view = view_.Handle(), palette = palette_.Handle(), bar = status_.Handle();
    if (!window_ || !view)
        return;
    RECT client;
    GetClientRect(window_, &client);
    int bottom = client.bottom;
    if (bar)
    {
        SendMessageA(bar, WM_SIZE, 0, 0); // the bar places itself at the bottom
        RECT barRect;
        GetWindowRect(bar, &barRect);
        bottom -= barRect.bottom - barRect.top;
    }
    bottom = std::max(0, bottom);
    int viewRight = client.right;
    const bool squeezedBefore = paletteSqueezedOut_;
    paletteSqueezedOut_ = false;
    if (palette && paletteDocked_ && paletteShown_)
    {
        // The view gives up width first; the palette keeps at least its
        // controls row, or goes.
        const int least = PaletteLeastWidth();
        const int room = (int)client.right - kNarrowestView - kSplitterWidth;
        paletteSqueezedOut_ = room < least;
        if (!paletteSqueezedOut_)
        {
            const int width = std::min(std::max(paletteWidth_, least), room);
            viewRight = (int)client.right - width - kSplitterWidth;
            MoveWindow(palette, viewRight + kSplitterWidth, 0, width, bottom, TRUE);
        }
        if (paletteSqueezedOut_ != squeezedBefore)
        {
            if (paletteSqueezedOut_ && IsChild(palette, GetFocus()))
                SetFocus(view);
            ShowWindow(palette, paletteSqueezedOut_ ? SW_HIDE : SW_SHOWNA);
        }
    }
    MoveWindow(view, 0, 0, viewRight, bottom, TRUE);
}

void MainWindow::DockPalette(bool docked)
{
    HWND palette = palette_.Handle();
    if (!palette)
        return;
    const LONG frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    if (docked)
    {
        if (!paletteDocked_)
        {
            RECT floating;
            GetWindowRect(palette, &floating);
            floatingPalette_ = floating;
        }
        SetStyle(palette, WS_CHILD, frame, 0, WS_EX_TOOLWINDOW);
        SetParent(palette, window_);
    }
    else
    {
        SetParent(palette, nullptr);
        SetStyle(palette, frame, WS_CHILD, WS_EX_TOOLWINDOW, 0);
        // Owned by the main window again, as the floating palette always was.
        SetWindowLongPtrA(palette, GWLP_HWNDPARENT, (LONG_PTR)window_);
        const RECT& at = floatingPalette_;
        SetWindowPos(palette, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                     SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
    }
    paletteDocked_ = docked;
    SetWindowPos(palette, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ShowWindow(palette, paletteShown_ ? SW_SHOWNA : SW_HIDE);
    LayOut();
}

void MainWindow::ShowPalette(bool shown)
{
    paletteShown_ = shown;
    if (palette_.Handle())
        ShowWindow(palette_.Handle(), shown ? SW_SHOWNA : SW_HIDE);
    LayOut();
    // With no room for it beside the view, the palette asked for floats.
    if (shown && paletteSqueezedOut_)
        DockPalette(false);
}

bool MainWindow::OnSplitterMessage(UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!paletteDocked_ || !paletteShown_)
        return false;
    const POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message)
    {
    case WM_SETCURSOR:
    {
        POINT pointer;
        GetCursorPos(&pointer);
        ScreenToClient(window_, &pointer);
        const RECT splitter = SplitterRect();
        if ((HWND)wParam != window_ || !PtInRect(&splitter, pointer))
            return false;
        SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
        SetWindowLongPtrA(window_, DWLP_MSGRESULT, TRUE);
        return true;
    }
    case WM_LBUTTONDOWN:
    {
        const RECT splitter = SplitterRect();
        if (!PtInRect(&splitter, at))
            return false;
        splitterDragging_ = true;
        SetCapture(window_);
        return true;
    }
    case WM_MOUSEMOVE:
        if (!splitterDragging_)
            return false;
        {
            RECT client;
            GetClientRect(window_, &client);
            paletteWidth_ =
                std::max(PaletteLeastWidth(), (int)client.right - (int)at.x - kSplitterWidth / 2);
            LayOut();
        }
        return true;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (!splitterDragging_)
            return false;
        splitterDragging_ = false;
        if (message == WM_LBUTTONUP)
            ReleaseCapture();
        return true;
    }
    return false;
}
