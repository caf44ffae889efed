// MapEditor.exe as a process of its own, for the benchmarks that start it as
// a user does: starting it, finding its main window among the desktop's, and
// seeing its first frame (the red object count in the view's corner, read
// from the screen, since another process's window DC reads nothing).
#ifndef MAPEDITOR_BENCH_EDITORPROCESS_H
#define MAPEDITOR_BENCH_EDITORPROCESS_H

#include <windows.h>

#include <string>

#include "tests/support/WindowCapture.h"

// Starts "<folder>\MapEditor.exe" in `folder`, with `argument` on its
// command line when it is not empty.
inline bool StartEditor(const std::string& folder, const std::string& argument,
                        PROCESS_INFORMATION* editor)
{
    std::string command = "\"" + folder + "\\MapEditor.exe\"";
    if (!argument.empty())
        command += " \"" + argument + "\"";
    STARTUPINFOA startup;
    ZeroMemory(&startup, sizeof(startup));
    startup.cb = sizeof(startup);
    return CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(),
                          &startup, editor) != FALSE;
}

// The process's visible main window (the one holding the map view), or null
// while it has none.
inline HWND FindEditorWindow(DWORD process)
{
    struct Found
    {
        DWORD process;
        HWND main;
    } found = {process, nullptr};
    EnumWindows(
        [](HWND window, LPARAM data) -> BOOL
        {
            Found* found = (Found*)data;
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner == found->process && IsWindowVisible(window) &&
                FindWindowExA(window, nullptr, "MapEditorView", nullptr))
            {
                found->main = window;
                return FALSE;
            }
            return TRUE;
        },
        (LPARAM)&found);
    return found.main;
}

// Red pixels of the count text in the view's top 12 rows, from x0 to x1.
inline int RedPixels(HWND view, int x0, int x1)
{
    POINT corner = {x0, 0};
    ClientToScreen(view, &corner);
    int red = 0;
    for (unsigned pixel : CapturePixels(nullptr, corner.x, corner.y, x1 - x0, 12))
        red += ((pixel >> 16) & 0xFF) > 180 && ((pixel >> 8) & 0xFF) < 80 && (pixel & 0xFF) < 80;
    return red;
}

#endif
