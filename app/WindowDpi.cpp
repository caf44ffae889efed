// Window DPI on every system the editor starts on (see WindowDpi.h).
#include "app/WindowDpi.h"

namespace
{
typedef UINT(WINAPI* GetDpiForWindowFunction)(HWND);

// Looked up once: linking it would keep the program from starting on
// Windows 7 and 8. Wine 8 has it.
GetDpiForWindowFunction DpiForWindow()
{
    static const GetDpiForWindowFunction function = (GetDpiForWindowFunction)(void*)GetProcAddress(
        GetModuleHandleA("user32.dll"), "GetDpiForWindow");
    return function;
}
} // namespace

UINT WindowDpi(HWND window)
{
    const GetDpiForWindowFunction function = DpiForWindow();
    return function && window ? function(window) : 0;
}

void MoveToSuggestedRect(HWND window, LPARAM lParam)
{
    const RECT* suggested = (const RECT*)lParam;
    if (!suggested)
        return;
    SetWindowPos(window, nullptr, suggested->left, suggested->top,
                 suggested->right - suggested->left, suggested->bottom - suggested->top,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}
