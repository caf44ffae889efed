// The DPI of the editor's windows and the answer to a DPI change. The
// manifest makes the editor per-monitor DPI aware, so nothing scales its
// windows for it: what is laid out in pixels is scaled here.
#ifndef MAPEDITOR_WINDOWDPI_H
#define MAPEDITOR_WINDOWDPI_H

#include <windows.h>

// The DPI the window is shown at, or 0 where the system cannot tell a
// window's DPI (GetDpiForWindow came with Windows 10 version 1607; before it
// a per-monitor aware window has to follow its dialog units instead).
UINT WindowDpi(HWND window);

// WM_DPICHANGED of a top-level window: the window takes the rectangle that
// the system suggests for the new DPI (lParam).
void MoveToSuggestedRect(HWND window, LPARAM lParam);

#endif
