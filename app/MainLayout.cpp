// The main window's children and where they go (see MainLayout.h).
#include "app/MainLayout.h"

#include <windowsx.h>

#include <algorithm>

#include "app/EditorApp.h"

namespace
{
// The narrowest the palette and the view may be made with the splitter.
const int kNarrowestPalette = 120;
const int kNarrowestView = 100;

bool dragging = false;

RECT SplitterRect()
{
    RECT client;
    GetClientRect(app.mainWindow, &client);
    RECT view = {0, 0, 0, 0};
    if (app.viewWindow)
        GetWindowRect(app.viewWindow, &view);
    MapWindowPoints(nullptr, app.mainWindow, (POINT*)&view, 2);
    return RECT{view.right, 0, view.right + kSplitterWidth, view.bottom};
}

void SetStyle(HWND window, LONG add, LONG remove, LONG addEx, LONG removeEx)
{
    SetWindowLongA(window, GWL_STYLE, (GetWindowLongA(window, GWL_STYLE) | add) & ~remove);
    SetWindowLongA(window, GWL_EXSTYLE, (GetWindowLongA(window, GWL_EXSTYLE) | addEx) & ~removeEx);
}
} // namespace

void LayOutMainWindow()
{
    if (!app.mainWindow || !app.viewWindow)
        return;
    RECT client;
    GetClientRect(app.mainWindow, &client);
    int bottom = client.bottom;
    if (app.statusBar)
    {
        SendMessageA(app.statusBar, WM_SIZE, 0, 0); // the bar places itself at the bottom
        RECT bar;
        GetWindowRect(app.statusBar, &bar);
        bottom -= bar.bottom - bar.top;
    }
    bottom = std::max(0, bottom);
    int viewRight = client.right;
    if (app.paletteWindow && app.paletteDocked && app.paletteShown)
    {
        const int width = std::max(
            0, std::min(app.paletteWidth, (int)client.right - kNarrowestView - kSplitterWidth));
        viewRight = std::max(0, (int)client.right - width - kSplitterWidth);
        MoveWindow(app.paletteWindow, viewRight + kSplitterWidth, 0, width, bottom, TRUE);
    }
    MoveWindow(app.viewWindow, 0, 0, viewRight, bottom, TRUE);
}

void DockPalette(bool docked)
{
    HWND palette = app.paletteWindow;
    if (!palette)
        return;
    const LONG frame = WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_THICKFRAME;
    if (docked)
    {
        if (!app.paletteDocked)
        {
            RECT floating;
            GetWindowRect(palette, &floating);
            app.floatingPalette = floating;
        }
        SetStyle(palette, WS_CHILD, frame, 0, WS_EX_TOOLWINDOW);
        SetParent(palette, app.mainWindow);
    }
    else
    {
        SetParent(palette, nullptr);
        SetStyle(palette, frame, WS_CHILD, WS_EX_TOOLWINDOW, 0);
        // Owned by the main window again, as the floating palette always was.
        SetWindowLongPtrA(palette, GWLP_HWNDPARENT, (LONG_PTR)app.mainWindow);
        const RECT& at = app.floatingPalette;
        SetWindowPos(palette, nullptr, at.left, at.top, at.right - at.left, at.bottom - at.top,
                     SWP_NOZORDER | SWP_FRAMECHANGED | SWP_NOACTIVATE);
    }
    app.paletteDocked = docked;
    SetWindowPos(palette, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    ShowWindow(palette, app.paletteShown ? SW_SHOWNA : SW_HIDE);
    LayOutMainWindow();
}

void ShowPalette(bool shown)
{
    app.paletteShown = shown;
    if (app.paletteWindow)
        ShowWindow(app.paletteWindow, shown ? SW_SHOWNA : SW_HIDE);
    LayOutMainWindow();
}

bool OnSplitterMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (!app.paletteDocked || !app.paletteShown)
        return false;
    const POINT at = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    switch (message)
    {
    case WM_SETCURSOR:
    {
        POINT pointer;
        GetCursorPos(&pointer);
        ScreenToClient(window, &pointer);
        const RECT splitter = SplitterRect();
        if ((HWND)wParam != window || !PtInRect(&splitter, pointer))
            return false;
        SetCursor(LoadCursor(nullptr, IDC_SIZEWE));
        SetWindowLongPtrA(window, DWLP_MSGRESULT, TRUE);
        return true;
    }
    case WM_LBUTTONDOWN:
    {
        const RECT splitter = SplitterRect();
        if (!PtInRect(&splitter, at))
            return false;
        dragging = true;
        SetCapture(window);
        return true;
    }
    case WM_MOUSEMOVE:
        if (!dragging)
            return false;
        {
            RECT client;
            GetClientRect(window, &client);
            app.paletteWidth =
                std::max(kNarrowestPalette, (int)client.right - (int)at.x - kSplitterWidth / 2);
            LayOutMainWindow();
        }
        return true;
    case WM_LBUTTONUP:
    case WM_CAPTURECHANGED:
        if (!dragging)
            return false;
        dragging = false;
        if (message == WM_LBUTTONUP)
            ReleaseCapture();
        return true;
    }
    return false;
}
